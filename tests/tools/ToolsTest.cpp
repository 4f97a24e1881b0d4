// vesmarin-icons and vesmarin-thumbnailer, run in-process (and as a program where the standard streams
// matter): usage, listing, the export formats, thumbnails, and what a full disk, colliding names and hostile
// files do to them. (ThumbnailerEntry.sh runs the installed thumbnailer entry's command line.)
#include "platform/IconFileBuilder.h"
#include "platform/iconreader/IconReader.h"
#include "platform/iconwriter/IconWriter.h"
#include "support/FileSizeLimit.h"
#include "tools/IconsTool.h"
#include "tools/Thumbnailer.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>

using namespace vesmarin::testing;
using vesmarin::iconreader::IconFile;
namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status;
    std::string out, err;
};

ToolRun run(const std::vector<std::string>& args, bool thumbnailer = false) {
    std::ostringstream out, err;
    const int status = thumbnailer ? vesmarin::tools::runThumbnailer(args, out, err)
                                   : vesmarin::tools::runIconsTool(args, out, err);
    return {status, out.str(), err.str()};
}

// The words of `line`, each {K} in them replaced by the value given for K.
std::vector<std::string> Words(const std::string& line,
                               const std::map<std::string, std::string>& values = {}) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w; words.push_back(w))
        for (const auto& [key, value] : values)
            for (std::size_t at; (at = w.find("{" + key + "}")) != std::string::npos;)
                w.replace(at, key.size() + 2, value);
    return words;
}

Bytes slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The names of the files in a folder, sorted without regard to case, with a space between; "" when there is
// no such folder.
std::string Listing(const std::string& folder) {
    const QStringList names = QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden);
    return names.join(u' ').toStdString();
}

// Debian's files that no one here wrote (nsis-common, win32-loader).
const fs::path kLoader = "/usr/share/win32/win32-loader.exe"; // 16 to 48 as bitmaps, 256 as PNG
const fs::path kStub = "/usr/share/nsis/Stubs/zlib-x86-ansi"; // one 32x32 bitmap
const fs::path kIcoFile = "/usr/share/nsis/Stubs/uninst";     // an .ico file, 32x32 at 4 bits
#define NEEDS_REAL_FILES()                                                                                   \
    if (!fs::exists(kLoader) || !fs::exists(kStub) || !fs::exists(kIcoFile))                                 \
    GTEST_SKIP() << "needs Debian's nsis-common and win32-loader"

// ESC ] 0 ; ... BEL sets a terminal's title, ESC [ 2 J clears it, U+009B is a one-character CSI.
const std::string kHostileName = "APP\x1b]0;x\x07\x1b[2J\n\x9B\\"; // one byte per UTF-16 unit in the file
const std::string kHostileShown = "APP\\x1b]0;x\\x07\\x1b[2J\\n\\u009b\\\\";

class Tools : public ::testing::Test {
protected:
    Tools() {
        // A group named to clear a terminal and forge lines: a 24-bit 32x32 image, blue. Group 5: a 16x16
        // 4-bit image, red, and a 32x32 32-bit one, half-transparent green.
        Dib alpha;
        alpha.width = alpha.height = 32;
        alpha.pixels.assign(32 * 32, 0x8000FF00);
        auto res =
            iconGroup(0, kHostileName, 10, {{GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, 0x0000FF)}});
        const auto five = iconGroup(5, "", 1,
                                    {{GroupEntry{16, 16, 16, 1, 4}, solidDib(16, 16, 4, 0xFF0000)},
                                     {GroupEntry{32, 32, 0, 1, 32}, encodeDib(alpha)}});
        res.insert(res.end(), five.begin(), five.end());
        program = write("app.exe", buildPe(res));
    }

    // Writes `bytes` as `name` in the test's folder, making the folders between; the file's path.
    std::string write(const std::string& name, const Bytes& bytes) {
        fs::create_directories((dir / name).parent_path());
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return (dir / name).string();
    }

    QTemporaryDir tmp;
    const fs::path dir = tmp.path().toStdString();
    const std::string out = (dir / "out").string();
    std::string program;
};

