#pragma once

// A made-up machine for the tree tests: Windows-style drives with "\" and a set of folders, some of
// which can be made unreadable. It counts the folder reads so tests can see the one-level look-ahead.

#include "base/PathText.h"
#include "paths/core/FolderSource.h"

#include <QSet>

namespace vesmarin::test {

class FakeFolderSource final : public FolderSource {
public:
    QChar sep = u'\\';
    QStringList driveRoots{QStringLiteral("A:\\"), QStringLiteral("C:\\"), QStringLiteral("D:\\")};
    QString system = QStringLiteral("c:\\");
    QSet<QString> unreadable; // folders (with trailing separator) whose reading fails
    mutable QStringList reads;

    // Adds a folder and every folder above it, e.g. "C:\WINDOWS\SYSTEM".
    void add(const QString& path) {
        QString p = RemoveSeparator(path, sep);
        while (p.count(sep) >= 1) {
            folders_.insert(p);
            p = p.left(p.lastIndexOf(sep));
        }
    }

    QChar separator() const override { return sep; }
    QStringList drives() const override { return driveRoots; }
    QString systemDrive() const override { return system; }

    std::optional<QStringList> subfolders(const QString& folder) const override {
        reads << folder;
        if (!readable(folder))
            return std::nullopt;
        QStringList names;
        for (const QString& f : folders_) {
            if (f.startsWith(folder) && f.indexOf(sep, folder.size()) < 0)
                names << f.mid(folder.size());
        }
        return names;
    }

    bool readable(const QString& folder) const {
        if (unreadable.contains(folder))
            return false;
        return driveRoots.contains(folder) || folders_.contains(RemoveSeparator(folder, sep));
    }

private:
    QSet<QString> folders_;
};

} // namespace vesmarin::test
