#include "browse/core/DirectoryScanner.h"
#include "browse/core/ScanPaths.h"

#include <climits>
#include <new>

namespace vesmarin {

namespace {

void Collect(const std::string& startFolder, int levels, const FilePatterns& patterns,
             std::vector<std::string>& found, const ScanProgress& progress, const ScanOptions& options) {
    std::string start = startFolder;
    if (start.back() != kScanSeparator) {
        start.push_back(kScanSeparator);
    }
    const bool rootStart = IsDriveRoot(start);

    DirectoryScanner scanner(options);
    scanner.SetPatterns(&patterns);
    scanner.SetDepthLimit(levels > 0 ? levels - 1 : -1); // no files are taken deeper, so go no deeper
    std::string cur = start;
    if (!scanner.StartDirectoryScan(cur)) {
        return;
    }
    cur = scanner.CurrentLevel().Path;
    do {
        if (progress) {
            progress(ScanEvent::Folder, cur);
        }
        bool take = IsWithinLevels(RelativeFolder(start, cur), levels);
        if (rootStart && levels == 1) {
            take = true; // decided file by file below
        }
        if (!take) {
            continue;
        }
        const std::vector<std::string>& names = scanner.CurrentFiles();
        if (found.size() + names.size() > static_cast<std::size_t>(INT32_MAX)) {
            throw ScanError(kErrOverflow, "More files than the list can count");
        }
        for (const std::string& name : names) {
            std::string full = scan::JoinPath(cur, name);
            // From the root with one level, only the files lying directly in the root.
            if (rootStart && levels == 1 &&
                !IsWithinLevels(std::string_view(full).substr(start.size()), levels)) {
                continue;
            }
            found.push_back(std::move(full));
            if (progress) {
                progress(ScanEvent::File, found.back());
            }
        }
    } while (scanner.NextDirectory(cur));
}

} // namespace

void CollectFiles(const std::string& startFolder, int levels, std::string_view patternList,
                  std::vector<std::string>& found, const ScanProgress& progress, const ScanOptions& options) {
    found.clear();
    if (startFolder.empty()) {
        return; // no folder chosen: never the root by accident
    }
    try {
        Collect(startFolder, levels, FilePatterns(patternList), found, progress, options);
    } catch (const std::bad_alloc&) {
        throw ScanError(kErrOutOfMemory, "Out of memory");
    }
}

} // namespace vesmarin
