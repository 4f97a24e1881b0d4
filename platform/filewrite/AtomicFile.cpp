#include "platform/filewrite/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <atomic>
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace vesmarin::filewrite {

namespace fs = std::filesystem;

namespace {

// Pieces smaller than this are gathered before they go to the system, so that a file handed over in many
// small parts (the directory of an .ico file, then each image) costs few calls.
constexpr std::size_t kBufferSize = 64 * 1024;

// Writes all of the bytes, or gives the errno of the first failure.
int WriteAll(int fd, const std::uint8_t* p, std::size_t left) {
    while (left > 0) {
#ifdef _WIN32
        const int n = ::_write(fd, p, static_cast<unsigned>(std::min<std::size_t>(left, 1u << 30)));
#else
        const ssize_t n = ::write(fd, p, left);
#endif
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

#ifndef _WIN32

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

#endif

} // namespace

std::string describe(int errnum) {
    try {
        return errnum != 0 ? std::string(std::strerror(errnum)) : std::string();
    } catch (...) {
        return {};
    }
}

std::string AtomicFile::error() const {
    return describe(error_);
}

AtomicFile::AtomicFile(const fs::path& target) noexcept {
    try {
        if (const int e = open(target); e != 0)
            fail(e);
        else
            buffer_.reserve(kBufferSize);
    } catch (...) {
        fail(ENOMEM);
    }
}

void AtomicFile::fail(int errnum) noexcept {
    if (error_ == 0)
        error_ = errnum != 0 ? errnum : EIO;
}

#ifndef _WIN32

int AtomicFile::open(const fs::path& target) {
    target_ = target;
    // The file a write replaces: the target itself, or the file a link to it names (replacing the link
    // would cut it).
    struct stat old {};
    if (::lstat(target_.c_str(), &old) != 0) {
        if (errno != ENOENT)
            return errno;
    } else {
        if (S_ISLNK(old.st_mode)) {
            char* real = ::realpath(target_.c_str(), nullptr);
            if (real == nullptr)
                return errno;
            target_ = real;
            std::free(real);
            if (::stat(target_.c_str(), &old) != 0)
                return errno;
        }
        if (!S_ISREG(old.st_mode))
            return S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        // A file without any write permission binds the super-user too.
        if ((old.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0)
            return EACCES;
        exists_ = true;
        mode_ = old.st_mode & 07777;
        owner_ = old.st_uid;
        group_ = old.st_gid;
    }
    folder_ = target_.parent_path();
    if (folder_.empty())
        folder_ = ".";
    // Short enough for any file system's name limit, whatever the target's name.
    const std::string name = target_.filename().native().substr(0, 200);
    std::string temporary = (folder_ / ("." + name + ".XXXXXX")).native();
    fd_ = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd_ < 0)
        return errno;
    temporary_ = temporary;
    return 0;
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

bool AtomicFile::commit() noexcept {
    if (fd_ < 0) {
        fail(EBADF);
        return false;
    }
    if (flush()) {
        // The new file takes the permissions (and, when allowed, the owner) of the one it replaces.
        if (exists_) {
            ::fchmod(fd_, static_cast<mode_t>(mode_));
            if (owner_ != ::geteuid() || group_ != ::getegid())
                if (::fchown(fd_, owner_, group_) != 0) {
                    // Allowed to the super-user only; anyone else keeps the new file as their own.
                }
        } else {
            ::fchmod(fd_, NewFileMode());
        }
        // Some file systems report a full disk only here, when the data is really written; and the rename
        // must never put in place a file whose bytes a crash could still lose.
        if (::fsync(fd_) != 0)
            fail(errno);
    }
    if (::close(fd_) != 0 && errno != EINTR)
        fail(errno);
    fd_ = -1;
    if (error_ == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail(errno);
    if (error_ != 0)
        return false;
    temporary_.clear();
    SyncFolder(folder_);
    return true;
}

#else // _WIN32: no links to follow and no owners; the read-only attribute refuses the write.

int AtomicFile::open(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    target_ = target;
    std::error_code ec;
    const fs::file_status status = fs::status(target_, ec);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status))
            return fs::is_directory(status) ? EISDIR : EINVAL;
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
            return EACCES;
        exists_ = true;
    }
    folder_ = target_.parent_path();
    if (folder_.empty())
        folder_ = ".";
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ = folder_ / (L"." + target_.filename().wstring().substr(0, 200) + L"." +
                                std::to_wstring(::_getpid()) + L"-" + std::to_wstring(counter++));
        fd_ = ::_wopen(temporary_.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        temporary_.clear();
        return errno;
    }
    return 0;
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0)
        ::_close(fd_);
    if (!temporary_.empty()) {
        std::error_code ec;
        fs::remove(temporary_, ec);
    }
}

bool AtomicFile::commit() noexcept {
    if (fd_ < 0) {
        fail(EBADF);
        return false;
    }
    if (flush() && ::_commit(fd_) != 0)
        fail(errno);
    if (::_close(fd_) != 0)
        fail(errno);
    fd_ = -1;
    if (error_ == 0) {
        std::error_code ec;
        fs::rename(temporary_, target_, ec);
        if (ec)
            fail(ec.value() != 0 ? EACCES : EIO);
    }
    if (error_ != 0)
        return false;
    temporary_.clear();
    return true;
}

#endif

bool AtomicFile::flush() noexcept {
    if (error_ == 0 && !buffer_.empty())
        if (const int e = WriteAll(fd_, buffer_.data(), buffer_.size()); e != 0)
            fail(e);
    buffer_.clear();
    return error_ == 0;
}

bool AtomicFile::write(std::span<const std::uint8_t> bytes) noexcept {
    if (error_ != 0 || fd_ < 0)
        return false;
    if (buffer_.size() + bytes.size() > kBufferSize && !flush())
        return false;
    if (bytes.size() >= kBufferSize) {
        if (const int e = WriteAll(fd_, bytes.data(), bytes.size()); e != 0)
            fail(e);
        return error_ == 0;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    return true;
}

bool AtomicFile::write(std::string_view bytes) noexcept {
    return write(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

int replaceFile(const fs::path& target, std::initializer_list<std::string_view> pieces) noexcept {
    AtomicFile file(target);
    for (const std::string_view piece : pieces)
        file.write(piece);
    file.commit();
    return file.errorNumber();
}

int replaceFile(const fs::path& target, std::span<const std::uint8_t> bytes) noexcept {
    AtomicFile file(target);
    file.write(bytes);
    file.commit();
    return file.errorNumber();
}

} // namespace vesmarin::filewrite
