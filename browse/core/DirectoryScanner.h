#pragma once

// The folder walk behind Browse and the collection of the matching files.
//
// The walk is depth first, each folder before its subfolders, with an explicit stack of levels instead of
// recursion; within a folder the subfolders and the files are taken in case-insensitive alphabetical order,
// so the collected list is the same on every run. The code links no window toolkit: the window that runs a
// collection passes a progress callback and turns a ScanError into its error report.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vesmarin {

#ifdef _WIN32
inline constexpr char kScanSeparator = '\\';
#else
inline constexpr char kScanSeparator = '/';
#endif

// The stack holds the start folder and at most this many levels below it.
inline constexpr int kMaxScanLevel = 100;

// Error numbers of ScanError besides the system's own error numbers (errno on POSIX).
inline constexpr int kErrOverflow = 6;      // more entries than a 32-bit count holds
inline constexpr int kErrOutOfMemory = 7;   // the list could not grow
inline constexpr int kErrTooManyLevels = 9; // a folder more than kMaxScanLevel levels below the start

// A run-time error that ends a collection: the window reports it with its number and description.
class ScanError : public std::runtime_error {
public:
    ScanError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

// One folder on the path from the start folder to the folder being visited.
struct DirectoryLevel {
    std::string Path;        // display form: no trailing separator, except the root itself
    std::int32_t Index = -1; // the subfolder entered last, from 0; -1 before the first
    std::int32_t Count = 0;  // the number of subfolders to be entered
};

// A ';'-separated list of file-name patterns ("*.EXE;*.EXe;...;*.exe"). A name matches when it matches any
// of them; '*' stands for any run of characters and '?' for any one, every other character for itself.
class FilePatterns {
public:
    FilePatterns() = default;
    explicit FilePatterns(std::string_view list);
    bool Matches(std::string_view name) const;
    bool empty() const { return patterns_.empty(); }

private:
    struct Pattern {
        std::string text;
        bool suffixOnly; // "*" followed by characters without wildcards: a plain suffix test
    };
    std::vector<Pattern> patterns_;
};

// Case-insensitive order of names: letters compare without their case (ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic); names equal but for case are then ordered by their bytes, so the order is total.
int CompareNames(std::string_view a, std::string_view b);
inline bool NameLess(std::string_view a, std::string_view b) {
    return CompareNames(a, b) < 0;
}

// True when the files of a folder at the relative path rel are to be taken: levels 0 or less take every
// folder, otherwise the number of separators in rel must be less than levels.
bool IsWithinLevels(std::string_view rel, int levels, char separator = kScanSeparator);

// The part of the visited folder cur that the level test sees, for a start folder with its trailing
// separator. For a drive root the separator that follows the root counts as well, so the root and its
// first-level folders both count one separator.
std::string_view RelativeFolder(std::string_view start, std::string_view cur);

// True when the folder text (with or without its trailing separator) names a drive root: "/" on POSIX.
bool IsDriveRoot(std::string_view folder);

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
