#pragma once

// The two path buttons of the main window and their pop-up menus: save the current path as a recent path
// or as the initial path, and recall a recent path (through the recall dialog) or the initial path.
// The icon-folder item and the Help items belong to other parts of the program; the Cancel items only
// close their menu.

#include <QString>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace vesmarin {

class Interaction;
class frmMain;

namespace savedpaths {

// Wires cmdSavePath, cmdRecallPath and the menu items handled below to their handlers.
void ConnectPathMenus(frmMain& form);

// Each shows its menu at the button with the current values in the captions named above.
void cmdSavePath_Click(frmMain& form);
void cmdRecallPath_Click(frmMain& form);

void mnuSavePathRecent_Click(frmMain& form);
void mnuSavePathInitial_Click(frmMain& form);
void mnuRecallPathRecent_Click(frmMain& form);
void mnuRecallPathInitial_Click(frmMain& form);

// Shows `menu` at `button` (where the mouse is, when it is over the button) with each listed item's
// caption extended by its value, as "Initial...  [ /usr/share ]", while the menu is open; returns once
// the chosen item's action has run, with the plain captions back in place.
void ShowMenuWithValues(Interaction& ui, QMenu* menu, QWidget* button,
                        const std::vector<std::pair<QAction*, QString>>& values);

} // namespace savedpaths
} // namespace vesmarin
