// Built only for the walk it implements (DirectoryScanner.cpp chooses).
#if defined(VESMARIN_SCAN_PORTABLE) || defined(_WIN32)

#include "browse/core/PortableWalk.h"

#include "browse/core/ScanErrors.h"
#include "browse/core/ScanPaths.h"

#include <climits>
#include <system_error>

namespace vesmarin {

namespace {

namespace fs = std::filesystem;

fs::path ToFsPath(const std::string& utf8) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string ToUtf8(const fs::path& path) {
    const std::u8string s = path.u8string();
    return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

} // namespace

void DirectoryScanner::Impl::clear() {
    stack.clear();
    files.clear();
    entered.clear();
}

// Whether the folder is to be entered: not when it cannot be resolved, lies outside the start folder (reached
// through a link that leads out of it) or was entered before. A folder too deep ends the walk.
bool DirectoryScanner::Impl::admit(const fs::path& real, const std::string& path) {
    std::error_code ec;
    const fs::path canonical = fs::canonical(real, ec);
    if (ec || !fs::is_directory(canonical, ec)) {
        return false;
    }
    std::string key = ToUtf8(canonical);
    if (stack.empty()) {
        startReal = key;
    } else if (!scan::IsWithin(key, startReal)) {
        return false;
    }
    if (!entered.insert(std::move(key)).second) {
        return false;
    }
    if (static_cast<int>(stack.size()) > kMaxScanLevel) {
        scan::ThrowTooDeep(path);
    }
    return true;
}

bool DirectoryScanner::Impl::pushDirectory(fs::path real, std::string path) {
    if (!admit(real, path)) {
        return false;
    }
    const int level = static_cast<int>(stack.size());
    Level entry;
    entry.record.Path = std::move(path);
    entry.real = std::move(real);
    if (!readFolder(level < depthLimit || depthLimit < 0, entry)) {
        return false;
    }
    scan::SortNames(entry.subfolders);
    scan::SortNames(files);
    if (entry.subfolders.size() > static_cast<std::size_t>(INT32_MAX)) {
        throw ScanError(kErrOverflow, "Too many subfolders: " + entry.record.Path);
    }
    entry.record.Count = static_cast<std::int32_t>(entry.subfolders.size());
    stack.push_back(std::move(entry));
    return true;
}

// One pass over the folder: the subfolders to enter (when descend) and the matching files.
bool DirectoryScanner::Impl::readFolder(bool descend, Level& entry) {
    files.clear();
    std::error_code ec;
    fs::directory_iterator it(entry.real, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = ToUtf8(it->path().filename());
        std::error_code typeError;
        const fs::file_status status = it->status(typeError); // follows links
        if (typeError) {
            continue;
        }
        if (fs::is_directory(status)) {
            if (descend) {
                entry.subfolders.push_back(std::move(name));
            }
        } else if (fs::is_regular_file(status) && patterns != nullptr && patterns->Matches(name)) {
            files.push_back(std::move(name));
        }
    }
    if (ec) {
        if (scan::IsResourceError(ec)) {
            throw ScanError(ec.value(), ec.message() + ": " + entry.record.Path);
        }
        files.clear();
        return false;
    }
    return true;
}

bool DirectoryScanner::Impl::start(const std::string& path) {
    clear();
    std::string display = scan::DisplayForm(path);
    std::string real = IsDriveRoot(display) && display.back() != kScanSeparator
                           ? display + kScanSeparator // "C:" alone is the current folder of drive C
                           : display;
    if (!options.fileSystemRoot.empty()) {
        real = scan::UnderRoot(options.fileSystemRoot, display);
    }
    try {
        return pushDirectory(ToFsPath(real), std::move(display));
    } catch (const ScanError&) {
        clear();
        return false;
    }
}

bool DirectoryScanner::Impl::next(std::string& path) {
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.record.Index < top.record.Count - 1) {
            ++top.record.Index;
            const std::string& name = top.subfolders[static_cast<std::size_t>(top.record.Index)];
            std::string child = scan::JoinPath(top.record.Path, name);
            fs::path real = top.real / ToFsPath(name);
            if (pushDirectory(std::move(real), child)) {
                path = std::move(child);
                return true;
            }
            continue;
        }
        stack.pop_back();
    }
    files.clear();
    return false;
}

} // namespace vesmarin

#endif
