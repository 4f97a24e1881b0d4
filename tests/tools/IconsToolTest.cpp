// vesmarin-icons, run in-process (and as a program where the standard streams matter): usage, listing,
// the three export formats, and what a full disk, colliding names and hostile files do to an export.
#include "tools/IconsTool.h"

#include "platform/IconFileBuilder.h"
#include "platform/iconreader/IconReader.h"
#include "platform/iconwriter/IconWriter.h"
#include "support/FileSizeLimit.h"

#include <chrono>
#include <cstdlib>
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

// The program itself through the shell, for what only a separate process shows (its standard streams).
ToolRun runProgram(const std::string& arguments, const fs::path& scratch) {
    const fs::path errFile = scratch / "stderr.txt";
    const int status = std::system(
        (std::string(VESMARIN_ICONS_TOOL) + " " + arguments + " 2>'" + errFile.string() + "'").c_str());
    std::ifstream f(errFile);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            "",
            {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()}};
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

Bytes slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// ESC ] 0 ; ... BEL sets a terminal's title, ESC [ 2 J clears it, U+009B is a one-character CSI.
const std::string kHostileName =
    "APP\x1b]0;x\x07\x1b[2J\n\x9B\\"; // one byte per UTF-16 unit in the file builder

class IconsTool : public ::testing::Test {
protected:
    void SetUp() override {
        // ctest runs tests side by side: each has a folder of its own.
        dir = fs::temp_directory_path() / (std::string("vesmarin-icons-tool-") +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        // Group 5: a 16x16 4-bit image (red, its left half masked) and a 32x32 32-bit one with alpha;
        // then a named group (a name that would clear a terminal and forge lines): a 24-bit 32x32 image,
        // blue.
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
        auto res =
            iconGroup(0, kHostileName, 10, {{GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, 0x0000FF)}});
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
        // Options that only export takes, in every spelling and place.
        {"list", "--out", ".", "f"},
        {"list", "--out=./", "f"},
        {"list", "--size", "32", "f"},
        {"list", "--size=32", "f"},
        {"list", "--background", "FFFFFF", "f"},
        {"--out", "x", "list", "f"},
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
                               "  0: group \"APP\\x1b]0;x\\x07\\x1b[2J\\n\\u009b\\\\\", language 1033\n"
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
    EXPECT_EQ(slurp(dir / "app.exe-1.ico"), vesmarin::iconwriter::encodeIco(*exe.storedGroup(1)));
    const vesmarin::iconreader::IconFile ico((dir / "app.exe-1.ico").string());
    EXPECT_EQ(ico.info(0)->images.size(), 2u);
}

TEST_F(IconsTool, AFailedWriteKeepsTheEarlierFileAndNamesEveryFailure) {
    const std::string out = (dir / "out").string();
    ASSERT_EQ(run({"export", "--format", "bmp", "--out", out, program}).status, 0);
    const Bytes first = slurp(dir / "out" / "app.exe-0.bmp"), second = slurp(dir / "out" / "app.exe-1.bmp");
    ToolRun r;
    {
        // A disk that holds 64 bytes of any new file: every bitmap (over 3 KB) fails part way.
        vesmarin::test::FileSizeLimit full(64);
        r = run({"export", "--format", "bmp", "--background", "000000", "--out", out, program});
    }
    EXPECT_EQ(r.status, 1);
    for (const char* name : {"app.exe-0.bmp", "app.exe-1.bmp"})
        EXPECT_NE(r.err.find(program + ": cannot write " + (dir / "out" / name).string() + ": "),
                  std::string::npos)
            << name << "\n"
            << r.err;
    EXPECT_EQ(slurp(dir / "out" / "app.exe-0.bmp"), first);
    EXPECT_EQ(slurp(dir / "out" / "app.exe-1.bmp"), second);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()),
              2); // no leftovers
}

