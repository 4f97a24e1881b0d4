#include "platform/iconreader/IconReader.h"

#include "platform/iconreader/ByteSource.h"
#include "platform/iconreader/IconImage.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace vesmarin::iconreader {

using detail::ByteSource;
using detail::le16;
using detail::le32;

namespace {

constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr std::uint16_t kNeRtIcon = 0x8003;
constexpr std::uint16_t kNeRtGroupIcon = 0x800E;
// No icon image or group comes near this; anything larger is a damaged size field.
constexpr std::uint32_t kMaxResourceSize = 32u << 20;
constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14; // in a resource; 16 in an .ico file

// Where some bytes lie in the file; size 0 means "not in the file".
struct Span {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
    bool valid() const { return size != 0; }
};

class PeResources;

std::string utf8FromUtf16(const std::vector<std::uint16_t>& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t cp = units[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | cp >> 18);
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

} // namespace

// The parsed directory of one file: where each group lies and where each image lies, by ID.
struct IconFile::Data {
    struct Group {
        Span data;
        bool named = false;
        std::uint16_t id = 0;
        std::uint16_t language = 0;
        std::uint64_t nameOffset =
            0; // file offset of the name (UTF-16 with a length in PE, Pascal string in NE)
    };

    std::unique_ptr<ByteSource> source;
    FileKind kind = FileKind::None;
    std::string problem;
    bool neNames = false; // names are Pascal strings of 8-bit characters, not counted UTF-16
    std::vector<Group> groups;
    std::vector<std::pair<std::uint16_t, Span>> images; // sorted by ID; the first stored wins a tie
    std::vector<std::uint8_t> icoDirectory;             // an .ico file's own directory entries

    std::vector<std::uint8_t> readSpan(Span s) const {
        std::vector<std::uint8_t> bytes;
        if (!s.valid() || s.size > kMaxResourceSize || !source->contains(s.offset, s.size))
            return bytes;
        bytes.resize(s.size);
        if (!source->read(s.offset, bytes.data(), bytes.size()))
            bytes.clear();
        return bytes;
    }

    Span imageById(std::uint16_t id) const {
        const auto it = std::lower_bound(images.begin(), images.end(), id,
                                         [](const auto& e, std::uint16_t v) { return e.first < v; });
        return it != images.end() && it->first == id ? it->second : Span{};
    }

    void addImage(std::uint16_t id, Span s) { images.emplace_back(id, s); }

    void finishImages() {
        std::stable_sort(images.begin(), images.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }

    bool parse();
    bool parsePe(std::uint64_t peAt);
    bool parseNe(std::uint64_t neAt);
    void readPeIcons(PeResources& res);
    void readNeResourceTable(std::uint64_t table, unsigned shift);
    void addNeResources(const std::vector<std::uint8_t>& raw, bool icons, std::uint64_t table,
                        unsigned shift);
    bool parseIco();

    // The entries of a group, as the directory gives them, with where each image lies.
    struct Entry {
        StoredImage fields; // data left empty
        Span image;
    };
    std::optional<std::vector<Entry>> entries(int index) const;
    std::string groupName(const Group& g) const;
    std::vector<detail::Candidate> candidates(const std::vector<Entry>& es) const;
    std::vector<Entry> presentEntries(int index) const;
    std::optional<detail::DecodedImage> decodeChosen(int index, int size) const;
    std::optional<detail::DecodedImage> decodeEntry(const Entry& e, int size) const;
    std::optional<std::vector<std::uint8_t>> soundPng(const Entry& e, int size) const;
};

// ---- PE: the resource directory, reached through the section table ----

namespace {

// The size, colour and plane fields an icon directory entry shares with a group directory entry (both
// start with width, height, colour count, reserved, planes and bit count).
void readEntryFields(const std::uint8_t* e, StoredImage& f) {
    f.width = e[0];
    f.height = e[1];
    f.colorCount = e[2];
    f.reserved = e[3];
    f.planes = le16(e + 4);
    f.bitCount = le16(e + 6);
}

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

class PeResources {
public:
    PeResources(const ByteSource& src, std::vector<Section> sections, std::uint32_t headersSize,
                std::uint32_t root)
        : src_(src), sections_(std::move(sections)), headersSize_(headersSize), root_(root) {
        std::stable_sort(sections_.begin(), sections_.end(), [](const Section& a, const Section& b) {
            return a.virtualAddress < b.virtualAddress;
        });
    }

