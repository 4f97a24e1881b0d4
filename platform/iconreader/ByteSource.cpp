#include "platform/iconreader/ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define VESMARIN_HAVE_PREAD 1
#else
#include <fstream>
#endif

namespace vesmarin::iconreader::detail {
namespace {

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t size() const noexcept override { return bytes_.size(); }
    bool read(std::uint64_t offset, void* out, std::size_t n) const noexcept override {
        if (!contains(offset, n))
            return false;
        if (n > 0)
            std::memcpy(out, bytes_.data() + offset, n);
        return true;
    }

private:
    std::vector<std::uint8_t> bytes_;
};

// Reads a file range by range, keeping the last few 4 KiB blocks: the directories of a resource section
// lie close together, so walking them costs a handful of system calls, and only the blocks actually
// needed are ever read, however large the file.
class CachedFileSource : public ByteSource {
public:
    explicit CachedFileSource(std::uint64_t size) : size_(size) {}
    std::uint64_t size() const noexcept override { return size_; }

    bool read(std::uint64_t offset, void* out, std::size_t n) const noexcept override {
        if (!contains(offset, n))
            return false;
        auto* dst = static_cast<std::uint8_t*>(out);
        if (n >= kDirectRead)
            return rawRead(offset, dst, n);
        while (n > 0) {
            const std::uint64_t block = offset / kBlock;
            const Block* b = fetch(block);
            if (b == nullptr)
                return false;
            const std::size_t at = static_cast<std::size_t>(offset - block * kBlock);
            const std::size_t take = std::min(n, b->length - at);
            if (take == 0)
                return false;
            std::memcpy(dst, b->bytes + at, take);
            dst += take;
            offset += take;
            n -= take;
        }
        return true;
    }

protected:
    // Exactly n bytes from offset, or false.
    virtual bool rawRead(std::uint64_t offset, std::uint8_t* out, std::size_t n) const noexcept = 0;

private:
    static constexpr std::size_t kBlock = 4096;
    static constexpr std::size_t kDirectRead = 4 * kBlock;
    static constexpr std::size_t kBlocks = 8;
    struct Block {
        std::uint64_t index = ~std::uint64_t{0};
        std::size_t length = 0;
        std::uint8_t bytes[kBlock];
    };

    const Block* fetch(std::uint64_t index) const noexcept {
        for (const Block& b : blocks_)
            if (b.index == index)
                return &b;
        Block& b = blocks_[next_];
        next_ = (next_ + 1) % kBlocks;
        const std::uint64_t start = index * kBlock;
        b.index = ~std::uint64_t{0};
        b.length = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, size_ - start));
        if (!rawRead(start, b.bytes, b.length))
            return nullptr;
        b.index = index;
        return &b;
    }

    std::uint64_t size_;
    mutable Block blocks_[kBlocks];
    mutable std::size_t next_ = 0;
};

#ifdef VESMARIN_HAVE_PREAD
class FdSource final : public CachedFileSource {
public:
    FdSource(int fd, std::uint64_t size) : CachedFileSource(size), fd_(fd) {}
    ~FdSource() override { ::close(fd_); }
    FdSource(const FdSource&) = delete;
    FdSource& operator=(const FdSource&) = delete;

protected:
    bool rawRead(std::uint64_t offset, std::uint8_t* out, std::size_t n) const noexcept override {
        while (n > 0) {
            const ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false; // an error, or the file has become shorter
            out += got;
            offset += static_cast<std::uint64_t>(got);
            n -= static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int fd_;
};
#else
class StreamSource final : public CachedFileSource {
public:
    StreamSource(std::ifstream stream, std::uint64_t size)
        : CachedFileSource(size), stream_(std::move(stream)) {}

protected:
    bool rawRead(std::uint64_t offset, std::uint8_t* out, std::size_t n) const noexcept override {
        try {
            stream_.clear();
            stream_.seekg(static_cast<std::streamoff>(offset));
            stream_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n));
            return static_cast<std::size_t>(stream_.gcount()) == n;
        } catch (...) {
            return false;
        }
    }

private:
    mutable std::ifstream stream_;
};
#endif

} // namespace

std::unique_ptr<ByteSource> memorySource(std::vector<std::uint8_t> bytes) noexcept {
    try {
        return std::make_unique<MemorySource>(std::move(bytes));
    } catch (...) {
        return nullptr;
    }
}

std::unique_ptr<ByteSource> openFileSource(const std::string& path, std::string& error) noexcept {
    try {
#ifdef VESMARIN_HAVE_PREAD
        // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer, and some devices wait
        // too. Only regular files are kept, and a regular file ignores the flag.
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) {
            error = std::strerror(errno);
            return nullptr;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            error = S_ISDIR(st.st_mode) ? "is a folder" : "not a regular file";
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<FdSource>(fd, static_cast<std::uint64_t>(st.st_size));
#else
        std::ifstream stream(path, std::ios::binary);
        if (!stream) {
            error = "cannot be opened";
            return nullptr;
        }
        stream.seekg(0, std::ios::end);
        const auto end = stream.tellg();
        if (end < 0) {
            error = "cannot be read";
            return nullptr;
        }
        return std::make_unique<StreamSource>(std::move(stream), static_cast<std::uint64_t>(end));
#endif
    } catch (...) {
        error = "out of memory";
        return nullptr;
    }
}

} // namespace vesmarin::iconreader::detail
