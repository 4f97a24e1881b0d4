#include "IconFileBuilder.h"

#include <algorithm>
#include <map>
#include <png.h>
#include <stdexcept>
#include <zlib.h>

namespace vesmarin::testing {

void setFields(Bytes& b, std::size_t at, std::string_view widths,
               std::initializer_list<std::uint32_t> values) {
    auto value = values.begin();
    for (const char digit : widths) {
        const std::size_t width = static_cast<std::size_t>(digit - '0');
        if (b.size() < at + width)
            b.resize(at + width);
        for (std::size_t i = 0; i < width; ++i)
            b[at++] = static_cast<std::uint8_t>(*value >> (8 * i));
        ++value;
    }
}

Bytes patched(Bytes b, std::size_t at, std::uint32_t v, int width) {
    setFields(b, at, std::string(1, static_cast<char>('0' + width)), {v});
    return b;
}

std::uint32_t read32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
}

namespace {

void put(Bytes& b, std::string_view widths, std::initializer_list<std::uint32_t> values) {
    setFields(b, b.size(), widths, values);
}
// Big-endian, as PNG stores its numbers.
void putBigEndian(Bytes& b, std::uint32_t v) {
    for (int shift : {24, 16, 8, 0})
        b.push_back(static_cast<std::uint8_t>(v >> shift));
}
void padTo(Bytes& b, std::size_t align) {
    b.resize((b.size() + align - 1) / align * align);
}
std::uint32_t u32(std::size_t v) {
    return static_cast<std::uint32_t>(v);
}
// The fields a group directory and an .ico file share; they end in the byte count and then the image's id
// (2 bytes) or offset (4 bytes).
void putEntry(Bytes& b, const GroupEntry& e, std::size_t bytes, std::uint32_t last, bool offset) {
    put(b, offset ? "11112244" : "11112242",
        {e.width, e.height, e.colorCount, 0, e.planes, e.bitCount, u32(bytes), last});
}

} // namespace

Bytes encodeDib(const Dib& dib) {
    Bytes b;
    const std::uint32_t bpp = u32(dib.bitCount), w = u32(dib.width), h2 = u32(dib.height * 2);
    const std::uint32_t compression = dib.bitfields.empty() ? 0 : 3; // BI_RGB or BI_BITFIELDS
    if (dib.coreHeader)
        put(b, "42222", {12, w, h2, 1, bpp});
    else
        put(b, "44422444444", {40, w, h2, 1, bpp, compression, 0, 0, 0, dib.colorsUsed, 0});
    for (std::uint32_t m : dib.bitfields)
        put(b, "4", {m});
    if (bpp <= 8 || dib.colorsUsed != 0) {
        const std::size_t entries =
            dib.colorsUsed != 0 && !dib.coreHeader ? dib.colorsUsed : std::size_t{1} << bpp;
        for (std::size_t i = 0; i < entries; ++i)
            put(b, dib.coreHeader ? "3" : "4", {i < dib.palette.size() ? dib.palette[i] & 0xFFFFFF : 0});
    }
    // Rows bottom-up, each padded to four bytes: the colour bits, then the AND mask.
    const std::size_t stride = (w * bpp + 31) / 32 * 4, maskStride = (w + 31) / 32 * 4;
    for (int y = dib.height - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (std::size_t x = 0, bit = 0; x < w; ++x, bit += bpp) {
            const std::uint32_t v = dib.pixels[y * w + x];
            if (bpp <= 8)
                row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - bpp - bit % 8));
            else // 16, 24 and 32 bits: whole bytes, low byte first
                setFields(row, bit / 8, std::string(1, static_cast<char>('0' + bpp / 8)), {v});
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    for (int y = dib.height - 1; y >= 0 && dib.writeMask; --y) {
        Bytes row(maskStride, 0);
        for (std::size_t x = 0; x < w && !dib.mask.empty(); ++x)
            row[x / 8] |= static_cast<std::uint8_t>(dib.mask[y * w + x] != 0 ? 0x80 >> (x % 8) : 0);
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

Bytes encodePng(int width, int height, const std::vector<std::uint32_t>& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA; // 0xAARRGGBB, low byte first
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr))
        throw std::runtime_error("png size");
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr))
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
        z.avail_in = z.avail_out = kPiece;
        z.next_out = out.data();
        deflate(&z, Z_FULL_FLUSH);
        return Bytes(out.begin(), out.end() - z.avail_out);
    };
    Bytes stream = piece();
    const Bytes again = piece();
    deflateEnd(&z);
    // The last block, empty and stored, then the checksum of all those zeros.
    const uLong one = adler32(adler32(0, nullptr, 0), zeros.data(), kPiece);
    uLong sum = one;
    for (std::uint64_t i = 1; i < std::max<std::uint64_t>(inflated / kPiece, 2); ++i) {
        stream.insert(stream.end(), again.begin(), again.end());
        sum = adler32_combine(sum, one, kPiece);
    }
    stream.insert(stream.end(), {0x01, 0x00, 0x00, 0xFF, 0xFF});
    putBigEndian(stream, static_cast<std::uint32_t>(sum));

    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const auto chunk = [&](const char* type, const Bytes& data) {
        putBigEndian(png, u32(data.size()));
        const std::size_t start = png.size();
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), data.begin(), data.end());
        putBigEndian(png, static_cast<std::uint32_t>(crc32(0, png.data() + start, u32(png.size() - start))));
    };
    Bytes ihdr;
    putBigEndian(ihdr, u32(width));
    putBigEndian(ihdr, u32(height));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter variant, not interlaced
    chunk("IHDR", ihdr);
    chunk("IDAT", stream);
    chunk("IEND", {});
    return png;
}

