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

std::uint32_t pixel(const DecodedImage& im, int x, int y) {
    return im.color[static_cast<std::size_t>(y) * im.width + x];
}

Dib dib(int w, int h, int bpp, std::vector<std::uint32_t> pixels, std::vector<std::uint32_t> palette = {}) {
    Dib d;
    d.width = w;
    d.height = h;
    d.bitCount = bpp;
    d.pixels = std::move(pixels);
    d.palette = std::move(palette);
    return d;
}

Dib with(Dib d, void (*change)(Dib&)) {
    change(d);
    return d;
}

// ---- choice ----

TEST(ChooseImage, TakesTheImageTheLargeIconTakes) {
    const struct {
        const char* what;
        std::vector<Candidate> candidates;
        int size;
        int expected;
    } cases[] = {
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
    for (const auto& c : cases)
        EXPECT_EQ(chooseImage(c.candidates, c.size), c.expected) << c.what;
}

// ---- decoding every depth ----

TEST(DecodeImage, GivesTheStoredColourAtEveryDepth) {
    const struct {
        const char* what;
        Dib image;
        std::uint32_t expected; // of the top-left pixel
    } cases[] = {
        {"1 bpp", dib(2, 1, 1, {1, 0}, {0x000000, 0xFF8040}), 0xFFFF8040},
        {"4 bpp", dib(2, 1, 4, {5, 0}, {0, 0, 0, 0, 0, 0x00FF00}), 0xFF00FF00},
        {"8 bpp", dib(2, 1, 8, {200, 0}, std::vector<std::uint32_t>(201, 0x0000FF)), 0xFF0000FF},
        // a short palette: the bits follow three entries, not 256
        {"8 bpp with biClrUsed",
         with(dib(1, 1, 8, {2}, {0x111111, 0x222222, 0xABCDEF}), [](Dib& d) { d.colorsUsed = 3; }),
         0xFFABCDEF},
        {"index past the palette is black", dib(1, 1, 8, {9}, {0xFFFFFF}), 0xFF000000},
        {"16 bpp 5-5-5", dib(1, 1, 16, {0x7C00}), 0xFFFF0000},
        {"16 bpp bitfields 5-6-5",
         with(dib(1, 1, 16, {0xF800}),
              [](Dib& d) {
                  d.bitfields = {0xF800, 0x07E0, 0x001F};
              }),
         0xFFFF0000},
        {"24 bpp", dib(1, 1, 24, {0x336699}), 0xFF336699},
        {"32 bpp with alpha", dib(1, 1, 32, {0x80336699}), 0x80336699},
        {"32 bpp, alpha all zero: opaque", dib(1, 1, 32, {0x00336699}), 0xFF336699},
        // masks that swap red and blue; the byte they leave is alpha
        {"32 bpp bitfields",
         with(dib(1, 1, 32, {0x80112233}),
              [](Dib& d) {
                  d.bitfields = {0x000000FF, 0x0000FF00, 0x00FF0000};
              }),
         0x80332211},
        {"core header, 3-byte palette",
         with(dib(2, 1, 4, {3, 0}, {0, 0, 0, 0x123456}), [](Dib& d) { d.coreHeader = true; }), 0xFF123456},
    };
    for (const auto& c : cases) {
        const auto im = decodeImage(encodeDib(c.image));
        ASSERT_TRUE(im) << c.what;
        EXPECT_EQ(pixel(*im, 0, 0), c.expected) << c.what;
    }
}

TEST(DecodeImage, StoresRowsBottomUpAndPadsThem) {
    // Widths whose rows need padding to four bytes, for each packing.
    for (int bpp : {1, 4, 8, 24}) {
        const int w = 3, h = 3;
        std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF};
        std::vector<std::uint32_t> px(w * h, 0);
        px[0] = bpp == 24 ? 0xFFFFFF : 1;         // top left
        px[w * h - 1] = bpp == 24 ? 0xFFFFFF : 1; // bottom right
        const auto im = decodeImage(encodeDib(dib(w, h, bpp, px, palette)));
        ASSERT_TRUE(im) << bpp;
        EXPECT_EQ(pixel(*im, 0, 0), 0xFFFFFFFFu) << bpp;
        EXPECT_EQ(pixel(*im, 2, 2), 0xFFFFFFFFu) << bpp;
        EXPECT_EQ(pixel(*im, 1, 0), 0xFF000000u) << bpp;
        EXPECT_EQ(pixel(*im, 0, 2), 0xFF000000u) << bpp;
    }
}

