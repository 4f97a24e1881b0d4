// Benchmark of the Browse file collection (run by bench/collection/run.sh).
//
//   collection_bench generate <folder> <fan-out> <depth> <mean files per folder>
//       makes a tree of empty .exe, .dll and .txt files (in mixed letter case) below the folder;
//   collection_bench collect <folder> <levels> <patterns> [repetitions]
//       collects, prints the number of files found and the time of each collection in milliseconds;
//   collection_bench list <folder> <levels> <patterns>
//       prints the collected list, one full path a line.
//
// The progress callback does what a window does that repaints at most every 50 ms: it reads the clock on
// every call and copies the path only when it would paint.

#include "browse/core/DirectoryScanner.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int Generate(const fs::path& root, int fanOut, int depth, int meanFiles) {
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> fileCount(meanFiles / 2, meanFiles + meanFiles / 2);
    std::uniform_int_distribution<int> kind(0, 9);
    const char* exe[] = {".exe", ".EXE", ".Exe"};
    const char* dll[] = {".dll", ".DLL", ".Dll"};
    long folders = 0, files = 0;
    std::vector<std::pair<fs::path, int>> pending{{root, 0}};
    while (!pending.empty()) {
        auto [folder, level] = pending.back();
        pending.pop_back();
        fs::create_directories(folder);
        ++folders;
        const int n = fileCount(random);
        for (int i = 0; i < n; ++i) {
            const int k = kind(random);
            const std::string ext = k < 4 ? exe[k % 3] : (k < 7 ? dll[k % 3] : ".txt");
            std::ofstream(folder / ("file" + std::to_string(i) + ext));
            ++files;
        }
        if (level < depth) {
            for (int s = 0; s < fanOut; ++s) {
                pending.emplace_back(folder / ("Folder" + std::to_string(s)), level + 1);
            }
        }
    }
    std::printf("%ld folders, %ld files\n", folders, files);
    return 0;
}

int List(const std::string& start, int levels, const std::string& patterns) {
    std::vector<std::string> found;
    try {
        vesmarin::CollectFiles(start, levels, patterns, found);
    } catch (const vesmarin::ScanError& e) {
        std::fprintf(stderr, "error %d: %s\n", e.number(), e.description().c_str());
        return 1;
    }
    for (const std::string& path : found) {
        std::printf("%s\n", path.c_str());
    }
    return 0;
}

int Collect(const std::string& start, int levels, const std::string& patterns, int repetitions) {
    for (int r = 0; r < repetitions; ++r) {
        std::vector<std::string> found;
        std::string shown;
        long painted = 0;
        Clock::time_point lastPaint = Clock::now();
        const vesmarin::ScanProgress progress = [&](vesmarin::ScanEvent, std::string_view path) {
            const Clock::time_point now = Clock::now();
            if (now - lastPaint >= std::chrono::milliseconds(50)) {
                shown.assign(path);
                lastPaint = now;
                ++painted;
            }
        };
        const Clock::time_point begin = Clock::now();
        try {
            vesmarin::CollectFiles(start, levels, patterns, found, progress);
        } catch (const vesmarin::ScanError& e) {
            std::fprintf(stderr, "error %d: %s\n", e.number(), e.description().c_str());
            return 1;
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
        std::printf("%zu files, %.1f ms, %ld repaints\n", found.size(), ms, painted);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "generate" && argc == 6) {
        return Generate(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    }
    if (command == "list" && argc == 5) {
        return List(argv[2], std::atoi(argv[3]), argv[4]);
    }
    if (command == "collect" && (argc == 5 || argc == 6)) {
        return Collect(argv[2], std::atoi(argv[3]), argv[4], argc == 6 ? std::atoi(argv[5]) : 1);
    }
    std::fprintf(stderr,
                 "usage: %s generate <folder> <fan-out> <depth> <mean files per folder>\n"
                 "       %s collect <folder> <levels> <patterns> [repetitions]\n"
                 "       %s list <folder> <levels> <patterns>\n",
                 argv[0], argv[0], argv[0]);
    return 2;
}
