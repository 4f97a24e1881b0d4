// vesmarin-thumbnailer: thumbnails of Windows programs, libraries and .ico files for file managers.
#include "tools/Thumbnailer.h"

#include <iostream>

int main(int argc, char** argv) {
    return vesmarin::tools::runThumbnailer(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                           std::cerr);
}
