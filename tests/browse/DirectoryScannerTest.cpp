// The collection behind Browse, run over real folders made for each test.

#include "browse/core/DirectoryScanner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <tuple>
#ifndef _WIN32
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace vesmarin;
using Names = std::vector<std::string>;

namespace {

constexpr const char* kExe = "*.EXE;*.EXe;*.ExE;*.Exe;*.eXE;*.eXe;*.exE;*.exe";
constexpr const char* kDll = "*.DLL;*.DLl;*.DlL;*.Dll;*.dLL;*.dLl;*.dlL;*.dll";
const std::string kBoth = std::string(kExe) + ";" + kDll;

// The names in a text, split at blanks, each after the prefix.
Names Split(const std::string& text, const std::string& prefix = "") {
    std::istringstream in(text);
    Names out;
    for (std::string name; in >> name;)
        out.push_back(prefix + name);
    return out;
}

class TempTree : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "vesmarin-walk-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        root_ = name;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }

    // Creates the files (and their folders) named relative to the tree, apart by blanks; names ending in
    // "/" are folders.
    void Make(const std::string& names) {
        for (const std::string& name : Split(names)) {
            fs::create_directories((root_ / name).parent_path());
            if (!name.ends_with('/'))
                std::ofstream(root_ / name).put('x');
        }
    }

    std::string Path(const std::string& r = {}) const { return root_.string() + (r.empty() ? "" : "/" + r); }

    // The collected list with the tree's own path taken off, so expectations read as relative names.
    Names Collect(const std::string& start, int levels, std::string_view patterns,
                  ScanProgress progress = {}) {
        Names found;
        CollectFiles(start, levels, patterns, found, progress);
        for (std::string& f : found) {
            EXPECT_EQ(f.rfind(root_.string() + "/", 0), 0u) << f;
            f.erase(0, root_.string().size() + 1);
        }
        return found;
    }

    fs::path root_;
};

// The open file handles of this process (0 where that cannot be told): a walk must leave none behind.
long OpenHandles() {
    std::error_code ec; // the folder exists on Linux only
    return std::distance(fs::directory_iterator("/proc/self/fd", ec), fs::directory_iterator());
}

// --- What is collected, and in which order ---------------------------------------------------------------

// Each folder's files before its subfolders, both in case-insensitive name order; the levels count from the
// start folder. The same tree browsed from the root (a temporary folder standing for "/") gives the files of
// the same folders.
TEST_F(TempTree, FilesOfTheChosenKindsLevelByLevelInNameOrder) {
    Make("b.exe A.EXE c.Exe d.txt a/q.exe a/P.exe a/r.dll B/z.exe B/d/y.exe B/d/x.DLL B/d/e/w.exe "
         "docs/readme.txt "
         "docs/c.exe/ G/g.exe _/u.exe");
    const std::string top = "A.EXE b.exe c.Exe ",
                      all = top + "a/P.exe a/q.exe B/z.exe B/d/y.exe B/d/e/w.exe G/g.exe _/u.exe";
    const std::tuple<std::string, int, std::string, std::string> cases[] = {
        {"", 0, kExe, all},
        {"", 9999, kExe, all},
        {"", 1, kExe, top},
        {"", 2, kExe, top + "a/P.exe a/q.exe B/z.exe G/g.exe _/u.exe"},
        {"", 3, kExe, top + "a/P.exe a/q.exe B/z.exe B/d/y.exe G/g.exe _/u.exe"},
        {"", 0, kBoth,
         top + "a/P.exe a/q.exe a/r.dll B/z.exe B/d/x.DLL B/d/y.exe B/d/e/w.exe G/g.exe _/u.exe"},
        {"", 2, kDll, "a/r.dll"},  // none in the start folder: its subfolders' files
        {"docs", 0, kBoth, ""},    // a folder named like a program is no file
        {"missing", 0, kBoth, ""}, // a start folder that cannot be read finds nothing
        {"d.txt", 0, "*", ""},
    };
    for (const auto& [start, levels, patterns, expected] : cases) {
        SCOPED_TRACE(start + " levels " + std::to_string(levels) + " " + patterns.substr(0, 5));
        EXPECT_EQ(Collect(Path(start), levels, patterns), Split(expected));
        if (start.empty()) {
            Names fromRoot;
            CollectFiles("/", levels, patterns, fromRoot, {}, ScanOptions{Path()});
            EXPECT_EQ(fromRoot, Split(expected, "/")) << "from the root";
        }
    }
    EXPECT_TRUE(Collect("", 0, "*").empty()) << "no folder is not the root";
}

