// Decoding, choosing, scaling and drawing of single icon images.
#include "platform/iconreader/IconImage.h"

#include "IconFileBuilder.h"

#include <chrono>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

using namespace vesmarin::iconreader;
using namespace vesmarin::iconreader::detail;
using namespace vesmarin::testing;

namespace {

using Pixels = std::vector<std::uint32_t>;

std::uint32_t pixel(const DecodedImage& im, int x, int y) {
    return im.color[static_cast<std::size_t>(y) * im.width + x];
}

// A decoded image of the bitmap; an empty one (and a failure) when it does not decode.
DecodedImage decoded(const Dib& d) {
    const auto im = decodeImage(encodeDib(d));
    EXPECT_TRUE(im);
    return im.value_or(DecodedImage{});
}

TEST(ChooseImage, TakesTheImageTheLargeIconTakes) {
    const std::tuple<const char*, std::vector<Candidate>, int, int> cases[] = {
        {"exact 32 beats others", {{16, 16, 32}, {48, 48, 32}, {32, 32, 4}, {24, 24, 32}}, 32, 2},
        {"32 bpp beats 8 and 4", {{32, 32, 4}, {32, 32, 32}, {32, 32, 8}}, 32, 1},
        {"24 bpp beats 8 when no 32", {{32, 32, 8}, {32, 32, 24}}, 32, 1},
        {"48 beats 16 (equally close, larger)", {{16, 16, 32}, {48, 48, 4}}, 32, 1},
        {"closer beats deeper", {{256, 256, 32}, {16, 16, 4}}, 32, 1},
        {"ties go to the first", {{32, 32, 8}, {32, 32, 8}}, 32, 0},
        {"non-square by summed distance", {{76, 24, 32}, {24, 24, 4}}, 32, 1},
        {"another size", {{16, 16, 4}, {32, 32, 32}, {48, 48, 8}}, 16, 0},
        {"nothing to choose", {}, 32, -1},
    };
    for (const auto& [what, candidates, size, expected] : cases)
        EXPECT_EQ(chooseImage(candidates, size), expected) << what;
}

// ---- decoding ----

TEST(DecodeImage, GivesTheStoredColourAtEveryDepth) {
    Dib fields565(1, 1, 16, {0xF800}), fields32(1, 1, 32, {0x80112233}),
        core(2, 1, 4, {3, 0}, {0, 0, 0, 0x123456});
    Dib shortPalette(1, 1, 8, {2}, {0x111111, 0x222222, 0xABCDEF});
    fields565.bitfields = {0xF800, 0x07E0, 0x001F};
    fields32.bitfields = {0x000000FF, 0x0000FF00, 0x00FF0000}; // red and blue swapped; the byte left is alpha
    core.coreHeader = true;      // the 12-byte header and 3-byte palette entries
    shortPalette.colorsUsed = 3; // the bits follow three entries, not 256
    const std::tuple<const char*, Dib, std::uint32_t> cases[] = {
        {"1 bpp", Dib(2, 1, 1, {1, 0}, {0x000000, 0xFF8040}), 0xFFFF8040},
        {"4 bpp", Dib(2, 1, 4, {5, 0}, {0, 0, 0, 0, 0, 0x00FF00}), 0xFF00FF00},
        {"8 bpp", Dib(2, 1, 8, {200, 0}, Pixels(201, 0x0000FF)), 0xFF0000FF},
        {"8 bpp with biClrUsed", shortPalette, 0xFFABCDEF},
        {"index past the palette is black", Dib(1, 1, 8, {9}, {0xFFFFFF}), 0xFF000000},
        {"16 bpp 5-5-5", Dib(1, 1, 16, {0x7C00}), 0xFFFF0000},
        {"16 bpp bitfields 5-6-5", fields565, 0xFFFF0000},
        {"24 bpp", Dib(1, 1, 24, {0x336699}), 0xFF336699},
        {"32 bpp with alpha", Dib(1, 1, 32, {0x80336699}), 0x80336699},
        {"32 bpp, alpha all zero: opaque", Dib(1, 1, 32, {0x00336699}), 0xFF336699},
        {"32 bpp bitfields", fields32, 0x80332211},
        {"core header", core, 0xFF123456},
    };
    for (const auto& [what, image, expected] : cases)
        EXPECT_EQ(pixel(decoded(image), 0, 0), expected) << what;
}

TEST(DecodeImage, StoresRowsBottomUpAndPadsThem) {
    // Three pixels wide, so that every packing pads its rows to four bytes.
    for (int bpp : {1, 4, 8, 24}) {
        const std::uint32_t on = bpp == 24 ? 0xFFFFFF : 1, W = 0xFFFFFFFF, B = 0xFF000000;
        EXPECT_EQ(decoded(Dib(3, 3, bpp, {on, 0, 0, 0, 0, 0, 0, 0, on}, {0, 0xFFFFFF})).color,
                  (Pixels{W, B, B, B, B, B, B, B, W}))
            << bpp;
    }
}

TEST(DecodeImage, MaskDecidesOnlyWithoutAlphaAndAMissingOrShortOneIsOpaque) {
    Dib d(2, 1, 32, {0x00FFFFFF, 0x00000000});
    d.mask = {1, 0};
    EXPECT_FALSE(decoded(d).hasAlpha);
    EXPECT_EQ(decoded(d).mask, (std::vector<std::uint8_t>{1, 0}));
    d.pixels[1] = 0x01000000; // one non-zero alpha anywhere: alpha rules, mask ignored
    EXPECT_TRUE(decoded(d).hasAlpha);
    EXPECT_EQ(pixel(decoded(d), 0, 0), 0x00FFFFFFu);

    d = Dib(2, 2, 24, {1, 2, 3, 4});
    d.mask = {1, 1, 1, 1};
    const Bytes full = encodeDib(d);
    d.writeMask = false;
    for (const Bytes& b : {encodeDib(d), Bytes(full.begin(), full.end() - 1)})
        EXPECT_EQ(decodeImage(b)->mask, (std::vector<std::uint8_t>(4, 0)));
    EXPECT_EQ(decodeImage(full)->mask, (std::vector<std::uint8_t>(4, 1)));
}

TEST(DecodeImage, RejectsWhatCannotBeRight) {
    const Bytes ok = encodeDib(Dib(4, 4, 8, Pixels(16, 0)));
    const std::pair<const char*, Bytes> cases[] = {
        {"too wide", encodeDib(Dib(1025, 1, 1, Pixels(1025, 0)))},
        {"too tall", encodeDib(Dib(1, 1025, 1, Pixels(1025, 0)))},
        {"bits past the end", Bytes(ok.begin(), ok.begin() + 40 + 1024 + 10)},
        {"depth 7", patched(ok, 14, 7)},
        {"compressed", patched(ok, 16, 1)},          // BI_RLE8
        {"palette over 256", patched(ok, 33, 0x10)}, // biClrUsed = 4096
        {"width 0", patched(ok, 4, 0)},
        {"negative height", patched(ok, 11, 0xFF)},
        {"header past the end", patched(ok, 3, 0x7F)},
        {"empty", {}},
        {"PNG signature only", Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10}}};
    for (const auto& [what, bytes] : cases)
        EXPECT_FALSE(decodeImage(bytes)) << what;
    EXPECT_TRUE(decodeImage(ok));
}