    struct Entry {
        bool named;
        std::uint32_t nameOrId; // name: offset from the root; id: the number
        bool isDirectory;
        std::uint32_t target; // offset from the root of a directory or a data entry
    };

    // The entries of the directory at offset from the root, in stored order. Refuses a directory it has
    // already read, so that no loop can make it go round.
    std::optional<std::vector<Entry>> directory(std::uint32_t offset) {
        if (!visited_.insert(offset).second)
            return std::nullopt;
        std::array<std::uint8_t, 16> head{};
        const auto at = fileOffset(std::uint64_t{root_} + offset, head.size());
        if (!at || !src_.read(*at, head.data(), head.size()))
            return std::nullopt;
        const std::size_t count = std::size_t{le16(&head[12])} + le16(&head[14]);
        const auto entriesAt = fileOffset(std::uint64_t{root_} + offset + 16, count * 8);
        if (!entriesAt)
            return std::nullopt;
        std::vector<std::uint8_t> raw(count * 8);
        if (!src_.read(*entriesAt, raw.data(), raw.size()))
            return std::nullopt;
        std::vector<Entry> out(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t name = le32(&raw[i * 8]);
            const std::uint32_t data = le32(&raw[i * 8 + 4]);
            out[i] = {(name & 0x80000000u) != 0, name & 0x7FFFFFFFu, (data & 0x80000000u) != 0,
                      data & 0x7FFFFFFFu};
        }
        return out;
    }

    // A data entry: where its bytes lie in the file.
    Span data(std::uint32_t offset) const {
        std::array<std::uint8_t, 8> e{};
        const auto at = fileOffset(std::uint64_t{root_} + offset, e.size());
        if (!at || !src_.read(*at, e.data(), e.size()))
            return {};
        const std::uint32_t size = le32(&e[4]);
        const auto dataAt = fileOffset(le32(&e[0]), size);
        if (!dataAt || size == 0)
            return {};
        return {*dataAt, size};
    }

    // The first sub-entry of a language directory, and its language.
    std::pair<Span, std::uint16_t> firstLanguage(const Entry& nameEntry) {
        if (!nameEntry.isDirectory)
            return {};
        const auto languages = directory(nameEntry.target);
        if (!languages || languages->empty() || (*languages)[0].isDirectory)
            return {};
        const Entry& first = (*languages)[0];
        return {data(first.target), static_cast<std::uint16_t>(first.named ? 0 : first.nameOrId)};
    }

    std::optional<std::uint64_t> fileOffset(std::uint64_t rva, std::uint64_t n) const {
        if (rva > 0xFFFFFFFFu)
            return std::nullopt;
        // Sections are sorted by address; the one starting last at or below rva is the only candidate
        // (a file whose sections overlap is damaged anyway), which keeps thousands of sections cheap.
        const auto after =
            std::upper_bound(sections_.begin(), sections_.end(), rva,
                             [](std::uint64_t v, const Section& s) { return v < s.virtualAddress; });
        if (after != sections_.begin()) {
            const Section& s = *(after - 1);
            const std::uint64_t extent = std::max(s.virtualSize, s.rawSize);
            if (rva - s.virtualAddress < extent) {
                const std::uint64_t at = std::uint64_t{s.rawOffset} + (rva - s.virtualAddress);
                return src_.contains(at, n) ? std::optional(at) : std::nullopt;
            }
        }
        // The headers are mapped as they lie in the file.
        if (rva < headersSize_ && src_.contains(rva, n))
            return rva;
        return std::nullopt;
    }

