#pragma once

// The kernel's pseudo-file-systems (/proc, /sys, /dev and the like), which the walk does not enter: they
// hold no programs, and reading some of them is slow or endless. Internal to the POSIX walk.

#include <sys/types.h>
#include <unordered_map>

namespace vesmarin::scan {

class PseudoFileSystems {
public:
    // True when the open folder `fd`, on device `dev`, lies on a pseudo-file-system (always false but on
    // Linux).
    bool contains(int fd, dev_t dev);

private:
    bool isDevtmpfs(dev_t dev);

    std::unordered_map<dev_t, bool> devtmpfs_; // tmpfs-typed devices: true for devtmpfs
    bool mountsRead_ = false;
};

} // namespace vesmarin::scan
