#pragma once

// Root reads every folder, so tests of unreadable folders drop to the unprivileged user "nobody" for
// the part that reads the disk. An ordinary user needs no change.

#include <gtest/gtest.h>
#include <sys/types.h>
#include <unistd.h>

namespace vesmarin::test {

class AsNobody {
public:
    AsNobody() : wasRoot_(geteuid() == 0) {
        if (wasRoot_) {
            EXPECT_EQ(setegid(65534), 0);
            EXPECT_EQ(seteuid(65534), 0);
        }
    }
    ~AsNobody() {
        if (wasRoot_) {
            EXPECT_EQ(seteuid(0), 0);
            EXPECT_EQ(setegid(0), 0);
        }
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;

private:
    bool wasRoot_;
};

} // namespace vesmarin::test
