#pragma once

// The folder tree: the drives at the top, their folders below, read one level ahead of what the user has
// opened. The selected node is the current path; nothing else stores it. Every node carries its key (its
// full path in key form), and an index from key to node makes each lookup exact.

#include "paths/core/FolderSource.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QString>
#include <optional>

class QTreeWidget;
class QTreeWidgetItem;

namespace vesmarin {

class FolderTree : public QObject {
    Q_OBJECT

public:
    // The widget (a FolderTreeWidget in the windows) and the source must outlive the tree.
    FolderTree(QTreeWidget& widget, const FolderSource& source);

    // The case rule of the keys (upper-cased unless caseSensitive). It is taken each time the tree is built
    // from the drives, so all keys of one tree follow the same rule.
    void setCaseSensitive(bool caseSensitive) { caseRuleForNextBuild_ = caseSensitive; }

    QTreeWidget& widget() const { return tree_; }
    QChar separator() const { return sep_; }

    // Display path of the selected node; the system drive's display form ("c:", "/") when the tree has
    // nodes but none is selected; empty when the tree has no nodes.
    QString currentPath() const;

    // Whether a display path is a drive root (C: on Windows, "/" on POSIX): there is no level above it.
    bool isDriveRoot(const QString& displayPath) const;

    void setBackground(const QColor& colour);

    // Adds the subfolders of the node with this key, once: a node whose folder was read before is left
    // as it is. A folder that cannot be read gets no children.
    void loadSubfolders(const QString& parentKey);

    // One level of look-ahead: makes the node visible and reads the subfolders of each of its children,
    // so each child shows an expand button exactly when it has subfolders.
    void expandNode(QTreeWidgetItem* node);

    // Adds the drives in drive order, each with its first-level folders, and selects the system drive.
    void loadDrives();

    // Makes the node current, selected and visible (nothing without a node).
    void activateNode(QTreeWidgetItem* node);

    // Rebuilds the tree from the drives and selects `path` (the current path when none is given). True
    // when the whole path was selected.
    bool rebuild(const std::optional<QString>& path = std::nullopt);

    // Selects the path node by node, opening each one; builds the tree first when it is empty. True when
    // every segment was found; otherwise the deepest part found is selected and activated.
    bool selectPath(const QString& path);

    // Removes every node.
    void clear();

    // The node with exactly this key, or nullptr.
    QTreeWidgetItem* findNode(const QString& key) const;
    // The key stored on a node.
    static QString nodeKey(const QTreeWidgetItem* node);
    // The full path of a node in display form (drive text alone for a drive).
    QString fullPath(const QTreeWidgetItem* node) const;

    // True while the tree itself changes its widget (selecting, expanding): such changes are not the user's.
    bool isBusy() const { return busy_ > 0; }

signals:
    // The user opened or chose a folder in the widget; `path` is the current path now.
    void currentPathChanged(const QString& path);

private:
    QString caseRule(const QString& text) const;
    QString driveText(const QString& root) const;
    void ensureVisible(QTreeWidgetItem* node);
    void select(QTreeWidgetItem* node);
    bool walkPath(const QString& path);
    void checkIndex() const;

    struct BusyScope {
        explicit BusyScope(int& n) : n_(n) { ++n_; }
        ~BusyScope() { --n_; }
        int& n_;
    };

    QTreeWidget& tree_;
    const FolderSource& source_;
    QChar sep_;
    bool caseRuleForNextBuild_ = false;
    bool caseSensitive_ = false;
    mutable QHash<QString, QTreeWidgetItem*> index_;
    int busy_ = 0;
};

} // namespace vesmarin