Bytes solidDib(int width, int height, int bitCount, std::uint32_t rgb) {
    Dib d(width, height, bitCount);
    std::uint32_t v = rgb & 0xFFFFFF; // at 32 bits alpha all zero: the mask decides
    if (bitCount <= 8)
        d.palette = {0, rgb}, v = 1;
    else if (bitCount == 16)
        v = ((rgb >> 19) & 31) << 10 | ((rgb >> 11) & 31) << 5 | ((rgb >> 3) & 31);
    d.pixels.assign(static_cast<std::size_t>(width) * height, v);
    return encodeDib(d);
}

Bytes groupData(const std::vector<GroupEntry>& entries) {
    Bytes b;
    put(b, "222", {0, 1, u32(entries.size())});
    for (const auto& e : entries)
        putEntry(b, e, e.bytes, e.id, false);
    return b;
}

std::vector<Resource> iconGroup(std::uint16_t groupId, const std::string& groupName, std::uint16_t firstId,
                                const std::vector<std::pair<GroupEntry, Bytes>>& images,
                                std::uint16_t language) {
    std::vector<Resource> out;
    std::vector<GroupEntry> entries;
    for (const auto& [entry, data] : images) {
        const auto id = static_cast<std::uint16_t>(firstId + out.size());
        entries.push_back(entry);
        entries.back().id = id;
        entries.back().bytes = u32(data.size());
        out.push_back({3, "", id, language, data});
    }
    out.push_back({14, groupName, groupId, language, groupData(entries)});
    return out;
}

// ---- PE ----

namespace {

template <class T> std::size_t indexOf(std::vector<T>& v, const T& x) {
    const auto it = std::find(v.begin(), v.end(), x);
    if (it != v.end())
        return static_cast<std::size_t>(it - v.begin());
    v.push_back(x);
    return v.size() - 1;
}

} // namespace

