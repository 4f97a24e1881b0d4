#pragma once

// Writes icons as files: PNG, 24-bit BMP and .ico encoders, and a file write that either replaces its
// target whole or leaves it as it was. Like the reader, it needs only the standard library and libpng,
// so the command-line tool, the thumbnailer and the window program share one implementation.

#include "platform/iconreader/IconReader.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vesmarin::iconwriter {

using iconreader::Picture;
using iconreader::StoredGroup;
using Bytes = std::vector<std::uint8_t>;

// A PNG file of the picture with its alpha, compressed for speed rather than size (icons are small;
// the time goes into the compression). Empty when libpng fails.
Bytes encodePng(const Picture& picture);

// A 24-bit bitmap file (rows bottom-up, padded to four bytes); the alpha byte of each pixel is ignored,
// so draw the icon on a background first.
Bytes encodeBmp(const Picture& picture);

// An .ico file holding the group's images as stored, handed to put part by part (the directory, then
// each image's bytes), so a large group is never copied whole. Entries that share their bytes point at
// one copy of them. Nothing is put for an empty group or one of more than 65535 images.
void encodeIco(const StoredGroup& group, const std::function<void(std::span<const std::uint8_t>)>& put);
// The same, joined in memory.
Bytes encodeIco(const StoredGroup& group);

// A file written through a temporary file in the target's folder, renamed over the target only when
// every byte reached the disk; on any failure the temporary file goes and the target stays as it was.
// The temporary file is named ".vesmarin-<process>-<number>.tmp", so it can never be a file of the user's.
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target) noexcept;
    ~AtomicFile(); // removes the temporary file when commit() did not succeed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes; false once any write has failed (later writes do nothing).
    bool write(std::span<const std::uint8_t> bytes) noexcept;
    // Closes the temporary file and renames it over the target; false when anything failed on the way.
    bool commit() noexcept;
    // Why it failed, as the system says it ("No space left on device"); empty while all is well.
    const std::string& error() const noexcept { return error_; }

private:
    void fail(int errnum) noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    std::string error_;
};

// The whole file in one go through an AtomicFile; error says why it failed.
bool writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         std::string& error) noexcept;

} // namespace vesmarin::iconwriter
