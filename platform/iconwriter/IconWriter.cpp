#include "platform/iconwriter/IconWriter.h"

#include <map>
#include <png.h>

namespace vesmarin::iconwriter {

Bytes encodePng(const Picture& p) {
    try {
        std::vector<std::uint8_t> rgba;
        rgba.reserve(p.pixels.size() * 4);
        for (std::uint32_t px : p.pixels)
            for (int shift : {16, 8, 0, 24})
                rgba.push_back(static_cast<std::uint8_t>(px >> shift));
        const auto write = [&](Bytes& bytes, png_alloc_size_t& size) {
            png_image image{};
            image.version = PNG_IMAGE_VERSION;
            image.width = static_cast<png_uint_32>(p.width);
            image.height = static_cast<png_uint_32>(p.height);
            image.format = PNG_FORMAT_RGBA;
            image.flags = PNG_IMAGE_FLAG_FAST;
            return png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba.data(), 0, nullptr) != 0;
        };
        // Room for the raw pixels and libpng's framing is nearly always enough, which saves compressing
        // twice (once to learn the size); when it is not, libpng says how much is.
        png_alloc_size_t size = rgba.size() + rgba.size() / 64 + static_cast<std::size_t>(p.height) + 1024;
        Bytes bytes(size);
        if (!write(bytes, size)) {
            if (size <= bytes.size())
                return {};
            bytes.resize(size);
            if (!write(bytes, size))
                return {};
        }
        bytes.resize(size);
        return bytes;
    } catch (...) {
        return {};
    }
}

Bytes encodeBmp(const Picture& p) {
    const std::size_t stride = (static_cast<std::size_t>(p.width) * 3 + 3) / 4 * 4;
    const std::size_t imageSize = stride * p.height;
    Bytes b;
    b.reserve(54 + imageSize);
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    b.push_back('B');
    b.push_back('M');
    put(static_cast<std::uint32_t>(54 + imageSize), 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(p.width), 4);
    put(static_cast<std::uint32_t>(p.height), 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(static_cast<std::uint32_t>(imageSize), 4);
    put(2835, 4); // 72 dots per inch
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int y = p.height - 1; y >= 0; --y) {
        std::size_t written = 0;
        for (int x = 0; x < p.width; ++x, written += 3)
            put(p.at(x, y) & 0xFFFFFF, 3);
        for (; written < stride; ++written)
            b.push_back(0);
    }
    return b;
}

void encodeIco(const StoredGroup& group, const std::function<void(std::span<const std::uint8_t>)>& put) {
    const std::size_t n = group.images.size();
    if (n == 0 || n > 0xFFFF)
        return;
    Bytes dir(6 + 16 * n);
    const auto put16 = [&](std::size_t at, std::uint32_t v) {
        dir[at] = static_cast<std::uint8_t>(v);
        dir[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    const auto put32 = [&](std::size_t at, std::uint64_t v) {
        put16(at, static_cast<std::uint32_t>(v & 0xFFFF));
        put16(at + 2, static_cast<std::uint32_t>((v >> 16) & 0xFFFF));
    };
    put16(2, 1);
    put16(4, static_cast<std::uint32_t>(n));
    // Each distinct image once, in the order of first use; entries sharing it point at the same bytes.
    std::map<const Bytes*, std::uint64_t> placed;
    std::vector<const Bytes*> order;
    std::uint64_t end = dir.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto& im = group.images[i];
        static const Bytes none;
        const Bytes* data = im.data ? im.data.get() : &none;
        auto [it, isNew] = placed.try_emplace(data, end);
        if (isNew) {
            order.push_back(data);
            end += data->size();
        }
        const std::size_t e = 6 + 16 * i;
        dir[e] = im.width;
        dir[e + 1] = im.height;
        dir[e + 2] = im.colorCount;
        dir[e + 3] = im.reserved;
        put16(e + 4, im.planes);
        put16(e + 6, im.bitCount);
        put32(e + 8, data->size());
        put32(e + 12, it->second);
    }
    put(dir);
    for (const Bytes* data : order)
        put(*data);
}

Bytes encodeIco(const StoredGroup& group) {
    Bytes out;
    encodeIco(group,
              [&](std::span<const std::uint8_t> part) { out.insert(out.end(), part.begin(), part.end()); });
    return out;
}

} // namespace vesmarin::iconwriter
