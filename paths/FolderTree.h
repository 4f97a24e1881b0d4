#pragma once

// The folder tree: the drives at the top, their folders below, read one level ahead of what the user has
// opened. The selected node is the current path; nothing else stores it. Every node carries its key (its
// full path in key form), and an index from key to node makes each lookup exact.

#include "base/PathText.h"
#include "paths/HiddenControls.h"
#include "paths/core/FolderSource.h"
#include "ui/basGlobal.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>

class QTreeWidget;
class QTreeWidgetItem;

namespace vesmarin {

class basTreeViewManager {
public:
    // The tree, the two hidden controls and the source must outlive the manager. The case rule is taken
    // from `state` each time the tree is built, so all keys of one tree follow the same rule.
    basTreeViewManager(QTreeWidget& tvwControl, HiddenFileList& filFile, HiddenList& lstControl,
                       const FolderSource& source, const SharedState& state);

    QTreeWidget& tree() const { return tree_; }
    QChar separator() const { return sep_; }

    // Display path of the selected node; the system drive's display form ("c:", "/") when the tree has
    // nodes but none is selected; empty when the tree has no nodes.
    QString GetCurrentPath() const;

    // Whether a display path is a drive root (C: on Windows, "/" on POSIX): there is no level above it.
    bool IsDriveRoot(const QString& displayPath) const;

    // Background colour (red in the low byte) and visible tree lines.
    void SetTreeBackColor(std::uint32_t colour);

    // Adds the subfolders of the node with this key, once: a node whose folder was read before is left
    // as it is. A folder that cannot be read gets no children.
    void LoadSubfolders(const QString& parentKey);

    // One level of look-ahead: makes the node visible and reads the subfolders of each of its children,
    // so each child shows an expand button exactly when it has subfolders.
    void ExpandNode(QTreeWidgetItem* node);

    // Adds the drives in drive order, each with its first-level folders, and selects the system drive.
    void LoadDrives();

    // Makes the node visible and points the hidden file list at its folder. With no node, or a folder
    // that cannot be read, the file list is hidden and the placeholder takes its place; nothing is shown.
    void ActivateNode(QTreeWidgetItem* node);

    // Rebuilds the tree from the drives and selects `path` (the current path when none is given). True
    // when the whole path was selected.
    bool InitializeTree(const std::optional<QString>& path = std::nullopt);

    // Selects the path node by node, opening each one; builds the tree first when it is empty. True when
    // every segment was found; otherwise the deepest part found is selected and activated.
    bool SelectPath(const QString& path);

    // Removes every node.
    void ClearTree();

    // The node with exactly this key, or nullptr.
    QTreeWidgetItem* FindNode(const QString& key) const;
    // The key stored on a node.
    static QString NodeKey(const QTreeWidgetItem* node);
    // The full path of a node in display form (drive text alone for a drive).
    QString FullPath(const QTreeWidgetItem* node) const;

    // True while the manager itself changes the tree (selecting, expanding): the window's tree events
    // leave such changes alone.
    bool IsBusy() const { return busy_ > 0; }

private:
    QString CaseRule(const QString& text) const { return ApplyCaseRule(text, caseSensitive_); }
    QString DriveText(const QString& root) const;
    void EnsureVisible(QTreeWidgetItem* node);
    void Select(QTreeWidgetItem* node);
    bool WalkPath(const QString& path);
    void IndexCheck() const;

    struct BusyScope {
        explicit BusyScope(int& n) : n_(n) { ++n_; }
        ~BusyScope() { --n_; }
        int& n_;
    };

    QTreeWidget& tree_;
    HiddenFileList& filFile_;
    HiddenList& lstControl_;
    const FolderSource& source_;
    const SharedState& state_;
    QChar sep_;
    bool caseSensitive_;
    mutable QHash<QString, QTreeWidgetItem*> index_;
    int busy_ = 0;
};

} // namespace vesmarin
