#pragma once

// How the windows make and place their controls: sizes designed in twips, the program's font, the name each
// control is known by (help topics, tests and accessibility tools find controls by it) and the pale cyan of
// the lists that show folders.

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace vesmarin {

// Window sizes are designed in twips, 15 to a pixel.
constexpr int TwipsToPixels(int twips) {
    return (twips + 7) / 15;
}

// Sets the geometry of `control`, given in twips.
void PlaceInTwips(QWidget* control, int left, int top, int width, int height);

// The program's font at `pointSize`: Tahoma where installed, otherwise the default sans-serif.
QFont ProgramFont(qreal pointSize);

// Gives an object (a control, a menu, a menu item) its name and hands it back.
template <class T> T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// The background of the folder tree and of a filled recall list.
inline const QColor kPaleCyan{192, 255, 255};

} // namespace vesmarin
