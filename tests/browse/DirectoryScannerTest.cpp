// The collection behind Browse, run over real folders made for each test.

#include "browse/core/DirectoryScanner.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <tuple>
#ifndef _WIN32
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace vesmarin;

namespace {

constexpr const char* kExe = "*.EXE;*.EXe;*.ExE;*.Exe;*.eXE;*.eXe;*.exE;*.exe";
constexpr const char* kDll = "*.DLL;*.DLl;*.DlL;*.Dll;*.dLL;*.dLl;*.dlL;*.dll";
const std::string kBoth = std::string(kExe) + ";" + kDll;

class TempTree : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        do {
            root_ = fs::temp_directory_path() / ("vesmarin-walk-" + std::to_string(random()));
        } while (!fs::create_directory(root_));
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }

    // Creates the files (and their folders) named relative to the tree; names ending in "/" are folders.
    void Make(std::initializer_list<std::string> names) {
        for (const std::string& name : names) {
            fs::create_directories((root_ / name).parent_path());
            if (!name.ends_with('/')) {
                std::ofstream(root_ / name).put('x');
            }
        }
    }

    std::string Path(const std::string& rel = {}) const {
        return rel.empty() ? root_.string() : (root_ / rel).string();
    }

    // The collected list with the tree's own path taken off, so expectations read as relative names.
    std::vector<std::string> Collect(const std::string& start, int levels, std::string_view patterns,
                                     const ScanProgress& progress = {}) {
        std::vector<std::string> found;
        CollectFiles(start, levels, patterns, found, progress);
        for (std::string& f : found) {
            EXPECT_EQ(f.rfind(root_.string() + "/", 0), 0u) << f;
            f.erase(0, root_.string().size() + 1);
        }
        return found;
    }

    fs::path root_;
};

using Names = std::vector<std::string>;

// The open file handles of this process (-1 where that cannot be told): a walk must leave none behind.
long OpenHandles() {
#ifdef __linux__
    return static_cast<long>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
#else
    return -1;
#endif
}

// --- What is collected, and in which order ---------------------------------------------------------------

// Each folder's files before its subfolders, both in case-insensitive name order; the levels count from the
// start folder. The same tree browsed from the root (a temporary folder standing for "/") gives the files of
// the same folders.
TEST_F(TempTree, FilesOfTheChosenKindsLevelByLevelInNameOrder) {
    Make({"b.exe", "A.EXE", "c.Exe", "d.txt", "alpha/q.exe", "alpha/P.exe", "alpha/r.dll", "Beta/z.exe",
          "Beta/deep/y.exe", "Beta/deep/x.DLL", "Beta/deep/er/w.exe", "docs/readme.txt", "docs/c.exe/",
          "Gamma/g.exe", "_under/u.exe"});
    const Names all = {"A.EXE",       "b.exe",       "c.Exe",           "alpha/P.exe",
                       "alpha/q.exe", "Beta/z.exe",  "Beta/deep/y.exe", "Beta/deep/er/w.exe",
                       "Gamma/g.exe", "_under/u.exe"};
    struct Case {
        std::string start;
        int levels;
        std::string patterns;
        Names expected;
    };
    const Case cases[] = {
        {"", 0, kExe, all},
        {"", 9999, kExe, all},
        {"", 1, kExe, {"A.EXE", "b.exe", "c.Exe"}},
        {"",
         2,
         kExe,
         {"A.EXE", "b.exe", "c.Exe", "alpha/P.exe", "alpha/q.exe", "Beta/z.exe", "Gamma/g.exe",
          "_under/u.exe"}},
        {"",
         3,
         kExe,
         {"A.EXE", "b.exe", "c.Exe", "alpha/P.exe", "alpha/q.exe", "Beta/z.exe", "Beta/deep/y.exe",
          "Gamma/g.exe", "_under/u.exe"}},
        {"",
         0,
         kBoth,
         {"A.EXE", "b.exe", "c.Exe", "alpha/P.exe", "alpha/q.exe", "alpha/r.dll", "Beta/z.exe",
          "Beta/deep/x.DLL", "Beta/deep/y.exe", "Beta/deep/er/w.exe", "Gamma/g.exe", "_under/u.exe"}},
        {"", 2, kDll, {"alpha/r.dll"}}, // none in the start folder: its subfolders' files
        {"docs", 0, kBoth, {}},         // a folder named like a program is no file
        {"missing", 0, kBoth, {}},      // a start folder that cannot be read finds nothing
        {"d.txt", 0, "*", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start + " levels " + std::to_string(c.levels) + " " + c.patterns.substr(0, 5));
        EXPECT_EQ(Collect(Path(c.start), c.levels, c.patterns), c.expected);
        if (c.start.empty()) {
            Names fromRoot, expected;
            CollectFiles("/", c.levels, c.patterns, fromRoot, {}, ScanOptions{Path()});
            for (const std::string& name : c.expected) {
                expected.push_back("/" + name);
            }
            EXPECT_EQ(fromRoot, expected) << "from the root";
        }
    }
    Names none;
    CollectFiles("", 0, "*", none);
    EXPECT_TRUE(none.empty()) << "no folder is not the root";
}

