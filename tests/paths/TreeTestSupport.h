#pragma once

// A folder tree over either the made-up Windows machine or the real file system.

#include "FakeFolderSource.h"
#include "paths/FolderTree.h"
#include "paths/FolderTreeWidget.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <memory>

namespace vesmarin::test {

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

    int CountNodes() const {
        int count = 0;
        for (QTreeWidgetItemIterator it(const_cast<FolderTreeWidget*>(&tvwControl)); *it; ++it)
            ++count;
        return count;
    }
};

// The made-up machine: drive A: not ready, C: with a few folders, D: with one.
inline void FillWindowsMachine(FakeFolderSource& fake) {
    for (const char* folder :
         {"C:\\Program Files\\Common Files", "C:\\Program Files\\Vesmarin", "C:\\WINDOWS\\SYSTEM",
          "C:\\WINDOWS\\Fonts", "C:\\Empty", "C:\\documents\\Έγγραφα", "D:\\zeta"})
        fake.add(QString::fromUtf8(folder));
    fake.unreadable.insert(QStringLiteral("A:\\"));
}

} // namespace vesmarin::test
