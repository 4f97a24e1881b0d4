#include "IconFileBuilder.h"

#include <algorithm>
#include <map>
#include <png.h>
#include <stdexcept>
#include <zlib.h>

namespace vesmarin::testing {
namespace {

void put8(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
}
void put16(Bytes& b, std::uint32_t v) {
    put8(b, v & 0xFF);
    put8(b, (v >> 8) & 0xFF);
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
// Little-endian fields of the given widths in bytes, one after another.
void put(Bytes& b, std::initializer_list<std::pair<int, std::uint32_t>> fields) {
    for (const auto& [width, v] : fields)
        for (int i = 0; i < width; ++i)
            put8(b, v >> (8 * i));
}
void set16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void set32(Bytes& b, std::size_t at, std::uint32_t v) {
    set16(b, at, v & 0xFFFF);
    set16(b, at + 2, v >> 16);
}
void padTo(Bytes& b, std::size_t align) {
    while (b.size() % align != 0)
        b.push_back(0);
}

} // namespace

Bytes encodeDib(const Dib& dib) {
    Bytes b;
    const int bpp = dib.bitCount;
    const auto w = static_cast<std::uint32_t>(dib.width), h2 = static_cast<std::uint32_t>(dib.height * 2);
    if (dib.coreHeader) {
        put(b, {{4, 12}, {2, w}, {2, h2}, {2, 1}, {2, static_cast<std::uint32_t>(bpp)}});
    } else {
        put(b, {{4, 40},
                {4, w},
                {4, h2},
                {2, 1},
                {2, static_cast<std::uint32_t>(bpp)},
                {4, dib.bitfields.empty() ? 0u : 3u},
                {4, 0},
                {4, 0},
                {4, 0},
                {4, dib.colorsUsed},
                {4, 0}});
        for (std::uint32_t m : dib.bitfields)
            put32(b, m);
    }
    if (bpp <= 8 || dib.colorsUsed != 0) {
        std::size_t entries = dib.colorsUsed != 0 ? dib.colorsUsed : std::size_t{1} << bpp;
        if (dib.coreHeader)
            entries = std::size_t{1} << bpp;
        for (std::size_t i = 0; i < entries; ++i) {
            const std::uint32_t c = i < dib.palette.size() ? dib.palette[i] : 0;
            put(b, {{dib.coreHeader ? 3 : 4, c & 0xFFFFFF}});
        }
    }
    const std::size_t stride = (static_cast<std::size_t>(dib.width) * bpp + 31) / 32 * 4;
    for (int y = dib.height - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < dib.width; ++x) {
            const std::uint32_t v = dib.pixels[static_cast<std::size_t>(y) * dib.width + x];
            const std::size_t bit = static_cast<std::size_t>(x) * bpp;
            if (bpp <= 8)
                row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - bpp - bit % 8));
            else // 16, 24 and 32 bits: whole bytes, low byte first
                for (std::size_t k = 0; k < static_cast<std::size_t>(bpp) / 8; ++k)
                    row[bit / 8 + k] = static_cast<std::uint8_t>(v >> (8 * k));
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    if (dib.writeMask) {
        const std::size_t maskStride = (static_cast<std::size_t>(dib.width) + 31) / 32 * 4;
        for (int y = dib.height - 1; y >= 0; --y) {
            Bytes row(maskStride, 0);
            for (int x = 0; x < dib.width; ++x)
                if (!dib.mask.empty() && dib.mask[static_cast<std::size_t>(y) * dib.width + x] != 0)
                    row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            b.insert(b.end(), row.begin(), row.end());
        }
    }
    return b;
}

Bytes encodePng(int width, int height, const std::vector<std::uint32_t>& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba;
    for (std::uint32_t p : pixels)
        for (int shift : {16, 8, 0, 24})
            rgba.push_back(static_cast<std::uint8_t>(p >> shift));
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr))
        throw std::runtime_error("png size");
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr))
        throw std::runtime_error("png write");
    out.resize(size);
    return out;
}

