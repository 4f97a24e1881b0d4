// vesmarin-icons, run in-process: usage, listing and the three export formats.
#include "tools/IconsTool.h"

#include "platform/IconFileBuilder.h"
#include "platform/iconreader/IconReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>
#include <sstream>

using namespace vesmarin::testing;
namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = vesmarin::tools::runIconsTool(args, out, err);
    return {status, out.str(), err.str()};
}

Bytes slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

class IconsTool : public ::testing::Test {
protected:
    void SetUp() override {
        // ctest runs tests side by side: each has a folder of its own.
        dir = fs::temp_directory_path() / (std::string("vesmarin-icons-tool-") +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        // Group 5: a 16x16 4-bit image (red, its left half masked) and a 32x32 32-bit one with alpha;
        // then the named group "APP": a 24-bit 32x32 image, blue.
        Dib masked;
        masked.width = masked.height = 16;
        masked.bitCount = 4;
        masked.palette = {0x000000, 0xFF0000};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                masked.pixels.push_back(x < 8 ? 0 : 1);
                masked.mask.push_back(x < 8 ? 1 : 0);
            }
        Dib alpha;
        alpha.width = alpha.height = 32;
        alpha.pixels.assign(32 * 32, 0x8000FF00);
        auto res = iconGroup(0, "APP", 10, {{GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, 0x0000FF)}});
        const auto second = iconGroup(5, "", 1,
                                      {{GroupEntry{16, 16, 16, 1, 4}, encodeDib(masked)},
                                       {GroupEntry{32, 32, 0, 1, 32}, encodeDib(alpha)}});
        res.insert(res.end(), second.begin(), second.end());
        program = write("app.exe", buildPe(res));
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const Bytes& bytes) {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }

    fs::path dir;
    std::string program;
};

TEST_F(IconsTool, WrongUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frob", "x"},
        {"export"},
        {"list"},
        {"export", "--size", "0", "f"},
        {"export", "--size", "1025", "f"},
        {"export", "--size", "12px", "f"},
        {"export", "--size"},
        {"export", "--format", "gif", "f"},
        {"export", "--background", "12345", "f"},
        {"export", "--background", "GGGGGG", "f"},
        {"export", "--colour", "FFFFFF", "f"},
        {"list", "--format", "bmp", "f"},
    };
    for (const auto& args : cases) {
        const ToolRun r = run(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("vesmarin-icons: "), std::string::npos) << ::testing::PrintToString(args);
        EXPECT_TRUE(r.out.empty());
    }
    const ToolRun help = run({"export", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: vesmarin-icons list FILE..."), std::string::npos);
}

TEST_F(IconsTool, ListsEveryIconAndMarksTheImageTheLargeIconTakes) {
    const ToolRun r = run({"list", program});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, program + ": 2 icons (PE32)\n"
                               "  0: group \"APP\", language 1033\n"
                               "    * 32x32, 24 bpp, bitmap\n"
                               "  1: group 5, language 1033\n"
                               "      16x16, 4 bpp, bitmap\n"
                               "    * 32x32, 32 bpp, bitmap\n");
}

TEST_F(IconsTool, UnreadableFilesGiveOneLineEachAndTheRestGoesOn) {
    const std::string text = write("readme.txt", Bytes(100, 'x'));
    const std::string empty = write("empty.dll", buildPe({{5, "", 1, 1033, Bytes(8, 0)}}));
    const std::string missing = (dir / "missing.exe").string();
    const ToolRun r = run({"export", "--out", (dir / "out").string(), missing, text, program, empty});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, missing + ": cannot open: No such file or directory\n" + text +
                         ": not a PE, NE or icon file\n" + empty + ": no icons\n");
    EXPECT_TRUE(fs::exists(dir / "out" / "app.exe-1.png"));
    EXPECT_EQ(run({"list", program, program}).status, 0);
}

TEST_F(IconsTool, ExportsPngWithAlphaAtTheAskedSize) {
    const ToolRun r = run({"export", "--size", "16", "--out", (dir / "png").string(), program});
    ASSERT_EQ(r.status, 0) << r.err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, (dir / "png" / "app.exe-1.png").string().c_str()), 0);
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr), 0);
    EXPECT_EQ(image.width, 16u);
    // The 16x16 image is taken for 16: left half transparent, right half opaque red.
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(std::vector<std::uint8_t>(rgba.begin() + 15 * 4, rgba.begin() + 16 * 4),
              (std::vector<std::uint8_t>{255, 0, 0, 255}));
    EXPECT_TRUE(fs::exists(dir / "png" / "app.exe-0.png"));
}

TEST_F(IconsTool, ExportsBmpDrawnOnTheBackground) {
    const ToolRun r =
        run({"export", "--format=bmp", "--background", "0000FF", "--out", dir.string(), program});
    ASSERT_EQ(r.status, 0) << r.err;
    const Bytes bmp = slurp(dir / "app.exe-1.bmp");
    ASSERT_EQ(bmp.size(), 54u + 32 * 32 * 3);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[28], 24); // bits per pixel
    // Half-transparent green over blue, stored as B, G, R.
    EXPECT_EQ((std::vector<std::uint8_t>(bmp.begin() + 54, bmp.begin() + 57)),
              (std::vector<std::uint8_t>{0x7F, 0x80, 0x00}));
}

TEST_F(IconsTool, ExportsIcoWithTheWholeGroupAsStored) {
    const ToolRun r = run({"export", "--format", "ico", "--out", dir.string(), program});
    ASSERT_EQ(r.status, 0) << r.err;
    const vesmarin::iconreader::IconFile exe(program);
    EXPECT_EQ(slurp(dir / "app.exe-1.ico"), vesmarin::iconreader::makeIcoFile(*exe.storedGroup(1)));
    const vesmarin::iconreader::IconFile ico((dir / "app.exe-1.ico").string());
    EXPECT_EQ(ico.info(0)->images.size(), 2u);
}

} // namespace
