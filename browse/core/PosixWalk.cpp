// Built only for the walk it implements (DirectoryScanner.cpp chooses).
#if !defined(VESMARIN_SCAN_PORTABLE) && !defined(_WIN32)

#include "browse/core/PosixWalk.h"

#include "browse/core/ScanErrors.h"
#include "browse/core/ScanPaths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace vesmarin {

using scan::IsFolderFault;
using scan::JoinPath;
using scan::OpenFolder;

void DirectoryScanner::Impl::clear() {
    stack.clear();
    files.clear();
    entered.clear();
}

std::string DirectoryScanner::Impl::realOf(std::string_view display) const {
    return options.fileSystemRoot.empty() ? std::string(display)
                                          : scan::UnderRoot(options.fileSystemRoot, display);
}

// A link to a folder is followed only when the folder lies inside the start folder: "up -> .." would
// otherwise walk the whole of the folder above, and a link to "/" the whole machine.
bool DirectoryScanner::Impl::linkStaysInside(const Level& entry, const char* name) const {
    if (startReal == "/") {
        return true;
    }
    char* real = realpath(JoinPath(realOf(entry.record.Path), name).c_str(), nullptr);
    if (real == nullptr) {
        return false;
    }
    const bool inside = scan::IsWithin(real, startReal);
    std::free(real);
    return inside;
}

// Ends the walk on an error of the system. The open folders are let go first: when the handles have run
// out, the error report that follows needs some of its own.
void DirectoryScanner::Impl::fail(int error, const std::string& path) {
    clear();
    scan::ThrowSystem(error, path);
}

// Whether the open folder fd is to be entered: not when it cannot be examined, lies on a pseudo-file-system
// or was entered before (fd is closed then). A folder too deep ends the walk.
bool DirectoryScanner::Impl::admit(int fd, const std::string& path, struct stat& st) {
    if (fstat(fd, &st) != 0) {
        const int error = errno;
        close(fd);
        if (!IsFolderFault(error)) {
            fail(error, path);
        }
        return false;
    }
    const bool newDevice = stack.empty() || stack.back().dev != st.st_dev;
    if (newDevice && pseudoFileSystems.contains(fd, st.st_dev)) {
        close(fd);
        return false;
    }
    if (!entered.insert(scan::FolderId{st.st_dev, st.st_ino}).second) {
        close(fd);
        return false;
    }
    if (static_cast<int>(stack.size()) > kMaxScanLevel) {
        close(fd);
        scan::ThrowTooDeep(path);
    }
    return true;
}

// The folder stream of fd, which it takes over; empty when it cannot be read.
OpenFolder DirectoryScanner::Impl::openFolder(int fd, const std::string& path) {
    OpenFolder dir(fdopendir(fd));
    if (!dir) {
        const int error = errno;
        close(fd);
        if (!IsFolderFault(error)) {
            fail(error, path);
        }
    }
    return dir;
}

// Takes over fd (an open folder) and records it as the next level; false when the folder is not to be
// entered (already entered, a pseudo-file-system, unreadable), with fd closed.
bool DirectoryScanner::Impl::pushDirectory(int fd, std::string path) {
    struct stat st;
    if (!admit(fd, path, st)) {
        return false;
    }
    OpenFolder dir = openFolder(fd, path);
    if (!dir) {
        return false;
    }
    const int level = static_cast<int>(stack.size());
    Level entry;
    entry.record.Path = std::move(path);
    entry.dev = st.st_dev;
    files.clear();
    if (!readFolder(dir.get(), level < depthLimit || depthLimit < 0, entry)) {
        files.clear();
        return false;
    }
    scan::SortNames(entry.subfolders);
    scan::SortNames(files);
    if (entry.subfolders.size() > static_cast<std::size_t>(INT32_MAX)) {
        throw ScanError(kErrOverflow, "Too many subfolders: " + entry.record.Path);
    }
    entry.record.Count = static_cast<std::int32_t>(entry.subfolders.size());
    if (entry.record.Count > 0) {
        entry.dir = std::move(dir); // its subfolders are opened relative to it; otherwise it closes here
    }
    stack.push_back(std::move(entry));
    return true;
}

// One pass over the folder: the subfolders to enter (when descend) and the matching files.
bool DirectoryScanner::Impl::readFolder(DIR* dir, bool descend, Level& entry) {
    const int fd = dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent* e = readdir(dir);
        if (e == nullptr) {
            const int error = errno;
            if (error == 0) {
                return true;
            }
            if (!IsFolderFault(error)) {
                fail(error, entry.record.Path);
            }
            return false;
        }
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) {
            continue;
        }
        switch (e->d_type) {
        case DT_DIR:
            if (descend) {
                entry.subfolders.emplace_back(name);
            }
            break;
        case DT_REG:
            if (patterns != nullptr && patterns->Matches(name)) {
                files.emplace_back(name);
            }
            break;
        case DT_LNK:
        case DT_UNKNOWN:
            takeLinkedEntry(fd, *e, descend, entry);
            break;
        default:
            break;
        }
    }
}

// An entry whose kind the listing does not tell, or a link: it counts as what it points to; a dangling
// link is nothing.
void DirectoryScanner::Impl::takeLinkedEntry(int fd, const dirent& e, bool descend, Level& entry) {
    const char* name = e.d_name;
    const bool wanted = patterns != nullptr && patterns->Matches(name);
    if (!wanted && !descend) {
        return;
    }
    struct stat st;
    if (fstatat(fd, name, &st, 0) != 0) {
        return;
    }
    if (S_ISDIR(st.st_mode) && descend) {
        struct stat own;
        const bool link =
            e.d_type == DT_LNK || (fstatat(fd, name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode));
        if (!link || linkStaysInside(entry, name)) {
            entry.subfolders.emplace_back(name);
        }
    } else if (S_ISREG(st.st_mode) && wanted) {
        files.emplace_back(name);
    }
}

bool DirectoryScanner::Impl::start(const std::string& path) {
    clear();
    stack.reserve(kMaxScanLevel + 1);
    std::string display = scan::DisplayForm(path);
    const std::string real =
        options.fileSystemRoot.empty() ? display : scan::UnderRoot(options.fileSystemRoot, display);
    const int fd = open(real.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char* resolved = realpath(real.c_str(), nullptr);
    startReal = resolved != nullptr ? resolved : real;
    std::free(resolved);
    try {
        return pushDirectory(fd, std::move(display));
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
            std::string child = JoinPath(top.record.Path, name);
            const int fd = openat(dirfd(top.dir.get()), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0) {
                const int error = errno;
                if (!IsFolderFault(error)) {
                    fail(error, child);
                }
                continue;
            }
            if (pushDirectory(fd, child)) {
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
