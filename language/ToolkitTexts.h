#pragma once

// The toolkit's own texts that the program shows (the standard buttons of message boxes, the labels and
// messages of the file dialogs, the editing menu of a text box) in the language in force. The toolkit
// brings no Greek for them, so the program carries its own translation (toolkit_el.ts, compiled into the
// program); English is the toolkit's own.

namespace vesmarin {

// Puts the Greek translation in force (greek) or takes it away again; the windows that are open, and
// every box or dialog shown later, follow at once.
void UseToolkitLanguage(bool greek);

} // namespace vesmarin
