// Real Windows files no one here wrote (Debian's nsis-common and win32-loader), checked against what
// icoutils' wrestool and icotool make of the same files.
#include "platform/iconreader/IconReader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>

using namespace vesmarin::iconreader;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

const auto quote = [](const fs::path& p) { return "'" + p.string() + "'"; };

// A scratch file of this test's own (ctest runs tests side by side).
fs::path scratch(const std::string& suffix) {
    return fs::temp_directory_path() /
           (std::string("vesmarin-") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
            suffix);
}

// Runs a shell command and gives its standard output (none when it fails).
std::string run(const std::string& command) {
    const fs::path out = scratch(".out");
    if (std::system((command + " > " + quote(out) + " 2>/dev/null").c_str()) != 0)
        return {};
    const auto bytes = slurp(out);
    return {bytes.begin(), bytes.end()};
}

// The pixels of a PNG file as 0xAARRGGBB (stored low byte first), and its width; none when it cannot be read.
std::vector<std::uint32_t> readPng(const fs::path& path, int& width) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0)
        return {};
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> out(std::size_t{image.width} * image.height);
    width = static_cast<int>(image.width);
    return png_image_finish_read(&image, nullptr, out.data(), 0, nullptr) ? out
                                                                          : std::vector<std::uint32_t>{};
}

// Every image of the group whose own size our choice picks for that size is compared with icotool's
// PNG of it: the same transparency, and the same colour wherever anything shows.
void expectSamePixels(const IconFile& ours, int index, const fs::path& icoFile) {
    const auto info = ours.info(index);
    ASSERT_TRUE(info) << icoFile;
    const fs::path png = scratch(".png");
    int compared = 0;
    for (std::size_t k = 0; k < info->images.size(); ++k) {
        const ImageInfo& im = info->images[k];
        if (im.width != im.height || ours.info(index, im.width)->chosen != static_cast<int>(k))
            continue;
        fs::remove(png);
        run("icotool -x --index=" + std::to_string(k + 1) + " -o " + quote(png) + " " + quote(icoFile));
        int w = 0;
        const auto theirs = readPng(png, w);
        if (theirs.empty())
            continue; // icotool refuses images whose stored size is wrong; the reader falls back for them
        ASSERT_EQ(w, im.width) << icoFile << " image " << k;
        const auto mine = ours.picture(index, im.width);
        ASSERT_TRUE(mine) << icoFile << " image " << k;
        const auto same = [](std::uint32_t a, std::uint32_t b) {
            return (a >> 24) == (b >> 24) && ((a >> 24) == 0 || (a & 0xFFFFFF) == (b & 0xFFFFFF));
        };
        EXPECT_TRUE(std::equal(theirs.begin(), theirs.end(), mine->pixels.begin(), mine->pixels.end(), same))
            << icoFile << " image " << k << " (" << im.width << "x" << im.height << ")";
        ++compared;
    }
    EXPECT_GT(compared, 0) << icoFile;
}

std::vector<fs::path> filesIn(const fs::path& dir, const std::string& extension, const fs::path& also) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_regular_file() && e.path().extension() == extension && e.path().filename() != "uninst")
            out.push_back(e.path());
    std::sort(out.begin(), out.end());
    if (fs::exists(also))
        out.push_back(also);
    return out;
}

TEST(RealFiles, ProgramsMatchWrestool) {
    const auto files = filesIn("/usr/share/nsis/Stubs", "", "/usr/share/win32/win32-loader.exe");
    if (std::system("which wrestool icotool >/dev/null") != 0 || files.empty())
        GTEST_SKIP() << "icoutils, nsis-common or win32-loader is not installed";
    const fs::path extracted = scratch(".ico");
    for (const fs::path& file : files) {
        const std::string listing = run("wrestool -l " + quote(file));
        int groups = 0;
        for (std::size_t at = 0; (at = listing.find("--type=14 ", at)) != std::string::npos; ++at)
            ++groups;
        const IconFile ours(file.string());
        ASSERT_EQ(ours.count(), groups) << file;
        ASSERT_GT(groups, 0) << file;
        for (int i = 0; i < groups; ++i) {
            const auto info = ours.info(i);
            const std::string name = info->name.empty() ? std::to_string(info->id) : info->name;
            fs::remove(extracted);
            run("wrestool -x -t14 --name=" + quote(name) + " --language=" + std::to_string(info->language) +
                " -o " + quote(extracted) + " " + quote(file));
            const auto a = ours.storedGroup(i), b = IconFile::fromBytes(slurp(extracted)).storedGroup(0);
            ASSERT_TRUE(a && b) << file << " " << name;
            ASSERT_EQ(a->images.size(), b->images.size()) << file;
            for (std::size_t k = 0; k < a->images.size(); ++k) {
                EXPECT_EQ(*a->images[k].data, *b->images[k].data) << file << " image " << k;
                EXPECT_EQ(a->images[k].bitCount, b->images[k].bitCount) << file << " image " << k;
            }
            expectSamePixels(ours, i, extracted);
        }
    }
    for (const char* suffix : {".ico", ".png", ".out"})
        fs::remove(scratch(suffix));
}

TEST(RealFiles, IcoFilesMatchIcotool) {
    const auto files =
        filesIn("/usr/share/nsis/Contrib/Graphics/Icons", ".ico", "/usr/share/nsis/Stubs/uninst");
    if (std::system("which icotool >/dev/null") != 0 || files.empty())
        GTEST_SKIP() << "icoutils or nsis-common is not installed";
    for (const fs::path& file : files) {
        const std::string listing = run("icotool -l " + quote(file));
        const IconFile ours(file.string());
        ASSERT_EQ(ours.count(), 1) << file;
        EXPECT_EQ(ours.info(0)->images.size(),
                  static_cast<std::size_t>(std::count(listing.begin(), listing.end(), '\n')))
            << file;
        expectSamePixels(ours, 0, file);
    }
    for (const char* suffix : {".png", ".out"})
        fs::remove(scratch(suffix));
}

} // namespace
