// Writes the fuzz target's seed corpus: the sample files of the tests' file builder, and each image in
// them on its own. Usage: vesmarin-icon-seeds FOLDER
#include "platform/iconreader/IconReader.h"
#include "tests/platform/IconFileBuilder.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: vesmarin-icon-seeds FOLDER\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const auto write = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    int n = 0;
    for (const auto& [name, bytes] : vesmarin::testing::sampleFiles()) {
        write(name, bytes);
        ++n;
        const auto file = vesmarin::iconreader::IconFile::fromBytes(bytes);
        if (file.kind() != vesmarin::iconreader::FileKind::Ico)
            continue;
        if (const auto group = file.storedGroup(0))
            for (std::size_t i = 0; i < group->images.size(); ++i, ++n)
                write(name + ".image" + std::to_string(i), *group->images[i].data);
    }
    std::cout << n << " seeds in " << dir.string() << "\n";
    return 0;
}
