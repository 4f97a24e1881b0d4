#include "platform/iconreader/IconImage.h"

#include "platform/iconreader/ByteSource.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <png.h>
#include <zlib.h>

namespace vesmarin::iconreader::detail {
namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

bool validDimension(std::int64_t v) {
    return v >= 1 && v <= kMaxDimension;
}

std::uint32_t argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

// One colour channel described by a bit mask, widened to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            max = (std::uint64_t{1} << std::bit_width(m >> shift)) - 1;
        }
    }
    std::uint32_t operator()(std::uint32_t v) const {
        if (mask == 0)
            return 0;
        const std::uint64_t x = (v & mask) >> shift;
        return static_cast<std::uint32_t>((x * 255 + max / 2) / max);
    }
};

std::uint32_t be32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The seven passes of an interlaced PNG: first column, column step, first row, row step.
constexpr std::uint32_t kAdam7[7][4] = {{0, 8, 0, 8}, {4, 8, 0, 8}, {0, 4, 4, 8}, {2, 4, 0, 4},
                                        {0, 2, 2, 4}, {1, 2, 0, 2}, {0, 1, 1, 2}};

// The rows of each pass of a PNG's image data (one pass unless interlaced): how many, and the bytes of
// each, its filter byte included. Empty when the header is not one libpng would accept.
std::vector<std::pair<std::uint64_t, std::uint64_t>> pngPasses(std::uint32_t width, std::uint32_t height,
                                                               int depth, int colourType, bool interlaced) {
    static const std::vector<int> depths[7] = {{1, 2, 4, 8, 16}, {}, {8, 16}, {1, 2, 4, 8},
                                               {8, 16},          {}, {8, 16}};
    static constexpr int channels[7] = {1, 0, 3, 1, 2, 0, 4};
    if (colourType < 0 || colourType > 6 || width == 0 || height == 0 ||
        std::find(depths[colourType].begin(), depths[colourType].end(), depth) == depths[colourType].end())
        return {};
    const std::uint64_t bits = std::uint64_t{1} * depth * channels[colourType];
    std::vector<std::pair<std::uint64_t, std::uint64_t>> passes;
    for (const auto& p : kAdam7) {
        const auto [x0, dx, y0, dy] =
            interlaced ? std::array{p[0], p[1], p[2], p[3]} : std::array{0u, 1u, 0u, 1u};
        if (width > x0 && height > y0) {
            const std::uint64_t w = (width - x0 + dx - 1) / dx, h = (height - y0 + dy - 1) / dy;
            passes.emplace_back(h, 1 + (w * bits + 7) / 8);
        }
        if (!interlaced)
            break;
    }
    return passes;
}

// The bytes the image data of a PNG inflates to when it holds just its rows; 0 for a header libpng
// would refuse.
std::uint64_t pngRowBytes(std::uint32_t width, std::uint32_t height, int depth, int colourType,
                          bool interlaced) {
    std::uint64_t total = 0;
    for (const auto& [rows, bytes] : pngPasses(width, height, depth, colourType, interlaced))
        total += rows * bytes;
    return total;
}