Bytes bombPng(int width, int height, std::uint64_t inflated) {
    // After a full flush the compressor starts afresh, so each further megabyte of zeros compresses to
    // the same bytes: compress two, then repeat the second as often as needed.
    constexpr std::size_t kPiece = 1 << 20;
    const Bytes zeros(kPiece, 0);
    z_stream z{};
    deflateInit(&z, 9);
    Bytes out(kPiece);
    const auto piece = [&] {
        z.next_in = const_cast<Bytef*>(zeros.data());
        z.avail_in = kPiece;
        z.next_out = out.data();
        z.avail_out = kPiece;
        deflate(&z, Z_FULL_FLUSH);
        return Bytes(out.begin(), out.end() - z.avail_out);
    };
    Bytes stream = piece();
    const Bytes again = piece();
    deflateEnd(&z);
    const std::uint64_t pieces = std::max<std::uint64_t>(inflated / kPiece, 2);
    for (std::uint64_t i = 1; i < pieces; ++i)
        stream.insert(stream.end(), again.begin(), again.end());
    // The last block, empty and stored, then the checksum of all those zeros.
    const uLong one = adler32(adler32(0, nullptr, 0), zeros.data(), kPiece);
    uLong sum = one;
    for (std::uint64_t i = 1; i < pieces; ++i)
        sum = adler32_combine(sum, one, kPiece);
    stream.insert(stream.end(), {0x01, 0x00, 0x00, 0xFF, 0xFF});
    for (int shift : {24, 16, 8, 0})
        stream.push_back(static_cast<std::uint8_t>(sum >> shift));

    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const auto chunk = [&](const char* type, const Bytes& data) {
        for (int shift : {24, 16, 8, 0})
            png.push_back(static_cast<std::uint8_t>(data.size() >> shift));
        const std::size_t start = png.size();
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), data.begin(), data.end());
        const uLong crc = crc32(0, png.data() + start, static_cast<uInt>(png.size() - start));
        for (int shift : {24, 16, 8, 0})
            png.push_back(static_cast<std::uint8_t>(crc >> shift));
    };
    Bytes ihdr;
    for (std::uint32_t v : {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)})
        for (int shift : {24, 16, 8, 0})
            ihdr.push_back(static_cast<std::uint8_t>(v >> shift));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter variant, not interlaced
    chunk("IHDR", ihdr);
    chunk("IDAT", stream);
    chunk("IEND", {});
    return png;
}

Bytes solidDib(int width, int height, int bitCount, std::uint32_t rgb) {
    Dib d;
    d.width = width;
    d.height = height;
    d.bitCount = bitCount;
    std::uint32_t v = rgb;
    if (bitCount <= 8) {
        d.palette = {0, rgb};
        v = 1;
    } else if (bitCount == 16) {
        v = ((rgb >> 19) & 31) << 10 | ((rgb >> 11) & 31) << 5 | ((rgb >> 3) & 31);
    } else if (bitCount == 32) {
        v = rgb & 0xFFFFFF; // alpha all zero: the mask decides
    }
    d.pixels.assign(static_cast<std::size_t>(width) * height, v);
    return encodeDib(d);
}

Bytes groupData(const std::vector<GroupEntry>& entries) {
    Bytes b;
    put(b, {{2, 0}, {2, 1}, {2, static_cast<std::uint32_t>(entries.size())}});
    for (const auto& e : entries)
        put(b, {{1, e.width},
                {1, e.height},
                {1, e.colorCount},
                {1, 0},
                {2, e.planes},
                {2, e.bitCount},
                {4, e.bytes},
                {2, e.id}});
    return b;
}

std::vector<Resource> iconGroup(std::uint16_t groupId, const std::string& groupName, std::uint16_t firstId,
                                const std::vector<std::pair<GroupEntry, Bytes>>& images,
                                std::uint16_t language) {
    std::vector<Resource> out;
    std::vector<GroupEntry> entries;
    std::uint16_t id = firstId;
    for (const auto& [entry, data] : images) {
        GroupEntry e = entry;
        e.id = id;
        e.bytes = static_cast<std::uint32_t>(data.size());
        entries.push_back(e);
        out.push_back({3, "", id, language, data});
        ++id;
    }
    out.push_back({14, groupName, groupId, language, groupData(entries)});
    return out;
}

// ---- PE ----

namespace {

struct Key {
    std::string name;
    std::uint16_t id;
    bool operator==(const Key&) const = default;
};

template <class T> std::size_t indexOf(std::vector<T>& v, const T& x) {
    const auto it = std::find(v.begin(), v.end(), x);
    if (it != v.end())
        return static_cast<std::size_t>(it - v.begin());
    v.push_back(x);
    return v.size() - 1;
}

} // namespace

