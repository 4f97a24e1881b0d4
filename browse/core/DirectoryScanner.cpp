#include "browse/core/DirectoryScanner.h"

// The POSIX walk reads folders with openat and readdir; VESMARIN_SCAN_PORTABLE selects the std::filesystem
// walk that a Windows build uses. Both give the same results.
#if defined(_WIN32) && !defined(VESMARIN_SCAN_PORTABLE)
#define VESMARIN_SCAN_PORTABLE 1
#endif

#ifdef VESMARIN_SCAN_PORTABLE
#include "browse/core/PortableWalk.h"
#else
#include "browse/core/PosixWalk.h"
#endif

namespace vesmarin {

DirectoryScanner::DirectoryScanner(ScanOptions options) : d_(std::make_unique<Impl>()) {
    d_->options = std::move(options);
}

DirectoryScanner::~DirectoryScanner() = default;

bool DirectoryScanner::StartDirectoryScan(const std::string& path) {
    return d_->start(path);
}

bool DirectoryScanner::NextDirectory(std::string& path) {
    return d_->next(path);
}

void DirectoryScanner::SetPatterns(const FilePatterns* patterns) {
    d_->patterns = patterns;
}

void DirectoryScanner::SetDepthLimit(int levels) {
    d_->depthLimit = levels;
}

int DirectoryScanner::ScanLevel() const {
    return static_cast<int>(d_->stack.size()) - 1;
}

const DirectoryLevel& DirectoryScanner::CurrentLevel() const {
    return d_->stack.back().record;
}

const std::vector<std::string>& DirectoryScanner::CurrentFiles() const {
    return d_->files;
}

} // namespace vesmarin
