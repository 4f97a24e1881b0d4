#pragma once

// How the windows make and place their controls: sizes designed in twips, the program's font, the name each
// control is known by (help topics, tests and accessibility tools find controls by it) and the pale cyan of
// the lists that show folders.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QString>
#include <vector>

class QWidget;

namespace vesmarin {

// Window sizes are designed in twips, 15 to a pixel.
constexpr int TwipsToPixels(int twips) {
    return (twips + 7) / 15;
}

// Sets the geometry of `control`, given in twips.
void PlaceInTwips(QWidget* control, int left, int top, int width, int height);

// How the controls of a window follow its edges when the user makes it larger than designed: each keeps
// its designed place to the top and left edges, or to the bottom one, and may grow to the right and
// downwards. Below the
// designed size nothing moves (the window does not get smaller than that).
class EdgeAnchors {
public:
    enum Follow : unsigned {
        Bottom = 1u << 0,    // keeps its place to the bottom edge
        GrowRight = 1u << 1, // its right side follows the window's right edge
        GrowDown = 1u << 2,  // its bottom follows the window's bottom edge
    };

    // `designed` is the size of the window's client area for which the controls were placed.
    EdgeAnchors() = default;
    explicit EdgeAnchors(const QSize& designed) : designed_(designed) {}

    // Remembers the control's present geometry as its designed one; `follow` is 0 for a control that keeps
    // its place to the top and left edges, or Follow values or'ed together.
    void add(QWidget* control, unsigned follow);
    // Places every control for a window of `size`.
    void apply(const QSize& size) const;

private:
    struct Anchor {
        QPointer<QWidget> control;
        QRect designed;
        unsigned follow;
    };
    QSize designed_;
    std::vector<Anchor> anchors_;
};

// The program's font at `pointSize`: Tahoma where installed, otherwise the default sans-serif.
QFont ProgramFont(qreal pointSize);

// Gives an object (a control, a menu, a menu item) its name and hands it back.
template <class T> T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// The background of the folder tree and of a filled recall list.
inline const QColor kPaleCyan{192, 255, 255};

// The contrast of two colours as the web's accessibility guidelines measure it, from 1 (the same
// lightness) to 21 (black and white).
double Contrast(const QColor& a, const QColor& b);

// `palette` for a list drawn on `background` whatever the desktop's colours: its texts, and the lines and
// button frames of a tree, keep the desktop's colours where they read on the background and turn black or
// white where they do not (the pale text of a dark palette on the pale cyan); the selection keeps the
// desktop's own pair of colours.
QPalette PaletteOnBackground(QPalette palette, const QColor& background);

} // namespace vesmarin
