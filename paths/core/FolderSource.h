#pragma once

// What the folder tree needs from the file system: the drives, the separator and the subfolders of a
// folder. The tree reads the disk only through this interface, so a test can present any machine
// (Windows drives A:, C:, D: as well as the POSIX root) without touching the real one.

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace vesmarin {

class FolderSource {
public:
    virtual ~FolderSource() = default;

    // The path separator of this file system ("/" on POSIX, "\" on Windows).
    virtual QChar separator() const = 0;

    // The drive roots in the order the system lists them, each ending with the separator: "A:\", "C:\"
    // on Windows; exactly "/" on POSIX.
    virtual QStringList drives() const = 0;

    // The root that stands for "the system drive": selected first after loading the drives, and shown
    // when nothing is selected. "c:\" on Windows (in that case, as the program always wrote it), "/" on
    // POSIX.
    virtual QString systemDrive() const = 0;

    // The names of the folders directly inside `folder` (a full path ending with the separator), in the
    // case the file system reports them: hidden folders and links to folders included; files, "." and
    // ".." never. std::nullopt when the folder cannot be read (gone, not ready, access denied).
    virtual std::optional<QStringList> subfolders(const QString& folder) const = 0;
};

// The machine's own file system.
class SystemFolderSource final : public FolderSource {
public:
    QChar separator() const override;
    QStringList drives() const override;
    QString systemDrive() const override;
    std::optional<QStringList> subfolders(const QString& folder) const override;
};

} // namespace vesmarin