// True when the image data of a PNG inflates to no more than its rows can use, give or take a little.
// libpng reads a stream to its end even after the last row, so a small image whose data inflates to
// gigabytes (a few megabytes compressed) would hold the reader for minutes; this check stops inflating
// as soon as the output passes that bound, so such an image costs no more than an honest one.
bool pngDataFitsItsRows(std::span<const std::uint8_t> data) {
    // The chunks: length, type, data, CRC. IHDR comes first; IDAT chunks hold one zlib stream.
    std::size_t at = 8;
    if (data.size() < at + 8 + 13 || std::memcmp(data.data() + at + 4, "IHDR", 4) != 0)
        return false;
    const std::uint8_t* ihdr = data.data() + at + 8;
    const std::uint64_t rows = pngRowBytes(be32(ihdr), be32(ihdr + 4), ihdr[8], ihdr[9], ihdr[12] != 0);
    if (rows == 0)
        return false;
    const std::uint64_t allowed = rows * 2 + 65536; // the stream may carry a little padding
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    std::uint8_t scratch[16384];
    std::uint64_t out = 0;
    bool fits = true, ended = false;
    while (fits && !ended && data.size() - at >= 12) {
        const std::uint32_t length = be32(data.data() + at);
        const std::uint8_t* type = data.data() + at + 4;
        if (length > data.size() - at - 12)
            break; // a damaged length: libpng will refuse the file
        if (std::memcmp(type, "IEND", 4) == 0)
            break;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            z.next_in = const_cast<Bytef*>(data.data() + at + 8);
            z.avail_in = length;
            while (z.avail_in > 0 && fits) {
                z.next_out = scratch;
                z.avail_out = sizeof scratch;
                const int r = inflate(&z, Z_NO_FLUSH);
                out += sizeof scratch - z.avail_out;
                fits = out <= allowed;
                if (r != Z_OK) { // the end of the stream, or damaged data that libpng will refuse
                    ended = true;
                    break;
                }
            }
        }
        at += std::size_t{length} + 12;
    }
    inflateEnd(&z);
    return fits;
}

// Walks the chunks of a PNG file in order, checking each as libpng would, and inflates the image data
// into a buffer of exactly its rows so that their filters can be checked. The zlib stream lives as long
// as the walk, so the walk is neither copied nor moved.
class PngWalk {
public:
    explicit PngWalk(std::span<const std::uint8_t> data) : data_(data) {}
    ~PngWalk() {
        if (zOpen_)
            inflateEnd(&z_);
    }
    PngWalk(const PngWalk&) = delete;
    PngWalk& operator=(const PngWalk&) = delete;

    // The image's size when the whole file is sound.
    std::optional<std::pair<int, int>> run() {
        std::size_t at = 8;
        bool sound = true;
        while (sound && !ended_) {
            if (data_.size() - at < 12)
                return std::nullopt;
            const std::uint32_t length = be32(data_.data() + at);
            if (length > data_.size() - at - 12)
                return std::nullopt;
            const std::uint8_t* type = data_.data() + at + 4;
            const std::uint8_t* body = type + 4;
            if (crc32(0, type, length + 4) != be32(body + length))
                return std::nullopt;
            sound = chunk(type, body, length, at == 8);
            at += std::size_t{length} + 12;
        }
        // The stream ended with exactly the rows, and each row starts with a filter libpng knows.
        if (!sound || !ended_ || !idatSeen_ || (colourType_ == 3 && !palette_) || z_.total_out != needed_ ||
            !rowsAreSound())
            return std::nullopt;
        return std::pair{static_cast<int>(width_), static_cast<int>(height_)};
    }

private:
    // One chunk in its place; false when libpng would refuse it there.
    bool chunk(const std::uint8_t* type, const std::uint8_t* body, std::uint32_t length, bool first) {
        const auto is = [&](const char* t) { return std::memcmp(type, t, 4) == 0; };
        if (first != is("IHDR"))
            return false;
        if (first)
            return header(body, length);
        if (is("PLTE")) {
            const bool sound = !palette_ && !idatSeen_ && length % 3 == 0 && length > 0 && length <= 768 &&
                               colourType_ != 0 && colourType_ != 4;
            palette_ = true;
            return sound;
        }
        if (is("IDAT"))
            return imageData(body, length);
        if (idatSeen_)
            idatEnded_ = true;
        if (is("IEND"))
            ended_ = true;
        else if ((type[0] & 0x20) == 0) // an unknown critical chunk
            return false;
        return true;
    }

    // IHDR: a header libpng accepts gives the rows the image data must inflate to.
    bool header(const std::uint8_t* body, std::uint32_t length) {
        if (length != 13) // nor are its fields read: a shorter chunk does not hold them
            return false;
        width_ = be32(body);
        height_ = be32(body + 4);
        colourType_ = body[9];
        passes_ = body[10] == 0 && body[11] == 0 && body[12] <= 1 && validDimension(width_) &&
                          validDimension(height_)
                      ? pngPasses(width_, height_, body[8], colourType_, body[12] == 1)
                      : decltype(passes_){};
        for (const auto& [n, bytes] : passes_)
            needed_ += n * bytes;
        if (needed_ == 0 || inflateInit(&z_) != Z_OK)
            return false;
        zOpen_ = true;
        rows_.resize(needed_ + 1);
        return true;
    }

