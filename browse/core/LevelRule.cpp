#include "browse/core/LevelRule.h"

#include <algorithm>

namespace vesmarin {

bool IsWithinLevels(std::string_view rel, int levels, char separator) {
    if (levels <= 0) {
        return true;
    }
    return std::count(rel.begin(), rel.end(), separator) < levels;
}

bool IsDriveRoot(std::string_view folder) {
#ifdef _WIN32
    return (folder.size() == 3 && folder[1] == ':' && folder[2] == kScanSeparator) ||
           (folder.size() == 2 && folder[1] == ':');
#else
    return folder == "/";
#endif
}

std::string_view RelativeFolder(std::string_view start, std::string_view cur) {
    // The level test counts separators below the start; at a drive root it also counts the root's own
    // separator, which makes the root and its first-level folders both one level.
#ifdef _WIN32
    const std::size_t from = IsDriveRoot(start) ? 1 : start.size() - 1; // "C:\": from ":\"
#else
    const std::size_t from = IsDriveRoot(start) ? 0 : start.size() - 1; // "/": from the root's "/"
#endif
    return cur.size() > from ? cur.substr(from) : std::string_view{};
}

} // namespace vesmarin
