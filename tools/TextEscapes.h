#pragma once

// Names from files and file systems shown safely: on a terminal (where control characters could clear
// the screen, set its title or forge lines) and in JSON (which must be UTF-8).

#include <string>
#include <string_view>

namespace vesmarin::tools {

// Control characters (C0, DEL and C1) and bytes that are not UTF-8 as escapes (\n, \t, \r, \x1b,
// \u009b), a backslash as \\; everything else as it is, so the text still says exactly what it holds.
std::string printable(std::string_view s);

// A JSON string literal. Bytes that are not UTF-8 (file names need not be) become \udc80 to \udcff, as
// Python's surrogateescape reads them back; control characters, DEL and C1 are escaped too.
std::string jsonString(std::string_view s);

} // namespace vesmarin::tools
