#pragma once

// A dark desktop palette (pale text on dark surfaces, as a dark theme gives it), the program's while a
// DarkDesktop lives. Never copied.

#include <QApplication>
#include <QPalette>

namespace vesmarin::test {

class DarkDesktop {
public:
    DarkDesktop() {
        const QColor window(53, 53, 53), text(230, 230, 230);
        QPalette p(text, window, QColor(90, 90, 90), QColor(35, 35, 35), QColor(80, 80, 80), text, Qt::white,
                   QColor(42, 42, 42), window);
        p.setColor(QPalette::Highlight, QColor(42, 100, 170));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
        QApplication::setPalette(p);
    }
    ~DarkDesktop() { QApplication::setPalette(before_); }

private:
    QPalette before_ = QApplication::palette();
};

} // namespace vesmarin::test
