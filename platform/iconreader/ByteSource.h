#pragma once

// Bounds-checked access to the bytes of a file, read range by range through a small block cache, so that
// only the parts actually needed are ever read.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vesmarin::iconreader::detail {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const noexcept = 0;
    // Copies n bytes from offset into out; false (and nothing copied) when any of them lies past the end.
    virtual bool read(std::uint64_t offset, void* out, std::size_t n) const noexcept = 0;

    bool contains(std::uint64_t offset, std::uint64_t n) const noexcept {
        return n <= size() && offset <= size() - n;
    }
};

// nullptr and a reason in error when the file cannot be opened.
std::unique_ptr<ByteSource> openFileSource(const std::string& path, std::string& error) noexcept;
std::unique_ptr<ByteSource> memorySource(std::vector<std::uint8_t> bytes) noexcept;

// Little-endian fields from a buffer the caller has already checked.
inline std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

} // namespace vesmarin::iconreader::detail