TEST(NameOrder, CaseInsensitiveAndTotal) {
    // Letters fold, and come before '_' as an upper-case table orders them; between the same letters the
    // bytes decide, never "equal". Accented Latin and Greek letters fold too, final sigma with sigma, Latin
    // beyond Latin-1 and Cyrillic to the last letter; other scripts go by code point, outside the basic plane
    // too; bytes that are not UTF-8 come after every letter, and a cut sequence still has a place.
    const std::string rows[] = {
        "a < B",      "Zeta > alpha", "abc < ABCD", "Z < _",  "A < a",        "a = a",
        "été < ÉTÉZ", "βα > Αγ",      "άλ < ΆΜ",    "ς > Σ",  "ί < Ία",       "ā < Āb",
        "б < В",      "я < Яа",       "あ > €",     "😀 > Ａ", "\xFF\xFE > a", "a\xC3 > a\xC3\xA9"};
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const std::string& row : rows) {
        const std::size_t blank = row.find(' ');
        const std::string a = row.substr(0, blank), b = row.substr(blank + 3);
        // '<', '=' and '>' follow one another: less than '=' is -1, more is 1.
        EXPECT_EQ(sign(CompareNames(a, b)), row[blank + 1] - '=') << row;
        EXPECT_EQ(sign(CompareNames(b, a)), '=' - row[blank + 1]) << row;
    }
}

// A name matches when it matches any pattern of the list; "*" stands for any run of characters, "?" for any
// one.
TEST(Patterns, AnyOfTheListWithWildcards) {
    const FilePatterns exe(kExe), wild("x?z*.b*n; ;");
    const std::tuple<const FilePatterns*, const char*, bool> cases[] = {
        {&exe, ".exe", true},     {&exe, "A.eXe", true},       {&exe, "a.exe.txt", false},
        {&exe, "aexe", false},    {&exe, "a.ex", false},       {&exe, "", false},
        {&wild, "xyz.bin", true}, {&wild, "xyzzy.bbnn", true}, {&wild, "xz.bin", false}};
    for (const auto& [patterns, name, matches] : cases)
        EXPECT_EQ(patterns->Matches(name), matches) << name;
    EXPECT_TRUE(FilePatterns(" ; ").empty());
}

// --- Faults the walk survives ---------------------------------------------------------------------------

TEST_F(TempTree, FolderThatVanishesDuringTheWalkIsSkipped) {
    Make("a/1.exe b/2.exe b/inner/3.exe c/4.exe d/5.exe");
    const auto found = Collect(Path(), 0, kExe, [&](ScanEvent event, std::string_view path) {
        if (event == ScanEvent::Folder && path == Path("a")) {
            fs::remove_all(Path("b")); // listed by the start folder, gone when the walk gets there
            fs::remove_all(Path("c"));
            std::ofstream(Path("c")).put('x'); // a file where the folder stood
        }
    });
    EXPECT_EQ(found, Split("a/1.exe d/5.exe"));
}

