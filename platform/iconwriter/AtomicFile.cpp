#include "platform/iconwriter/IconWriter.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <process.h>
#define VESMARIN_PID _getpid()
#else
#include <unistd.h>
#define VESMARIN_PID ::getpid()
#endif

namespace vesmarin::iconwriter {

AtomicFile::AtomicFile(std::filesystem::path target) noexcept : target_(std::move(target)) {
    static std::atomic<unsigned> counter{0};
    try {
        const std::filesystem::path folder = target_.parent_path();
        // "x": never opens a file that exists, so a name taken by anything else is simply skipped.
        for (int attempt = 0; attempt < 100 && file_ == nullptr; ++attempt) {
            temporary_ = folder / (".vesmarin-" + std::to_string(VESMARIN_PID) + "-" +
                                   std::to_string(counter.fetch_add(1)) + ".tmp");
            file_ = std::fopen(temporary_.string().c_str(), "wbx");
            if (file_ == nullptr && errno != EEXIST)
                break;
        }
        if (file_ == nullptr)
            fail(errno);
    } catch (...) {
        fail(ENOMEM);
    }
}

AtomicFile::~AtomicFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temporary_, ec);
    }
}

void AtomicFile::fail(int errnum) noexcept {
    if (error_.empty()) {
        try {
            error_ = errnum != 0 ? std::strerror(errnum) : "write failed";
        } catch (...) {
        }
        if (error_.empty())
            error_ = "write failed";
    }
}

bool AtomicFile::write(std::span<const std::uint8_t> bytes) noexcept {
    if (!error_.empty() || file_ == nullptr)
        return false;
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        fail(errno);
        return false;
    }
    return true;
}

bool AtomicFile::commit() noexcept {
    if (file_ == nullptr) {
        fail(0);
        return false;
    }
    // The buffered rest goes out here: a full disk shows in fflush or fclose, not only in fwrite.
    errno = 0;
    if (std::fflush(file_) != 0)
        fail(errno);
#ifndef _WIN32
    // Some file systems report a full disk only when the data really goes to the disk; and the rename must
    // never put in place a file whose bytes a crash could still lose.
    errno = 0;
    if (error_.empty() && ::fsync(::fileno(file_)) != 0)
        fail(errno);
#endif
    errno = 0;
    if (std::fclose(file_) != 0)
        fail(errno);
    file_ = nullptr;
    if (!error_.empty())
        return false;
    std::error_code ec;
    std::filesystem::rename(temporary_, target_, ec);
    if (ec) {
        try {
            error_ = ec.message();
        } catch (...) {
            error_ = "rename failed";
        }
        return false;
    }
    temporary_.clear();
    return true;
}

bool writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         std::string& error) noexcept {
    AtomicFile file(target);
    const bool ok = file.write(bytes) && file.commit();
    try {
        error = file.error();
    } catch (...) {
    }
    return ok;
}

} // namespace vesmarin::iconwriter