TEST_F(IconsTool, InputsOfOneFileNameNeverReplaceEachOthersOutputs) {
    const fs::path stub = "/usr/share/nsis/Stubs/zlib-x86-ansi", loader = "/usr/share/win32/win32-loader.exe";
    if (!fs::exists(stub) || !fs::exists(loader))
        GTEST_SKIP() << "needs Debian's nsis-common and win32-loader";
    // x.exe twice, X.EXE (the same name to a file system that ignores case) and a file really called x.exe~2.
    const std::vector<std::pair<fs::path, fs::path>> inputs = {
        {stub, "a/x.exe"}, {loader, "b/x.exe"}, {program, "c/X.EXE"}, {program, "d/x.exe~2"}};
    std::vector<std::string> args = {"export", "--format", "ico", "--out", (dir / "out").string()};
    for (const auto& [from, to] : inputs) {
        fs::create_directories((dir / to).parent_path());
        fs::copy_file(from, dir / to);
        args.push_back((dir / to).string());
    }
    for (int round = 0; round < 2; ++round) { // a second run gives the same names, replacing the first's
        const ToolRun r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    const auto ico = [](const fs::path& input, int index) {
        return vesmarin::iconwriter::encodeIco(
            *vesmarin::iconreader::IconFile(input.string()).storedGroup(index));
    };
    const std::vector<std::pair<std::string, Bytes>> expected = {
        {"X.EXE~3-0.ico", ico(program, 0)},   {"X.EXE~3-1.ico", ico(program, 1)},
        {"x.exe-0.ico", ico(stub, 0)},        {"x.exe~2-0.ico", ico(loader, 0)},
        {"x.exe~2~2-0.ico", ico(program, 0)}, {"x.exe~2~2-1.ico", ico(program, 1)}};
    std::vector<std::pair<std::string, Bytes>> written;
    for (const auto& e : fs::directory_iterator(dir / "out"))
        written.emplace_back(e.path().filename().string(), slurp(e.path()));
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, expected);
}

TEST_F(IconsTool, AListingThatCannotBeWrittenFails) {
    for (const char* redirect : {">/dev/full", ">&-"}) {
        const ToolRun r = runProgram("list '" + program + "' " + redirect, dir);
        EXPECT_EQ(r.status, 1) << redirect;
        EXPECT_EQ(r.err, "vesmarin-icons: cannot write to standard output\n") << redirect;
    }
}

// An .ico file of the given entries, each (offset, size) into the bytes that follow the directory.
Bytes icoPointingInto(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& entries,
                      const Bytes& data) {
    Bytes f = {0,
               0,
               1,
               0,
               static_cast<std::uint8_t>(entries.size()),
               static_cast<std::uint8_t>(entries.size() >> 8)};
    const auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            f.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const auto start = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const auto& [offset, size] : entries) {
        f.insert(f.end(), {32, 32, 0, 0, 1, 0, 32, 0});
        put32(size);
        put32(start + offset);
    }
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

TEST_F(IconsTool, HostileFilesCostLittleAndAreReported) {
    const Bytes image = solidDib(32, 32, 32, 0x123456); // 4 KB
    std::vector<GroupEntry> twenty(20,
                                   GroupEntry{32, 32, 0, 1, 32, static_cast<std::uint32_t>(image.size()), 1});
    const std::vector<Resource> repeated = {{3, "", 1, 1033, image}, {14, "", 1, 1033, groupData(twenty)}};
    const Bytes big(20u << 20, 0);
    struct Case {
        const char* name;
        Bytes file;
        const char* format;
        int status;
        std::string err;        // the end of standard error
        std::size_t outputSize; // of <name>-0.<format>; 0 = none written
    };
    const std::vector<Case> cases = {
        // One pixel whose data inflates to 4 GB.
        {"bomb.exe", buildPe(iconGroup(1, "", 1, {{GroupEntry{1, 1, 0, 1, 32}, bombPng(1, 1, 4ull << 30)}})),
         "png", 1, ": damaged icon 0 not exported\n", 0},
        // One image listed twenty times: the .ico holds it once.
        {"repeated.exe", buildPe(repeated), "ico", 0, "", 6 + 16 * 20 + image.size()},
        // 65535 entries at one image, and four overlapping 20 MB ones: past the limits.
        {"many.ico",
         icoPointingInto(std::vector<std::pair<std::uint32_t, std::uint32_t>>(65535, {0, 4096}), image),
         "ico", 1, ": icon 0 has more than 256 images or 64 MB of them; not exported\n", 0},
        {"overlapping.ico",
         icoPointingInto({{0, 20u << 20}, {0, (20u << 20) - 1}, {1, (20u << 20) - 1}, {2, (20u << 20) - 2}},
                         big),
         "ico", 1, ": icon 0 has more than 256 images or 64 MB of them; not exported\n", 0},
    };
    for (const Case& c : cases) {
        const std::string file = write(c.name, c.file);
        const auto start = std::chrono::steady_clock::now();
        const ToolRun r = run({"export", "--format", c.format, "--out", (dir / "out").string(), file});
        // Generous: only unbounded work (minutes) fails it.
        EXPECT_LT(secondsSince(start), 5.0) << c.name;
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.err, c.err.empty() ? "" : file + c.err) << c.name;
        const fs::path output = dir / "out" / (std::string(c.name) + "-0." + c.format);
        EXPECT_EQ(fs::exists(output) ? fs::file_size(output) : 0, c.outputSize) << c.name;
    }
    const vesmarin::iconreader::IconFile back((dir / "out" / "repeated.exe-0.ico").string());
    EXPECT_EQ(back.info(0)->images.size(), 20u);
    EXPECT_EQ(back.picture(0)->at(0, 0), 0xFF123456u);
}

} // namespace
