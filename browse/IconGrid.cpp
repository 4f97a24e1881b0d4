#include "browse/IconGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <vector>

namespace vesmarin {

namespace {

// Cells in the button-face colour, the current cell in the highlight colour, the icon centred over either
// with its transparency, so no box of another colour shows around it. The colours are those of an active
// window even while the main window is disabled, so a filling grid does not turn grey.
class PictureDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QPalette& p = option.palette;
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        painter->fillRect(option.rect,
                          p.color(QPalette::Active, selected ? QPalette::Highlight : QPalette::Button));
        const QImage shown = qvariant_cast<QImage>(index.data(Qt::DecorationRole));
        if (!shown.isNull()) {
            // The picture holds the screen's pixels: its size on the window is that over its pixel ratio.
            const QSize size = shown.deviceIndependentSize().toSize();
            const QPoint at(option.rect.x() + (option.rect.width() - size.width()) / 2,
                            option.rect.y() + (option.rect.height() - size.height()) / 2);
            painter->drawImage(at, shown);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {IconGrid::kCellSize, IconGrid::kCellSize};
    }
};

} // namespace

IconGrid::IconGrid(QWidget* parent) : QTableWidget(1, kColumns, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setMinimumSectionSize(1);
        h->setDefaultSectionSize(kCellSize);
        h->setSectionResizeMode(QHeaderView::Fixed);
    }
    setShowGrid(false); // the lines would be drawn in the cells' own colour
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);                           // Tab leaves the grid for the next control
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the columns always fit the width
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setItemDelegate(new PictureDelegate(this));

    // The area beyond the cells in the button-face colour as well.
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, p.color(QPalette::Active, QPalette::Button));
    setPalette(p);
}

int IconGrid::requiredWidth() const {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return kColumns * kCellSize + scrollBar + 2 * frameWidth();
}

// The room for cells is taken beside a scroll bar whether one shows or not, so a scroll bar that comes or
// goes never changes the number of columns.
int IconGrid::fittingColumns() const {
    return std::max(kColumns, kColumns + (width() - requiredWidth()) / kCellSize);
}

void IconGrid::clearIcons() {
    clearContents();
    setRowCount(1);
    count_ = 0;
}

QTableWidgetItem* IconGrid::appendIcon(const QImage& picture, const QImage& shown) {
    const int row = count_ / columnCount();
    const int column = count_ % columnCount();
    if (row >= rowCount())
        setRowCount(row + 1);
    auto* icon = new QTableWidgetItem;
    icon->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    icon->setData(Qt::DecorationRole, shown);
    icon->setData(PictureRole, picture);
    setItem(row, column, icon);
    setCurrentCell(row, column);
    ++count_;
    return icon;
}

QImage IconGrid::picture(int row, int column) const {
    const QTableWidgetItem* icon = item(row, column);
    return icon ? qvariant_cast<QImage>(icon->data(PictureRole)) : QImage();
}

QModelIndex IconGrid::cell(int number) const {
    return model()->index((number - 1) / columnCount(), (number - 1) % columnCount());
}

int IconGrid::numberOf(const QModelIndex& index) const {
    return index.isValid() ? index.row() * columnCount() + index.column() + 1 : 0;
}

void IconGrid::setColumns(int columns) {
    const int old = columnCount();
    if (columns == old)
        return;
    const int current = numberOf(currentIndex());
    std::vector<QTableWidgetItem*> icons(static_cast<std::size_t>(count_));
    for (int n = 0; n < count_; ++n)
        icons[static_cast<std::size_t>(n)] = takeItem(n / old, n % old);
    setColumnCount(columns);
    setRowCount(std::max(1, (count_ + columns - 1) / columns));
    for (int n = 0; n < count_; ++n)
        setItem(n / columns, n % columns, icons[static_cast<std::size_t>(n)]);
    if (current > 0) {
        setCurrentIndex(cell(std::min(current, std::max(count_, 1))));
        scrollTo(currentIndex());
    }
}

void IconGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    setColumns(fittingColumns());
}

void IconGrid::mousePressEvent(QMouseEvent* event) {
    if (!indexAt(event->position().toPoint()).isValid()) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void IconGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableWidget::mouseReleaseEvent(event);
    emit mouseReleased(event->button(), event->globalPosition().toPoint());
}

void IconGrid::keyPressEvent(QKeyEvent* event) {
    // Before the view's own Copy, which would put the cell's (empty) text on the clipboard.
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        emit copyRequested();
        return;
    }
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool menu = (modifiers == Qt::NoModifier &&
                       (key == Qt::Key_Menu || key == Qt::Key_Return || key == Qt::Key_Enter)) ||
                      (modifiers == Qt::ShiftModifier && key == Qt::Key_F10);
    if (!menu) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    scrollTo(current);
    emit menuRequested(viewport()->mapToGlobal(visualRect(current).center()));
}

// Some platforms also send the menu key (and Shift+F10) as a request for a context menu: the key's press
// has opened the icon menu already. A request of the mouse belongs to the right button, which asks for help.
void IconGrid::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

// Only filled cells are reached: a move that would end beyond the last icon ends on it. Left and right go
// on into the previous or next row, in reading order.
QModelIndex IconGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (count_ == 0)
        return currentIndex();
    const int current = numberOf(currentIndex());
    int number = 0;
    switch (action) {
    case MoveLeft:
    case MovePrevious:
        number = current - 1;
        break;
    case MoveRight:
    case MoveNext:
        number = current == 0 ? 1 : current + 1;
        break;
    default:
        number = numberOf(QTableWidget::moveCursor(action, modifiers));
        break;
    }
    return cell(std::clamp(number, 1, count_));
}

} // namespace vesmarin
