#pragma once

// The icon grid of the main window: 13 columns of square cells, each holding the picture of one icon, in
// reading order. A cell is known only by its number in the current set (row x 13 + column + 1).

#include <QImage>
#include <QTableWidget>
#include <cstdint>

namespace vesmarin {

class IconGrid : public QTableWidget {
    Q_OBJECT

public:
    static constexpr int kColumns = 13;
    // The drawing surface is the size of a large icon, and a cell shows it whole with a small margin.
    static constexpr int kSurfaceSize = 32;
    static constexpr int kCellSize = 36;

    explicit IconGrid(QWidget* parent = nullptr);

    // The width that shows the 13 columns whole beside the vertical scroll bar, with the frame.
    int requiredWidth() const;

    // Empties every cell and leaves row 0 alone.
    void clearIcons();
    // Appends an empty row at the end.
    void appendRow();
    // Puts a picture into the cell and makes it the current cell.
    void placePicture(int row, int column, const QImage& picture);
    // The picture of a cell; a null image for an empty cell.
    QImage picture(int row, int column) const;
    // The number of a cell in reading order, from 1: its icon's position in the set.
    std::int64_t cellNumber(int row, int column) const {
        return std::int64_t{row} * columnCount() + column + 1;
    }

signals:
    // A mouse button was released over the grid (after the press made the clicked cell current).
    void mouseReleased(Qt::MouseButton button, const QPoint& globalPos);

protected:
    // A press beside the cells leaves the current cell as it was, highlighted.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace vesmarin
