#include "paths/core/FolderSource.h"

#include "base/PathText.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace vesmarin {

QChar SystemFolderSource::separator() const {
    return kPathSeparator;
}

#ifdef Q_OS_WIN

QStringList SystemFolderSource::drives() const {
    QStringList roots;
    for (const QFileInfo& drive : QDir::drives())
        roots << QDir::toNativeSeparators(drive.absoluteFilePath());
    return roots;
}

QString SystemFolderSource::systemDrive() const {
    return QStringLiteral("c:\\");
}

std::optional<QStringList> SystemFolderSource::subfolders(const QString& folder) const {
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return std::nullopt;
    return dir.entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
}

#else

namespace {

// Closes the directory stream on every way out.
class DirStream {
public:
    explicit DirStream(const QString& folder) : dir_(opendir(FileNameToBytes(folder).constData())) {}
    ~DirStream() {
        if (dir_)
            closedir(dir_);
    }
    DirStream(const DirStream&) = delete;
    DirStream& operator=(const DirStream&) = delete;
    DIR* get() const { return dir_; }

private:
    DIR* dir_;
};

} // namespace

QStringList SystemFolderSource::drives() const {
    return {QStringLiteral("/")};
}

QString SystemFolderSource::systemDrive() const {
    return QStringLiteral("/");
}

std::optional<QStringList> SystemFolderSource::subfolders(const QString& folder) const {
    DirStream dir(folder);
    if (!dir.get())
        return std::nullopt;
    const int fd = dirfd(dir.get());
    QStringList names;
    while (const dirent* entry = readdir(dir.get())) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // A link counts as what it points at; a broken link is no folder.
            struct stat target {};
            isFolder = fstatat(fd, name, &target, 0) == 0 && S_ISDIR(target.st_mode);
        }
        if (isFolder)
            names << FileNameFromBytes(name);
    }
    return names;
}

#endif

} // namespace vesmarin
