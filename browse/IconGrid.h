#pragma once

// The icon grid of the main window: rows of square cells, each holding the picture of one icon, in reading
// order. A cell is known only by its number in the current set (row x columns + column + 1). The grid shows
// 13 columns at its designed width and as many whole columns as fit when the window makes it wider; the
// icons keep their numbers, only the rows they fall in change.
//
// The keyboard moves between the filled cells (the arrows, Home/End, Page Up/Down; left and right go on
// into the next or previous row), and asks for the icon menu (the menu key, Shift+F10, Return) or a copy
// (Ctrl+C) of the current cell's icon.

#include <QImage>
#include <QTableWidget>
#include <cstdint>

namespace vesmarin {

class IconGrid : public QTableWidget {
    Q_OBJECT

public:
    static constexpr int kColumns = 13; // at the designed width, and the fewest it shows
    // The drawing surface is the size of a large icon, and a cell shows it whole with a small margin.
    static constexpr int kSurfaceSize = 32;
    static constexpr int kCellSize = 36;
    // Where a cell keeps the picture Save and Copy take.
    static constexpr int PictureRole = Qt::UserRole + 32;

    explicit IconGrid(QWidget* parent = nullptr);

    // The width that shows the 13 columns whole beside the vertical scroll bar, with the frame.
    int requiredWidth() const;

    // Empties every cell and leaves row 0 alone.
    void clearIcons();
    // Puts an icon into the cell after the last filled one (in a new row when the row is full) and makes it
    // the current cell. `picture` is the drawing Save and Copy take; `shown` is what the cell shows: the icon
    // with its transparency over the cell's own colour, in the screen's pixels (its device pixel ratio set).
    QTableWidgetItem* appendIcon(const QImage& picture, const QImage& shown);
    int iconCount() const { return count_; }
    // The picture of a cell; a null image for an empty cell.
    QImage picture(int row, int column) const;
    // The number of a cell in reading order, from 1: its icon's position in the set.
    std::int64_t cellNumber(int row, int column) const {
        return std::int64_t{row} * columnCount() + column + 1;
    }

signals:
    // A mouse button was released over the grid (after the press made the clicked cell current).
    void mouseReleased(Qt::MouseButton button, const QPoint& globalPos);
    // The menu key, Shift+F10 or Return asked for the icon menu of the current cell, to open at that cell.
    void menuRequested(const QPoint& globalPos);
    // The platform's Copy key (Ctrl+C) asked for the current cell's icon on the clipboard.
    void copyRequested();

protected:
    // A press beside the cells leaves the current cell as it was, highlighted.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    int fittingColumns() const;
    // Lays the icons out in `columns` columns, in the same reading order, the same icon current.
    void setColumns(int columns);
    QModelIndex cell(int number) const; // number from 1
    int numberOf(const QModelIndex& index) const;

    int count_ = 0;
};

} // namespace vesmarin
