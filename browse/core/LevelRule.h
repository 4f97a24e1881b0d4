#pragma once

// Which folders of a walk give their files: the rule of the number of levels, counted in separators below
// the start folder.

#include <string_view>

namespace vesmarin {

#ifdef _WIN32
inline constexpr char kScanSeparator = '\\';
#else
inline constexpr char kScanSeparator = '/';
#endif

// True when the files of a folder at the relative path rel are to be taken: levels 0 or less take every
// folder, otherwise the number of separators in rel must be less than levels.
bool IsWithinLevels(std::string_view rel, int levels, char separator = kScanSeparator);

// The part of the visited folder cur that the level test sees, for a start folder with its trailing
// separator. For a drive root the separator that follows the root counts as well, so the root and its
// first-level folders both count one separator.
std::string_view RelativeFolder(std::string_view start, std::string_view cur);

// True when the folder text (with or without its trailing separator) names a drive root: "/" on POSIX.
bool IsDriveRoot(std::string_view folder);

} // namespace vesmarin
