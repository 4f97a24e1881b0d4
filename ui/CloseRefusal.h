#pragma once

// The dialogs end only through their own buttons: a close asked for from the window frame (its close
// button, the window menu, Alt+F4) is refused with a message.

#include "base/Language.h"
#include "platform/Interaction.h"

class QCloseEvent;
class QWidget;

namespace vesmarin {

// Refuses a close from the frame with the message and returns true; any other close returns false.
bool RefuseControlMenuClose(Interaction& ui, const Language& language, QWidget* window, bool fromFrame);
// The same for a close event: the frame's closes arrive as spontaneous events. A refused event is ignored.
bool RefuseControlMenuClose(Interaction& ui, const Language& language, QWidget* window, QCloseEvent* event);

} // namespace vesmarin