#ifndef _WIN32
TEST_F(TempTree, FolderWithoutPermissionIsSkipped) {
    Make("a/1.exe locked/2.exe locked/in/3.exe z/4.exe");
    // Permissions do not bind the super-user, so as root the walk runs as the unprivileged user "nobody",
    // who may enter every folder of the tree but the locked one.
    const bool asRoot = geteuid() == 0;
    fs::permissions(Path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(Path("locked"), fs::perms::none);
    ASSERT_TRUE(!asRoot || (setegid(65534) == 0 && seteuid(65534) == 0));
    const auto found = Collect(Path(), 0, kExe);
    ASSERT_TRUE(!asRoot || (seteuid(0) == 0 && setegid(0) == 0));
    fs::permissions(Path("locked"), fs::perms::owner_all);
    EXPECT_EQ(found, Split("a/1.exe z/4.exe"));
}
#endif

// Links are followed within the chosen folder only: no folder is entered twice, and none outside it.
TEST_F(TempTree, LinksAreFollowedWithinTheStartFolderOnlyAndNoFolderTwice) {
    Make("tree/real/r.exe tree/real/sub/s.exe tree/top.exe outside/o.exe above.exe");
    const auto link = [&](const std::string& target, const std::string& name) {
        fs::create_directory_symlink(target, Path(name));
    };
    link("..", "tree/real/sub/back");                     // loops back to the start
    link(".", "tree/real/self");                          // loops onto itself
    link("real", "tree/alias");                           // the same folder, met first
    link("..", "tree/up");                                // out to the folder above the start
    link(Path("outside"), "tree/far");                    // out, by an absolute link
    link("../tree/real/sub", "tree/round");               // out and back in: inside, and entered already
    fs::create_symlink("top.exe", Path("tree/link.exe")); // a link to a program is a program
    fs::create_symlink("nowhere.exe", Path("tree/dangling.exe")); // a broken link is nothing
    fs::create_symlink("top.exe", Path("tree/top.txt"));          // the link's own name decides
    link("real", "tree/folder.exe");                              // a folder, whatever its name
    link("tree", "via");                                          // the same tree chosen through a link
    for (const std::string start : {"tree", "via"})
        EXPECT_EQ(Collect(Path(start), 0, kExe),
                  Split("link.exe top.exe alias/r.exe alias/sub/s.exe", start + "/"));
}

#if !defined(VESMARIN_SCAN_PORTABLE) && defined(__linux__)
// The kernel's pseudo-file-systems hold no programs, and reading some of them is slow or endless.
TEST_F(TempTree, KernelFileSystemsAreNotEntered) {
    for (const char* start : {"/proc/self", "/sys/kernel"})
        EXPECT_TRUE(Collect(start, 0, "*").empty()) << start;
}
#endif

// --- Limits ---------------------------------------------------------------------------------------------

// A hundred levels below the start are walked and a folder below them ends the collection. Running out of
// file handles is no fault of one folder: it ends the collection too, with the system's error. What was found
// so far stays, and the walk leaves no handle open.
TEST_F(TempTree, HundredLevelsAndNoMoreAndNoEndlessHandles) {
    std::string deep;
    for (int i = 1; i <= 100; ++i)
        deep += "d/";
    Make("top.exe " + deep + "bottom.exe");
    EXPECT_EQ(Collect(Path(), 0, kExe), (Names{"top.exe", deep + "bottom.exe"}));
    // The number and text of the error that ends the collection (0: none), and how many files it found.
    const auto collect = [&](int levels) {
        Names found;
        try {
            CollectFiles(Path(), levels, kExe, found);
        } catch (const ScanError& e) {
            return std::tuple{e.number(), e.description(), found.size()};
        }
        return std::tuple{0, std::string(), found.size()};
    };
#if !defined(VESMARIN_SCAN_PORTABLE) && defined(__linux__)
    rlimit saved{}, tight{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    tight = {static_cast<rlim_t>(OpenHandles() + 10), saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    const auto outOfHandles = collect(0);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(std::get<0>(outOfHandles), EMFILE);
    EXPECT_EQ(std::get<2>(outOfHandles), 1u);
#endif
    Make(deep + "d/"); // a folder 101 levels down
    const long handles = OpenHandles();
    const auto [number, description, found] = collect(0);
    EXPECT_EQ(number, kErrTooManyLevels);
    EXPECT_NE(description.find(deep + "d"), std::string::npos) << description;
    EXPECT_EQ(found, 2u);
    EXPECT_EQ(OpenHandles(), handles);
    // The walk stops at the level limit, so a level count short of the depth meets no error.
    EXPECT_EQ(std::get<2>(collect(50)), 1u);
    EXPECT_EQ(std::get<0>(collect(101)), 0);
    EXPECT_EQ(std::get<0>(collect(102)), kErrTooManyLevels);
}

TEST_F(TempTree, MoreFilesThanSixteenBitsCount) {
    constexpr int kPerFolder = 11000, kFolders = 3;
    Make("f0/ f1/ f2/");
    for (int i = 0; i < kPerFolder * kFolders; ++i)
        std::ofstream(Path("f" + std::to_string(i / kPerFolder) + "/" + std::to_string(i % kPerFolder) +
                           (i % 2 ? ".exe" : ".DLL")));
    std::size_t fileEvents = 0;
    const auto found = Collect(
        Path(), 0, kBoth, [&](ScanEvent event, std::string_view) { fileEvents += event == ScanEvent::File; });
    ASSERT_EQ(found.size(), std::size_t{kPerFolder * kFolders});
    EXPECT_EQ(fileEvents, found.size());
    // The first, the first past 16 bits, and the last.
    EXPECT_EQ(found.front() + found[2 * kPerFolder] + found.back(), "f0/0.DLLf2/0.DLLf2/9999.exe");
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()).size(), found.size());
}

} // namespace
