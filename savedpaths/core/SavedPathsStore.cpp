#include "savedpaths/core/SavedPathsStore.h"

#include "base/FileIO.h"
#include "base/PathText.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

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
    case EFBIG: // the file may grow no further: the user's disk quota or file size limit
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

// Calls f(line) for every line of the bytes: CR LF, LF alone and CR alone each end a line; a last line
// without an end still counts. A UTF-8 byte-order mark (some editors write one) is not part of the first
// line.
template <class F> void ForEachLine(QByteArrayView bytes, F&& f) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    const char* d = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = d[i];
        if (c != '\r' && c != '\n')
            continue;
        f(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < n && d[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        f(bytes.sliced(start));
}

struct RawContent {
    StoreStatus status;
    bool exists = false;
    QByteArray bytes;
};

RawContent ReadRaw(const QString& file) {
    RawContent content;
    FileContent read = ReadRegularFile(file);
    if (read.error == ENOENT && !QFileInfo(file).isSymLink())
        return content; // no file: not an error (a link that leads nowhere is one)
    content.exists = true;
    // A folder, a FIFO or a device is no list of paths.
    if (read.error == EISDIR || read.error == EINVAL)
        content.status = Failure(kPathFileAccessError, QStringLiteral("Path/File access error"), file);
    else if (read.error != 0)
        content.status = FailureFromErrno(read.error, file);
    else
        content.bytes = std::move(read.bytes);
    return content;
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
    ForEachLine(raw.bytes, [&](QByteArrayView line) { content.lines.append(FileNameFromBytes(line)); });
    return content;
}

QStringList RecallableSavedPaths(const QStringList& lines) {
    QStringList shown;
    for (const QString& line : lines)
        if (!std::all_of(line.begin(), line.end(), [](QChar c) { return c.isSpace(); }))
            shown.append(line);
    return shown;
}

bool ContainsSavedPath(const QStringList& lines, const QString& path, bool caseSensitive) {
    const QString wanted = ApplyCaseRule(AppendSeparator(path), caseSensitive);
    for (const QString& line : lines) {
        // An empty line names no folder; with a separator added it would pass for the root "/".
        if (line.isEmpty())
            continue;
        // Upper-casing keeps the length of a line without letters beyond ASCII: most lines of a long list are
        // told apart by their length alone, without making their key form.
        const qsizetype keyLength = line.size() + (line.endsWith(kPathSeparator) ? 0 : 1);
        if (keyLength != wanted.size() &&
            std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x80; }))
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

StoreStatus SavePathAsNewest(const QString& file, const QString& path) {
    // A folder name may hold a line break on POSIX; written as it is, it would turn into two entries
    // that name no folder at all.
    if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
        return Failure(kInvalidArgument, QStringLiteral("A path holding a line break cannot be saved"), path);

    const RawContent old = ReadRaw(file);
    if (!old.status)
        return old.status;

    QByteArray content = FileNameToBytes(path) + "\r\n";
    content.reserve(content.size() + old.bytes.size() + old.bytes.size() / 16);
    ForEachLine(old.bytes, [&](QByteArrayView line) {
        content += line;
        content += "\r\n";
    });
    // Written whole beside the file and then put in its place: a failed save leaves the file as it was. A
    // link keeps working, and a file made read-only is not changed.
    if (const int error = ReplaceFileContent(file, {content}); error != 0)
        return FailureFromErrno(error, file);
    return {};
}

bool IsInitialPath(const QString& initialPath, const QString& currentPath, bool caseSensitive) {
    return ApplyCaseRule(initialPath, caseSensitive) == ApplyCaseRule(currentPath, caseSensitive);
}

} // namespace vesmarin