TEST(DecodeImage, MaskDecidesOnlyWithoutAlphaAndAMissingOrShortOneIsOpaque) {
    Dib d = dib(2, 1, 32, {0x00FFFFFF, 0x00000000});
    d.mask = {1, 0};
    auto im = decodeImage(encodeDib(d));
    ASSERT_TRUE(im);
    EXPECT_FALSE(im->hasAlpha);
    EXPECT_EQ(im->mask, (std::vector<std::uint8_t>{1, 0}));
    d.pixels[1] = 0x01000000; // one non-zero alpha anywhere: alpha rules, mask ignored
    im = decodeImage(encodeDib(d));
    ASSERT_TRUE(im);
    EXPECT_TRUE(im->hasAlpha);
    EXPECT_EQ(pixel(*im, 0, 0), 0x00FFFFFFu);

    d = dib(2, 2, 24, {1, 2, 3, 4});
    d.mask = {1, 1, 1, 1};
    const Bytes full = encodeDib(d);
    d.writeMask = false;
    const Bytes none = encodeDib(d);
    const Bytes shortMask(full.begin(), full.end() - 1);
    for (const Bytes* b : {&none, &shortMask}) {
        im = decodeImage(*b);
        ASSERT_TRUE(im);
        EXPECT_EQ(im->mask, (std::vector<std::uint8_t>(4, 0)));
    }
    EXPECT_EQ(decodeImage(full)->mask, (std::vector<std::uint8_t>(4, 1)));
}

