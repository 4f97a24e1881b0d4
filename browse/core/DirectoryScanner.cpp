#include "browse/core/DirectoryScanner.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>

// The POSIX walk reads every folder once with readdir and keeps the open folders of the current path, so a
// subfolder is opened relative to its parent. VESMARIN_SCAN_PORTABLE selects the std::filesystem walk that a
// Windows build uses; it builds on POSIX as well, so it can be tested here.
#if defined(_WIN32) && !defined(VESMARIN_SCAN_PORTABLE)
#define VESMARIN_SCAN_PORTABLE 1
#endif

#ifdef VESMARIN_SCAN_PORTABLE
#include <filesystem>
#include <system_error>
#else
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <cstdio>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unordered_map>
#endif
#endif

namespace vesmarin {

// ---------------------------------------------------------------------------------------------------------
// Patterns

namespace {

bool HasWildcard(std::string_view s) {
    return s.find_first_of("*?") != std::string_view::npos;
}

// '*' and '?' matching with one backtracking point: quadratic at worst, never exponential.
bool GlobMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

FilePatterns::FilePatterns(std::string_view list) {
    while (!list.empty()) {
        const std::size_t semi = list.find(';');
        std::string_view one = list.substr(0, semi);
        list = semi == std::string_view::npos ? std::string_view{} : list.substr(semi + 1);
        while (!one.empty() && one.front() == ' ') {
            one.remove_prefix(1);
        }
        while (!one.empty() && one.back() == ' ') {
            one.remove_suffix(1);
        }
        if (one.empty()) {
            continue;
        }
        const bool suffixOnly = one.front() == '*' && !HasWildcard(one.substr(1));
        Pattern pattern{std::string(suffixOnly ? one.substr(1) : one), suffixOnly};
        if (std::none_of(patterns_.begin(), patterns_.end(), [&](const Pattern& q) {
                return q.text == pattern.text && q.suffixOnly == pattern.suffixOnly;
            })) {
            patterns_.push_back(std::move(pattern));
        }
    }
}

bool FilePatterns::Matches(std::string_view name) const {
    for (const Pattern& pattern : patterns_) {
        if (pattern.suffixOnly ? name.ends_with(pattern.text) : GlobMatch(pattern.text, name)) {
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Name order

namespace {

char32_t FoldCase(char32_t c) {
    if (c < 0x80) {
        return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return c - 0x20;
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return c & ~char32_t{1};
    }
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c & 1) == 0) {
        return c - 1;
    }
    if (c >= 0x3B1 && c <= 0x3CB) {
        return c == 0x3C2 ? char32_t{0x3A3} : c - 0x20; // final sigma folds with sigma
    }
    switch (c) {
    case 0x3AC:
        return 0x386;
    case 0x3AD:
    case 0x3AE:
    case 0x3AF:
        return c - 0x25;
    case 0x3CC:
        return 0x38C;
    case 0x3CD:
    case 0x3CE:
        return c - 0x3F;
    default:
        break;
    }
    if (c >= 0x430 && c <= 0x44F) {
        return c - 0x20;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 0x50;
    }
    return c;
}

// The next character of a UTF-8 text, folded; a byte that starts no valid sequence stands for itself
// above every character, so names that are not UTF-8 still have a fixed place.
char32_t NextFolded(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return FoldCase(b);
    }
    int extra = 0;
    char32_t c = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        extra = 1;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        extra = 2;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        extra = 3;
        c = b & 0x07;
    }
    if (extra == 0 || i + extra >= s.size()) {
        ++i;
        return 0x110000 + b;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto cont = static_cast<unsigned char>(s[i + k]);
        if ((cont & 0xC0) != 0x80) {
            ++i;
            return 0x110000 + b;
        }
        c = (c << 6) | (cont & 0x3F);
    }
    i += extra + 1;
    return FoldCase(c);
}

} // namespace

int CompareNames(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) { // the common case, without decoding
            const char32_t fa = FoldCase(ca), fb = FoldCase(cb);
            if (fa != fb) {
                return fa < fb ? -1 : 1;
            }
            ++i;
            ++j;
            continue;
        }
        const char32_t fa = NextFolded(a, i), fb = NextFolded(b, j);
        if (fa != fb) {
            return fa < fb ? -1 : 1;
        }
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    const int raw = a.compare(b);
    return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------------------
// Level rule

bool IsWithinLevels(std::string_view rel, int levels, char separator) {
    if (levels <= 0) {
        return true;
    }
    return std::count(rel.begin(), rel.end(), separator) < levels;
}

bool IsDriveRoot(std::string_view folder) {
#ifdef _WIN32
    return (folder.size() == 3 && folder[1] == ':' && folder[2] == kScanSeparator) ||
           (folder.size() == 2 && folder[1] == ':');
#else
    return folder == "/";
#endif
}

std::string_view RelativeFolder(std::string_view start, std::string_view cur) {
    // The level test counts separators below the start; at a drive root it also counts the root's own
    // separator, which makes the root and its first-level folders both one level.
#ifdef _WIN32
    const std::size_t from = IsDriveRoot(start) ? 1 : start.size() - 1; // "C:\": from ":\"
#else
    const std::size_t from = IsDriveRoot(start) ? 0 : start.size() - 1; // "/": from the root's "/"
#endif
    return cur.size() > from ? cur.substr(from) : std::string_view{};
}

namespace {

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

// The real path of a display path read below another folder standing for the root.
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

// True when the real (link-free) path lies in or below the real start folder.
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

[[noreturn]] void ThrowTooDeep(const std::string& path) {
    throw ScanError(kErrTooManyLevels, "More than " + std::to_string(kMaxScanLevel) +
                                           " folder levels below the start folder: " + path);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// The walk

#ifndef VESMARIN_SCAN_PORTABLE

namespace {

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

// Errors that say something about one folder (gone, forbidden, not a folder any more, a broken medium):
// that folder is skipped. The rest (out of file handles or memory) end the collection.
bool IsFolderFault(int error) {
    return error != EMFILE && error != ENFILE && error != ENOMEM;
}

[[noreturn]] void ThrowSystem(int error, const std::string& path) {
    throw ScanError(error, std::string(std::strerror(error)) + ": " + path);
}

#ifdef __linux__
// Kernel pseudo-file-systems: they hold no programs, and reading some of them is slow or endless.
bool IsPseudoFileSystemType(unsigned long type) {
    switch (type) {
    case 0x9fa0:     // proc
    case 0x62656572: // sysfs
    case 0x1cd1:     // devpts
    case 0x27e0eb:   // cgroup
    case 0x63677270: // cgroup2
    case 0x64626720: // debugfs
    case 0x74726163: // tracefs
    case 0x73636673: // securityfs
    case 0x6165676C: // pstore
    case 0xcafe4a11: // bpf
    case 0x62656570: // configfs
    case 0x65735543: // fusectl
    case 0x19800202: // mqueue
    case 0x958458f6: // hugetlbfs
    case 0x42494e4d: // binfmt_misc
    case 0xde5e81e4: // efivarfs
    case 0x6e736673: // nsfs
    case 0xf97cff8c: // selinuxfs
    case 0x43415d53: // smackfs
    case 0x67596969: // rpc_pipefs
        return true;
    default:
        return false;
    }
}

constexpr unsigned long kTmpfsMagic = 0x01021994; // tmpfs, and devtmpfs as well
#endif

} // namespace

struct DirectoryScanner::Impl {
    struct Level {
        DirectoryLevel record;
        OpenFolder dir; // open while its subfolders are walked
        dev_t dev = 0;
        std::vector<std::string> subfolders;
    };

    ScanOptions options;
    const FilePatterns* patterns = nullptr;
    int depthLimit = -1;
    std::vector<Level> stack;
    std::vector<std::string> files;
    std::unordered_set<FolderId, FolderIdHash> entered;
    std::string startReal; // the start folder's real path, links resolved
#ifdef __linux__
    std::unordered_map<dev_t, bool> devtmpfs; // tmpfs-typed devices: true for devtmpfs
    bool mountsRead = false;
#endif

    void Clear() {
        stack.clear();
        files.clear();
        entered.clear();
    }

    std::string RealOf(std::string_view display) const {
        return options.fileSystemRoot.empty() ? std::string(display)
                                              : UnderRoot(options.fileSystemRoot, display);
    }

    // A link to a folder is followed only when the folder lies inside the start folder: "up -> .." would
    // otherwise walk the whole of the folder above, and a link to "/" the whole machine.
    bool LinkStaysInside(const Level& entry, const char* name) const {
        if (startReal == "/") {
            return true;
        }
        char* real = realpath(JoinPath(RealOf(entry.record.Path), name).c_str(), nullptr);
        if (real == nullptr) {
            return false;
        }
        const bool inside = IsWithin(real, startReal);
        std::free(real);
        return inside;
    }

    // Ends the walk on an error of the system. The open folders are let go first: when the handles have run
    // out, the error report that follows needs some of its own.
    [[noreturn]] void Fail(int error, std::string path) {
        Clear();
        ThrowSystem(error, path);
    }

#ifdef __linux__
    // devtmpfs reports the type of tmpfs, so the mount table tells them apart.
    bool IsDevtmpfs(dev_t dev) {
        if (!mountsRead) {
            mountsRead = true;
            if (FILE* f = std::fopen("/proc/self/mountinfo", "re")) {
                char* line = nullptr; // whole lines, however long their mount paths
                std::size_t capacity = 0;
                while (getline(&line, &capacity, f) > 0) {
                    unsigned major = 0, minor = 0;
                    const char* dash = std::strstr(line, " - ");
                    if (dash != nullptr && std::sscanf(line, "%*u %*u %u:%u", &major, &minor) == 2) {
                        devtmpfs[makedev(major, minor)] = std::strncmp(dash + 3, "devtmpfs ", 9) == 0;
                    }
                }
                std::free(line);
                std::fclose(f);
            }
        }
        const auto it = devtmpfs.find(dev);
        return it != devtmpfs.end() && it->second;
    }

    bool IsPseudoFileSystem(int fd, dev_t dev) {
        struct statfs fs;
        if (fstatfs(fd, &fs) != 0) {
            return false;
        }
        const auto type = static_cast<unsigned long>(fs.f_type);
        return IsPseudoFileSystemType(type) || (type == kTmpfsMagic && IsDevtmpfs(dev));
    }
#endif

    // Takes over fd (an open folder) and records it as the next level; false when the folder is not to be
    // entered (already entered, a pseudo-file-system, unreadable), with fd closed.
    bool PushDirectory(int fd, std::string path) {
        struct stat st;
        if (fstat(fd, &st) != 0) {
            const int error = errno;
            close(fd);
            if (!IsFolderFault(error)) {
                Fail(error, path);
            }
            return false;
        }
        const bool newDevice = stack.empty() || stack.back().dev != st.st_dev;
#ifdef __linux__
        if (newDevice && IsPseudoFileSystem(fd, st.st_dev)) {
            close(fd);
            return false;
        }
#else
        (void)newDevice;
#endif
        if (!entered.insert(FolderId{st.st_dev, st.st_ino}).second) {
            close(fd);
            return false;
        }
        const int level = static_cast<int>(stack.size());
        if (level > kMaxScanLevel) {
            close(fd);
            ThrowTooDeep(path);
        }
        OpenFolder dir(fdopendir(fd));
        if (!dir) {
            const int error = errno;
            close(fd);
            if (!IsFolderFault(error)) {
                Fail(error, path);
            }
            return false;
        }

        Level entry;
        entry.record.Path = std::move(path);
        entry.dev = st.st_dev;
        files.clear();
        if (!ReadFolder(dir.get(), level < depthLimit || depthLimit < 0, entry)) {
            files.clear();
            return false;
        }
        SortNames(entry.subfolders);
        SortNames(files);
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
    bool ReadFolder(DIR* dir, bool descend, Level& entry) {
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
                    Fail(error, entry.record.Path);
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
            case DT_UNKNOWN: {
                // A link counts as what it points to; a dangling one is nothing.
                const bool wanted = patterns != nullptr && patterns->Matches(name);
                if (!wanted && !descend) {
                    break;
                }
                struct stat st;
                if (fstatat(fd, name, &st, 0) != 0) {
                    break;
                }
                if (S_ISDIR(st.st_mode) && descend) {
                    struct stat own;
                    const bool link =
                        e->d_type == DT_LNK ||
                        (fstatat(fd, name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode));
                    if (!link || LinkStaysInside(entry, name)) {
                        entry.subfolders.emplace_back(name);
                    }
                } else if (S_ISREG(st.st_mode) && wanted) {
                    files.emplace_back(name);
                }
                break;
            }
            default:
                break;
            }
        }
    }
};

DirectoryScanner::DirectoryScanner(ScanOptions options) : d_(std::make_unique<Impl>()) {
    d_->options = std::move(options);
}

DirectoryScanner::~DirectoryScanner() = default;

bool DirectoryScanner::StartDirectoryScan(const std::string& path) {
    d_->Clear();
    d_->stack.reserve(kMaxScanLevel + 1);
    std::string display = DisplayForm(path);
    const std::string real =
        d_->options.fileSystemRoot.empty() ? display : UnderRoot(d_->options.fileSystemRoot, display);
    const int fd = open(real.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char* resolved = realpath(real.c_str(), nullptr);
    d_->startReal = resolved != nullptr ? resolved : real;
    std::free(resolved);
    try {
        return d_->PushDirectory(fd, std::move(display));
    } catch (const ScanError&) {
        d_->Clear();
        return false;
    }
}

bool DirectoryScanner::NextDirectory(std::string& path) {
    auto& stack = d_->stack;
    while (!stack.empty()) {
        Impl::Level& top = stack.back();
        if (top.record.Index < top.record.Count - 1) {
            ++top.record.Index;
            const std::string& name = top.subfolders[static_cast<std::size_t>(top.record.Index)];
            std::string child = JoinPath(top.record.Path, name);
            const int fd = openat(dirfd(top.dir.get()), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0) {
                const int error = errno;
                if (!IsFolderFault(error)) {
                    d_->Fail(error, child);
                }
                continue;
            }
            if (d_->PushDirectory(fd, child)) {
                path = std::move(child);
                return true;
            }
            continue;
        }
        stack.pop_back();
    }
    d_->files.clear();
    return false;
}

#else // VESMARIN_SCAN_PORTABLE

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

struct DirectoryScanner::Impl {
    struct Level {
        DirectoryLevel record;
        fs::path real;
        std::vector<std::string> subfolders;
    };

    ScanOptions options;
    const FilePatterns* patterns = nullptr;
    int depthLimit = -1;
    std::vector<Level> stack;
    std::vector<std::string> files;
    std::unordered_set<std::string> entered; // canonical paths
    std::string startReal;                   // the start folder's canonical path

    void Clear() {
        stack.clear();
        files.clear();
        entered.clear();
    }

    bool PushDirectory(fs::path real, std::string path) {
        std::error_code ec;
        const fs::path canonical = fs::canonical(real, ec);
        if (ec || !fs::is_directory(canonical, ec)) {
            return false;
        }
        std::string key = ToUtf8(canonical);
        if (stack.empty()) {
            startReal = key;
        } else if (!IsWithin(key, startReal)) {
            return false; // reached through a link that leads out of the start folder
        }
        if (!entered.insert(std::move(key)).second) {
            return false;
        }
        const int level = static_cast<int>(stack.size());
        if (level > kMaxScanLevel) {
            ThrowTooDeep(path);
        }
        const bool descend = level < depthLimit || depthLimit < 0;
        Level entry;
        entry.record.Path = std::move(path);
        entry.real = std::move(real);
        files.clear();
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
            if (ec == std::errc::not_enough_memory || ec == std::errc::too_many_files_open ||
                ec == std::errc::too_many_files_open_in_system) {
                throw ScanError(ec.value(), ec.message() + ": " + entry.record.Path);
            }
            files.clear();
            return false;
        }
        SortNames(entry.subfolders);
        SortNames(files);
        if (entry.subfolders.size() > static_cast<std::size_t>(INT32_MAX)) {
            throw ScanError(kErrOverflow, "Too many subfolders: " + entry.record.Path);
        }
        entry.record.Count = static_cast<std::int32_t>(entry.subfolders.size());
        stack.push_back(std::move(entry));
        return true;
    }
};

DirectoryScanner::DirectoryScanner(ScanOptions options) : d_(std::make_unique<Impl>()) {
    d_->options = std::move(options);
}

DirectoryScanner::~DirectoryScanner() = default;

bool DirectoryScanner::StartDirectoryScan(const std::string& path) {
    d_->Clear();
    std::string display = DisplayForm(path);
    std::string real = IsDriveRoot(display) && display.back() != kScanSeparator
                           ? display + kScanSeparator // "C:" alone is the current folder of drive C
                           : display;
    if (!d_->options.fileSystemRoot.empty()) {
        real = UnderRoot(d_->options.fileSystemRoot, display);
    }
    try {
        return d_->PushDirectory(ToFsPath(real), std::move(display));
    } catch (const ScanError&) {
        d_->Clear();
        return false;
    }
}

bool DirectoryScanner::NextDirectory(std::string& path) {
    auto& stack = d_->stack;
    while (!stack.empty()) {
        Impl::Level& top = stack.back();
        if (top.record.Index < top.record.Count - 1) {
            ++top.record.Index;
            const std::string& name = top.subfolders[static_cast<std::size_t>(top.record.Index)];
            std::string child = JoinPath(top.record.Path, name);
            fs::path real = top.real / ToFsPath(name);
            if (d_->PushDirectory(std::move(real), child)) {
                path = std::move(child);
                return true;
            }
            continue;
        }
        stack.pop_back();
    }
    d_->files.clear();
    return false;
}

#endif // VESMARIN_SCAN_PORTABLE

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

// ---------------------------------------------------------------------------------------------------------
// The collection

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
            std::string full = JoinPath(cur, name);
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