    std::uint64_t root() const { return root_; }

private:
    const ByteSource& src_;
    std::vector<Section> sections_;
    std::uint32_t headersSize_;
    std::uint32_t root_;
    std::set<std::uint32_t> visited_;
};

// What the COFF and optional headers say about where the resource directory is found.
struct PeHeaders {
    FileKind kind = FileKind::None;
    std::uint16_t sectionCount = 0;
    std::uint16_t optionalSize = 0;
    std::uint64_t optAt = 0;   // the optional header
    std::uint64_t countAt = 0; // its count of data directories, from optAt
};

// nullopt when the optional header is neither PE32 nor PE32+.
std::optional<PeHeaders> readPeHeaders(const ByteSource& src, std::uint64_t peAt) {
    std::array<std::uint8_t, 24> coff{};
    if (!src.read(peAt, coff.data(), coff.size()))
        return std::nullopt;
    PeHeaders h;
    h.sectionCount = le16(&coff[6]);
    h.optionalSize = le16(&coff[20]);
    h.optAt = peAt + 24;
    std::array<std::uint8_t, 2> magicBytes{};
    if (!src.read(h.optAt, magicBytes.data(), 2))
        return std::nullopt;
    const std::uint16_t magic = le16(magicBytes.data());
    if (magic == 0x10B) {
        h.kind = FileKind::Pe32;
        h.countAt = 92;
    } else if (magic == 0x20B) {
        h.kind = FileKind::Pe32Plus;
        h.countAt = 108;
    } else {
        return std::nullopt;
    }
    return h;
}

// The section table: how the file's sections map into memory.
std::optional<std::vector<Section>> readSectionTable(const ByteSource& src, std::uint64_t at,
                                                     std::uint16_t count) {
    if (!src.contains(at, std::uint64_t{count} * 40))
        return std::nullopt;
    std::vector<std::uint8_t> table(std::size_t{count} * 40);
    if (!src.read(at, table.data(), table.size()))
        return std::nullopt;
    std::vector<Section> sections(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* s = &table[i * 40];
        sections[i] = {le32(s + 12), le32(s + 8), le32(s + 16), le32(s + 20)};
    }
    return sections;
}

// The resource directory the data directories point to; nullopt when there is none, or it cannot be
// reached through damaged headers.
std::optional<PeResources> openPeResources(const ByteSource& src, const PeHeaders& h) {
    std::array<std::uint8_t, 4> word{};
    std::uint32_t headersSize = 0;
    if (src.read(h.optAt + 60, word.data(), 4))
        headersSize = le32(word.data());
    if (!src.read(h.optAt + h.countAt, word.data(), 4) || h.optionalSize < h.countAt + 4)
        return std::nullopt;
    const std::uint32_t dirCount = le32(word.data());
    if (dirCount <= 2 || h.optionalSize < h.countAt + 4 + 3 * 8)
        return std::nullopt;
    std::array<std::uint8_t, 8> resDir{};
    if (!src.read(h.optAt + h.countAt + 4 + 2 * 8, resDir.data(), resDir.size()))
        return std::nullopt;
    const std::uint32_t rsrcRva = le32(&resDir[0]);
    if (rsrcRva == 0)
        return std::nullopt;
    auto sections = readSectionTable(src, h.optAt + h.optionalSize, h.sectionCount);
    if (!sections)
        return std::nullopt;
    return std::optional<PeResources>(std::in_place, src, std::move(*sections), headersSize, rsrcRva);
}

// The directory of one numbered resource type among the root directory's entries.
const PeResources::Entry* findType(const std::vector<PeResources::Entry>& types, std::uint16_t id) {
    for (const auto& e : types)
        if (!e.named && e.nameOrId == id && e.isDirectory)
            return &e;
    return nullptr;
}

} // namespace

bool IconFile::Data::parsePe(std::uint64_t peAt) {
    const auto headers = readPeHeaders(*source, peAt);
    if (!headers)
        return false;
    kind = headers->kind;
    // From here on the file is a PE file; a damaged resource section just means no icons.
    if (auto res = openPeResources(*source, *headers))
        readPeIcons(*res);
    return true;
}

// The icon images by ID, then the icon groups, each in the first language it is stored in.
void IconFile::Data::readPeIcons(PeResources& res) {
    const auto types = res.directory(0);
    if (!types)
        return;
    const PeResources::Entry* groupType = findType(*types, kRtGroupIcon);
    const PeResources::Entry* iconType = findType(*types, kRtIcon);
    if (groupType == nullptr)
        return;
    if (iconType != nullptr)
        if (const auto icons = res.directory(iconType->target))
            for (const auto& e : *icons)
                if (!e.named && e.nameOrId <= 0xFFFF)
                    addImage(static_cast<std::uint16_t>(e.nameOrId), res.firstLanguage(e).first);
    finishImages();
    const auto names = res.directory(groupType->target);
    if (!names)
        return;
    groups.reserve(names->size());
    for (const auto& e : *names) {
        Group g;
        g.named = e.named;
        if (e.named) {
            if (const auto at = res.fileOffset(res.root() + e.nameOrId, 2))
                g.nameOffset = *at;
        } else {
            g.id = static_cast<std::uint16_t>(e.nameOrId);
        }
        std::tie(g.data, g.language) = res.firstLanguage(e);
        groups.push_back(g);
    }
}

// ---- NE: the resource table of 16-bit programs ----

bool IconFile::Data::parseNe(std::uint64_t neAt) {
    std::array<std::uint8_t, 2> word{};
    if (!source->read(neAt + 0x24, word.data(), 2))
        return false;
    kind = FileKind::Ne;
    neNames = true;
    const std::uint16_t tableOffset = le16(word.data());
    if (tableOffset == 0)
        return true;
    const std::uint64_t table = neAt + tableOffset;
    if (!source->read(table, word.data(), 2))
        return true;
    const unsigned shift = le16(word.data());
    if (shift > 16)
        return true;
    readNeResourceTable(table, shift);
    finishImages();
    return true;
}

// The resource table's type blocks, up to the first that cannot be read; only the icon and group blocks
// are taken.
void IconFile::Data::readNeResourceTable(std::uint64_t table, unsigned shift) {
    std::uint64_t pos = table + 2;
    bool seenIcons = false, seenGroups = false;
    // Real programs have a few dozen resource types; a longer list is damage and is not followed further.
    for (int types = 0; types < 4096; ++types) {
        std::array<std::uint8_t, 8> typeInfo{};
        if (!source->read(pos, typeInfo.data(), 2))
            return;
        const std::uint16_t type = le16(&typeInfo[0]);
        if (type == 0 || !source->read(pos, typeInfo.data(), typeInfo.size()))
            return;
        const std::uint16_t count = le16(&typeInfo[2]);
        pos += 8;
        const std::uint64_t recordsAt = pos;
        pos += std::uint64_t{count} * 12;
        if (!source->contains(recordsAt, pos - recordsAt))
            return;
        // Each type has one block; a repeated one is ignored, so the counts stay bounded.
        bool& seen = type == kNeRtIcon ? seenIcons : seenGroups;
        if ((type != kNeRtIcon && type != kNeRtGroupIcon) || seen)
            continue;
        seen = true;
        std::vector<std::uint8_t> raw(std::size_t{count} * 12);
        if (!source->read(recordsAt, raw.data(), raw.size()))
            return;
        addNeResources(raw, type == kNeRtIcon, table, shift);
    }
}

// The 12-byte records of one type block: icon images by ID, or icon groups by name or number.
void IconFile::Data::addNeResources(const std::vector<std::uint8_t>& raw, bool icons, std::uint64_t table,
                                    unsigned shift) {
    for (std::size_t i = 0; i < raw.size() / 12; ++i) {
        const std::uint8_t* r = &raw[i * 12];
        const std::uint64_t length = std::uint64_t{le16(r + 2)} << shift;
        Span s{std::uint64_t{le16(r)} << shift,
               static_cast<std::uint32_t>(std::min<std::uint64_t>(length, 0xFFFFFFFF))};
        if (!source->contains(s.offset, s.size))
            s = {};
        const std::uint16_t id = le16(r + 6);
        if (icons) {
            if ((id & 0x8000) != 0)
                addImage(id & 0x7FFF, s);
            continue;
        }
        Group g;
        g.data = s;
        g.named = (id & 0x8000) == 0;
        if (g.named)
            g.nameOffset = table + id;
        else
            g.id = id & 0x7FFF;
        groups.push_back(g);
    }
}

// ---- .ico files: one icon ----

bool IconFile::Data::parseIco() {
    std::array<std::uint8_t, 6> head{};
    if (!source->read(0, head.data(), head.size()) || le16(&head[0]) != 0 || le16(&head[2]) != 1)
        return false;
    const std::uint16_t count = le16(&head[4]);
    if (count == 0)
        return false;
    icoDirectory.resize(std::size_t{count} * 16);
    if (!source->read(6, icoDirectory.data(), icoDirectory.size()))
        return false;
    // One sanity check of the first entry keeps odd files that merely start with 00 00 01 00 out.
    const std::uint32_t firstSize = le32(&icoDirectory[8]);
    if (firstSize == 0 || !source->contains(le32(&icoDirectory[12]), firstSize))
        return false;
    kind = FileKind::Ico;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint8_t* e = &icoDirectory[std::size_t{i} * 16];
        Span s{le32(e + 12), le32(e + 8)};
        if (!source->contains(s.offset, s.size))
            s = {};
        addImage(static_cast<std::uint16_t>(i + 1), s);
    }
    finishImages();
    groups.push_back(Group{});
    return true;
}

bool IconFile::Data::parse() {
    std::array<std::uint8_t, 64> dos{};
    if (source->read(0, dos.data(), 2) && dos[0] == 'M' && dos[1] == 'Z') {
        if (!source->read(0, dos.data(), dos.size()))
            return false;
        const std::uint64_t headerAt = le32(&dos[0x3C]);
        std::array<std::uint8_t, 4> sig{};
        if (!source->read(headerAt, sig.data(), 2))
            return false;
        if (sig[0] == 'N' && sig[1] == 'E')
            return parseNe(headerAt);
        if (sig[0] == 'P' && sig[1] == 'E' && source->read(headerAt, sig.data(), 4) && sig[2] == 0 &&
            sig[3] == 0)
            return parsePe(headerAt);
        return false;
    }
    return parseIco();
}

std::optional<std::vector<IconFile::Data::Entry>> IconFile::Data::entries(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= groups.size())
        return std::nullopt;
    std::vector<Entry> out;
    if (kind == FileKind::Ico) {
        const std::size_t count = icoDirectory.size() / 16;
        out.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            StoredImage& f = out[i].fields;
            readEntryFields(&icoDirectory[i * 16], f);
            f.id = static_cast<std::uint16_t>(i + 1);
            out[i].image = imageById(f.id);
        }
        return out;
    }
    // A group directory holds at most 65535 entries; never read more than those, whatever its size says.
    Span span = groups[static_cast<std::size_t>(index)].data;
    span.size = std::min<std::uint32_t>(span.size, kGroupHeaderSize + 0xFFFF * kGroupEntrySize);
    const std::vector<std::uint8_t> g = readSpan(span);
    if (g.size() < kGroupHeaderSize)
        return std::nullopt;
    const std::size_t count = le16(&g[4]);
    if (kGroupHeaderSize + count * kGroupEntrySize > g.size())
        return std::nullopt;
    out.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = &g[kGroupHeaderSize + i * kGroupEntrySize];
        StoredImage& f = out[i].fields;
        readEntryFields(e, f);
        f.id = le16(e + 12);
        out[i].image = imageById(f.id);
    }
    return out;
}