Bytes buildPe(const std::vector<Resource>& resources, PeOptions options, PeLayout* layout) {
    // The tree: types -> names -> languages -> resource index, each level in first-seen order.
    std::vector<std::uint16_t> types;
    std::vector<std::vector<Key>> names;
    std::vector<std::vector<std::vector<std::pair<std::uint16_t, std::size_t>>>> langs;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const Resource& r = resources[i];
        const std::size_t t = indexOf(types, r.type);
        names.resize(types.size());
        langs.resize(types.size());
        const std::size_t n = indexOf(names[t], Key{r.name, r.id});
        langs[t].resize(names[t].size());
        langs[t][n].emplace_back(r.language, i);
    }
    // Offsets inside the directory block.
    std::size_t size = 16 + 8 * types.size();
    std::vector<std::size_t> nameDirAt(types.size());
    std::vector<std::vector<std::size_t>> langDirAt(types.size());
    for (std::size_t t = 0; t < types.size(); ++t) {
        nameDirAt[t] = size;
        size += 16 + 8 * names[t].size();
    }
    for (std::size_t t = 0; t < types.size(); ++t)
        for (std::size_t n = 0; n < names[t].size(); ++n) {
            langDirAt[t].push_back(size);
            size += 16 + 8 * langs[t][n].size();
        }
    std::vector<std::size_t> dataEntryAt(resources.size());
    for (std::size_t i = 0; i < resources.size(); ++i) {
        dataEntryAt[i] = size;
        size += 16;
    }
    std::map<std::string, std::size_t> stringAt;
    for (const Resource& r : resources)
        if (!r.name.empty() && !stringAt.count(r.name)) {
            stringAt[r.name] = size;
            size += 2 + 2 * r.name.size();
        }
    size = (size + 7) / 8 * 8;

    const std::uint32_t fileAlign = 0x200, rsrcRva = 0x1000;
    const std::size_t headers = 0x400;
    Bytes dir(size, 0);
    Bytes data; // placed after the directories, or in the second section
    std::vector<std::size_t> dataAt(resources.size());
    for (std::size_t i = 0; i < resources.size(); ++i) {
        dataAt[i] = data.size();
        data.insert(data.end(), resources[i].data.begin(), resources[i].data.end());
        padTo(data, 8);
    }
    const std::uint32_t dataRva = options.dataInOtherSection
                                      ? static_cast<std::uint32_t>(rsrcRva + (size + 0xFFF) / 0x1000 * 0x1000)
                                      : static_cast<std::uint32_t>(rsrcRva + size);

    const auto writeDir = [&](std::size_t at, std::size_t named, std::size_t ids) {
        set16(dir, at + 12, static_cast<std::uint32_t>(named));
        set16(dir, at + 14, static_cast<std::uint32_t>(ids));
    };
    writeDir(0, 0, types.size());
    for (std::size_t t = 0; t < types.size(); ++t) {
        set32(dir, 16 + 8 * t, types[t]);
        set32(dir, 16 + 8 * t + 4, 0x80000000u | static_cast<std::uint32_t>(nameDirAt[t]));
        std::size_t named = 0;
        for (const Key& k : names[t])
            named += !k.name.empty();
        writeDir(nameDirAt[t], named, names[t].size() - named);
        for (std::size_t n = 0; n < names[t].size(); ++n) {
            const Key& k = names[t][n];
            const std::size_t e = nameDirAt[t] + 16 + 8 * n;
            set32(dir, e, k.name.empty() ? k.id : 0x80000000u | static_cast<std::uint32_t>(stringAt[k.name]));
            set32(dir, e + 4, 0x80000000u | static_cast<std::uint32_t>(langDirAt[t][n]));
            writeDir(langDirAt[t][n], 0, langs[t][n].size());
            for (std::size_t l = 0; l < langs[t][n].size(); ++l) {
                const auto [language, ri] = langs[t][n][l];
                set32(dir, langDirAt[t][n] + 16 + 8 * l, language);
                set32(dir, langDirAt[t][n] + 16 + 8 * l + 4, static_cast<std::uint32_t>(dataEntryAt[ri]));
                set32(dir, dataEntryAt[ri], static_cast<std::uint32_t>(dataRva + dataAt[ri]));
                set32(dir, dataEntryAt[ri] + 4, static_cast<std::uint32_t>(resources[ri].data.size()));
            }
        }
    }
    for (const auto& [text, at] : stringAt) {
        set16(dir, at, static_cast<std::uint32_t>(text.size()));
        for (std::size_t i = 0; i < text.size(); ++i)
            set16(dir, at + 2 + 2 * i, static_cast<unsigned char>(text[i]));
    }

    // Sections: one holding everything, or the directories and the data apart.
    struct Sec {
        const char* name;
        std::uint32_t rva;
        Bytes bytes;
    };
    std::vector<Sec> secs;
    if (options.dataInOtherSection) {
        secs.push_back({".rsrc", rsrcRva, dir});
        secs.push_back({".rdata", dataRva, data});
    } else {
        Bytes all = dir;
        all.insert(all.end(), data.begin(), data.end());
        secs.push_back({".rsrc", rsrcRva, all});
    }

    Bytes f(headers, 0);
    f[0] = 'M';
    f[1] = 'Z';
    set32(f, 0x3C, 0x80);
    const std::size_t pe = 0x80;
    f[pe] = 'P';
    f[pe + 1] = 'E';
    set16(f, pe + 4, options.plus ? 0x8664 : 0x14C);
    set16(f, pe + 6, static_cast<std::uint32_t>(secs.size()));
    const std::uint32_t optSize = options.plus ? 240 : 224;
    set16(f, pe + 20, optSize);
    set16(f, pe + 22, 0x0102);
    const std::size_t opt = pe + 24;
    set16(f, opt, options.plus ? 0x20B : 0x10B);
    set32(f, opt + 32, 0x1000);    // section alignment
    set32(f, opt + 36, fileAlign); // file alignment
    set32(f, opt + 60, static_cast<std::uint32_t>(headers));
    const std::size_t dirs = opt + (options.plus ? 112 : 96);
    set32(f, dirs - 4, 16);
    set32(f, dirs + 2 * 8, rsrcRva);
    set32(f, dirs + 2 * 8 + 4, static_cast<std::uint32_t>(size));
    const std::size_t table = opt + optSize;
    std::size_t raw = headers;
    for (std::size_t s = 0; s < secs.size(); ++s) {
        const std::size_t e = table + 40 * s;
        for (std::size_t i = 0; secs[s].name[i] != 0; ++i)
            f[e + i] = static_cast<std::uint8_t>(secs[s].name[i]);
        const std::size_t rawSize = (secs[s].bytes.size() + fileAlign - 1) / fileAlign * fileAlign;
        set32(f, e + 8, static_cast<std::uint32_t>(secs[s].bytes.size()));
        set32(f, e + 12, secs[s].rva);
        set32(f, e + 16, static_cast<std::uint32_t>(rawSize));
        set32(f, e + 20, static_cast<std::uint32_t>(raw));
        if (s == 0 && layout != nullptr) {
            layout->rsrcFileOffset = raw;
            layout->sectionTableOffset = table;
        }
        raw += rawSize;
    }
    for (const Sec& s : secs) {
        f.insert(f.end(), s.bytes.begin(), s.bytes.end());
        padTo(f, fileAlign);
    }
    return f;
}