TEST(NameOrder, CaseInsensitiveAndTotal) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"a", "B", -1},
        {"Zeta", "alpha", 1},
        {"abc", "ABCD", -1},
        {"Z", "_", -1}, // letters before '_', as an upper-case table orders them
        {"A", "a", -1}, // same letters: the bytes decide, never "equal"
        {"a", "a", 0},
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89Z", -1}, // été < ÉTÉZ
        {"\xCE\xB2\xCE\xB1", "\xCE\x91\xCE\xB3", 1},     // βα > Αγ
        {"\xCE\xAC\xCE\xBB", "\xCE\x86\xCE\x9C", -1},    // άλ < ΆΜ: accented letters fold too
        {"\xCF\x82", "\xCE\xA3", 1},                     // final sigma folds with sigma
        {"\xCE\xAF", "\xCE\x8A\xCE\xB1", -1},            // ί < Ία
        {"\xC4\x81",
         "\xC4\x80"
         "b",
         -1},                                    // ā < Āb: Latin letters beyond Latin-1 fold too
        {"\xD0\xB1", "\xD0\x92", -1},            // б < В
        {"\xD1\x8F", "\xD0\xAF\xD0\xB0", -1},    // я < Яа: the last letter folds as well
        {"\xE3\x81\x82", "\xE2\x82\xAC", 1},     // あ after €, by their code points
        {"\xF0\x9F\x98\x80", "\xEF\xBC\xA1", 1}, // 😀 after Ａ, from outside the basic plane
        {"\xFF\xFE", "a", 1},                    // not UTF-8: after every letter
        {"a\xC3", "a\xC3\xA9", 1},               // a cut sequence still has a place
    };
    for (const Case& c : cases) {
        const int got = CompareNames(c.a, c.b);
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << c.a << " vs " << c.b;
        const int back = CompareNames(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " vs " << c.a;
    }
}

// A name matches when it matches any pattern of the list; "*" stands for any run of characters, "?" for any
// one.
TEST(Patterns, AnyOfTheListWithWildcards) {
    const FilePatterns exe(kExe), wild("x?z*.b*n; ;");
    for (const char* name : {".exe", "A.eXe"}) {
        EXPECT_TRUE(exe.Matches(name)) << name;
    }
    for (const char* name : {"a.exe.txt", "aexe", "a.ex", ""}) {
        EXPECT_FALSE(exe.Matches(name)) << name;
    }
    EXPECT_TRUE(wild.Matches("xyz.bin"));
    EXPECT_TRUE(wild.Matches("xyzzy.bbnn"));
    EXPECT_FALSE(wild.Matches("xz.bin"));
    EXPECT_TRUE(FilePatterns(" ; ").empty());
}

// --- Faults the walk survives ---------------------------------------------------------------------------

TEST_F(TempTree, FolderThatVanishesDuringTheWalkIsSkipped) {
    Make({"a/1.exe", "b/2.exe", "b/inner/3.exe", "c/4.exe", "d/5.exe"});
    const auto found = Collect(Path(), 0, kExe, [&](ScanEvent event, std::string_view path) {
        if (event == ScanEvent::Folder && path == Path("a")) {
            fs::remove_all(Path("b")); // listed by the start folder, gone when the walk gets there
            fs::remove_all(Path("c"));
            std::ofstream(Path("c")).put('x'); // a file where the folder stood
        }
    });
    EXPECT_EQ(found, (Names{"a/1.exe", "d/5.exe"}));
}

