#pragma once

// Path texts of the walk, in the form the file system takes them (bytes, the system's separator). Internal to
// the walk.

#include <string>
#include <string_view>
#include <vector>

namespace vesmarin::scan {

// The folder, one separator and the name.
std::string JoinPath(std::string_view folder, std::string_view name);

// The real path of a display path read below another folder standing for the root.
std::string UnderRoot(std::string root, std::string_view display);

// The path without its trailing separators, unless it is a drive root.
std::string DisplayForm(std::string path);

// True when the real (link-free) path lies in or below the real start folder.
bool IsWithin(std::string_view real, std::string_view start);

// Sorts names in the walk's order (CompareNames).
void SortNames(std::vector<std::string>& names);

} // namespace vesmarin::scan
