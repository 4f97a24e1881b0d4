#pragma once

// A full disk without a small file system: while a FileSizeLimit lives, this process cannot make any file
// longer than `bytes`; a write past the limit fails with EFBIG instead of raising SIGXFSZ. Works as an
// ordinary user and in CI, with no loop device or mount. Never copied.

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace vesmarin::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &old_), 0);
        const rlimit limit{bytes, old_.rlim_max};
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_), std::signal(SIGXFSZ, oldAction_); }

private:
    rlimit old_{};
    void (*oldAction_)(int) = std::signal(SIGXFSZ, SIG_IGN);
};

} // namespace vesmarin::test