TEST(DecodeImage, ReadsPngWithItsAlpha) {
    const auto im = decodeImage(encodePng(2, 1, {0x80FF0000, 0x00000000}));
    ASSERT_TRUE(im);
    EXPECT_TRUE(im->hasAlpha);
    EXPECT_EQ(pixel(*im, 0, 0), 0x80FF0000u);
    EXPECT_EQ(pixel(*im, 1, 0) >> 24, 0u);
    EXPECT_FALSE(decodeImage(encodePng(1025, 1, Pixels(1025, 0xFF000000))));
    const auto header = readImageHeader(encodePng(3, 2, Pixels(6, 0)));
    ASSERT_TRUE(header);
    EXPECT_TRUE(header->format == ImageFormat::Png && header->bitCount == 32 && header->width == 3);
}

TEST(DecodeImage, PngDataInflatingFarPastItsRowsIsRefusedAtOnce) {
    // 4 MB that inflate to 4 GB for one pixel: unbounded, this takes libpng tens of seconds. The limit
    // is generous so that a loaded machine never fails it; only an unbounded inflate does.
    const Bytes bomb = bombPng(1, 1, std::uint64_t{4} << 30);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(decodeImage(bomb));
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
    // A little padding after the rows is no bomb.
    EXPECT_TRUE(decodeImage(bombPng(512, 512, 2 << 20)));
}

TEST(DecodeImage, ASoundPngIsToldWithoutDecoding) {
    // What may be written out byte for byte: only a PNG that libpng would read as it stands.
    const Bytes good = encodePng(3, 2, Pixels(6, 0x80FF0000));
    const std::pair<const char*, Bytes> unsound[] = {
        {"a changed pixel byte (checksum)", patched(good, good.size() - 16, good[good.size() - 16] ^ 1)},
        {"no IEND", Bytes(good.begin(), good.end() - 12)},
        {"bit depth 3", patched(good, 24, 3)},
        {"a bomb", bombPng(1, 1, 4 << 20)},
        {"a bitmap", solidDib(2, 2, 24, 0xFF0000)},
    };
    for (const auto& [what, bytes] : unsound)
        EXPECT_FALSE(soundPngSize(bytes)) << what;
    EXPECT_EQ(soundPngSize(good), (std::pair{3, 2}));

    // A header chunk that says it is empty, checksum and all, ending right before a page no one may read:
    // reading the fields it does not hold would crash.
    Bytes empty{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 0, 'I', 'H', 'D', 'R'};
    const auto crc = static_cast<std::uint32_t>(crc32(0, empty.data() + 12, 4));
    empty.insert(empty.end(), {std::uint8_t(crc >> 24), std::uint8_t(crc >> 16), std::uint8_t(crc >> 8),
                               std::uint8_t(crc)});
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    void* pages = ::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    auto* end = static_cast<std::uint8_t*>(pages) + page;
    ASSERT_EQ(::mprotect(end, page, PROT_NONE), 0);
    std::memcpy(end - empty.size(), empty.data(), empty.size());
    EXPECT_FALSE(soundPngSize({end - empty.size(), empty.size()}));
    ::munmap(pages, 2 * page);
}

