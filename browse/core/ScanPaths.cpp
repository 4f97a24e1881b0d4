#include "browse/core/ScanPaths.h"

#include "browse/core/LevelRule.h"
#include "browse/core/NameOrder.h"

#include <algorithm>

namespace vesmarin::scan {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string full;
    const bool hasSeparator = !folder.empty() && folder.back() == kScanSeparator;
    full.reserve(folder.size() + name.size() + 1);
    full.append(folder);
    if (!hasSeparator) {
        full.push_back(kScanSeparator);
    }
    full.append(name);
    return full;
}

std::string UnderRoot(std::string root, std::string_view display) {
    while (!root.empty() && root.back() == kScanSeparator) {
        root.pop_back();
    }
    if (display.empty() || display.front() != kScanSeparator) {
        root.push_back(kScanSeparator);
    }
    return root.append(display);
}

std::string DisplayForm(std::string path) {
    while (path.size() > 1 && path.back() == kScanSeparator && !IsDriveRoot(path)) {
        path.pop_back();
    }
    return path;
}

bool IsWithin(std::string_view real, std::string_view start) {
    if (start.empty() || real.size() < start.size() || real.compare(0, start.size(), start) != 0) {
        return false;
    }
    return real.size() == start.size() || start.back() == kScanSeparator ||
           real[start.size()] == kScanSeparator;
}

void SortNames(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareNames(a, b) < 0; });
}

} // namespace vesmarin::scan
