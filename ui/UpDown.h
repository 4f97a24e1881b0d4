#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vesmarin {

// An up-down control attached to a text box: its two arrows step the number in the text box by one
// within [minimum, maximum] by setting the box's text, so the box's own change handling does the rest.
class UpDown : public QWidget {
public:
    UpDown(QWidget* parent, QLineEdit* buddy, int minimum, int maximum);

    // Steps the number in the text box; a box without a valid number steps from the last value set here.
    void stepBy(int steps);

    QToolButton* upArrow() const { return up_; }
    QToolButton* downArrow() const { return down_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* buddy_;
    int minimum_;
    int maximum_;
    int value_;
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace vesmarin
