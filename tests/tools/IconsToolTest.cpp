// vesmarin-icons, run in-process (and as a program where the standard streams matter): usage, listing,
// the three export formats, and what a full disk, colliding names and hostile files do to an export.
#include "tools/IconsTool.h"

#include "platform/IconFileBuilder.h"
#include "platform/iconreader/IconReader.h"
#include "platform/iconwriter/IconWriter.h"
#include "support/FileSizeLimit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
        {"export", "--format", "json", "f"},
        {"export", "--index", "-1", "f"},
        {"export", "--index", "first", "f"},
        {"export", "--all-sizes", "--size", "48", "f"},
        {"export", "--all-sizes", "--format", "ico", "f"},
        {"export", "--all-sizes=yes", "f"},
        {"export", "--kinds", "exe", "f"}, // only with -r
        {"list", "-r", "--kinds", "exe,bat", "f"},
        {"list", "-rx", "f"},
        // Options that only export takes, in every spelling and place.
        {"list", "--out", ".", "f"},
        {"list", "--out=./", "f"},
        {"list", "--size", "32", "f"},
        {"list", "--size=32", "f"},
        {"list", "--background", "FFFFFF", "f"},
        {"list", "--index", "0", "f"},
        {"list", "--all-sizes", "f"},
        {"list", "-v", "f"},
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
    EXPECT_EQ(help.out.rfind("Usage: vesmarin-icons list [--format text|tsv|json]", 0), 0u);
    EXPECT_EQ(run({"--version"}).out, "vesmarin-icons 1.0.0\n");
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

// Debian's files that no one here wrote (nsis-common, win32-loader).
const fs::path kLoader = "/usr/share/win32/win32-loader.exe"; // 16 to 48 as bitmaps, 256 as PNG
const fs::path kStub = "/usr/share/nsis/Stubs/zlib-x86-ansi"; // one 32x32 bitmap
const fs::path kIcoFile = "/usr/share/nsis/Stubs/uninst";     // an .ico file
bool haveRealFiles() {
    return fs::exists(kLoader) && fs::exists(kStub) && fs::exists(kIcoFile);
}

TEST_F(IconsTool, ListsForScriptsAsTsvAndJson) {
    if (!haveRealFiles())
        GTEST_SKIP() << "needs Debian's nsis-common and win32-loader";
    const std::string loader = kLoader.string(), ico = kIcoFile.string();
    const ToolRun tsv = run({"list", "--format", "tsv", loader, ico, program});
    EXPECT_EQ(tsv.status, 0) << tsv.err;
    const std::string hostile = "APP\\x1b]0;x\\x07\\x1b[2J\\n\\u009b\\\\";
    EXPECT_EQ(tsv.out,
              "file\tindex\tgroup\tlanguage\twidth\theight\tbpp\tformat\tchosen\n" + loader +
                  "\t0\t103\t1033\t16\t16\t32\tbitmap\t0\n" + loader +
                  "\t0\t103\t1033\t24\t24\t32\tbitmap\t0\n" + loader +
                  "\t0\t103\t1033\t32\t32\t32\tbitmap\t1\n" + loader +
                  "\t0\t103\t1033\t48\t48\t32\tbitmap\t0\n" + loader +
                  "\t0\t103\t1033\t256\t256\t32\tpng\t0\n" + ico + "\t0\t\t\t32\t32\t4\tbitmap\t1\n" +
                  program + "\t0\t" + hostile + "\t1033\t32\t32\t24\tbitmap\t1\n" + program +
                  "\t1\t5\t1033\t16\t16\t4\tbitmap\t0\n" + program + "\t1\t5\t1033\t32\t32\t32\tbitmap\t1\n");

    // A file name that is not UTF-8 and holds a line break; a file that cannot be read.
    const fs::path odd = dir / "odd\xff\n.exe";
    fs::copy_file(program, odd);
    const std::string missing = (dir / "missing.exe").string();
    const ToolRun json = run({"list", "--format=json", loader, missing, odd.string()});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.err, missing + ": cannot open: No such file or directory\n");
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << json.out;
    const QJsonArray files = doc.object()["files"].toArray();
    ASSERT_EQ(files.size(), 3);
    const QJsonObject first = files[0].toObject()["icons"].toArray()[0].toObject();
    EXPECT_EQ(files[0].toObject()["kind"], "PE32");
    EXPECT_EQ(first["index"], 0);
    EXPECT_EQ(first["group"], 103);
    EXPECT_EQ(first["language"], 1033);
    const QJsonArray images = first["images"].toArray();
    ASSERT_EQ(images.size(), 5);
    EXPECT_EQ(images[2].toObject()["chosen"], true);
    EXPECT_EQ(
        images[4].toObject(),
        (QJsonObject{{"width", 256}, {"height", 256}, {"bpp", 32}, {"format", "png"}, {"chosen", false}}));
    EXPECT_EQ(files[1].toObject(), (QJsonObject{{"file", QString::fromStdString(missing)},
                                                {"error", "cannot open: No such file or directory"}}));
    // The name's bytes come back as Python's surrogateescape reads them; the group name whole.
    EXPECT_TRUE(files[2].toObject()["file"].toString().endsWith(QString("odd") + QChar(0xDCFF) + "\n.exe"));
    const QJsonObject named = files[2].toObject()["icons"].toArray()[0].toObject();
    EXPECT_EQ(named["group"], QString::fromLatin1(kHostileName));
    EXPECT_EQ(files[2].toObject()["icons"].toArray()[1].toObject()["group"], 5);
}

