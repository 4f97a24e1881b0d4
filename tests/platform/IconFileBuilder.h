#pragma once

// Writes small PE32, PE32+, NE and .ico files with given icon groups and images, and the bitmaps and PNG
// images inside them, so that the icon reader is tested on files made here and nowhere else. Also used
// by the fuzz target's seed generator (no test framework in here).

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesmarin::testing {

using Bytes = std::vector<std::uint8_t>;

// Writes little-endian fields of the given widths in bytes (one digit each, "42" = 4 bytes then 2) at `at`,
// growing b as needed. patched() gives a copy of b with one such field changed; read32() reads one.
void setFields(Bytes& b, std::size_t at, std::string_view widths,
               std::initializer_list<std::uint32_t> values);
Bytes patched(Bytes b, std::size_t at, std::uint32_t v, int width = 1);
std::uint32_t read32(const Bytes& b, std::size_t at);

// A bitmap as an icon stores it. Pixel values: a palette index up to 8 bits, 0xRRGGBB for 24 bits,
// 0xAARRGGBB for 32 bits and the raw 16-bit value for 16 bits. Rows run top to bottom here; the writer
// stores them bottom-up as the format wants.
struct Dib {
    Dib(int w = 0, int h = 0, int bpp = 32, std::vector<std::uint32_t> px = {},
        std::vector<std::uint32_t> pal = {})
        : width(w), height(h), bitCount(bpp), palette(std::move(pal)), pixels(std::move(px)) {}
    int width = 0;
    int height = 0;
    int bitCount = 32;
    std::vector<std::uint32_t> palette; // 0xRRGGBB
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> mask;       // one per pixel, 1 = set; empty = all clear
    bool coreHeader = false;              // the 12-byte BITMAPCOREHEADER instead of BITMAPINFOHEADER
    bool writeMask = true;                // false leaves the AND mask out altogether
    std::uint32_t colorsUsed = 0;         // biClrUsed; the palette written has this many entries when set
    std::vector<std::uint32_t> bitfields; // red, green, blue masks: BI_BITFIELDS when given
};
Bytes encodeDib(const Dib& dib);

// A width x height PNG file of 0xAARRGGBB pixels.
Bytes encodePng(int width, int height, const std::vector<std::uint32_t>& pixels);

// A width x height RGBA PNG whose image data inflates to `inflated` bytes of zeros, a valid zlib stream
// about a thousandth of that size: a decompression bomb when `inflated` is far more than the rows need.
Bytes bombPng(int width, int height, std::uint64_t inflated);

// A solid bitmap of the given depth whose every pixel is colour (for depths up to 8 through a palette).
Bytes solidDib(int width, int height, int bitCount, std::uint32_t rgb);

// One line of a group directory.
struct GroupEntry {
    std::uint8_t width = 32; // 0 = 256
    std::uint8_t height = 32;
    std::uint8_t colorCount = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 32;
    std::uint32_t bytes = 0;
    std::uint16_t id = 1;
};
Bytes groupData(const std::vector<GroupEntry>& entries);

// A resource: its type, its name (a text when name is not empty, else the number id), its language and
// its bytes. Entries are written in the order given, level by level (types, names, languages), so the
// caller decides the stored order.
struct Resource {
    std::uint16_t type = 14;
    std::string name;
    std::uint16_t id = 0;
    std::uint16_t language = 1033;
    Bytes data;
};

struct PeOptions {
    bool plus = false;               // PE32+
    bool dataInOtherSection = false; // resource data in a second section, directories in the first
};

struct PeLayout {
    std::size_t rsrcFileOffset = 0; // where the resource directory's root lies in the file
    std::size_t sectionTableOffset = 0;
};

Bytes buildPe(const std::vector<Resource>& resources, PeOptions options = {}, PeLayout* layout = nullptr);
// NE: type 14 becomes 0x800E and 3 becomes 0x8003; languages do not exist there.
Bytes buildNe(const std::vector<Resource>& resources);

struct IcoImage {
    GroupEntry entry; // id unused
    Bytes data;
};
Bytes buildIco(const std::vector<IcoImage>& images);

// Convenience: an icon group of the given images, with matching RT_ICON resources numbered from firstId.
std::vector<Resource> iconGroup(std::uint16_t groupId, const std::string& groupName, std::uint16_t firstId,
                                const std::vector<std::pair<GroupEntry, Bytes>>& images,
                                std::uint16_t language = 1033);

// A few representative files of every kind, for the fuzz corpus.
std::vector<std::pair<std::string, Bytes>> sampleFiles();

} // namespace vesmarin::testing