// ---- drawing ----

TEST(DrawOn, CombinesMaskAndColourAsTheScreenDoesAndBlendsAlpha) {
    Dib d(4, 1, 24, {0x000000, 0xFFFFFF, 0x123456, 0x0000FF});
    d.mask = {1, 1, 0, 1};
    // Mask and black: the background; mask and white: the background inverted; no mask: the colour; mask
    // and some colour bits: those bits inverted.
    const Picture p = drawOn(decoded(d), 0x3366CC), t = toPicture(decoded(d));
    EXPECT_EQ(p.pixels, (Pixels{0xFF3366CC, 0xFFCC9933, 0xFF123456, 0xFF336633}));
    EXPECT_EQ(t.at(0, 0), 0u);
    EXPECT_EQ(t.at(2, 0), 0xFF123456u);
    // Alpha blends over the background.
    const Picture a = drawOn(decoded(Dib(3, 1, 32, {0xFFFF0000, 0x80FF0000, 0x00FF0000})), 0x0000FF);
    EXPECT_EQ(a.pixels, (Pixels{0xFFFF0000, 0xFF80007F, 0xFF0000FF}));
}

// ---- scaling ----

// A decoded w x h 24-bit image whose pixel at x, y is colour(x, y).
DecodedImage painted(int w, int h, const std::function<std::uint32_t(int, int)>& colour) {
    Pixels px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px.push_back(colour(x, y));
    return decoded(Dib(w, h, 24, px));
}

TEST(ScaleImage, EnlargesByWholePixelsReducesByAveragesAndStretches) {
    const DecodedImage im =
        painted(16, 16, [](int x, int y) { return static_cast<std::uint32_t>(y * 16 + x); });
    const DecodedImage s = scaleImage(im, 32);
    ASSERT_EQ(s.width, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(pixel(s, x, y), pixel(im, x / 2, y / 2)) << x << "," << y;

    // 64 -> 32: each target pixel is the mean of a 2x2 block; 48 -> 32: of 1.5 x 1.5 pixels.
    EXPECT_EQ(
        pixel(scaleImage(painted(64, 64, [](int x, int) { return x % 2 == 0 ? 0xC8C8C8u : 0u; }), 32), 5, 7),
        0xFF646464u);
    const DecodedImage s48 =
        scaleImage(painted(48, 48, [](int x, int) { return x % 3 == 0 ? 0x909090u : 0u; }), 32);
    // Target 0 covers source 0 whole and half of 1: (0x90 * 1 + 0 * 0.5) / 1.5 = 0x60; target 1 covers half
    // of 1 and all of 2: black.
    EXPECT_EQ(pixel(s48, 0, 0), 0xFF606060u);
    EXPECT_EQ(pixel(s48, 1, 0), 0xFF000000u);

    // 76 x 24: each axis scaled on its own; the left and right colours reach the edges of the square.
    const DecodedImage wide =
        scaleImage(painted(76, 24, [](int x, int) { return x < 38 ? 0xFF0000u : 0x0000FFu; }), 32);
    EXPECT_EQ(wide.height, 32);
    const std::tuple<int, int, std::uint32_t> edges[] = {
        {0, 0, 0xFFFF0000}, {15, 31, 0xFFFF0000}, {16, 31, 0xFF0000FF}, {31, 0, 0xFF0000FF}};
    for (const auto& [x, y, colour] : edges)
        EXPECT_EQ(pixel(wide, x, y), colour) << x << "," << y;
}

TEST(ScaleImage, TransparentPixelsLendNoColourAndMasksKeepTheirSide) {
    const DecodedImage reduced = scaleImage(decoded(Dib(2, 2, 32, {0xFF123456, 0, 0, 0})), 1);
    EXPECT_TRUE(reduced.hasAlpha);
    EXPECT_EQ(pixel(reduced, 0, 0), 0x40123456u); // each channel its own

    Dib d(2, 2, 24, {0xFF0000, 0x000000, 0xFF0000, 0xFF0000});
    d.mask = {0, 1, 0, 0};
    const DecodedImage s = scaleImage(decoded(d), 1);
    EXPECT_EQ(s.mask[0], 0);
    EXPECT_EQ(pixel(s, 0, 0), 0xFFFF0000u); // the masked black pixel does not darken it
}

} // namespace
