#pragma once

// A folder tree over either a made-up Windows machine or the real file system.

#include "base/PathText.h"
#include "paths/FolderTree.h"
#include "paths/FolderTreeWidget.h"
#include "paths/core/FolderSource.h"

#include <QSet>
#include <QTreeWidget>
#include <memory>

namespace vesmarin::test {

// Drives with "\": A: not ready, C: with a few folders, D: with one. It notes the folders it reads, so tests
// can see the one-level look-ahead.
class FakeFolderSource final : public FolderSource {
public:
    QStringList driveRoots{QStringLiteral("A:\\"), QStringLiteral("C:\\"), QStringLiteral("D:\\")};
    mutable QStringList reads;

    FakeFolderSource() {
        for (const char* folder :
             {"C:\\Program Files\\Common Files", "C:\\Program Files\\Vesmarin", "C:\\WINDOWS\\SYSTEM",
              "C:\\WINDOWS\\Fonts", "C:\\Empty", "C:\\documents\\Έγγραφα", "D:\\zeta"})
            add(QString::fromUtf8(folder));
    }
    // Adds a folder and every folder above it, e.g. "C:\WINDOWS\SYSTEM".
    void add(const QString& path) {
        for (QString p = RemoveSeparator(path, u'\\'); p.contains(u'\\'); p = p.left(p.lastIndexOf(u'\\')))
            folders_.insert(p);
    }

    QChar separator() const override { return u'\\'; }
    QStringList drives() const override { return driveRoots; }
    QString systemDrive() const override { return QStringLiteral("c:\\"); }
    std::optional<QStringList> subfolders(const QString& folder) const override {
        reads << folder;
        if (folder == QStringLiteral("A:\\") ||
            !(driveRoots.contains(folder) || folders_.contains(RemoveSeparator(folder, u'\\'))))
            return std::nullopt;
        QStringList names;
        for (const QString& f : folders_)
            if (f.startsWith(folder) && f.indexOf(u'\\', folder.size()) < 0)
                names << f.mid(folder.size());
        return names;
    }

private:
    QSet<QString> folders_;
};

struct TreeRig {
    FakeFolderSource fake;
    SystemFolderSource real;
    FolderTreeWidget tvwControl;
    std::unique_ptr<FolderTree> manager;

    FolderTree& Make(bool caseSensitive, bool useRealDisk = false) {
        tvwControl.clear();
        manager =
            std::make_unique<FolderTree>(tvwControl, useRealDisk ? static_cast<const FolderSource&>(real)
                                                                 : static_cast<const FolderSource&>(fake));
        manager->setCaseSensitive(caseSensitive);
        return *manager;
    }

    // The texts of the children of `node`, or of the top level when node is null.
    QStringList Texts(const QTreeWidgetItem* node = nullptr) const {
        QStringList texts;
        const int n = node ? node->childCount() : tvwControl.topLevelItemCount();
        for (int i = 0; i < n; ++i)
            texts << (node ? node->child(i) : tvwControl.topLevelItem(i))->text(0);
        return texts;
    }
    QTreeWidgetItem* Node(const QString& key) const { return manager->findNode(key); }
};

} // namespace vesmarin::test
