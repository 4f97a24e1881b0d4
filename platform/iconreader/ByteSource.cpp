#include "platform/iconreader/ByteSource.h"

#include <cerrno>
#include <cstring>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define VESMARIN_HAVE_MMAP 1
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

#ifdef VESMARIN_HAVE_MMAP
class MappedSource final : public ByteSource {
public:
    MappedSource(const void* base, std::uint64_t size)
        : base_(static_cast<const std::uint8_t*>(base)), size_(size) {}
    ~MappedSource() override {
        if (base_ != nullptr)
            ::munmap(const_cast<std::uint8_t*>(base_), size_);
    }
    MappedSource(const MappedSource&) = delete;
    MappedSource& operator=(const MappedSource&) = delete;
    std::uint64_t size() const noexcept override { return size_; }
    bool read(std::uint64_t offset, void* out, std::size_t n) const noexcept override {
        if (!contains(offset, n))
            return false;
        if (n > 0)
            std::memcpy(out, base_ + offset, n);
        return true;
    }

private:
    const std::uint8_t* base_;
    std::uint64_t size_;
};
#else
class StreamSource final : public ByteSource {
public:
    StreamSource(std::ifstream stream, std::uint64_t size) : stream_(std::move(stream)), size_(size) {}
    std::uint64_t size() const noexcept override { return size_; }
    bool read(std::uint64_t offset, void* out, std::size_t n) const noexcept override {
        if (!contains(offset, n))
            return false;
        if (n == 0)
            return true;
        stream_.clear();
        stream_.seekg(static_cast<std::streamoff>(offset));
        stream_.read(static_cast<char*>(out), static_cast<std::streamsize>(n));
        return static_cast<std::size_t>(stream_.gcount()) == n;
    }

private:
    mutable std::ifstream stream_;
    std::uint64_t size_;
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
#ifdef VESMARIN_HAVE_MMAP
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
        const auto size = static_cast<std::uint64_t>(st.st_size);
        if (size == 0) {
            ::close(fd);
            return std::make_unique<MemorySource>(std::vector<std::uint8_t>{});
        }
        void* base = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        const int mapErrno = errno;
        ::close(fd);
        if (base == MAP_FAILED) {
            error = std::strerror(mapErrno);
            return nullptr;
        }
        return std::make_unique<MappedSource>(base, size);
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