    // IDAT: the chunks must follow one another, and their data must not inflate past the rows.
    bool imageData(const std::uint8_t* body, std::uint32_t length) {
        bool sound = !idatEnded_;
        idatSeen_ = true;
        z_.next_in = const_cast<Bytef*>(body);
        z_.avail_in = length;
        while (sound && z_.avail_in > 0) {
            z_.next_out = rows_.data() + z_.total_out;
            z_.avail_out = static_cast<uInt>(rows_.size() - z_.total_out);
            const int r = inflate(&z_, Z_NO_FLUSH);
            sound = (r == Z_OK || r == Z_STREAM_END) && z_.total_out <= needed_;
            if (r == Z_STREAM_END)
                break;
        }
        return sound;
    }

    // Every row starts with a known filter, and the stream ends right after the last row.
    bool rowsAreSound() {
        std::uint64_t row = 0;
        for (const auto& [n, bytes] : passes_)
            for (std::uint64_t k = 0; k < n; ++k, row += bytes)
                if (rows_[row] > 4)
                    return false;
        std::uint8_t probe = 0;
        z_.next_out = &probe;
        z_.avail_out = 1;
        return inflate(&z_, Z_FINISH) == Z_STREAM_END;
    }

    std::span<const std::uint8_t> data_;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> passes_;
    std::uint32_t width_ = 0, height_ = 0;
    int colourType_ = -1;
    bool palette_ = false, idatSeen_ = false, idatEnded_ = false, ended_ = false;
    std::uint64_t needed_ = 0;
    std::vector<std::uint8_t> rows_;
    z_stream z_{};
    bool zOpen_ = false;
};

// A PNG file libpng reads without complaint, checked without decoding it: the chunks' lengths and
// checksums, the critical chunks in their places, a valid header, and image data that inflates to
// exactly its rows, each with a known filter. Its size, or nullopt.
std::optional<std::pair<int, int>> soundPngSizeOf(std::span<const std::uint8_t> data) {
    if (!isPng(data))
        return std::nullopt;
    PngWalk walk(data);
    return walk.run();
}

