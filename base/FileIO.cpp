#include "base/FileIO.h"

#include "base/PathText.h"

#include <cerrno>

#ifdef _WIN32
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#else
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vesmarin {

#ifndef _WIN32

namespace {

FileIdentity IdentityOf(const struct stat& st) {
    FileIdentity id;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
    id.size = static_cast<std::int64_t>(st.st_size);
    id.modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
    id.changedNs = std::int64_t{st.st_ctim.tv_sec} * 1'000'000'000 + st.st_ctim.tv_nsec;
    return id;
}

// Writes all of the bytes, or gives the errno of the first failure.
int WriteAll(int fd, QByteArrayView bytes) {
    const char* p = bytes.data();
    auto left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
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

void SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

// The file a write replaces: the target itself, or the file a link to it names (replacing the link would
// cut it). 0, or the errno that refuses the write: anything but a regular file, and a file without any write
// permission, which binds the super-user too. `exists` is false for a file still to be made.
int WriteTarget(QByteArray& path, struct stat& old, bool& exists) {
    exists = false;
    if (::lstat(path.constData(), &old) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISLNK(old.st_mode)) {
        char* real = ::realpath(path.constData(), nullptr);
        if (real == nullptr)
            return errno;
        path = real;
        std::free(real);
        if (::stat(path.constData(), &old) != 0)
            return errno;
    }
    if (!S_ISREG(old.st_mode))
        return S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
    if ((old.st_mode & 0222) == 0 || ::access(path.constData(), W_OK) != 0)
        return EACCES;
    exists = true;
    return 0;
}

// Writes every piece to fd and gives it the permissions (and, when allowed, the owner) of the file it will
// replace, or those of a new file; 0 once the bytes are on the disk, or the errno of the failure.
int WriteTemporary(int fd, std::initializer_list<QByteArrayView> pieces, const struct stat* old) {
    for (const QByteArrayView piece : pieces)
        if (const int error = WriteAll(fd, piece); error != 0)
            return error;
    if (old != nullptr) {
        ::fchmod(fd, old->st_mode & 07777);
        if (old->st_uid != ::geteuid() || old->st_gid != ::getegid())
            if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
                // Allowed to the super-user only; anyone else keeps the new file as their own.
            }
    } else {
        ::fchmod(fd, NewFileMode());
    }
    // Some file systems report a full disk only here, when the data is really written.
    return ::fsync(fd) != 0 ? errno : 0;
}

} // namespace

int IdentityOfFile(const QString& file, FileIdentity& identity) {
    struct stat st;
    if (::stat(FileNameToBytes(file).constData(), &st) != 0)
        return errno;
    identity = IdentityOf(st);
    return 0;
}

FileContent ReadRegularFile(const QString& file) {
    FileContent content;
    const QByteArray path = FileNameToBytes(file);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        content.error = errno;
        return content;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        content.error = errno;
        ::close(fd);
        return content;
    }
    if (!S_ISREG(st.st_mode)) {
        content.error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return content;
    }
    content.identity = IdentityOf(st);
    // Read to the end, not just the size seen: a file may grow meanwhile.
    QByteArray& bytes = content.bytes;
    bytes.resize(static_cast<qsizetype>(st.st_size) + 1);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + used, static_cast<std::size_t>(bytes.size() - used));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            content.error = errno;
            bytes.clear();
            break;
        }
        if (n == 0)
            break;
        used += n;
    }
    ::close(fd);
    if (content.error == 0)
        bytes.truncate(used);
    return content;
}

int ReplaceFileContent(const QString& file, std::initializer_list<QByteArrayView> pieces) {
    QByteArray path = FileNameToBytes(file);
    struct stat old;
    bool exists = false;
    if (const int refused = WriteTarget(path, old, exists); refused != 0)
        return refused;

    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : path.left(slash));
    // Short enough for any file system's name limit, whatever the target's name.
    const QByteArray name = path.mid(slash + 1).left(200);
    QByteArray temporary = folder + "/." + name + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;

    int error = WriteTemporary(fd, pieces, exists ? &old : nullptr);
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), path.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    SyncFolder(folder);
    return 0;
}

#else // _WIN32

int IdentityOfFile(const QString& file, FileIdentity& identity) {
    const QFileInfo info(file);
    if (!info.exists())
        return ENOENT;
    identity = FileIdentity{};
    identity.size = info.size();
    identity.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1'000'000;
    return 0;
}

FileContent ReadRegularFile(const QString& file) {
    FileContent content;
    const QFileInfo info(file);
    if (!info.exists()) {
        content.error = ENOENT;
        return content;
    }
    if (!info.isFile()) {
        content.error = info.isDir() ? EISDIR : EINVAL;
        return content;
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        content.error = EACCES;
        return content;
    }
    content.bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        content.error = EIO;
    IdentityOfFile(file, content.identity);
    return content;
}

int ReplaceFileContent(const QString& file, std::initializer_list<QByteArrayView> pieces) {
    const QFileInfo info(file);
    if (info.exists() && !info.isFile())
        return info.isDir() ? EISDIR : EINVAL;
    if (info.exists() && !info.isWritable())
        return EACCES;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return EACCES;
    for (const QByteArrayView piece : pieces) {
        if (out.write(piece.data(), piece.size()) != piece.size()) {
            out.cancelWriting();
            return ENOSPC;
        }
    }
    // commit() would rename even when buffered bytes never reached the file: they must be out first.
    if (!out.flush()) {
        out.cancelWriting();
        return ENOSPC;
    }
    if (!out.commit())
        return EIO;
    return 0;
}

#endif

} // namespace vesmarin
