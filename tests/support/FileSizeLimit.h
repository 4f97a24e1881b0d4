#pragma once

// A full disk without a small file system: while a FileSizeLimit lives, this process cannot make any file
// longer than `bytes`; a write past the limit fails with EFBIG instead of raising SIGXFSZ. Works as an
// ordinary user and in CI, with no loop device or mount.

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace vesmarin::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldAction_ = std::signal(SIGXFSZ, SIG_IGN);
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &old_), 0);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldAction_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldAction_)(int) = SIG_DFL;
};

} // namespace vesmarin::test
