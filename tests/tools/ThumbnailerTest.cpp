// vesmarin-thumbnailer, run in-process: which stored image a thumbnail takes, and what a file manager
// gets back for good, odd and bad input. (ThumbnailerEntry.sh runs the installed entry's command line.)
#include "tools/Thumbnailer.h"

#include "platform/IconFileBuilder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace vesmarin::testing;
using vesmarin::iconreader::ImageFormat;
using vesmarin::iconreader::ImageInfo;
using vesmarin::tools::ThumbnailChoice;
namespace fs = std::filesystem;

namespace {

TEST(Thumbnailer, TakesTheLargestImageThatFitsAndScalesOnlyWhenNoneDoes) {
    // width, height, bits per pixel; bpp 0 marks an image the file lacks.
    const auto images = [](std::vector<std::array<int, 3>> list) {
        std::vector<ImageInfo> out;
        for (const auto& [w, h, bpp] : list)
            out.push_back({w, h, bpp, ImageFormat::Bitmap, 0, 0, bpp != 0});
        return out;
    };
    const auto windows = images({{16, 16, 32}, {32, 32, 32}, {48, 48, 32}, {256, 256, 32}});
    struct Case {
        std::vector<ImageInfo> images;
        int size;
        std::vector<ThumbnailChoice> expected; // image, size to scale to (0: as stored)
    };
    const std::vector<Case> cases = {
        {windows, 256, {{3, 0}, {2, 0}, {1, 0}, {0, 0}}},
        {windows, 128, {{2, 0}, {1, 0}, {0, 0}, {3, 128}}}, // 48 as stored, not 256 scaled
        {windows, 1024, {{3, 0}, {2, 0}, {1, 0}, {0, 0}}},  // never enlarged
        {windows, 8, {{0, 8}, {1, 8}, {2, 8}, {3, 8}}},     // the smallest larger one, scaled down
        {images({{32, 32, 4}, {32, 32, 8}, {32, 32, 32}, {32, 32, 24}}),
         64,
         {{2, 0}, {3, 0}, {1, 0}, {0, 0}}},
        {images({{48, 48, 0}, {64, 32, 32}, {24, 24, 8}}), 48, {{2, 0}, {1, 48}}}, // missing; wider than 48
        {images({{16, 16, 0}}), 48, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vesmarin::tools::thumbnailChoices(c.images, c.size), c.expected)
            << "size " << c.size << ", first " << c.images[0].width;
}

// The width and height of a PNG file, 0 x 0 when it is none.
std::pair<int, int> pngSize(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    Bytes b(24);
    if (!f.read(reinterpret_cast<char*>(b.data()), 24) || b[1] != 'P' || b[2] != 'N' || b[3] != 'G')
        return {0, 0};
    return {b[18] << 8 | b[19], b[22] << 8 | b[23]};
}

TEST(Thumbnailer, WritesAPngOrNothing) {
    const fs::path loader = "/usr/share/win32/win32-loader.exe", ico = "/usr/share/nsis/Stubs/uninst";
    if (!fs::exists(loader) || !fs::exists(ico))
        GTEST_SKIP() << "needs Debian's nsis-common and win32-loader";
    const fs::path dir = fs::temp_directory_path() / "vesmarin-thumbnailer-test";
    fs::remove_all(dir);
    fs::create_directories(dir / "with space");
    fs::copy_file(loader, dir / "with space" / "setup.exe");
    const auto write = [&](const std::string& name, const Bytes& bytes) {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return (dir / name).string();
    };
    const std::string noIcons = write("empty.dll", buildPe({{5, "", 1, 1033, Bytes(8, 0)}}));
    const std::string bomb = write(
        "bomb.exe", buildPe(iconGroup(1, "", 1, {{GroupEntry{1, 1, 0, 1, 32}, bombPng(1, 1, 1u << 30)}})));
    const std::string out = (dir / "thumb.png").string();
    struct Case {
        std::vector<std::string> args;
        int status;
        std::pair<int, int> size; // of the PNG written; 0 x 0: none
    };
    const std::vector<Case> cases = {
        {{"-s", "256", loader.string(), out}, 0, {256, 256}},
        {{"-s", "128", loader.string(), out}, 0, {48, 48}},
        {{"--size=20", ico.string(), out}, 0, {20, 20}},
        {{"-s", "64", "file://" + (dir / "with%20space" / "setup.exe").string(), out}, 0, {48, 48}},
        {{"-s", "64", "http://example.invalid/setup.exe", out}, 1, {0, 0}},
        {{"-s", "64", noIcons, out}, 1, {0, 0}},
        {{"-s", "64", bomb, out}, 1, {0, 0}},
        {{"-s", "64", "/etc/passwd", out}, 1, {0, 0}},
        {{"-s", "64", loader.string(), (dir / "no such folder" / "thumb.png").string()}, 1, {0, 0}},
        {{"-s", "0", loader.string(), out}, 2, {0, 0}},
        {{"-s", "64", loader.string()}, 2, {0, 0}},
    };
    for (const Case& c : cases) {
        fs::remove(out);
        std::ostringstream o, e;
        EXPECT_EQ(vesmarin::tools::runThumbnailer(c.args, o, e), c.status)
            << ::testing::PrintToString(c.args);
        EXPECT_EQ(pngSize(out), c.size) << ::testing::PrintToString(c.args);
        EXPECT_EQ(c.status == 0, e.str().empty()) << e.str();
    }
    // Nothing else was left behind: no temporary file, no partial thumbnail.
    fs::remove(out);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()),
              3); // the folder and the two inputs
    fs::remove_all(dir);
}

} // namespace
