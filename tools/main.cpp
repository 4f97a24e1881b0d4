// vesmarin-icons: lists and exports the icons of Windows programs, libraries and .ico files.
#include "tools/IconsTool.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return vesmarin::tools::runIconsTool(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                         std::cerr);
}