std::string IconFile::Data::groupName(const Group& g) const {
    if (!g.named)
        return {};
    std::array<std::uint8_t, 2> len{};
    if (neNames) {
        if (!source->read(g.nameOffset, len.data(), 1))
            return {};
        std::vector<std::uint8_t> chars(len[0]);
        if (!source->read(g.nameOffset + 1, chars.data(), chars.size()))
            return {};
        std::vector<std::uint16_t> units(chars.begin(), chars.end()); // 8-bit text taken as Latin-1
        return utf8FromUtf16(units);
    }
    if (!source->read(g.nameOffset, len.data(), 2))
        return {};
    std::vector<std::uint8_t> raw(std::size_t{le16(len.data())} * 2);
    if (!source->read(g.nameOffset + 2, raw.data(), raw.size()))
        return {};
    std::vector<std::uint16_t> units(raw.size() / 2);
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = le16(&raw[i * 2]);
    return utf8FromUtf16(units);
}

// The images the file holds, with the size and depth the choice goes by. Images the file lacks are given
// an impossible size so that they are never taken.
std::vector<detail::Candidate> IconFile::Data::candidates(const std::vector<Entry>& es) const {
    std::vector<detail::Candidate> out(es.size());
    for (std::size_t i = 0; i < es.size(); ++i) {
        const StoredImage& f = es[i].fields;
        out[i].width = f.width == 0 ? 256 : f.width;
        out[i].height = f.height == 0 ? 256 : f.height;
        out[i].bitCount = f.bitCount;
        if (out[i].bitCount == 0 && es[i].image.valid()) {
            std::array<std::uint8_t, 40> head{};
            const std::size_t n = std::min<std::size_t>(head.size(), es[i].image.size);
            if (source->read(es[i].image.offset, head.data(), n))
                if (const auto h = detail::readImageHeader(std::span(head.data(), n)))
                    out[i].bitCount = h->bitCount;
        }
    }
    return out;
}

