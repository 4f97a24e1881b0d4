#pragma once

#include <string_view>

namespace vesmarin {

// Case-insensitive order of names: letters compare without their case (ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic); names equal but for case are then ordered by their bytes, so the order is total.
int CompareNames(std::string_view a, std::string_view b);
inline bool NameLess(std::string_view a, std::string_view b) {
    return CompareNames(a, b) < 0;
}

} // namespace vesmarin
