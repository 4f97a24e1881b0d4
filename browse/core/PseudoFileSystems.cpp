#include "browse/core/PseudoFileSystems.h"

#ifdef __linux__
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#endif

namespace vesmarin::scan {

#ifdef __linux__

namespace {

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

} // namespace

// devtmpfs reports the type of tmpfs, so the mount table tells them apart.
bool PseudoFileSystems::isDevtmpfs(dev_t dev) {
    if (!mountsRead_) {
        mountsRead_ = true;
        if (FILE* f = std::fopen("/proc/self/mountinfo", "re")) {
            char* line = nullptr; // whole lines, however long their mount paths
            std::size_t capacity = 0;
            while (getline(&line, &capacity, f) > 0) {
                unsigned major = 0, minor = 0;
                const char* dash = std::strstr(line, " - ");
                if (dash != nullptr && std::sscanf(line, "%*u %*u %u:%u", &major, &minor) == 2) {
                    devtmpfs_[makedev(major, minor)] = std::strncmp(dash + 3, "devtmpfs ", 9) == 0;
                }
            }
            std::free(line);
            std::fclose(f);
        }
    }
    const auto it = devtmpfs_.find(dev);
    return it != devtmpfs_.end() && it->second;
}

bool PseudoFileSystems::contains(int fd, dev_t dev) {
    struct statfs fs;
    if (fstatfs(fd, &fs) != 0) {
        return false;
    }
    const auto type = static_cast<unsigned long>(fs.f_type);
    return IsPseudoFileSystemType(type) || (type == kTmpfsMagic && isDevtmpfs(dev));
}

#else

bool PseudoFileSystems::contains(int, dev_t) {
    return false;
}

#endif

} // namespace vesmarin::scan