TEST_F(IconsTool, OptionsOnRealFiles) {
    if (!haveRealFiles())
        GTEST_SKIP() << "needs Debian's nsis-common and win32-loader";
    // A tree as Browse sees it: files before subfolders, names without regard to case, a link back up.
    const fs::path tree = dir / "tree";
    fs::create_directories(tree / "sub");
    fs::create_directories(tree / "Alpha");
    fs::copy_file(kLoader, tree / "b.EXE");
    fs::copy_file(kStub, tree / "Alpha" / "z.dll");
    fs::copy_file(kIcoFile, tree / "sub" / "u.ico");
    fs::create_directory_symlink("..", tree / "sub" / "up");
    const std::string out = (dir / "out").string();
    struct Case {
        std::vector<std::string>
            args; // {L}, {S}, {T}, {O}: the loader, the stub, the tree, the output folder
        int status;
        std::string stdoutHeads;          // standard output's lines that do not start with a space
        std::vector<std::string> written; // the output folder's files, sorted
    };
    const std::vector<Case> cases = {
        {{"export", "--out", "{O}", "{L}"}, 0, "", {"win32-loader.exe-0.png"}},
        {{"export", "-v", "--size=256", "--out", "{O}", "{L}"},
         0,
         "{O}/win32-loader.exe-0.png\n",
         {"win32-loader.exe-0.png"}},
        {{"export", "--all-sizes", "--out", "{O}", "{L}"},
         0,
         "",
         {"win32-loader.exe-0-16x16-32.png", "win32-loader.exe-0-24x24-32.png",
          "win32-loader.exe-0-256x256-32.png", "win32-loader.exe-0-32x32-32.png",
          "win32-loader.exe-0-48x48-32.png"}},
        {{"export", "--index", "0", "--index=3", "--out", "{O}", "{S}", "{L}"},
         1,
         "",
         {"win32-loader.exe-0.png", "zlib-x86-ansi-0.png"}},
        {{"list", "-r", "{T}"},
         0,
         "{T}/b.EXE: 1 icon (PE32)\n{T}/Alpha/z.dll: 1 icon (PE32)\n{T}/sub/u.ico: 1 icon (icon file)\n",
         {}},
        {{"list", "--recursive", "--kinds", "ICO,dll", "{T}", "{T}/sub"},
         0,
         "{T}/Alpha/z.dll: 1 icon (PE32)\n{T}/sub/u.ico: 1 icon (icon file)\n",
         {}},
        {{"export", "-rv", "--kinds=ico", "--format", "ico", "--out", "{O}", "{T}"},
         0,
         "{O}/u.ico-0.ico\n",
         {"u.ico-0.ico"}},
        {{"list", "{T}"}, 1, "", {}}, // a folder without -r
    };
    const auto expand = [&](std::string s) {
        for (const auto& [key, value] : {std::pair{"{L}", kLoader.string()},
                                         {"{S}", kStub.string()},
                                         {"{T}", tree.string()},
                                         {"{O}", out}})
            for (std::size_t at; (at = s.find(key)) != std::string::npos;)
                s.replace(at, 3, value);
        return s;
    };
    for (const Case& c : cases) {
        fs::remove_all(out);
        std::vector<std::string> args;
        for (const std::string& a : c.args)
            args.push_back(expand(a));
        const ToolRun r = run(args);
        const std::string label = ::testing::PrintToString(c.args);
        EXPECT_EQ(r.status, c.status) << label << "\n" << r.err;
        std::string heads;
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);)
            if (line.empty() || line[0] != ' ')
                heads += line + "\n";
        EXPECT_EQ(heads, expand(c.stdoutHeads)) << label;
        std::vector<std::string> written;
        if (fs::exists(out))
            for (const auto& e : fs::directory_iterator(out))
                written.push_back(e.path().filename().string());
        std::sort(written.begin(), written.end());
        EXPECT_EQ(written, c.written) << label;
    }
    // The 256 image is a stored PNG: --size 256 and --all-sizes write its bytes as stored.
    const auto group = vesmarin::iconreader::IconFile(kLoader.string()).storedGroup(0);
    ASSERT_TRUE(group && group->images.size() == 5);
    run({"export", "--size", "256", "--out", out, kLoader.string()});
    EXPECT_EQ(slurp(dir / "out" / "win32-loader.exe-0.png"), *group->images[4].data);
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

TEST_F(IconsTool, ExportsEachFormat) {
    // png at 16: the 16x16 image, its left half transparent, its right half opaque red.
    ASSERT_EQ(run({"export", "--size", "16", "--out", dir.string(), program}).status, 0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, (dir / "app.exe-1.png").string().c_str()), 0);
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr), 0);
    EXPECT_EQ(image.width, 16u);
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(Bytes(rgba.begin() + 15 * 4, rgba.begin() + 16 * 4), (Bytes{255, 0, 0, 255}));
    // bmp: half-transparent green drawn over blue, stored as B, G, R after the 54-byte header.
    ASSERT_EQ(
        run({"export", "--format=bmp", "--background", "0000FF", "--out", dir.string(), program}).status, 0);
    const Bytes bmp = slurp(dir / "app.exe-1.bmp");
    ASSERT_EQ(bmp.size(), 54u + 32 * 32 * 3);
    EXPECT_EQ(bmp[28], 24); // bits per pixel
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 57), (Bytes{0x7F, 0x80, 0x00}));
    // ico: the whole group as stored.
    ASSERT_EQ(run({"export", "--format", "ico", "--out", dir.string(), program}).status, 0);
    const vesmarin::iconreader::IconFile exe(program);
    EXPECT_EQ(slurp(dir / "app.exe-1.ico"), vesmarin::iconwriter::encodeIco(*exe.storedGroup(1)));
    EXPECT_EQ(vesmarin::iconreader::IconFile((dir / "app.exe-1.ico").string()).info(0)->images.size(), 2u);
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