std::optional<DecodedImage> decodePng(std::span<const std::uint8_t> data) {
    if (!pngDataFitsItsRows(data))
        return std::nullopt;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, data.data(), data.size()) == 0)
        return std::nullopt;
    if (!validDimension(image.width) || !validDimension(image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_BGRA;
    DecodedImage out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.hasAlpha = true;
    out.color.resize(static_cast<std::size_t>(out.width) * out.height);
    // Four bytes B, G, R, A per pixel: on a little-endian machine that is 0xAARRGGBB.
    std::vector<std::uint8_t> bytes(out.color.size() * 4);
    if (png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < out.color.size(); ++i)
        out.color[i] = argb(bytes[i * 4 + 3], bytes[i * 4 + 2], bytes[i * 4 + 1], bytes[i * 4]);
    return out;
}

struct DibLayout {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t storedHeight = 0;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
};

std::optional<DibLayout> readDibLayout(std::span<const std::uint8_t> d) {
    if (d.size() < 4)
        return std::nullopt;
    DibLayout l;
    l.headerSize = le32(d.data());
    if (l.headerSize == 12) {
        if (d.size() < 12)
            return std::nullopt;
        l.width = le16(d.data() + 4);
        l.storedHeight = le16(d.data() + 6);
        l.bitCount = le16(d.data() + 10);
    } else if (l.headerSize >= 40 && d.size() >= 40) {
        l.width = static_cast<std::int32_t>(le32(d.data() + 4));
        l.storedHeight = static_cast<std::int32_t>(le32(d.data() + 8));
        l.bitCount = le16(d.data() + 14);
        l.compression = le32(d.data() + 16);
        l.colorsUsed = le32(d.data() + 32);
    } else {
        return std::nullopt;
    }
    return l;
}

// A bitmap of a size, depth and compression the decoder handles.
bool dibIsDecodable(const DibLayout& l, std::size_t dataSize) {
    if (l.headerSize > dataSize)
        return false;
    // The stored height covers the colour bits, then the AND mask of equal height.
    if (!validDimension(l.width) || !validDimension(l.storedHeight / 2))
        return false;
    const int bpp = l.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return false;
    return l.compression == kBiRgb || (l.compression == kBiBitfields && (bpp == 16 || bpp == 32));
}

// Where the red, green, blue and alpha bits of a 16- or 32-bit pixel lie.
struct ChannelMasks {
    std::uint32_t red = 0x7C00, green = 0x03E0, blue = 0x001F, alpha = 0;
};

// The masks the depth implies, or those a BI_BITFIELDS bitmap gives; pos moves past masks that follow
// the short header.
std::optional<ChannelMasks> readChannelMasks(std::span<const std::uint8_t> d, const DibLayout& l,
                                             std::uint64_t& pos) {
    ChannelMasks m;
    if (l.bitCount == 32)
        m = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    if (l.compression != kBiBitfields)
        return m;
    std::uint64_t maskAt = pos;
    if (l.headerSize == 40)
        pos += 12; // the three masks follow the short header
    else if (l.headerSize >= 52)
        maskAt = 40; // they are part of the longer headers
    else
        return std::nullopt;
    if (maskAt + 12 > d.size())
        return std::nullopt;
    m.red = le32(d.data() + maskAt);
    m.green = le32(d.data() + maskAt + 4);
    m.blue = le32(d.data() + maskAt + 8);
    if (l.headerSize >= 56)
        m.alpha = le32(d.data() + 52);
    else if (l.bitCount == 32)
        m.alpha = ((m.red | m.green | m.blue) & 0xFF000000) == 0 ? 0xFF000000 : 0;
    else
        m.alpha = 0;
    return m;
}

// The colour table: biClrUsed entries, or all 2^bpp when it says 0; bitmaps above 8 bits may carry an
// optional table too, which only has to be skipped (their palette is empty). pos moves past the table.
std::optional<std::vector<std::uint32_t>> readColourTable(std::span<const std::uint8_t> d, const DibLayout& l,
                                                          std::uint64_t& pos) {
    const int bpp = l.bitCount;
    const std::uint64_t entrySize = l.headerSize == 12 ? 3 : 4;
    std::uint64_t tableEntries = l.colorsUsed;
    if (bpp <= 8 && (tableEntries == 0 || l.headerSize == 12))
        tableEntries = std::uint64_t{1} << bpp;
    if (tableEntries > 256)
        return std::nullopt;
    const std::uint64_t tableAt = pos;
    pos += tableEntries * entrySize;
    std::vector<std::uint32_t> palette(bpp <= 8 ? std::size_t{1} << bpp : 0, argb(255, 0, 0, 0));
    if (pos > d.size())
        return std::nullopt;
    for (std::size_t i = 0; i < palette.size() && i < tableEntries; ++i) {
        const std::uint8_t* e = d.data() + tableAt + i * entrySize;
        palette[i] = argb(255, e[2], e[1], e[0]);
    }
    return palette;
}

// Fills out.color (already sized) from the colour bits, stored bottom-up in rows of stride bytes.
// True when some 32-bit pixel has a non-zero alpha.
bool readColourBits(const std::uint8_t* bits, std::uint64_t stride, int bpp,
                    const std::vector<std::uint32_t>& palette, const ChannelMasks& masks, DecodedImage& out) {
    const auto w = static_cast<std::uint64_t>(out.width);
    const auto h = static_cast<std::uint64_t>(out.height);
    const Channel red(masks.red), green(masks.green), blue(masks.blue), alpha(masks.alpha);
    bool anyAlpha = false;
    for (std::uint64_t y = 0; y < h; ++y) {
        const std::uint8_t* row = bits + (h - 1 - y) * stride;
        std::uint32_t* dst = out.color.data() + y * w;
        for (std::uint64_t x = 0; x < w; ++x) {
            switch (bpp) {
            case 1:
            case 4:
            case 8: {
                const std::uint64_t bit = x * bpp;
                const unsigned shift = 8 - bpp - static_cast<unsigned>(bit % 8);
                dst[x] = palette[(row[bit / 8] >> shift) & ((1u << bpp) - 1)];
                break;
            }
            case 16: {
                const std::uint32_t v = le16(row + x * 2);
                dst[x] = argb(255, red(v), green(v), blue(v));
                break;
            }
            case 24:
                dst[x] = argb(255, row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                break;
            default: {
                const std::uint32_t v = le32(row + x * 4);
                const std::uint32_t a = alpha(v);
                anyAlpha = anyAlpha || a != 0;
                dst[x] = argb(a, red(v), green(v), blue(v));
                break;
            }
            }
        }
    }
    return anyAlpha;
}

// Sets out.mask from the AND mask at maskAt, stored bottom-up; a missing or short mask hides nothing.
void readAndMask(std::span<const std::uint8_t> d, std::uint64_t maskAt, DecodedImage& out) {
    const auto w = static_cast<std::uint64_t>(out.width);
    const auto h = static_cast<std::uint64_t>(out.height);
    const std::uint64_t maskStride = (w + 31) / 32 * 4;
    out.mask.assign(w * h, 0);
    if (maskAt + maskStride * h > d.size())
        return;
    const std::uint8_t* maskBits = d.data() + maskAt;
    for (std::uint64_t y = 0; y < h; ++y) {
        const std::uint8_t* row = maskBits + (h - 1 - y) * maskStride;
        for (std::uint64_t x = 0; x < w; ++x)
            out.mask[y * w + x] = (row[x / 8] >> (7 - x % 8)) & 1;
    }
}

std::optional<DecodedImage> decodeDib(std::span<const std::uint8_t> d) {
    const auto l = readDibLayout(d);
    if (!l || !dibIsDecodable(*l, d.size()))
        return std::nullopt;
    std::uint64_t pos = l->headerSize;
    const auto masks = readChannelMasks(d, *l, pos);
    if (!masks)
        return std::nullopt;
    const auto palette = readColourTable(d, *l, pos);
    if (!palette)
        return std::nullopt;

    const auto w = static_cast<std::uint64_t>(l->width);
    const auto h = static_cast<std::uint64_t>(l->storedHeight / 2);
    const std::uint64_t stride = (w * l->bitCount + 31) / 32 * 4;
    if (pos + stride * h > d.size())
        return std::nullopt;
    DecodedImage out;
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    out.color.resize(w * h);
    if (readColourBits(d.data() + pos, stride, l->bitCount, *palette, *masks, out)) {
        out.hasAlpha = true;
        return out;
    }
    for (auto& c : out.color)
        c |= 0xFF000000;
    readAndMask(d, pos + stride * h, out);
    return out;
}

// Which source pixels each target pixel takes, with what weight, along one axis.
struct Tap {
    int source;
    std::uint64_t weight;
};

std::vector<std::vector<Tap>> axisTaps(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
    for (int t = 0; t < to; ++t) {
        if (from <= to) {
            // Enlarging (or keeping): whole source pixels repeat.
            taps[t].push_back({static_cast<int>(static_cast<std::int64_t>(t) * from / to), 1});
            continue;
        }
        // Reducing: target pixel t covers [t*from, (t+1)*from) in units of 1/to of a source pixel.
        const std::int64_t begin = static_cast<std::int64_t>(t) * from;
        const std::int64_t end = begin + from;
        for (std::int64_t s = begin / to; s * to < end; ++s) {
            const std::int64_t lo = std::max(begin, s * to);
            const std::int64_t hi = std::min(end, (s + 1) * to);
            if (hi > lo)
                taps[t].push_back({static_cast<int>(s), static_cast<std::uint64_t>(hi - lo)});
        }
    }
    return taps;
}

std::uint32_t channel(std::uint32_t c, int shift) {
    return (c >> shift) & 0xFF;
}

std::size_t pixelAt(const DecodedImage& image, int x, int y) {
    return static_cast<std::size_t>(y) * image.width + x;
}

// One target pixel of an image with alpha: averaged premultiplied, so that transparent pixels lend no
// colour.
std::uint32_t averageWithAlpha(const DecodedImage& image, const std::vector<Tap>& ys,
                               const std::vector<Tap>& xs) {
    std::uint64_t w = 0, a = 0, r = 0, g = 0, b = 0;
    for (const Tap& ty : ys)
        for (const Tap& tx : xs) {
            const std::uint64_t k = ty.weight * tx.weight;
            const std::uint32_t c = image.color[pixelAt(image, tx.source, ty.source)];
            const std::uint64_t ca = channel(c, 24);
            w += k;
            a += ca * k;
            r += channel(c, 16) * ca * k;
            g += channel(c, 8) * ca * k;
            b += channel(c, 0) * ca * k;
        }
    if (a == 0)
        return 0;
    return argb(static_cast<std::uint32_t>((a + w / 2) / w), static_cast<std::uint32_t>((r + a / 2) / a),
                static_cast<std::uint32_t>((g + a / 2) / a), static_cast<std::uint32_t>((b + a / 2) / a));
}

// One target pixel of a masked image: the side of the mask that covers more of it wins, and its colours
// are averaged (so transparent black does not darken the edges).
void averageMasked(const DecodedImage& image, const std::vector<Tap>& ys, const std::vector<Tap>& xs,
                   std::uint32_t& colour, std::uint8_t& mask) {
    std::uint64_t sums[2][4] = {};
    for (const Tap& ty : ys)
        for (const Tap& tx : xs) {
            const std::uint64_t k = ty.weight * tx.weight;
            const std::size_t s = pixelAt(image, tx.source, ty.source);
            const std::uint32_t c = image.color[s];
            auto& sum = sums[image.mask[s] != 0];
            sum[0] += k;
            sum[1] += channel(c, 16) * k;
            sum[2] += channel(c, 8) * k;
            sum[3] += channel(c, 0) * k;
        }
    const int side = sums[1][0] > sums[0][0] ? 1 : 0;
    const auto& sum = sums[side];
    const std::uint64_t w = sum[0];
    mask = static_cast<std::uint8_t>(side);
    colour = argb(255, static_cast<std::uint32_t>((sum[1] + w / 2) / w),
                  static_cast<std::uint32_t>((sum[2] + w / 2) / w),
                  static_cast<std::uint32_t>((sum[3] + w / 2) / w));
}

} // namespace

bool isPng(std::span<const std::uint8_t> data) {
    return data.size() >= 8 && std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin());
}

