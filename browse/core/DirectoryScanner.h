#pragma once

// The folder walk behind Browse and the collection of the matching files.
//
// The walk is depth first, each folder before its subfolders, with an explicit stack of levels instead of
// recursion; within a folder the subfolders and the files are taken in case-insensitive alphabetical order,
// so the collected list is the same on every run. The code links no window toolkit: the window that runs a
// collection passes a progress callback and turns a ScanError into its error report.

#include "browse/core/FilePatterns.h"
#include "browse/core/LevelRule.h"
#include "browse/core/NameOrder.h"
#include "browse/core/ScanError.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesmarin {

// One folder on the path from the start folder to the folder being visited.
struct DirectoryLevel {
    std::string Path;        // display form: no trailing separator, except the root itself
    std::int32_t Index = -1; // the subfolder entered last, from 0; -1 before the first
    std::int32_t Count = 0;  // the number of subfolders to be entered
};

struct ScanOptions {
    // The real folder that stands for the root "/" of the display paths; empty means the real root. Paths
    // passed in and handed out are display paths either way; only the file system is read below this one.
    std::string fileSystemRoot;
};

// The walk: one at a time per object. Folders that cannot be read (no permission, vanished), folders already
// entered (the same device and inode reached again through a link), folders reached through a link that
// leads out of the start folder, and folders of the kernel's pseudo-file-systems are not entered: the walk
// goes on with the next one.
class DirectoryScanner {
public:
    explicit DirectoryScanner(ScanOptions options = {});
    ~DirectoryScanner();
    DirectoryScanner(const DirectoryScanner&) = delete;
    DirectoryScanner& operator=(const DirectoryScanner&) = delete;

    // The names every visited folder is listed with; nullptr lists no files.
    void SetPatterns(const FilePatterns* patterns);
    // Subfolders of folders this many levels below the start are not entered; a negative value enters all.
    void SetDepthLimit(int levels);

    // Starts a walk at the folder path (display form) and records it as level 0; False when it cannot be
    // read, with nothing recorded.
    bool StartDirectoryScan(const std::string& path);
    // Enters the next folder of the walk and gives its path; False when every folder has been visited.
    // Throws ScanError when the next folder lies more than kMaxScanLevel levels below the start folder, or
    // when the system runs out of resources.
    bool NextDirectory(std::string& path);

    // The folder being visited: its level below the start folder, its record and the names of its files
    // that match the patterns, in order.
    int ScanLevel() const;
    const DirectoryLevel& CurrentLevel() const;
    const std::vector<std::string>& CurrentFiles() const;

    struct Impl;

private:
    std::unique_ptr<Impl> d_;
};

enum class ScanEvent { Folder, File };

// Called once for every visited folder (with its path) and once for every collected file (with its full
// path). The text lives only during the call; a caller that shows it should copy it only when it repaints.
using ScanProgress = std::function<void(ScanEvent event, std::string_view path)>;

// Collects the full paths (folder, separator, file name) of the matching files in and below the start folder
// (display form; the root is "/"), taking files from the start folder and the levels - 1 levels below it (all
// levels when levels is 0), in the order of the walk. found is emptied first; when a ScanError ends the
// collection, the entries found so far stay in it. A start folder that cannot be read finds nothing.
void CollectFiles(const std::string& startFolder, int levels, std::string_view patternList,
                  std::vector<std::string>& found, const ScanProgress& progress = {},
                  const ScanOptions& options = {});

} // namespace vesmarin