// The image an entry names, scaled to size x size (0: as it is).
std::optional<detail::DecodedImage> IconFile::Data::decodeEntry(const Entry& e, int size) const {
    auto image = detail::decodeImage(readSpan(e.image));
    if (!image || size == 0)
        return image;
    return detail::scaleImage(*image, size);
}

// The bytes of the image an entry names when they are a sound PNG of size x size (any size for 0).
std::optional<std::vector<std::uint8_t>> IconFile::Data::soundPng(const Entry& e, int size) const {
    std::array<std::uint8_t, 8> head{};
    if (!e.image.valid() ||
        !source->read(e.image.offset, head.data(), std::min<std::size_t>(8, e.image.size)) ||
        !detail::isPng(head))
        return std::nullopt;
    std::vector<std::uint8_t> bytes = readSpan(e.image);
    const auto dimensions = detail::soundPngSize(bytes);
    if (!dimensions || (size != 0 && *dimensions != std::pair{size, size}))
        return std::nullopt;
    return bytes;
}

std::vector<IconFile::Data::Entry> IconFile::Data::presentEntries(int index) const {
    std::vector<Entry> present;
    if (const auto es = entries(index))
        for (const Entry& e : *es)
            if (e.image.valid())
                present.push_back(e);
    return present;
}

std::optional<detail::DecodedImage> IconFile::Data::decodeChosen(int index, int size) const {
    if (size < 1 || size > kMaxDimension)
        return std::nullopt;
    std::vector<Entry> present = presentEntries(index);
    // A damaged image gives way to the next best one, so one bad image does not hide the icon.
    // A few tries only: a hostile group may list thousands of broken images.
    auto choices = candidates(present);
    for (int tries = 0; tries < 8; ++tries) {
        const int chosen = detail::chooseImage(choices, size);
        if (chosen < 0)
            return std::nullopt;
        if (auto image = decodeEntry(present[static_cast<std::size_t>(chosen)], size))
            return image;
        choices.erase(choices.begin() + chosen);
        present.erase(present.begin() + chosen);
    }
    return std::nullopt;
}

