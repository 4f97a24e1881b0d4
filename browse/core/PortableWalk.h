#pragma once

// The walk through std::filesystem, which a Windows build uses (it builds on POSIX as well, so it is
// tested there too). Each real folder (canonical path) is entered once. Internal to DirectoryScanner.

#include "browse/core/DirectoryScanner.h"

#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

namespace vesmarin {

struct DirectoryScanner::Impl {
    struct Level {
        DirectoryLevel record;
        std::filesystem::path real;
        std::vector<std::string> subfolders;
    };

    ScanOptions options;
    const FilePatterns* patterns = nullptr;
    int depthLimit = -1;
    std::vector<Level> stack;
    std::vector<std::string> files;
    std::unordered_set<std::string> entered; // canonical paths
    std::string startReal;                   // the start folder's canonical path

    // Records the start folder as level 0; false when it cannot be read.
    bool start(const std::string& path);
    // Enters the next folder of the walk; false when every folder has been visited.
    bool next(std::string& path);

    void clear();

private:
    bool admit(const std::filesystem::path& real, const std::string& path);
    bool pushDirectory(std::filesystem::path real, std::string path);
    bool readFolder(bool descend, Level& entry);
};

} // namespace vesmarin
