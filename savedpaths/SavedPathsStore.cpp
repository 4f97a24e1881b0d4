#include "savedpaths/SavedPathsStore.h"

#include "paths/PathText.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vesmarin {

namespace {

// Run-time error numbers as the error report shows them.
constexpr int kFileNotFound = 53;
constexpr int kDeviceIoError = 57;
constexpr int kDiskFull = 61;
constexpr int kPermissionDenied = 70;
constexpr int kPathFileAccessError = 75;
constexpr int kInvalidArgument = 5;

StoreStatus Failure(int number, const QString& what, const QString& file) {
    return {false, number, QStringLiteral("%1: %2").arg(what, file)};
}

// Turns the errno of a failed file operation into the run-time error it stands for.
StoreStatus FailureFromErrno(int error, const QString& file) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return Failure(kFileNotFound, QStringLiteral("File not found"), file);
    case EACCES:
    case EPERM:
    case EROFS:
        return Failure(kPermissionDenied, QStringLiteral("Permission denied"), file);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Failure(kDiskFull, QStringLiteral("Disk full"), file);
    case EIO:
        return Failure(kDeviceIoError, QStringLiteral("Device I/O error"), file);
    default:
        return Failure(kPathFileAccessError, QStringLiteral("Path/File access error"), file);
    }
}

std::filesystem::path FsPath(const QString& file) {
#ifdef _WIN32
    return std::filesystem::path(file.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(file).toStdString());
#endif
}

struct RawContent {
    StoreStatus status;
    bool exists = false;
    QList<QByteArray> lines; // without their line ends
};

// Splits the bytes into lines: CR LF, LF alone and CR alone each end a line; a last line without an end
// still counts. A UTF-8 byte-order mark (some editors write one) is not part of the first line.
QList<QByteArray> SplitLines(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(bytes.mid(start));
    return lines;
}

RawContent ReadRaw(const QString& file) {
    RawContent content;
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink())
        return content;
    content.exists = true;
    // A folder, a FIFO or a device is no list of paths; reading a FIFO would wait for a writer forever.
    if (info.isDir() || (info.exists() && !info.isFile())) {
        content.status = Failure(kPathFileAccessError, QStringLiteral("Path/File access error"), file);
        return content;
    }
    QFile f(file);
    errno = 0;
    if (!f.open(QIODevice::ReadOnly)) {
        content.status = FailureFromErrno(errno, file);
        return content;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        content.status = Failure(kDeviceIoError, QStringLiteral("Device I/O error"), file);
        return content;
    }
    content.lines = SplitLines(bytes);
    return content;
}

// Makes the written bytes durable before the file that holds them takes the old one's place.
bool FlushToDisk(QFile& f) {
    if (!f.flush())
        return false;
#ifndef _WIN32
    return ::fsync(f.handle()) == 0;
#else
    return true;
#endif
}

void SyncFolderOf(const QString& file) {
#ifndef _WIN32
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(file);
#endif
}

} // namespace

StoreStatus EnsureSavedPathsFile(const QString& file) {
    const QFileInfo info(file);
    if (info.exists() || info.isSymLink())
        return {};
    QFile f(file);
    errno = 0;
    // NewOnly: should the file appear meanwhile, it is still never truncated.
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const int error = errno;
        if (QFileInfo::exists(file))
            return {};
        return FailureFromErrno(error, file);
    }
    f.close();
    return {};
}

SavedPathsContent LoadSavedPaths(const QString& file) {
    const RawContent raw = ReadRaw(file);
    SavedPathsContent content;
    content.status = raw.status;
    content.exists = raw.exists;
    if (!raw.status)
        return content;
    content.lines.reserve(raw.lines.size());
    for (const QByteArray& line : raw.lines)
        content.lines.append(FileNameFromBytes(line));
    return content;
}

QStringList RecallableSavedPaths(const QStringList& lines) {
    QStringList shown;
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty())
            shown.append(line);
    return shown;
}

QString SavedPathsBackupFile(const QString& file) {
    if (file.size() < 3)
        return file + QStringLiteral(".bak");
    return file.left(file.size() - 3) + QStringLiteral("bak");
}

bool ContainsSavedPath(const QStringList& lines, const QString& path, bool caseSensitive) {
    const QString wanted = ApplyCaseRule(AppendSeparator(path), caseSensitive);
    for (const QString& line : lines) {
        // An empty line names no folder; with a separator added it would pass for the root "/".
        if (line.isEmpty())
            continue;
        if (ApplyCaseRule(AppendSeparator(line), caseSensitive) == wanted)
            return true;
    }
    return false;
}

SavedPathCheck IsPathSaved(const QString& file, const QString& path, bool caseSensitive) {
    const SavedPathsContent content = LoadSavedPaths(file);
    if (!content.status)
        return {content.status, false};
    return {{}, ContainsSavedPath(content.lines, path, caseSensitive)};
}

StoreStatus SavePathAsNewest(const QString& file, const QString& path,
                             const std::function<void(const QString&)>& afterBackupWritten) {
    // A folder name may hold a line break on POSIX; written as it is, it would turn into two entries
    // that name no folder at all.
    if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
        return Failure(kInvalidArgument, QStringLiteral("A path holding a line break cannot be saved"), path);

    // A file kept elsewhere through a symbolic link is replaced where it really lives, so the link stays.
    const QFileInfo info(file);
    const QString target =
        info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : file;

    const RawContent old = ReadRaw(target);
    if (!old.status)
        return old.status;

    QByteArray content = FileNameToBytes(path) + "\r\n";
    for (const QByteArray& line : old.lines)
        content += line + "\r\n";

    const QString backup = SavedPathsBackupFile(target);
    // A backup left by an earlier failure is ours to replace; a fresh file (never one reached through a
    // link that happens to stand there) receives the new content.
    QFile::remove(backup);
    QFile out(backup);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return FailureFromErrno(errno, backup);
    errno = 0;
    const bool written = out.write(content) == content.size() && FlushToDisk(out);
    const int writeError = errno;
    out.close();
    if (!written || out.error() != QFileDevice::NoError) {
        QFile::remove(backup);
        return FailureFromErrno(writeError != 0 ? writeError : EIO, backup);
    }
    if (old.exists)
        QFile::setPermissions(backup, QFile::permissions(target));

    if (afterBackupWritten)
        afterBackupWritten(backup);

    // The backup takes the file's place in one step: the file is either the old one or the new one.
    std::error_code error;
    std::filesystem::rename(FsPath(backup), FsPath(target), error);
    if (error) {
        QFile::remove(backup);
        return FailureFromErrno(error.value(), target);
    }
    SyncFolderOf(target);
    return {};
}

bool IsInitialPath(const QString& initialPath, const QString& currentPath, bool caseSensitive) {
    return ApplyCaseRule(initialPath, caseSensitive) == ApplyCaseRule(currentPath, caseSensitive);
}

QString ExtendedCaption(const QString& caption, const QString& value) {
    return caption + QStringLiteral("  [ ") + value + QStringLiteral(" ]");
}

} // namespace vesmarin