// ---- the public face ----

IconFile::IconFile() noexcept = default;
IconFile::IconFile(std::unique_ptr<Data> data) noexcept : d(std::move(data)) {}
IconFile::IconFile(IconFile&&) noexcept = default;
IconFile& IconFile::operator=(IconFile&&) noexcept = default;
IconFile::~IconFile() = default;

namespace {

std::unique_ptr<IconFile::Data> parsed(std::unique_ptr<ByteSource> source, std::string problem) {
    auto data = std::make_unique<IconFile::Data>();
    data->source = std::move(source);
    if (!data->source) {
        data->problem = std::move(problem);
        return data;
    }
    if (!data->parse()) {
        data->kind = FileKind::None;
        data->groups.clear();
        data->images.clear();
        data->problem = "not a PE, NE or icon file";
    }
    return data;
}

} // namespace

IconFile::IconFile(const std::string& path) noexcept {
    try {
        std::string error;
        auto source = detail::openFileSource(path, error);
        d = parsed(std::move(source), "cannot open: " + error);
    } catch (...) {
        d.reset();
    }
}

IconFile IconFile::fromBytes(std::vector<std::uint8_t> bytes) noexcept {
    try {
        return IconFile(parsed(detail::memorySource(std::move(bytes)), "out of memory"));
    } catch (...) {
        return IconFile();
    }
}

