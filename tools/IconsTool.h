#pragma once

// The command-line program vesmarin-icons: lists the icons of Windows programs, libraries and .ico files
// and exports them as PNG, BMP or ICO files. Kept apart from main() so the tests can run it in-process.

#include <ostream>
#include <string>
#include <vector>

namespace vesmarin::tools {

// args excludes the program name. Returns the exit status: 0 when every file could be read, 1 otherwise,
// 2 for wrong usage.
int runIconsTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vesmarin::tools