// 2 for wrong usage; 1 when the listing cannot be written, which only the program itself shows.
TEST_F(Tools, WrongUsageExitsWithTwoAListingThatCannotBeWrittenWithOne) {
    for (const char* line :
         {"", "frob x", "export", "export --size 0 f", "export --size 1025 f", "export --size 12px f",
          "export --format gif f", "export --background GGGGGG f", "list --format bmp f",
          "export --index first f", "export --all-sizes --format ico f", "export --kinds exe f", "list -rx f",
          "list --size 32 f"}) {
        const ToolRun r = run(Words(line));
        EXPECT_EQ(std::tuple(r.status, r.err.substr(0, 16), r.out), std::tuple(2, "vesmarin-icons: ", ""))
            << line;
    }
    for (const char* redirect : {">/dev/full", ">&-"}) {
        const int status = std::system((std::string(VESMARIN_ICONS_TOOL) + " list '" + program + "' " +
                                        redirect + " 2>'" + (dir / "err").string() + "'")
                                           .c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << redirect;
        const Bytes err = slurp(dir / "err");
        EXPECT_EQ(std::string(err.begin(), err.end()), "vesmarin-icons: cannot write to standard output\n");
    }
}

// Each file that cannot be read gives one line, and the rest goes on. A name that would drive a terminal, or
// break a line or a field, comes out escaped, in text, TSV and JSON; so does a file name that is not UTF-8,
// which JSON gives as Python's surrogateescape reads it.
TEST_F(Tools, ListsEveryIconInEachFormatAndReportsUnreadableFiles) {
    const std::string text = write("readme.txt", Bytes(100, 'x')),
                      empty = write("empty.dll", buildPe({{5, "", 1, 1033, Bytes(8, 0)}}));
    const std::string missing = (dir / "missing.exe").string();
    const std::string errors = missing + ": cannot open: No such file or directory\n" + text +
                               ": not a PE, NE or icon file\n" + empty + ": no icons\n";
    const ToolRun r = run({"list", missing, text, program, empty});
    EXPECT_EQ(std::pair(r.status, r.err), std::pair(1, errors));
    EXPECT_EQ(r.out, program + ": 2 icons (PE32)\n  0: group \"" + kHostileShown +
                         "\", language 1033\n"
                         "    * 32x32, 24 bpp, bitmap\n"
                         "  1: group 5, language 1033\n"
                         "      16x16, 4 bpp, bitmap\n"
                         "    * 32x32, 32 bpp, bitmap\n");

    EXPECT_EQ(run({"list", "--format", "tsv", program}).out,
              "file\tindex\tgroup\tlanguage\twidth\theight\tbpp\tformat\tchosen\n" + program + "\t0\t" +
                  kHostileShown + "\t1033\t32\t32\t24\tbitmap\t1\n" + program +
                  "\t1\t5\t1033\t16\t16\t4\tbitmap\t0\n" + program + "\t1\t5\t1033\t32\t32\t32\tbitmap\t1\n");
    const std::string odd = write("odd\xff\n.exe", slurp(program));
    const ToolRun json = run({"list", "--format=json", missing, odd});
    const QJsonArray files = QJsonDocument::fromJson(QByteArray::fromStdString(json.out))["files"].toArray();
    ASSERT_EQ(std::pair(json.status, files.size()), std::pair(1, qsizetype(2))) << json.out;
    EXPECT_EQ(files[0].toObject(), (QJsonObject{{"file", QString::fromStdString(missing)},
                                                {"error", "cannot open: No such file or directory"}}));
    EXPECT_TRUE(files[1]["file"].toString().endsWith(QString("odd") + QChar(0xDCFF) + "\n.exe"));
    EXPECT_EQ(files[1]["icons"][0]["group"], QString::fromLatin1(kHostileName));
    fs::remove(odd); // which the temporary folder cannot name
}

TEST_F(Tools, OptionsOnRealFiles) {
    NEEDS_REAL_FILES();
    // A tree as Browse sees it: files before subfolders, names without regard to case, a link back up.
    const fs::path tree = dir / "tree";
    write("tree/b.EXE", slurp(kLoader)), write("tree/Alpha/z.dll", slurp(kStub)),
        write("tree/sub/u.ico", slurp(kIcoFile));
    fs::create_directory_symlink("..", tree / "sub" / "up");
    const std::map<std::string, std::string> values = {
        {"L", kLoader.string()}, {"S", kStub.string()}, {"T", tree.string()}, {"O", out}};
    // Arguments, status, standard output's lines that do not start with a space, the output folder's files.
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"export --index 0 --index=3 --out {O} {S} {L}", 1, "", "win32-loader.exe-0.png zlib-x86-ansi-0.png"},
        {"list --recursive --kinds ICO,exe {T} {T}/sub", 0,
         "{T}/b.EXE: 1 icon (PE32)\n{T}/sub/u.ico: 1 icon (icon file)\n", ""},
        {"list {T}", 1, "", ""}, // a folder without -r
        {"export -v --size=256 --out {O} {L}", 0, "{O}/win32-loader.exe-0.png\n", "win32-loader.exe-0.png"},
    };
    for (const auto& [args, status, heads, written] : cases) {
        fs::remove_all(out);
        const ToolRun r = run(Words(args, values));
        EXPECT_EQ(Words(std::regex_replace(r.out, std::regex("\n .*"), "")), Words(heads, values)) << args;
        EXPECT_EQ(std::pair(r.status, Listing(out)), std::pair(status, std::string(written))) << args;
    }
    // The 256 image is a stored PNG: --size 256 (the last case) writes its bytes as stored.
    EXPECT_EQ(slurp(dir / "out" / "win32-loader.exe-0.png"),
              *IconFile(kLoader.string()).storedGroup(0)->images.at(4).data);
}

