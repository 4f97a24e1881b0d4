#include "browse/IconGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace vesmarin {

namespace {

// Cells in the button-face colour, the current cell in the highlight colour, the picture centred. The
// colours are those of an active window even while the main window is disabled, so a filling grid does not
// turn grey.
class PictureDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QPalette& p = option.palette;
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        painter->fillRect(option.rect,
                          p.color(QPalette::Active, selected ? QPalette::Highlight : QPalette::Button));
        const QImage picture = qvariant_cast<QImage>(index.data(Qt::DecorationRole));
        if (!picture.isNull()) {
            const QPoint at(option.rect.x() + (option.rect.width() - picture.width()) / 2,
                            option.rect.y() + (option.rect.height() - picture.height()) / 2);
            painter->drawImage(at, picture);
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
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the width always holds the 13 columns
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

void IconGrid::clearIcons() {
    clearContents();
    setRowCount(1);
}

void IconGrid::appendRow() {
    setRowCount(rowCount() + 1);
}

void IconGrid::placePicture(int row, int column, const QImage& picture) {
    auto* cell = new QTableWidgetItem;
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    cell->setData(Qt::DecorationRole, picture);
    setItem(row, column, cell);
    setCurrentCell(row, column);
}

QImage IconGrid::picture(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? qvariant_cast<QImage>(cell->data(Qt::DecorationRole)) : QImage();
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

} // namespace vesmarin
