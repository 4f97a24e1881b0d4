#pragma once

// The one way every program here replaces a file: the settings, the recent paths, the saved bitmaps, and the
// PNG and .ico files of the window and of the command-line tools. The standard library and the system's
// file calls only, so the toolkit-free tools and the base share it.
//
// A write never damages what was there: the new content goes to a temporary file created exclusively beside
// the target, every byte is checked to have reached the disk (a full disk shows up as a failed write, never
// as a short file), and only then does the temporary file take the target's place in one step. On any
// failure the temporary file is removed and the target is untouched. Besides:
// - a symbolic link keeps working: the content lands in the file it names (a dangling link gives ENOENT);
// - a file without any write permission (made read-only by its owner) is never changed: EACCES, also for
//   the super-user;
// - anything but a regular file in the target's place gives EISDIR or EINVAL;
// - a replaced file keeps its permissions (and, when allowed, its owner); a new one gets 0666 less the
//   umask, as any newly created file.
// The temporary file is named ".<name>.XXXXXX" in the target's folder and created with O_EXCL, so it never
// meets a file the program did not create.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vesmarin::filewrite {

// A file written piece by piece and put in place by commit(). Failures are remembered, not thrown: after
// the first one, writes do nothing and commit() fails with it.
class AtomicFile {
public:
    explicit AtomicFile(const std::filesystem::path& target) noexcept;
    ~AtomicFile(); // removes the temporary file when commit() did not succeed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes; false once anything has failed.
    bool write(std::span<const std::uint8_t> bytes) noexcept;
    bool write(std::string_view bytes) noexcept;
    // Puts every byte on the disk and renames the temporary file over the target; false when anything
    // failed on the way.
    bool commit() noexcept;

    // The errno of the first failure, 0 while all is well.
    int errorNumber() const noexcept { return error_; }
    // The same as the system words it ("No space left on device"); empty while all is well.
    std::string error() const;

private:
    int open(const std::filesystem::path& target); // 0, or the errno that refuses the write
    bool flush() noexcept;
    void fail(int errnum) noexcept;

    std::filesystem::path target_;    // the file replaced: the target, or the file a link to it names
    std::filesystem::path folder_;    // its folder
    std::filesystem::path temporary_; // empty once it has been renamed or removed
    int fd_ = -1;
    bool exists_ = false; // a file to replace, whose permissions the new one takes
    unsigned mode_ = 0;
    unsigned owner_ = 0;
    unsigned group_ = 0;
    int error_ = 0;
    std::vector<std::uint8_t> buffer_;
};

// Replaces the content of `target` with the pieces, one after the other; 0, or the errno of the failure.
int replaceFile(const std::filesystem::path& target, std::initializer_list<std::string_view> pieces) noexcept;
int replaceFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) noexcept;

// The system's words for an errno.
std::string describe(int errnum);

} // namespace vesmarin::filewrite
