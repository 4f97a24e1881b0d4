#include "base/FileIO.h"

#include "base/PathText.h"
#include "platform/filewrite/AtomicFile.h"

#include <cerrno>

#ifdef _WIN32
#include <QFile>
#include <QFileInfo>
#else
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

#endif

int ReplaceFileContent(const QString& file, std::initializer_list<QByteArrayView> pieces) {
#ifdef _WIN32
    const std::filesystem::path path(file.toStdWString());
#else
    // The name goes to the file system as the bytes it stands for.
    const std::filesystem::path path(FileNameToBytes(file).toStdString());
#endif
    filewrite::AtomicFile out(path);
    for (const QByteArrayView piece : pieces)
        out.write(std::string_view(piece.data(), static_cast<std::size_t>(piece.size())));
    out.commit();
    return out.errorNumber();
}

} // namespace vesmarin
