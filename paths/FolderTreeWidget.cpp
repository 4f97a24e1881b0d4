#include "paths/FolderTreeWidget.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>

namespace vesmarin {

FolderTreeWidget::FolderTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    // The column is as wide as the widest name on screen (at its depth), not as the window: a wider
    // column brings the horizontal scroll bar, pixel by pixel. Only the rows on screen are measured, so a
    // folder of many thousands of subfolders opens as fast as a small one; scrolling measures again.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setResizeContentsPrecision(0);
    setHorizontalScrollMode(ScrollPerPixel);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { header()->resizeSections(QHeaderView::ResizeToContents); });

    // Whatever empties the selection (Ctrl+click or Ctrl+Space on the selected folder), the current folder
    // stays selected: with no selection there would be no current path.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndex current = currentIndex();
        if (current.isValid() && !selectionModel()->hasSelection())
            selectionModel()->select(current, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    });
}

void FolderTreeWidget::scrollTo(const QModelIndex& index, ScrollHint hint) {
    // The row; sideways the toolkit shows the start of the column, far from a deep folder's name.
    QTreeWidget::scrollTo(index, hint);
    const QRect cell = visualRect(index); // from the end of the node's indentation to the column's end
    if (!index.isValid() || cell.isEmpty())
        return;
    QScrollBar* bar = horizontalScrollBar();
    const int offset = bar->value();
    const int start = cell.left() + offset - indentation(); // the expand button
    const int end = cell.left() + offset + sizeHintForIndex(index).width();
    const int width = viewport()->width();
    int value = offset;
    if (start < offset || end - start > width)
        value = start;
    else if (end > offset + width)
        value = end - width;
    bar->setValue(value);
}

void FolderTreeWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void FolderTreeWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void FolderTreeWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

} // namespace vesmarin
