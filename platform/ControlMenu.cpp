#include "platform/ControlMenu.h"

#include <QWidget>
#include <cstdint>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vesmarin {

namespace {

// The Restore command of a window's control menu.
constexpr std::uint32_t kRestoreCommand = 0xF120;

} // namespace

void DisableRestoreCommand(QWidget* window) {
#ifdef Q_OS_WIN
    const UINT commandId = kRestoreCommand;
    const HWND hwnd = reinterpret_cast<HWND>(window->winId());
    const HMENU menu = GetSystemMenu(hwnd, FALSE);
    wchar_t typeData[80] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    info.dwTypeData = typeData;
    info.cch = 80;
    if (menu && GetMenuItemInfoW(menu, commandId, FALSE, &info)) {
        // A renumbered item no longer sends its command; greying it shows that it is off.
        const UINT renumbered = static_cast<UINT>(-10);
        info.wID = renumbered;
        info.fMask = MIIM_ID;
        SetMenuItemInfoW(menu, commandId, FALSE, &info);
        info.fState |= MFS_GRAYED;
        info.fMask = MIIM_STATE;
        SetMenuItemInfoW(menu, renumbered, FALSE, &info);
    }
    LPARAM zero = 0;
    SendMessageW(hwnd, WM_NCACTIVATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&zero));
#else
    (void)kRestoreCommand;
    (void)window;
#endif
}

} // namespace vesmarin