// bmp: half-transparent green drawn over blue, stored as B, G, R after the 54-byte header. (PNG: the stored
// one above, Screens.sh for a scaled one; ICO: the test below.) On a full disk each failure is named and the
// earlier files are kept.
TEST_F(Tools, ExportsEachFormatAndAFailedWriteKeepsTheEarlierFile) {
    ASSERT_EQ(run(Words("export --format=bmp --background 0000FF --out " + out + " " + program)).status, 0);
    const Bytes first = slurp(dir / "out/app.exe-0.bmp"), second = slurp(dir / "out/app.exe-1.bmp");
    ASSERT_EQ(second.size(), 54u + 32 * 32 * 3);
    EXPECT_EQ(Bytes(second.begin() + 54, second.begin() + 57), (Bytes{0x7F, 0x80, 0x00}));

    const ToolRun r = [&] { // a disk that holds 64 bytes of any new file: every bitmap (3 KB) fails part way
        vesmarin::test::FileSizeLimit full(64);
        return run({"export", "--format", "bmp", "--background", "000000", "--out", out, program});
    }();
    EXPECT_EQ(r.status, 1);
    for (const char* name : {"app.exe-0.bmp", "app.exe-1.bmp"})
        EXPECT_NE(r.err.find(program + ": cannot write " + out + "/" + name + ": "), std::string::npos)
            << r.err;
    EXPECT_EQ(std::pair(slurp(dir / "out/app.exe-0.bmp"), slurp(dir / "out/app.exe-1.bmp")),
              std::pair(first, second));
    EXPECT_EQ(Listing(out), "app.exe-0.bmp app.exe-1.bmp") << "no leftovers";
}

TEST_F(Tools, InputsOfOneFileNameNeverReplaceEachOthersOutputs) {
    NEEDS_REAL_FILES();
    // x.exe twice, X.EXE (the same name to a file system that ignores case) and a file really called x.exe~2.
    std::vector<std::string> args = {"export", "--format", "ico", "--out", out};
    for (const auto& [from, to] :
         {std::pair{kStub, "a/x.exe"}, {kLoader, "b/x.exe"}, {program, "c/X.EXE"}, {program, "d/x.exe~2"}})
        args.push_back(write(to, slurp(from)));
    for (int round = 0; round < 2; ++round) // a second run gives the same names, replacing the first's
        ASSERT_EQ(run(args).status, 0);
    EXPECT_EQ(Listing(out),
              "x.exe-0.ico x.exe~2-0.ico x.exe~2~2-0.ico x.exe~2~2-1.ico X.EXE~3-0.ico X.EXE~3-1.ico");
    EXPECT_EQ(slurp(out + "/x.exe~2-0.ico"),
              vesmarin::iconwriter::encodeIco(*IconFile(kLoader.string()).storedGroup(0)))
        << "b/x.exe's icon, not the file called x.exe~2";
}