FileKind IconFile::kind() const noexcept {
    return d ? d->kind : FileKind::None;
}

const std::string& IconFile::problem() const noexcept {
    static const std::string outOfMemory = "out of memory";
    return d ? d->problem : outOfMemory;
}

int IconFile::count() const noexcept {
    return d ? static_cast<int>(std::min<std::size_t>(d->groups.size(), 0x7FFFFFFF)) : 0;
}

std::optional<GroupInfo> IconFile::info(int index, int size) const noexcept {
    try {
        if (!d)
            return std::nullopt;
        const auto es = d->entries(index);
        if (!es)
            return std::nullopt;
        const Data::Group& g = d->groups[static_cast<std::size_t>(index)];
        GroupInfo info;
        info.name = d->groupName(g);
        info.id = g.id;
        info.language = g.language;
        std::vector<Data::Entry> present;
        std::vector<int> presentAt;
        for (std::size_t i = 0; i < es->size(); ++i) {
            const Data::Entry& e = (*es)[i];
            ImageInfo im;
            im.width = e.fields.width == 0 ? 256 : e.fields.width;
            im.height = e.fields.height == 0 ? 256 : e.fields.height;
            im.bitCount = e.fields.bitCount;
            im.id = e.fields.id;
            im.present = e.image.valid();
            im.size = e.image.size;
            if (im.present) {
                std::array<std::uint8_t, 40> head{};
                const std::size_t n = std::min<std::size_t>(head.size(), e.image.size);
                if (d->source->read(e.image.offset, head.data(), n))
                    if (const auto h = detail::readImageHeader(std::span(head.data(), n))) {
                        im.format = h->format;
                        if (h->width > 0 && h->height > 0) {
                            im.width = h->width;
                            im.height = h->height;
                        }
                        if (h->bitCount > 0)
                            im.bitCount = h->bitCount;
                    }
                present.push_back(e);
                presentAt.push_back(static_cast<int>(i));
            }
            info.images.push_back(im);
        }
        if (size >= 1 && size <= kMaxDimension) {
            const int chosen = detail::chooseImage(d->candidates(present), size);
            info.chosen = chosen < 0 ? -1 : presentAt[static_cast<std::size_t>(chosen)];
        }
        return info;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<Picture> IconFile::picture(int index, int size) const noexcept {
    try {
        if (!d)
            return std::nullopt;
        auto image = d->decodeChosen(index, size);
        if (!image)
            return std::nullopt;
        return detail::toPicture(*image);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<Picture> IconFile::imagePicture(int index, int image, int size) const noexcept {
    try {
        if (!d || size < 0 || size > kMaxDimension)
            return std::nullopt;
        const auto es = d->entries(index);
        if (!es || image < 0 || static_cast<std::size_t>(image) >= es->size() ||
            !(*es)[static_cast<std::size_t>(image)].image.valid())
            return std::nullopt;
        auto decoded = d->decodeEntry((*es)[static_cast<std::size_t>(image)], size);
        if (!decoded)
            return std::nullopt;
        return detail::toPicture(*decoded);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::uint8_t>> IconFile::storedPng(int index, int size) const noexcept {
    try {
        if (!d || size < 1 || size > kMaxDimension)
            return std::nullopt;
        const std::vector<Data::Entry> present = d->presentEntries(index);
        const int chosen = detail::chooseImage(d->candidates(present), size);
        if (chosen < 0)
            return std::nullopt;
        return d->soundPng(present[static_cast<std::size_t>(chosen)], size);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::uint8_t>> IconFile::storedImagePng(int index, int image) const noexcept {
    try {
        const auto es = d ? d->entries(index) : std::nullopt;
        if (!es || image < 0 || static_cast<std::size_t>(image) >= es->size())
            return std::nullopt;
        return d->soundPng((*es)[static_cast<std::size_t>(image)], 0);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<Picture> IconFile::draw(int index, std::uint32_t background, int size) const noexcept {
    try {
        if (!d)
            return std::nullopt;
        auto image = d->decodeChosen(index, size);
        if (!image)
            return std::nullopt;
        return detail::drawOn(*image, background);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<StoredGroup> IconFile::storedGroup(int index, GroupProblem* problem) const noexcept {
    GroupProblem why = GroupProblem::Damaged;
    std::optional<StoredGroup> result;
    try {
        const auto es = d ? d->entries(index) : std::nullopt;
        if (es) {
            // Count first and read after, so that a group past the limits costs nothing to refuse.
            std::map<std::pair<std::uint64_t, std::uint32_t>,
                     std::shared_ptr<const std::vector<std::uint8_t>>>
                distinct;
            std::size_t present = 0;
            std::uint64_t bytes = 0;
            for (const Data::Entry& e : *es) {
                if (!e.image.valid())
                    continue;
                ++present;
                if (distinct.try_emplace({e.image.offset, e.image.size}).second)
                    bytes += e.image.size;
            }
            if (present > kMaxStoredImages || bytes > kMaxStoredBytes) {
                why = GroupProblem::TooLarge;
            } else {
                StoredGroup group;
                for (const Data::Entry& e : *es) {
                    if (!e.image.valid())
                        continue;
                    auto& data = distinct[{e.image.offset, e.image.size}];
                    if (!data)
                        data = std::make_shared<const std::vector<std::uint8_t>>(d->readSpan(e.image));
                    if (data->empty())
                        continue;
                    StoredImage im = e.fields;
                    im.data = data;
                    group.images.push_back(std::move(im));
                }
                if (!group.images.empty()) {
                    why = GroupProblem::None;
                    result = std::move(group);
                }
            }
        }
    } catch (...) {
        why = GroupProblem::Damaged;
        result.reset();
    }
    if (problem != nullptr)
        *problem = why;
    return result;
}

} // namespace vesmarin::iconreader