std::optional<std::pair<int, int>> soundPngSize(std::span<const std::uint8_t> data) {
    try {
        return soundPngSizeOf(data);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<ImageHeader> readImageHeader(std::span<const std::uint8_t> data) {
    ImageHeader h;
    if (isPng(data)) {
        // The IHDR chunk comes first: width, height, bit depth, colour type.
        if (data.size() < 26)
            return std::nullopt;
        const auto be32 = [&](std::size_t at) {
            return static_cast<std::uint32_t>(data[at]) << 24 |
                   static_cast<std::uint32_t>(data[at + 1]) << 16 |
                   static_cast<std::uint32_t>(data[at + 2]) << 8 | data[at + 3];
        };
        const std::uint32_t w = be32(16), hh = be32(20);
        h.width = static_cast<int>(std::min<std::uint32_t>(w, 0x7FFFFFFF));
        h.height = static_cast<int>(std::min<std::uint32_t>(hh, 0x7FFFFFFF));
        int channels = 1;
        switch (data[25]) {
        case 2:
            channels = 3;
            break;
        case 4:
            channels = 2;
            break;
        case 6:
            channels = 4;
            break;
        default:
            break;
        }
        h.bitCount = data[24] * channels;
        h.format = ImageFormat::Png;
        return h;
    }
    const auto l = readDibLayout(data);
    if (!l)
        return std::nullopt;
    h.width = static_cast<int>(std::clamp<std::int64_t>(l->width, -0x7FFFFFFF, 0x7FFFFFFF));
    h.height = static_cast<int>(std::clamp<std::int64_t>(l->storedHeight / 2, -0x7FFFFFFF, 0x7FFFFFFF));
    h.bitCount = l->bitCount;
    return h;
}

std::optional<DecodedImage> decodeImage(std::span<const std::uint8_t> data) {
    try {
        return isPng(data) ? decodePng(data) : decodeDib(data);
    } catch (...) {
        return std::nullopt;
    }
}

int chooseImage(const std::vector<Candidate>& candidates, int size) {
    int best = -1;
    std::int64_t bestDistance = 0, bestArea = 0, bestDepthGap = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& c = candidates[i];
        const std::int64_t distance =
            std::llabs(std::int64_t{c.width} - size) + std::llabs(std::int64_t{c.height} - size);
        const std::int64_t area = std::int64_t{c.width} * c.height;
        const std::int64_t depthGap = std::llabs(std::int64_t{c.bitCount} - 32);
        const bool better =
            best < 0 || distance < bestDistance ||
            (distance == bestDistance && (area > bestArea || (area == bestArea && depthGap < bestDepthGap)));
        if (better) {
            best = static_cast<int>(i);
            bestDistance = distance;
            bestArea = area;
            bestDepthGap = depthGap;
        }
    }
    return best;
}

DecodedImage scaleImage(const DecodedImage& image, int size) {
    if (image.width == size && image.height == size)
        return image;
    const auto xs = axisTaps(image.width, size);
    const auto ys = axisTaps(image.height, size);
    DecodedImage out;
    out.width = size;
    out.height = size;
    out.hasAlpha = image.hasAlpha;
    out.color.resize(static_cast<std::size_t>(size) * size);
    if (!image.hasAlpha)
        out.mask.resize(out.color.size());
    for (int ty = 0; ty < size; ++ty) {
        for (int tx = 0; tx < size; ++tx) {
            const std::size_t o = static_cast<std::size_t>(ty) * size + tx;
            if (image.hasAlpha)
                out.color[o] = averageWithAlpha(image, ys[ty], xs[tx]);
            else
                averageMasked(image, ys[ty], xs[tx], out.color[o], out.mask[o]);
        }
    }
    return out;
}

Picture toPicture(const DecodedImage& image) {
    Picture p;
    p.width = image.width;
    p.height = image.height;
    p.pixels = image.color;
    if (!image.hasAlpha)
        for (std::size_t i = 0; i < p.pixels.size(); ++i)
            p.pixels[i] = image.mask[i] != 0 ? 0 : (p.pixels[i] | 0xFF000000);
    return p;
}

Picture drawOn(const DecodedImage& image, std::uint32_t background) {
    Picture p;
    p.width = image.width;
    p.height = image.height;
    p.pixels.resize(image.color.size());
    const std::uint32_t bg = background & 0xFFFFFF;
    for (std::size_t i = 0; i < p.pixels.size(); ++i) {
        const std::uint32_t c = image.color[i];
        if (!image.hasAlpha) {
            // (background AND mask) XOR colour, as a screen combines the two bitmaps.
            p.pixels[i] = 0xFF000000 | (image.mask[i] != 0 ? (bg ^ (c & 0xFFFFFF)) : (c & 0xFFFFFF));
            continue;
        }
        const std::uint32_t a = channel(c, 24);
        std::uint32_t v = 0xFF000000;
        for (int shift : {16, 8, 0})
            v |= ((channel(c, shift) * a + channel(bg, shift) * (255 - a) + 127) / 255) << shift;
        p.pixels[i] = v;
    }
    return p;
}

} // namespace vesmarin::iconreader::detail
