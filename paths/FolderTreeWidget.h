#pragma once

// The folder tree's own widget: one column that scrolls sideways, so that every folder name can be read
// whole and reached however deep it lies, a selection that is always exactly one folder, since the
// selection is the current path, and dotted lines with boxed expand buttons whatever the desktop style.

#include <QTreeWidget>

namespace vesmarin {

class FolderTreeWidget : public QTreeWidget {
    Q_OBJECT

public:
    explicit FolderTreeWidget(QWidget* parent = nullptr);

    // Brings the node's row into view and, sideways, its expand button and its whole name; a name wider
    // than the window shows from its start.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    // A button other than the left asks for the tree's help, which the window's help shows: the press,
    // the release and the double click leave the tree as it is (no folder is selected, opened or closed).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace vesmarin
