#pragma once

// Decoding, choosing, scaling and drawing of single icon images. Internal to the icon reader; exposed
// for its tests and its fuzz target.

#include "platform/iconreader/IconReader.h"

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace vesmarin::iconreader::detail {

// A decoded image. Either it carries per-pixel alpha (hasAlpha: 32-bit bitmaps with some non-zero alpha,
// and PNG images) or it is a colour bitmap with a one-bit mask, which the screen combines with what lies
// beneath: (background AND mask) XOR colour.
struct DecodedImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<std::uint32_t> color; // 0xAARRGGBB; the alpha byte counts only when hasAlpha
    std::vector<std::uint8_t> mask;   // 1 where the mask bit is set; empty when hasAlpha
};

struct ImageHeader {
    int width = 0;
    int height = 0; // of the picture, i.e. half the bitmap's stored height
    int bitCount = 0;
    ImageFormat format = ImageFormat::Bitmap;
};

bool isPng(std::span<const std::uint8_t> data);

// The width and height of a PNG file that libpng reads without complaint, checked without decoding it
// (chunk checksums, critical chunks, header, image data inflating to exactly its rows); nullopt otherwise.
std::optional<std::pair<int, int>> soundPngSize(std::span<const std::uint8_t> data);

// The image's own idea of its size and depth, from its first bytes only.
std::optional<ImageHeader> readImageHeader(std::span<const std::uint8_t> data);

// A bitmap (BITMAPCOREHEADER or BITMAPINFOHEADER, followed by its colour bits and AND mask) or a PNG file.
std::optional<DecodedImage> decodeImage(std::span<const std::uint8_t> data);

struct Candidate {
    int width = 0; // 0 in a group directory already turned into 256
    int height = 0;
    int bitCount = 0;
};

// The image an icon of size x size takes: the closest size, then the larger, then the depth closest to
// 32 bits, then the first. -1 when there are no candidates.
int chooseImage(const std::vector<Candidate>& candidates, int size);

// Scales to size x size: enlarging repeats whole pixels, reducing averages the pixels each target
// pixel covers; each axis on its own, so non-square images are stretched to the square.
DecodedImage scaleImage(const DecodedImage& image, int size);

// With transparency (masked pixels become fully transparent).
Picture toPicture(const DecodedImage& image);
// As the screen shows it on an opaque background 0xRRGGBB.
Picture drawOn(const DecodedImage& image, std::uint32_t background);

} // namespace vesmarin::iconreader::detail