Bytes buildPe(const std::vector<Resource>& resources, PeOptions options, PeLayout* layout) {
    // The tree: types -> names -> the resources stored under a name (one per language), each level in
    // first-seen order.
    std::vector<std::uint16_t> types;
    std::vector<std::vector<std::pair<std::string, std::uint16_t>>> names;
    std::vector<std::vector<std::vector<std::size_t>>> members;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const std::size_t t = indexOf(types, resources[i].type);
        names.resize(types.size());
        members.resize(types.size());
        const std::size_t n = indexOf(names[t], {resources[i].name, resources[i].id});
        members[t].resize(names[t].size());
        members[t][n].push_back(i);
    }
    // The directory block, level by level: the root, the name directories, the language directories, the
    // data entries (in the resources' order) and the names' texts.
    std::size_t size = 16 + 8 * types.size();
    std::vector<std::size_t> nameDirAt, langDirAt, dataEntryAt;
    for (const auto& under : names)
        nameDirAt.push_back(std::exchange(size, size + 16 + 8 * under.size()));
    for (const auto& under : members)
        for (const auto& group : under)
            langDirAt.push_back(std::exchange(size, size + 16 + 8 * group.size()));
    for (std::size_t i = 0; i < resources.size(); ++i)
        dataEntryAt.push_back(std::exchange(size, size + 16));
    std::map<std::string, std::size_t> stringAt;
    for (const Resource& r : resources)
        if (!r.name.empty() && !stringAt.count(r.name))
            stringAt[r.name] = std::exchange(size, size + 2 + 2 * r.name.size());
    size = (size + 7) / 8 * 8;

    constexpr std::uint32_t kFileAlign = 0x200, kRsrcRva = 0x1000, kHeaders = 0x400, kHigh = 0x80000000u;
    Bytes data; // placed after the directories, or in the second section
    std::vector<std::size_t> dataAt;
    for (const Resource& r : resources) {
        dataAt.push_back(data.size());
        data.insert(data.end(), r.data.begin(), r.data.end());
        padTo(data, 8);
    }
    const std::uint32_t dataRva =
        u32(kRsrcRva + (options.dataInOtherSection ? (size + 0xFFF) / 0x1000 * 0x1000 : size));

    Bytes dir(size, 0);
    setFields(dir, 12, "22", {0, u32(types.size())});
    for (std::size_t t = 0, l = 0; t < types.size(); ++t) {
        setFields(dir, 16 + 8 * t, "44", {types[t], kHigh | u32(nameDirAt[t])});
        const auto named =
            std::count_if(names[t].begin(), names[t].end(), [](auto& k) { return !k.first.empty(); });
        setFields(dir, nameDirAt[t] + 12, "22", {u32(named), u32(names[t].size() - named)});
        for (std::size_t n = 0; n < names[t].size(); ++n, ++l) {
            const auto& [text, id] = names[t][n];
            setFields(dir, nameDirAt[t] + 16 + 8 * n, "44",
                      {text.empty() ? id : kHigh | u32(stringAt[text]), kHigh | u32(langDirAt[l])});
            setFields(dir, langDirAt[l] + 12, "22", {0, u32(members[t][n].size())});
            for (std::size_t k = 0; k < members[t][n].size(); ++k) {
                const std::size_t ri = members[t][n][k];
                setFields(dir, langDirAt[l] + 16 + 8 * k, "44",
                          {resources[ri].language, u32(dataEntryAt[ri])});
                setFields(dir, dataEntryAt[ri], "44",
                          {u32(dataRva + dataAt[ri]), u32(resources[ri].data.size())});
            }
        }
    }
    for (const auto& [text, at] : stringAt) {
        setFields(dir, at, "2", {u32(text.size())});
        for (std::size_t i = 0; i < text.size(); ++i)
            setFields(dir, at + 2 + 2 * i, "2", {static_cast<unsigned char>(text[i])});
    }

    // Sections: one holding everything, or the directories and the data apart.
    std::vector<std::pair<std::uint32_t, Bytes>> sections = {{kRsrcRva, dir}};
    if (options.dataInOtherSection)
        sections.emplace_back(dataRva, data);
    else
        sections[0].second.insert(sections[0].second.end(), data.begin(), data.end());
    const std::uint32_t optSize = options.plus ? 240 : 224;
    const std::size_t pe = 0x80, opt = pe + 24, dirs = opt + (options.plus ? 112 : 96), table = opt + optSize;
    Bytes f(kHeaders, 0);
    setFields(f, 0, "2", {'M' | 'Z' << 8});
    setFields(f, 0x3C, "4", {pe});
    // Signature, machine, sections, time, symbols (2), optional header size, characteristics.
    setFields(
        f, pe, "42244422",
        {'P' | 'E' << 8, options.plus ? 0x8664u : 0x14Cu, u32(sections.size()), 0, 0, 0, optSize, 0x102});
    setFields(f, opt, "2", {options.plus ? 0x20Bu : 0x10Bu});
    setFields(f, opt + 32, "44", {0x1000, kFileAlign}); // section and file alignment
    setFields(f, opt + 60, "4", {kHeaders});
    setFields(f, dirs - 4, "4", {16}); // sixteen data directories; the resource one is the third
    setFields(f, dirs + 16, "44", {kRsrcRva, u32(size)});
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const auto& [rva, bytes] = sections[s];
        const std::string name = s == 0 ? ".rsrc" : ".rdata";
        std::copy(name.begin(), name.end(), f.begin() + static_cast<std::ptrdiff_t>(table + 40 * s));
        if (s == 0 && layout != nullptr)
            *layout = {f.size(), table};
        setFields(f, table + 40 * s + 8, "4444",
                  {u32(bytes.size()), rva, u32((bytes.size() + kFileAlign - 1) / kFileAlign * kFileAlign),
                   u32(f.size())});
        f.insert(f.end(), bytes.begin(), bytes.end());
        padTo(f, kFileAlign);
    }
    return f;
}

// ---- NE ----

