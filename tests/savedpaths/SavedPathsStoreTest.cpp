#include "savedpaths/core/SavedPathsStore.h"

#include "base/PathText.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace vesmarin;

namespace {

class SavedPathsStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("SavedPaths.txt"));

    void write(const QByteArray& bytes) { test::WriteFile(file, bytes); }
    QByteArray read() const { return test::ReadFile(file); }
};

// The new path goes first; the old lines follow in order, byte for byte, blank ones included, each
// ended by CR LF whatever ended it before. (Failed saves: tests/paths/FileWrites_test.cpp.)
TEST_F(SavedPathsStoreTest, NewPathGoesBeforeTheOldLines) {
    struct Case {
        const char* name;
        std::optional<QByteArray> before; // none: no file
        QByteArray after;
    };
    const Case cases[] = {
        {"first save creates the file", std::nullopt, "/new\r\n"},
        {"crlf", "B\r\n\r\nA\r\n", "/new\r\nB\r\n\r\nA\r\n"},
        {"lf alone, no end on the last line", "B\n\nA", "/new\r\nB\r\n\r\nA\r\n"},
        {"blanks kept", "  /x y  \r\n \r\n", "/new\r\n  /x y  \r\n \r\n"},
        {"empty file", "", "/new\r\n"},
        {"byte-order mark dropped", "\xEF\xBB\xBF/a\r\n", "/new\r\n/a\r\n"},
        {"bytes that are not UTF-8 kept", "/caf\xE9\r\n", "/new\r\n/caf\xE9\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file);
        if (c.before)
            write(*c.before);
        ASSERT_TRUE(SavePathAsNewest(file, QStringLiteral("/new")));
        EXPECT_EQ(read(), c.after);
    }
}

// A folder whose name is not UTF-8 is stored as its bytes, so it can be recalled later.
TEST_F(SavedPathsStoreTest, FolderNamesThatAreNotUtf8ComeBackAsSaved) {
    const QString path = FileNameFromBytes("/old/caf\xE9");
    ASSERT_TRUE(SavePathAsNewest(file, path));
    EXPECT_EQ(read(), QByteArray("/old/caf\xE9\r\n"));
    EXPECT_EQ(LoadSavedPaths(file).lines, QStringList{path});
    EXPECT_TRUE(IsPathSaved(file, path, true).saved);
}

TEST_F(SavedPathsStoreTest, LoadKeepsEveryLineAsStored) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    };
    const Case cases[] = {
        {"crlf with a blank line", "B\r\n\r\nA\r\n", {"B", "", "A"}},
        {"lf alone and cr alone", "B\nA\rC", {"B", "A", "C"}},
        {"blanks at both ends", "  /usr/share  \r\n", {"  /usr/share  "}},
        {"one empty line", "\r\n", {""}},
        {"empty file", "", {}},
        {"greek in UTF-8", "/home/\xCE\xAC\xCE\xBD\xCE\xBD\xCE\xB1\r\n", {QString::fromUtf8("/home/άννα")}},
        {"byte-order mark", "\xEF\xBB\xBF/a\r\n", {"/a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.bytes);
        const SavedPathsContent content = LoadSavedPaths(file);
        ASSERT_TRUE(content.status);
        EXPECT_TRUE(content.exists);
        EXPECT_EQ(content.lines, c.lines);
    }
}

// The rule of comparison is ContainsSavedPath's test below; here, that the file is read and left alone.
TEST_F(SavedPathsStoreTest, AlreadySavedTestReadsTheFileAndAMissingFileIsNotCreated) {
    const SavedPathsContent content = LoadSavedPaths(file);
    EXPECT_TRUE(content.status);
    EXPECT_FALSE(content.exists);
    EXPECT_TRUE(content.lines.isEmpty());
    const SavedPathCheck check = IsPathSaved(file, QStringLiteral("/usr"), false);
    EXPECT_TRUE(check.status);
    EXPECT_FALSE(check.saved);
    EXPECT_FALSE(QFile::exists(file));

    write("/usr/share/\r\n/opt\r\n");
    EXPECT_TRUE(IsPathSaved(file, QStringLiteral("/usr/Share"), false).saved);
    EXPECT_FALSE(IsPathSaved(file, QStringLiteral("/usr/Share"), true).saved);
    EXPECT_EQ(read(), QByteArray("/usr/share/\r\n/opt\r\n"));
}

TEST(SavedPathsList, ShowsOnlyLinesThatHoldMoreThanBlanks) {
    const QStringList lines{"", "   ", "\t", " /a ", "/b"};
    EXPECT_EQ(RecallableSavedPaths(lines), (QStringList{" /a ", "/b"}));
}

TEST(SavedPathsCheck, ComparesWithSeparatorAndUnderTheCaseRule) {
    struct Case {
        QStringList lines;
        const char* path;
        bool caseSensitive;
        bool saved;
    };
    const Case cases[] = {
        {{"/usr/share/"}, "/usr/Share", false, true},
        {{"/usr/share/"}, "/usr/Share", true, false},
        {{"/usr/share"}, "/usr/share/", true, true},
        {{"/usr", "/usr/Share"}, "/USR/SHARE", false, true},
        {{"/opt", ""}, "/usr/share", false, false},
        // A blank line is no folder: it must not pass for the root.
        {{"", "   "}, "/", false, false},
        {{"/"}, "/", true, true},
        // Blanks around a stored line are part of it.
        {{" /usr"}, "/usr", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ContainsSavedPath(c.lines, QString::fromUtf8(c.path), c.caseSensitive), c.saved);
    }
    // Greek letters are upper-cased too.
    EXPECT_TRUE(ContainsSavedPath({QString::fromUtf8("/home/άννα")}, QString::fromUtf8("/home/ΆΝΝΑ"), false));
}

// A folder name holding a line break would become two entries that name no folder.
TEST_F(SavedPathsStoreTest, APathWithALineBreakIsRefused) {
    write("B\r\n");
    EXPECT_FALSE(SavePathAsNewest(file, QStringLiteral("/a\nb")));
    EXPECT_FALSE(SavePathAsNewest(file, QStringLiteral("/a\rb")));
    EXPECT_EQ(read(), QByteArray("B\r\n"));
}

TEST_F(SavedPathsStoreTest, UnreadableFileIsReportedNotOverwritten) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("SavedPaths.txt")));
    EXPECT_FALSE(LoadSavedPaths(file).status);
    EXPECT_FALSE(IsPathSaved(file, QStringLiteral("/a"), false).status);
    EXPECT_FALSE(SavePathAsNewest(file, QStringLiteral("/a")));
    EXPECT_TRUE(QFileInfo(file).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("SavedPaths.txt")});
}

