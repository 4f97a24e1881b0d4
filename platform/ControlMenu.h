#pragma once

class QWidget;

namespace vesmarin {

// Greys the Restore command of `window`'s control menu and renumbers it so that it does nothing. On
// Windows only: X11 and Wayland give a program no access to the window manager's menu, so there the call
// changes nothing. Failures are ignored.
void DisableRestoreCommand(QWidget* window);

} // namespace vesmarin