TEST(DecodeImage, RejectsWhatCannotBeRight) {
    Dib big = dib(1025, 1, 1, std::vector<std::uint32_t>(1025, 0));
    Dib tall = dib(1, 1025, 1, std::vector<std::uint32_t>(1025, 0));
    const Bytes ok = encodeDib(dib(4, 4, 8, std::vector<std::uint32_t>(16, 0)));
    Bytes truncatedBits(ok.begin(), ok.begin() + 40 + 1024 + 10); // colour bits cut short
    Bytes badDepth = ok;
    badDepth[14] = 7;
    Bytes rle = ok;
    rle[16] = 1; // BI_RLE8
    Bytes hugePalette = ok;
    hugePalette[33] = 0x10; // biClrUsed = 4096
    Bytes zeroWidth = ok;
    zeroWidth[4] = 0;
    Bytes negativeHeight = ok;
    negativeHeight[11] = 0xFF;
    Bytes hugeHeader = ok;
    hugeHeader[3] = 0x7F;
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"too wide", encodeDib(big)},
        {"too tall", encodeDib(tall)},
        {"bits past the end", truncatedBits},
        {"depth 7", badDepth},
        {"compressed", rle},
        {"palette over 256", hugePalette},
        {"width 0", zeroWidth},
        {"negative height", negativeHeight},
        {"header past the end", hugeHeader},
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
    EXPECT_FALSE(decodeImage(encodePng(1025, 1, std::vector<std::uint32_t>(1025, 0xFF000000))));
    const auto header = readImageHeader(encodePng(3, 2, std::vector<std::uint32_t>(6, 0)));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->format, ImageFormat::Png);
    EXPECT_EQ(header->bitCount, 32);
    EXPECT_EQ(header->width, 3);
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
    const Bytes good = encodePng(3, 2, std::vector<std::uint32_t>(6, 0x80FF0000));
    const auto changed = [&](std::size_t at, std::uint8_t v) {
        Bytes b = good;
        b[at] = v;
        return b;
    };
    const std::vector<std::pair<const char*, Bytes>> unsound = {
        {"a changed pixel byte (checksum)", changed(good.size() - 16, good[good.size() - 16] ^ 1)},
        {"no IEND", Bytes(good.begin(), good.end() - 12)},
        {"bit depth 3", changed(24, 3)},
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
    for (int shift = 24; shift >= 0; shift -= 8)
        empty.push_back(static_cast<std::uint8_t>(crc >> shift));
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
    Dib d = dib(4, 1, 24, {0x000000, 0xFFFFFF, 0x123456, 0x0000FF});
    d.mask = {1, 1, 0, 1};
    const auto im = decodeImage(encodeDib(d));
    ASSERT_TRUE(im);
    const Picture p = drawOn(*im, 0x3366CC);
    EXPECT_EQ(p.at(0, 0), 0xFF3366CCu); // mask, black: the background
    EXPECT_EQ(p.at(1, 0), 0xFFCC9933u); // mask, white: the background inverted
    EXPECT_EQ(p.at(2, 0), 0xFF123456u); // no mask: the colour
    EXPECT_EQ(p.at(3, 0), 0xFF336633u); // mask and some colour bits: those bits inverted
    const Picture t = toPicture(*im);
    EXPECT_EQ(t.at(0, 0), 0u);
    EXPECT_EQ(t.at(2, 0), 0xFF123456u);

    // Alpha blends over the background.
    const auto alpha = decodeImage(encodeDib(dib(3, 1, 32, {0xFFFF0000, 0x80FF0000, 0x00FF0000})));
    ASSERT_TRUE(alpha);
    const Picture a = drawOn(*alpha, 0x0000FF);
    EXPECT_EQ(a.at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(a.at(1, 0), 0xFF80007Fu);
    EXPECT_EQ(a.at(2, 0), 0xFF0000FFu);
}

// ---- scaling ----

// A decoded w x h 24-bit image whose pixel at x, y is colour(x, y).
DecodedImage painted(int w, int h, const std::function<std::uint32_t(int, int)>& colour) {
    std::vector<std::uint32_t> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px.push_back(colour(x, y));
    const auto im = decodeImage(encodeDib(dib(w, h, 24, px)));
    EXPECT_TRUE(im);
    return im.value_or(DecodedImage{});
}

TEST(ScaleImage, EnlargingRepeatsWholePixels) {
    const DecodedImage im =
        painted(16, 16, [](int x, int y) { return static_cast<std::uint32_t>(y * 16 + x); });
    const DecodedImage s = scaleImage(im, 32);
    ASSERT_EQ(s.width, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(pixel(s, x, y), pixel(im, x / 2, y / 2)) << x << "," << y;
}

TEST(ScaleImage, ReducingAveragesCoveredPixels) {
    // 64 -> 32: each target pixel is the mean of a 2x2 block; 48 -> 32: of 1.5 x 1.5 pixels.
    const DecodedImage s =
        scaleImage(painted(64, 64, [](int x, int) { return x % 2 == 0 ? 0xC8C8C8u : 0u; }), 32);
    EXPECT_EQ(pixel(s, 5, 7), 0xFF646464u);
    const DecodedImage s48 =
        scaleImage(painted(48, 48, [](int x, int) { return x % 3 == 0 ? 0x909090u : 0u; }), 32);
    // Target 0 covers source 0 whole and half of 1: (0x90 * 1 + 0 * 0.5) / 1.5 = 0x60.
    EXPECT_EQ(pixel(s48, 0, 0), 0xFF606060u);
    // Target 1 covers half of 1 and all of 2: black.
    EXPECT_EQ(pixel(s48, 1, 0), 0xFF000000u);
}

TEST(ScaleImage, StretchesNonSquareImages) {
    // 76 x 24: each axis scaled on its own; the left and right colours reach the edges of the square.
    const DecodedImage s =
        scaleImage(painted(76, 24, [](int x, int) { return x < 38 ? 0xFF0000u : 0x0000FFu; }), 32);
    EXPECT_EQ(s.height, 32);
    EXPECT_EQ(pixel(s, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(pixel(s, 15, 31), 0xFFFF0000u);
    EXPECT_EQ(pixel(s, 16, 31), 0xFF0000FFu);
    EXPECT_EQ(pixel(s, 31, 0), 0xFF0000FFu);
}

TEST(ScaleImage, TransparentPixelsLendNoColourAndMasksKeepTheirSide) {
    const auto alpha =
        decodeImage(encodeDib(dib(2, 2, 32, {0xFF123456, 0x00000000, 0x00000000, 0x00000000})));
    ASSERT_TRUE(alpha);
    const DecodedImage reduced = scaleImage(*alpha, 1);
    EXPECT_TRUE(reduced.hasAlpha);
    EXPECT_EQ(pixel(reduced, 0, 0), 0x40123456u); // each channel its own

    Dib d = dib(2, 2, 24, {0xFF0000, 0x000000, 0xFF0000, 0xFF0000});
    d.mask = {0, 1, 0, 0};
    const auto masked = decodeImage(encodeDib(d));
    const DecodedImage s = scaleImage(*masked, 1);
    EXPECT_EQ(s.mask[0], 0);
    EXPECT_EQ(pixel(s, 0, 0), 0xFFFF0000u); // the masked black pixel does not darken it
}

} // namespace
