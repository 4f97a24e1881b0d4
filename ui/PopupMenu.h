#pragma once

// Pop-up menus whose items show a value while the menu is open, as "Initial...  [ /usr/share ]".

#include <QPoint>
#include <QString>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace vesmarin {

class Interaction;

// The caption an item carries while its menu is open: "Initial...  [ /usr/share ]".
QString ExtendedCaption(const QString& caption, const QString& value);

// Shows `menu` at `globalPos` through the seam, each listed item's caption extended by its value while the
// menu is open; returns the chosen item once its action has run (nullptr when the menu was dismissed), with
// the plain captions back in place however the action ended.
QAction* PopupWithValues(Interaction& ui, QMenu* menu, const QPoint& globalPos,
                         const std::vector<std::pair<QAction*, QString>>& values);

// Where the menu of a button opens: at the mouse when it is over the button, otherwise below the button
// (opened from the keyboard).
QPoint MenuPosition(const QWidget* button);

} // namespace vesmarin