// A FIFO in the file's place is reported as a folder is, never waited on.
TEST_F(SavedPathsStoreTest, AFifoIsReportedNotWaitedOn) {
    const QByteArray fifo = QFile::encodeName(file);
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    auto done = std::async(std::launch::async, [&] {
        return !LoadSavedPaths(file).status && !IsPathSaved(file, QStringLiteral("/a"), false).status &&
               !SavePathAsNewest(file, QStringLiteral("/a"));
    });
    if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Opening and closing the other end releases a stuck reader with an empty read, as often as needed.
        while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
            ::close(::open(fifo.constData(), O_WRONLY | O_NONBLOCK));
        FAIL() << "reading the saved paths waited on a FIFO";
    }
    EXPECT_TRUE(done.get());
    EXPECT_FALSE(QFileInfo(file).isFile());
}

TEST_F(SavedPathsStoreTest, EnsureCreatesAnEmptyFileAndNeverTouchesAnExistingOne) {
    ASSERT_TRUE(EnsureSavedPathsFile(file));
    EXPECT_EQ(read(), QByteArray());

    write("/a\r\n");
    ASSERT_TRUE(EnsureSavedPathsFile(file));
    EXPECT_EQ(read(), QByteArray("/a\r\n"));

    const StoreStatus status =
        EnsureSavedPathsFile(dir.filePath(QStringLiteral("no/such/folder/SavedPaths.txt")));
    EXPECT_FALSE(status);
    EXPECT_EQ(status.errorNumber, 53);
}

TEST(InitialPathTest, ComparesUnderTheCaseRuleWithoutTouchingSeparators) {
    struct Case {
        const char* initial;
        const char* current;
        bool caseSensitive;
        bool same;
    };
    const Case cases[] = {
        {"/home/ann", "/HOME/Ann", false, true},
        {"/home/ann", "/HOME/Ann", true, false},
        {"/home/ann", "/home/ann", true, true},
        // The separator is not normalised: a trailing one makes a different text.
        {"/home/ann/", "/home/ann", false, false},
        {"/home/ann/", "/home/ann", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.initial) + " vs " + c.current);
        EXPECT_EQ(IsInitialPath(QString::fromUtf8(c.initial), QString::fromUtf8(c.current), c.caseSensitive),
                  c.same);
    }
}

} // namespace
