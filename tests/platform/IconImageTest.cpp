// Decoding, choosing, scaling and drawing of single icon images.
#include "platform/iconreader/IconImage.h"

#include "IconFileBuilder.h"

#include <gtest/gtest.h>

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

// ---- choice ----

struct ChoiceCase {
    const char* what;
    std::vector<Candidate> candidates;
    int size;
    int expected;
};

class ChooseImage : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseImage, TakesTheImageTheLargeIconTakes) {
    EXPECT_EQ(chooseImage(GetParam().candidates, GetParam().size), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChooseImage,
    ::testing::Values(
        ChoiceCase{"exact 32 beats others", {{16, 16, 32}, {48, 48, 32}, {32, 32, 4}, {24, 24, 32}}, 32, 2},
        ChoiceCase{"32 bpp beats 8 and 4", {{32, 32, 4}, {32, 32, 32}, {32, 32, 8}}, 32, 1},
        ChoiceCase{"24 bpp beats 8 when no 32", {{32, 32, 8}, {32, 32, 24}}, 32, 1},
        ChoiceCase{"48 beats 16 (equally close, larger)", {{16, 16, 32}, {48, 48, 4}}, 32, 1},
        ChoiceCase{"closer beats deeper", {{256, 256, 32}, {16, 16, 4}}, 32, 1},
        ChoiceCase{"ties go to the first", {{32, 32, 8}, {32, 32, 8}}, 32, 0},
        ChoiceCase{"non-square by summed distance", {{76, 24, 32}, {24, 24, 4}}, 32, 1},
        ChoiceCase{"another size", {{16, 16, 4}, {32, 32, 32}, {48, 48, 8}}, 16, 0},
        ChoiceCase{"nothing to choose", {}, 32, -1}));

// ---- decoding every depth ----

struct DepthCase {
    const char* what;
    Dib image;
    std::uint32_t expected; // of the top-left pixel
};

class DecodeDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(DecodeDepth, GivesTheStoredColour) {
    const auto im = decodeImage(encodeDib(GetParam().image));
    ASSERT_TRUE(im) << GetParam().what;
    EXPECT_EQ(pixel(*im, 0, 0), GetParam().expected) << GetParam().what;
}

Dib core4() {
    Dib d = dib(2, 1, 4, {3, 0}, {0, 0, 0, 0x123456});
    d.coreHeader = true;
    return d;
}
Dib bitfields16() {
    Dib d = dib(1, 1, 16, {0xF800}); // 5-6-5: full red
    d.bitfields = {0xF800, 0x07E0, 0x001F};
    return d;
}
Dib bitfields32() {
    Dib d = dib(1, 1, 32, {0x00FF00}); // masks swap red and blue
    d.bitfields = {0x000000FF, 0x0000FF00, 0x00FF0000};
    return d;
}
Dib usedColours() {
    Dib d = dib(1, 1, 8, {2}, {0x111111, 0x222222, 0xABCDEF});
    d.colorsUsed = 3; // a short palette: the bits follow three entries, not 256
    return d;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeDepth,
    ::testing::Values(DepthCase{"1 bpp", dib(2, 1, 1, {1, 0}, {0x000000, 0xFF8040}), 0xFFFF8040},
                      DepthCase{"4 bpp", dib(2, 1, 4, {5, 0}, {0, 0, 0, 0, 0, 0x00FF00}), 0xFF00FF00},
                      DepthCase{"8 bpp", dib(2, 1, 8, {200, 0}, std::vector<std::uint32_t>(201, 0x0000FF)),
                                0xFF0000FF},
                      DepthCase{"8 bpp with biClrUsed", usedColours(), 0xFFABCDEF},
                      DepthCase{"index past the palette is black", dib(1, 1, 8, {9}, {0xFFFFFF}), 0xFF000000},
                      DepthCase{"16 bpp 5-5-5", dib(1, 1, 16, {0x7C00}), 0xFFFF0000},
                      DepthCase{"16 bpp bitfields 5-6-5", bitfields16(), 0xFFFF0000},
                      DepthCase{"24 bpp", dib(1, 1, 24, {0x336699}), 0xFF336699},
                      DepthCase{"32 bpp with alpha", dib(1, 1, 32, {0x80336699}), 0x80336699},
                      DepthCase{"32 bpp, alpha all zero: opaque", dib(1, 1, 32, {0x00336699}), 0xFF336699},
                      DepthCase{"32 bpp bitfields", bitfields32(), 0xFF00FF00},
                      DepthCase{"core header, 3-byte palette", core4(), 0xFF123456}));

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

TEST(DecodeImage, MaskDecidesOnlyWithoutAlpha) {
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
}

TEST(DecodeImage, MissingOrShortMaskIsOpaque) {
    Dib d = dib(2, 2, 24, {1, 2, 3, 4});
    d.mask = {1, 1, 1, 1};
    const Bytes full = encodeDib(d);
    d.writeMask = false;
    const Bytes none = encodeDib(d);
    const Bytes shortMask(full.begin(), full.end() - 1);
    for (const Bytes* b : {&none, &shortMask}) {
        const auto im = decodeImage(*b);
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

// ---- drawing ----

TEST(DrawOn, CombinesMaskAndColourAsTheScreenDoes) {
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
}

TEST(DrawOn, BlendsAlphaOverTheBackground) {
    const auto im = decodeImage(encodeDib(dib(3, 1, 32, {0xFFFF0000, 0x80FF0000, 0x00FF0000})));
    ASSERT_TRUE(im);
    const Picture p = drawOn(*im, 0x0000FF);
    EXPECT_EQ(p.at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(p.at(1, 0), 0xFF80007Fu);
    EXPECT_EQ(p.at(2, 0), 0xFF0000FFu);
}

// ---- scaling ----

TEST(ScaleImage, EnlargingRepeatsWholePixels) {
    std::vector<std::uint32_t> px(16 * 16);
    for (std::size_t i = 0; i < px.size(); ++i)
        px[i] = static_cast<std::uint32_t>(i);
    const auto im = decodeImage(encodeDib(dib(16, 16, 24, px)));
    ASSERT_TRUE(im);
    const DecodedImage s = scaleImage(*im, 32);
    ASSERT_EQ(s.width, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(pixel(s, x, y), pixel(*im, x / 2, y / 2)) << x << "," << y;
}

TEST(ScaleImage, ReducingAveragesCoveredPixels) {
    // 64 -> 32: each target pixel is the mean of a 2x2 block; 48 -> 32: of 1.5 x 1.5 pixels.
    std::vector<std::uint32_t> px(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            px[y * 64 + x] = (x % 2 == 0) ? 0xC8C8C8 : 0x000000;
    const auto im = decodeImage(encodeDib(dib(64, 64, 24, px)));
    ASSERT_TRUE(im);
    const DecodedImage s = scaleImage(*im, 32);
    EXPECT_EQ(pixel(s, 5, 7), 0xFF646464u);

    std::vector<std::uint32_t> px48(48 * 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            px48[y * 48 + x] = (x % 3 == 0) ? 0x909090 : 0x000000;
    const auto im48 = decodeImage(encodeDib(dib(48, 48, 24, px48)));
    const DecodedImage s48 = scaleImage(*im48, 32);
    // Target 0 covers source 0 whole and half of 1: (0x90 * 1 + 0 * 0.5) / 1.5 = 0x60.
    EXPECT_EQ(pixel(s48, 0, 0), 0xFF606060u);
    // Target 1 covers half of 1 and all of 2: black.
    EXPECT_EQ(pixel(s48, 1, 0), 0xFF000000u);
}

TEST(ScaleImage, StretchesNonSquareImages) {
    // 76 x 24: each axis scaled on its own; the left and right colours reach the edges of the square.
    std::vector<std::uint32_t> px(76 * 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 76; ++x)
            px[y * 76 + x] = x < 38 ? 0xFF0000 : 0x0000FF;
    const auto im = decodeImage(encodeDib(dib(76, 24, 24, px)));
    ASSERT_TRUE(im);
    const DecodedImage s = scaleImage(*im, 32);
    EXPECT_EQ(s.height, 32);
    EXPECT_EQ(pixel(s, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(pixel(s, 15, 31), 0xFFFF0000u);
    EXPECT_EQ(pixel(s, 16, 31), 0xFF0000FFu);
    EXPECT_EQ(pixel(s, 31, 0), 0xFF0000FFu);
}

TEST(ScaleImage, TransparentPixelsLendNoColourAndMasksKeepTheirSide) {
    const auto alpha =
        decodeImage(encodeDib(dib(2, 2, 32, {0xFFFF0000, 0x00000000, 0x00000000, 0x00000000})));
    ASSERT_TRUE(alpha);
    EXPECT_EQ(pixel(scaleImage(*alpha, 1), 0, 0), 0x40FF0000u);

    Dib d = dib(2, 2, 24, {0xFF0000, 0x000000, 0xFF0000, 0xFF0000});
    d.mask = {0, 1, 0, 0};
    const auto masked = decodeImage(encodeDib(d));
    const DecodedImage s = scaleImage(*masked, 1);
    EXPECT_EQ(s.mask[0], 0);
    EXPECT_EQ(pixel(s, 0, 0), 0xFFFF0000u); // the masked black pixel does not darken it
}

} // namespace