// ---- NE ----

Bytes buildNe(const std::vector<Resource>& resources) {
    const unsigned shift = 4;
    std::vector<std::uint16_t> types;
    std::vector<std::vector<std::size_t>> members;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const std::uint16_t t = resources[i].type == 14  ? 0x800E
                                : resources[i].type == 3 ? 0x8003
                                                         : resources[i].type;
        const std::size_t k = indexOf(types, t);
        members.resize(types.size());
        members[k].push_back(i);
    }
    Bytes table;
    put16(table, shift);
    std::vector<std::size_t> offsetField(resources.size()), idField(resources.size());
    for (std::size_t k = 0; k < types.size(); ++k) {
        put(table, {{2, types[k]}, {2, static_cast<std::uint32_t>(members[k].size())}, {4, 0}});
        for (std::size_t i : members[k]) {
            offsetField[i] = table.size();
            idField[i] = table.size() + 6;
            // the offset is filled in below
            put(table, {{2, 0},
                        {2, static_cast<std::uint32_t>((resources[i].data.size() + 15) >> shift)},
                        {2, 0x30},
                        {2, 0x8000u | resources[i].id},
                        {4, 0}});
        }
    }
    put16(table, 0);
    for (std::size_t i = 0; i < resources.size(); ++i)
        if (!resources[i].name.empty()) {
            set16(table, idField[i], static_cast<std::uint32_t>(table.size()));
            put8(table, static_cast<std::uint32_t>(resources[i].name.size()));
            for (char c : resources[i].name)
                put8(table, static_cast<unsigned char>(c));
        }
    put8(table, 0);

    const std::size_t ne = 0x40, tableAt = ne + 0x40;
    Bytes f(tableAt, 0);
    f[0] = 'M';
    f[1] = 'Z';
    set32(f, 0x3C, ne);
    f[ne] = 'N';
    f[ne + 1] = 'E';
    set16(f, ne + 0x24, static_cast<std::uint32_t>(tableAt - ne));
    const std::size_t tableFileAt = f.size();
    f.insert(f.end(), table.begin(), table.end());
    padTo(f, 16);
    for (std::size_t i = 0; i < resources.size(); ++i) {
        set16(f, tableFileAt + offsetField[i], static_cast<std::uint32_t>(f.size() >> shift));
        f.insert(f.end(), resources[i].data.begin(), resources[i].data.end());
        padTo(f, 16);
    }
    return f;
}