// An .ico file of the given entries, each (offset, size) into the bytes that follow the directory.
Bytes icoPointingInto(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& entries,
                      const Bytes& data) {
    const auto count = static_cast<std::uint32_t>(entries.size());
    Bytes f = {0, 0, 1, 0, std::uint8_t(count), std::uint8_t(count >> 8)};
    for (const auto& [offset, size] : entries) {
        f.insert(f.end(), {32, 32, 0, 0, 1, 0, 32, 0});
        for (const std::uint32_t v : {size, 6 + 16 * count + offset})
            for (int shift = 0; shift < 32; shift += 8)
                f.push_back(std::uint8_t(v >> shift));
    }
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

TEST_F(Tools, HostileFilesCostLittleAndAreReported) {
    const Bytes image = solidDib(32, 32, 32, 0x123456); // 4 KB
    const std::vector<GroupEntry> twenty(20, GroupEntry{32, 32, 0, 1, 32, std::uint32_t(image.size()), 1});
    const std::string tooMany = ": icon 0 has more than 256 images or 64 MB of them; not exported\n";
    // The file, the format asked for, status, the end of standard error, the size of <name>-0.<format>.
    const std::tuple<const char*, Bytes, const char*, int, std::string, std::size_t> cases[] = {
        // One pixel whose data inflates to 4 GB.
        {"bomb.exe", buildPe(iconGroup(1, "", 1, {{GroupEntry{1, 1, 0, 1, 32}, bombPng(1, 1, 4ull << 30)}})),
         "png", 1, ": damaged icon 0 not exported\n", 0},
        // One image listed twenty times: the .ico holds it once.
        {"repeated.exe", buildPe({{3, "", 1, 1033, image}, {14, "", 1, 1033, groupData(twenty)}}), "ico", 0,
         "", 6 + 16 * 20 + image.size()},
        // 65535 entries at one image, and four overlapping 20 MB ones: past the limits.
        {"many.ico", icoPointingInto({65535, {0, 4096}}, image), "ico", 1, tooMany, 0},
        {"overlapping.ico",
         icoPointingInto({{0, 20u << 20}, {0, (20u << 20) - 1}, {1, (20u << 20) - 1}, {2, (20u << 20) - 2}},
                         Bytes(20u << 20, 0)),
         "ico", 1, tooMany, 0},
    };
    for (const auto& [name, bytes, format, status, err, size] : cases) {
        const std::string file = write(name, bytes);
        const auto start = std::chrono::steady_clock::now();
        const ToolRun r = run({"export", "--format", format, "--out", out, file});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "unbounded work";
        EXPECT_EQ(std::pair(r.status, r.err), std::pair(status, err.empty() ? "" : file + err)) << name;
        EXPECT_EQ(slurp(out + "/" + name + "-0." + format).size(), size) << name; // 0: none written
    }
}

// Which stored image a thumbnail of each size comes from, and in which order the others stand in for a
// damaged one: the largest that fits as stored, the deepest of equal sizes, a larger one scaled down only
// when none fits, and never an image the file lacks.
TEST(Thumbnailer, TakesTheLargestImageThatFitsAndScalesOnlyWhenNoneDoes) {
    using vesmarin::iconreader::ImageInfo;
    // width, height, bits per pixel; bpp 0 marks an image the file lacks.
    const auto images = [](std::vector<std::array<int, 3>> list) {
        std::vector<ImageInfo> out;
        for (const auto& [w, h, bpp] : list)
            out.push_back({w, h, bpp, vesmarin::iconreader::ImageFormat::Bitmap, 0, 0, bpp != 0});
        return out;
    };
    const auto windows = images({{16, 16, 32}, {32, 32, 32}, {48, 48, 32}, {256, 256, 32}});
    // The images, the size asked for, the choices: an image and the size to scale it to (0: as stored).
    const std::tuple<std::vector<ImageInfo>, int, std::vector<vesmarin::tools::ThumbnailChoice>> cases[] = {
        {windows, 128, {{2, 0}, {1, 0}, {0, 0}, {3, 128}}}, // 48 as stored, not 256 scaled
        {windows, 1024, {{3, 0}, {2, 0}, {1, 0}, {0, 0}}},  // the largest, never enlarged
        {windows, 8, {{0, 8}, {1, 8}, {2, 8}, {3, 8}}},     // the smallest larger one, scaled down
        {images({{32, 32, 4}, {32, 32, 8}, {32, 32, 32}, {32, 32, 24}}),
         64,
         {{2, 0}, {3, 0}, {1, 0}, {0, 0}}},
        {images({{48, 48, 0}, {64, 32, 32}, {24, 24, 8}}), 48, {{2, 0}, {1, 48}}}, // missing; wider than 48
        {images({{16, 16, 0}}), 48, {}},
    };
    for (const auto& [list, size, expected] : cases)
        EXPECT_EQ(vesmarin::tools::thumbnailChoices(list, size), expected) << "size " << size;
}

// The largest stored image that fits; a damaged image, an output it cannot write, wrong usage: a PNG or
// nothing, and no temporary file. (The sizes a file manager asks for: ThumbnailerEntry.sh.)
TEST_F(Tools, TheThumbnailerWritesAPngOrNothing) {
    NEEDS_REAL_FILES();
    const std::string loader = kLoader.string(), thumb = out + "/thumb.png";
    const std::string bomb = write(
        "bomb.exe", buildPe(iconGroup(1, "", 1, {{GroupEntry{1, 1, 0, 1, 32}, bombPng(1, 1, 1u << 30)}})));
    // The arguments, the status, the size of the PNG written (0 x 0: none).
    const std::tuple<std::vector<std::string>, int, QSize> cases[] = {
        {{"--size=64", loader, thumb}, 0, {48, 48}},
        {{"-s", "64", bomb, thumb}, 1, {0, 0}},
        {{"-s", "64", loader, out + "/no such folder/thumb.png"}, 1, {0, 0}},
        {{"-s", "0", loader, thumb}, 2, {0, 0}},
    };
    fs::create_directories(out);
    for (const auto& [args, status, size] : cases) {
        fs::remove(thumb);
        const ToolRun r = run(args, true);
        // No temporary file, no partial thumbnail.
        EXPECT_EQ(
            std::tuple(r.status, QImage(QString::fromStdString(thumb)).size(), r.err.empty(), Listing(out)),
            std::tuple(status, size, status == 0, std::string(status == 0 ? "thumb.png" : "")))
            << r.err;
    }
}

} // namespace
