#pragma once

#include <cstdint>

class QWidget;

namespace vesmarin {

// The Restore command of a window's control menu.
inline constexpr std::int32_t SC_RESTORE_COMMAND = 0xF120;

// Greys the item of `window`'s control menu that carries `commandId` and renumbers it so that it does
// nothing. On Windows only: X11 and Wayland give a program no access to the window manager's menu, so
// there the call changes nothing. Failures are ignored.
void DisableControlMenuItem(std::int32_t& commandId, QWidget* window);

} // namespace vesmarin
