#include "paths/FolderTreeWidget.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOption>

namespace vesmarin {

namespace {

// Dotted tree lines and boxed plus/minus buttons whatever the desktop style draws (Fusion draws
// neither lines nor boxes), so the folder structure reads at a glance.
class BranchLineStyle final : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_IndicatorBranch) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRect r = option->rect;
        const int cx = r.left() + r.width() / 2;
        const int cy = r.top() + r.height() / 2;
        const bool button = option->state & State_Children;
        const int half = 4; // the button is 9 by 9 pixels
        const int gapTop = button ? cy - half : cy;
        const int gapBottom = button ? cy + half : cy;
        const int gapRight = button ? cx + half : cx;
        const QBrush dots(option->palette.color(QPalette::Dark), Qt::Dense4Pattern);

        // Line up to this row's item (from the parent or the sibling above).
        if (option->state & (State_Item | State_Sibling | State_Children | State_Open))
            painter->fillRect(cx, r.top(), 1, gapTop - r.top(), dots);
        // Line across to the item.
        if (option->state & State_Item)
            painter->fillRect(gapRight + 1, cy, r.right() - gapRight, 1, dots);
        // Line on down to the next sibling.
        if (option->state & State_Sibling)
            painter->fillRect(cx, gapBottom + 1, 1, r.bottom() - gapBottom, dots);

        if (button) {
            painter->save();
            const QRect box(cx - half, cy - half, 2 * half + 1, 2 * half + 1);
            painter->fillRect(box, option->palette.color(QPalette::Base));
            painter->setPen(option->palette.color(QPalette::Dark));
            painter->drawRect(box.adjusted(0, 0, -1, -1));
            painter->setPen(option->palette.color(QPalette::Text));
            painter->drawLine(cx - 2, cy, cx + 2, cy);
            if (!(option->state & State_Open))
                painter->drawLine(cx, cy - 2, cx, cy + 2);
            painter->restore();
        }
    }
};

} // namespace

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

    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setUniformRowHeights(true); // folders with thousands of subfolders stay quick
    setSortingEnabled(false);   // children are added in order
    auto* style = new BranchLineStyle;
    style->setParent(this);
    setStyle(style);
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