#ifndef _WIN32
TEST_F(TempTree, FolderWithoutPermissionIsSkipped) {
    Make({"a/1.exe", "locked/2.exe", "locked/in/3.exe", "z/4.exe"});
    // Permissions do not bind the super-user, so as root the walk runs as the unprivileged user "nobody",
    // who may enter every folder of the tree but the locked one.
    const bool asRoot = geteuid() == 0;
    fs::permissions(Path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(Path("locked"), fs::perms::none);
    if (asRoot) {
        ASSERT_EQ(setegid(65534), 0);
        ASSERT_EQ(seteuid(65534), 0);
    }
    const auto found = Collect(Path(), 0, kExe);
    if (asRoot) {
        ASSERT_EQ(seteuid(0), 0);
        ASSERT_EQ(setegid(0), 0);
    }
    fs::permissions(Path("locked"), fs::perms::owner_all);
    EXPECT_EQ(found, (Names{"a/1.exe", "z/4.exe"}));
}
#endif

// Links are followed within the chosen folder only: no folder is entered twice, and none outside it.
TEST_F(TempTree, LinksAreFollowedWithinTheStartFolderOnlyAndNoFolderTwice) {
    Make({"tree/real/r.exe", "tree/real/sub/s.exe", "tree/top.exe", "outside/o.exe", "above.exe"});
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
    for (const std::string start : {"tree", "via"}) {
        EXPECT_EQ(Collect(Path(start), 0, kExe), (Names{start + "/link.exe", start + "/top.exe",
                                                        start + "/alias/r.exe", start + "/alias/sub/s.exe"}));
    }
}

#if !defined(VESMARIN_SCAN_PORTABLE) && defined(__linux__)
// The kernel's pseudo-file-systems hold no programs, and reading some of them is slow or endless.
TEST(KernelFileSystems, AreNotEntered) {
    for (const char* start : {"/proc/self", "/sys/kernel"}) {
        std::vector<std::string> found;
        CollectFiles(start, 0, "*", found);
        EXPECT_TRUE(found.empty()) << start;
    }
}
#endif

// --- Limits ---------------------------------------------------------------------------------------------

// A hundred levels below the start are walked and a folder below them ends the collection. Running out of
// file handles is no fault of one folder: it ends the collection too, with the system's error. What was found
// so far stays, and the walk leaves no handle open.
TEST_F(TempTree, HundredLevelsAndNoMoreAndNoEndlessHandles) {
    std::string deep;
    for (int i = 1; i <= 100; ++i) {
        deep += "d/";
    }
    Make({"top.exe", deep + "bottom.exe"});
    EXPECT_EQ(Collect(Path(), 0, kExe), (Names{"top.exe", deep + "bottom.exe"}));
    // The number and text of the error that ends the collection (0: none), and how many files it found.
    const auto collect = [&](int levels) {
        std::vector<std::string> found;
        try {
            CollectFiles(Path(), levels, kExe, found);
        } catch (const ScanError& e) {
            return std::tuple{e.number(), e.description(), found.size()};
        }
        return std::tuple{0, std::string(), found.size()};
    };
#if !defined(VESMARIN_SCAN_PORTABLE) && defined(__linux__)
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(OpenHandles() + 10);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    const auto outOfHandles = collect(0);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(std::get<0>(outOfHandles), EMFILE);
    EXPECT_EQ(std::get<2>(outOfHandles), 1u);
#endif
    Make({deep + "d/"}); // a folder 101 levels down
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
    for (int f = 0; f < kFolders; ++f) {
        const fs::path folder = root_ / ("f" + std::to_string(f));
        fs::create_directory(folder);
        for (int i = 0; i < kPerFolder; ++i) {
            std::ofstream(folder / (std::to_string(i) + (i % 2 ? ".exe" : ".DLL")));
        }
    }
    std::size_t fileEvents = 0;
    const auto found = Collect(
        Path(), 0, kBoth, [&](ScanEvent event, std::string_view) { fileEvents += event == ScanEvent::File; });
    ASSERT_EQ(found.size(), std::size_t{kPerFolder * kFolders});
    EXPECT_EQ(fileEvents, found.size());
    EXPECT_EQ(found.front(), "f0/0.DLL");
    EXPECT_EQ(found[2 * kPerFolder], "f2/0.DLL"); // past the 16-bit limit
    EXPECT_EQ(found.back(), "f2/9999.exe");
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()).size(), found.size());
}

} // namespace