Bytes buildNe(const std::vector<Resource>& resources) {
    const unsigned shift = 4;
    std::vector<std::uint16_t> types;
    std::vector<std::vector<std::size_t>> members;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const std::uint16_t type = resources[i].type;
        const std::size_t k = indexOf(types, type == 14  ? std::uint16_t{0x800E}
                                             : type == 3 ? std::uint16_t{0x8003}
                                                         : type);
        members.resize(types.size());
        members[k].push_back(i);
    }
    // The resource table: the shift, each type with its resources (offset filled in below, length, flags, id
    // or the offset of a name), a zero type, then the names, each after its length.
    Bytes table;
    put(table, "2", {shift});
    std::vector<std::size_t> fieldsAt(resources.size());
    for (std::size_t k = 0; k < types.size(); ++k) {
        put(table, "224", {types[k], u32(members[k].size()), 0});
        for (std::size_t i : members[k]) {
            fieldsAt[i] = table.size();
            put(table, "22224",
                {0, u32((resources[i].data.size() + 15) >> shift), 0x30, 0x8000u | resources[i].id, 0});
        }
    }
    put(table, "2", {0});
    for (std::size_t i = 0; i < resources.size(); ++i)
        if (!resources[i].name.empty()) {
            setFields(table, fieldsAt[i] + 6, "2", {u32(table.size())});
            put(table, "1", {u32(resources[i].name.size())});
            table.insert(table.end(), resources[i].name.begin(), resources[i].name.end());
        }
    put(table, "1", {0});

    const std::size_t ne = 0x40, tableAt = ne + 0x40;
    Bytes f(tableAt, 0);
    setFields(f, 0, "2", {'M' | 'Z' << 8});
    setFields(f, 0x3C, "4", {ne});
    setFields(f, ne, "2", {'N' | 'E' << 8});
    setFields(f, ne + 0x24, "2", {tableAt - ne});
    f.insert(f.end(), table.begin(), table.end());
    padTo(f, 16);
    for (std::size_t i = 0; i < resources.size(); ++i) {
        setFields(f, tableAt + fieldsAt[i], "2", {u32(f.size() >> shift)});
        f.insert(f.end(), resources[i].data.begin(), resources[i].data.end());
        padTo(f, 16);
    }
    return f;
}

// ---- ICO ----

Bytes buildIco(const std::vector<IcoImage>& images) {
    Bytes f;
    put(f, "222", {0, 1, u32(images.size())});
    std::size_t at = 6 + 16 * images.size();
    for (const IcoImage& im : images)
        putEntry(f, im.entry, im.data.size(), u32(std::exchange(at, at + im.data.size())), true);
    for (const IcoImage& im : images)
        f.insert(f.end(), im.data.begin(), im.data.end());
    return f;
}

// ---- samples ----

std::vector<std::pair<std::string, Bytes>> sampleFiles() {
    std::vector<std::uint32_t> gradient(16 * 16);
    for (std::size_t i = 0; i < gradient.size(); ++i)
        gradient[i] = static_cast<std::uint32_t>((i * 16) << 24 | (i & 0xFF) << 16 | 0x40 << 8 | 0x80);
    Dib masked(8, 8, 4, {}, {0x000000, 0xFF0000, 0x00FF00, 0xFFFFFF});
    for (int i = 0; i < 64; ++i) {
        masked.pixels.push_back(static_cast<std::uint32_t>(i % 4));
        masked.mask.push_back(static_cast<std::uint8_t>(i % 3 == 0));
    }
    Dib core = masked, fields(4, 4, 16, std::vector<std::uint32_t>(16, 0xF81F));
    core.coreHeader = true;
    fields.bitfields = {0xF800, 0x07E0, 0x001F};

    const std::vector<std::pair<GroupEntry, Bytes>> mixed = {
        {{32, 32, 2, 1, 1}, solidDib(32, 32, 1, 0xFF0000)},
        {{16, 16, 16, 1, 4}, encodeDib(masked)},
        {{32, 32, 0, 1, 8}, solidDib(32, 32, 8, 0x00FF00)},
        {{24, 24, 0, 1, 16}, solidDib(24, 24, 16, 0x0000FF)},
        {{48, 48, 0, 1, 24}, solidDib(48, 48, 24, 0x808080)},
        {{16, 16, 0, 1, 32}, encodeDib(Dib(16, 16, 32, gradient))},
        {{0, 0, 0, 1, 32}, encodePng(16, 16, gradient)},
    };
    std::vector<Resource> all = iconGroup(
        0, "MAINICON", 20, {{{8, 8, 0, 1, 4}, encodeDib(core)}, {{4, 4, 0, 1, 16}, encodeDib(fields)}});
    const std::vector<Resource> numbered = iconGroup(1, "", 1, mixed);
    all.insert(all.end(), numbered.begin(), numbered.end());
    std::vector<IcoImage> ico;
    for (const auto& [e, d] : mixed)
        ico.push_back({e, d});
    return {{"pe32.exe", buildPe(all)},
            {"pe32plus.dll", buildPe(all, {true, true})},
            {"ne.exe", buildNe(all)},
            {"mixed.ico", buildIco(ico)}};
}

} // namespace vesmarin::testing