// ---- ICO ----

Bytes buildIco(const std::vector<IcoImage>& images) {
    Bytes f;
    put(f, {{2, 0}, {2, 1}, {2, static_cast<std::uint32_t>(images.size())}});
    std::size_t at = 6 + 16 * images.size();
    for (const IcoImage& im : images) {
        const GroupEntry& e = im.entry;
        put(f, {{1, e.width},
                {1, e.height},
                {1, e.colorCount},
                {1, 0},
                {2, e.planes},
                {2, e.bitCount},
                {4, static_cast<std::uint32_t>(im.data.size())},
                {4, static_cast<std::uint32_t>(at)}});
        at += im.data.size();
    }
    for (const IcoImage& im : images)
        f.insert(f.end(), im.data.begin(), im.data.end());
    return f;
}

// ---- samples ----

std::vector<std::pair<std::string, Bytes>> sampleFiles() {
    std::vector<std::uint32_t> gradient(16 * 16);
    for (std::size_t i = 0; i < gradient.size(); ++i)
        gradient[i] = static_cast<std::uint32_t>((i * 16) << 24 | (i & 0xFF) << 16 | 0x40 << 8 | 0x80);
    Dib masked;
    masked.width = 8;
    masked.height = 8;
    masked.bitCount = 4;
    masked.palette = {0x000000, 0xFF0000, 0x00FF00, 0xFFFFFF};
    for (int i = 0; i < 64; ++i) {
        masked.pixels.push_back(static_cast<std::uint32_t>(i % 4));
        masked.mask.push_back(static_cast<std::uint8_t>(i % 3 == 0));
    }
    Dib core = masked;
    core.coreHeader = true;
    Dib alpha;
    alpha.width = 16;
    alpha.height = 16;
    alpha.pixels = gradient;
    Dib fields;
    fields.width = 4;
    fields.height = 4;
    fields.bitCount = 16;
    fields.bitfields = {0xF800, 0x07E0, 0x001F};
    fields.pixels.assign(16, 0xF81F);

    const std::vector<std::pair<GroupEntry, Bytes>> mixed = {
        {{32, 32, 2, 1, 1}, solidDib(32, 32, 1, 0xFF0000)},
        {{16, 16, 16, 1, 4}, encodeDib(masked)},
        {{32, 32, 0, 1, 8}, solidDib(32, 32, 8, 0x00FF00)},
        {{24, 24, 0, 1, 16}, solidDib(24, 24, 16, 0x0000FF)},
        {{48, 48, 0, 1, 24}, solidDib(48, 48, 24, 0x808080)},
        {{16, 16, 0, 1, 32}, encodeDib(alpha)},
        {{0, 0, 0, 1, 32}, encodePng(16, 16, gradient)},
    };
    std::vector<Resource> pe = iconGroup(1, "", 1, mixed);
    const auto named = iconGroup(0, "MAINICON", 20,
                                 {{{8, 8, 0, 1, 4}, encodeDib(core)}, {{4, 4, 0, 1, 16}, encodeDib(fields)}});
    std::vector<Resource> all = named;
    all.insert(all.end(), pe.begin(), pe.end());

    std::vector<std::pair<std::string, Bytes>> out;
    out.emplace_back("pe32.exe", buildPe(all));
    out.emplace_back("pe32plus.dll", buildPe(all, {true, true}));
    out.emplace_back("ne.exe", buildNe(all));
    std::vector<IcoImage> ico;
    for (const auto& [e, d] : mixed)
        ico.push_back({e, d});
    out.emplace_back("mixed.ico", buildIco(ico));
    return out;
}

} // namespace vesmarin::testing
