#pragma once

// A dark desktop, as a dark theme gives it: pale text on dark surfaces. While a DarkDesktop lives its palette
// is the program's; the one before comes back after it.

#include <QApplication>
#include <QPalette>

namespace vesmarin::test {

inline QPalette DarkPalette() {
    const QColor window(53, 53, 53);
    const QColor text(230, 230, 230);
    QPalette p(text, window, QColor(90, 90, 90), QColor(35, 35, 35), QColor(80, 80, 80), text,
               QColor(255, 255, 255), QColor(42, 42, 42), window);
    p.setColor(QPalette::Highlight, QColor(42, 100, 170));
    p.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
    return p;
}

class DarkDesktop {
public:
    DarkDesktop() { QApplication::setPalette(DarkPalette()); }
    ~DarkDesktop() { QApplication::setPalette(before_); }
    DarkDesktop(const DarkDesktop&) = delete;
    DarkDesktop& operator=(const DarkDesktop&) = delete;

private:
    QPalette before_ = QApplication::palette();
};

} // namespace vesmarin::test
