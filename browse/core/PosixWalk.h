#pragma once

// The walk on POSIX: every folder is read once with readdir, and the open folders of the current path are
// kept, so a subfolder is opened relative to its parent. Each real folder (device and inode) is entered once.
// Internal to DirectoryScanner.

#include "browse/core/DirectoryScanner.h"
#include "browse/core/PseudoFileSystems.h"

#include <dirent.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unordered_set>
#include <vector>

namespace vesmarin {

namespace scan {

struct FolderCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using OpenFolder = std::unique_ptr<DIR, FolderCloser>;

struct FolderId {
    dev_t dev;
    ino_t ino;
    bool operator==(const FolderId&) const = default;
};

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const {
        return std::hash<std::uint64_t>()(static_cast<std::uint64_t>(id.ino) * 0x9E3779B97F4A7C15ull ^
                                          static_cast<std::uint64_t>(id.dev));
    }
};

} // namespace scan

struct DirectoryScanner::Impl {
    struct Level {
        DirectoryLevel record;
        scan::OpenFolder dir; // open while its subfolders are walked
        dev_t dev = 0;
        std::vector<std::string> subfolders;
    };

    ScanOptions options;
    const FilePatterns* patterns = nullptr;
    int depthLimit = -1;
    std::vector<Level> stack;
    std::vector<std::string> files;
    std::unordered_set<scan::FolderId, scan::FolderIdHash> entered;
    std::string startReal; // the start folder's real path, links resolved
    scan::PseudoFileSystems pseudoFileSystems;

    // Records the start folder as level 0; false when it cannot be read.
    bool start(const std::string& path);
    // Enters the next folder of the walk; false when every folder has been visited.
    bool next(std::string& path);

    void clear();

private:
    std::string realOf(std::string_view display) const;
    bool linkStaysInside(const Level& entry, const char* name) const;
    [[noreturn]] void fail(int error, const std::string& path);
    bool admit(int fd, const std::string& path, struct stat& st);
    scan::OpenFolder openFolder(int fd, const std::string& path);
    bool pushDirectory(int fd, std::string path);
    bool readFolder(DIR* dir, bool descend, Level& entry);
    void takeLinkedEntry(int fd, const dirent& e, bool descend, Level& entry);
};

} // namespace vesmarin
