// vesmarin-icons: lists and exports the icons of Windows programs, libraries and .ico files.
#include "tools/IconsTool.h"

#include <iostream>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

int main(int argc, char** argv) {
#ifndef _WIN32
    // A standard stream the caller closed is taken by /dev/null opened for reading: no file the tool
    // opens can then take its number (an output would receive the listing), and writing to it still
    // fails, so a closed standard output is reported as one that cannot be written.
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF && ::open("/dev/null", O_RDONLY) != fd)
            return 1;
#endif
    std::ios::sync_with_stdio(false);
    return vesmarin::tools::runIconsTool(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                         std::cerr);
}
