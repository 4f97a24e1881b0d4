#include "savedpaths/core/SavedPathsStore.h"

#include "base/PathText.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>

using namespace vesmarin;

namespace {

// Every line loads as stored, blank ones and blanks included; a save puts the new path first and the old
// lines after it in order, byte for byte, each ended by CR LF whatever ended it before. The new path is not
// UTF-8, so it is saved as the bytes it stands for. (Failed saves: tests/paths/FileWrites_test.cpp.)
TEST(SavedPathsStore, LoadsEveryLineAsStoredAndSavesTheNewestFirst) {
    const QString newest = FileNameFromBytes("/new\xE9");
    // The file before (none: no file), the lines it loads as, and the file after the save.
    const std::tuple<std::optional<QByteArray>, QStringList, QByteArray> cases[] = {
        {std::nullopt, {}, "/new\xE9\r\n"},
        {"", {}, "/new\xE9\r\n"},
        {"B\r\n\r\nA\r\n", {"B", "", "A"}, "/new\xE9\r\nB\r\n\r\nA\r\n"},
        {"B\n\nA\rC", {"B", "", "A", "C"}, "/new\xE9\r\nB\r\n\r\nA\r\nC\r\n"}, // LF, a lone CR, no end
        {"  /x y  \r\n \r\n", {"  /x y  ", " "}, "/new\xE9\r\n  /x y  \r\n \r\n"},
        {"/", {"/"}, "/new\xE9\r\n/\r\n"},
        {"\xEF\xBB\xBF/a\r\n", {"/a"}, "/new\xE9\r\n/a\r\n"}, // a byte-order mark
    };
    for (const auto& [before, lines, after] : cases) {
        SCOPED_TRACE(before.value_or("<no file>").toStdString());
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("SavedPaths.txt"));
        if (before)
            test::WriteFile(file, *before);
        const SavedPathsContent content = LoadSavedPaths(file);
        EXPECT_TRUE(content.status && content.exists == before.has_value());
        EXPECT_EQ(content.lines, lines);
        const SavedPathCheck check = IsPathSaved(file, newest, true);
        EXPECT_TRUE(check.status && !check.saved);
        EXPECT_EQ(QFile::exists(file), before.has_value()) << "reading creates no file";
        ASSERT_TRUE(SavePathAsNewest(file, newest));
        EXPECT_EQ(test::ReadFile(file), after);
        EXPECT_TRUE(IsPathSaved(file, newest.toUpper(), false).saved);
        EXPECT_FALSE(IsPathSaved(file, newest.toUpper(), true).saved);
    }
}

// Whether a folder is saved already: both with a trailing separator and under the case rule (upper case by
// the full mapping, every script). Whether it is the initial path: under the case rule, separators as they
// stand. Only lines with more than blanks are
// offered for recall.
TEST(SavedPathsStore, ComparesPathsUnderTheCaseRule) {
    // A stored line, a path, the case rule, and whether the path is saved already and is the initial path.
    const std::tuple<const char*, const char*, bool, bool, bool> cases[] = {
        {"/usr/share/", "/usr/Share", false, true, false},
        {"/usr/share", "/usr/share/", true, true, false},
        {"/home/ann", "/HOME/Ann", false, true, true},
        {"/home/ann", "/HOME/Ann", true, false, false},
        {"/home/ann", "/home/ann", true, true, true},
        {"/", "/", true, true, true},
        {"/home/άννα", "/home/ΆΝΝΑ", false, true, true},
        {"/srv/straße", "/SRV/STRASSE", false, true, true}, // one letter may become two
        {"", "/", false, false, false},         // an empty line is no folder: it must not pass for the root
        {" /usr", "/usr", false, false, false}, // blanks around a stored line are part of it
    };
    for (const auto& [line, path, caseSensitive, saved, initial] : cases) {
        SCOPED_TRACE(std::string(line) + " | " + path);
        EXPECT_EQ(ContainsSavedPath({"/opt", line, "/srv"}, path, caseSensitive), saved);
        EXPECT_EQ(IsInitialPath(line, path, caseSensitive), initial);
    }
    EXPECT_EQ(RecallableSavedPaths({"", "   ", "\t", " /a ", "/b"}), (QStringList{" /a ", "/b"}));
}

// Ensure creates a missing file empty and never touches an existing one; neither does the save of a path
// holding a line break, which would become two entries that name no folder. A folder is no list of paths.
TEST(SavedPathsStore, AnExistingFileIsLeftAloneAndAFolderIsNoList) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("SavedPaths.txt"));
    ASSERT_TRUE(EnsureSavedPathsFile(file));
    EXPECT_EQ(test::ReadFile(file), QByteArray());
    test::WriteFile(file, "/a\r\n");
    ASSERT_TRUE(EnsureSavedPathsFile(file));
    EXPECT_FALSE(SavePathAsNewest(file, "/a\nb") || SavePathAsNewest(file, "/a\rb"));
    EXPECT_EQ(test::ReadFile(file), QByteArray("/a\r\n"));
    EXPECT_EQ(EnsureSavedPathsFile(dir.filePath(QStringLiteral("no/SavedPaths.txt"))).errorNumber, 53);
    EXPECT_EQ(LoadSavedPaths(dir.path()).status.errorNumber, 75);
    EXPECT_EQ(IsPathSaved(dir.path(), QStringLiteral("/a"), false).status.errorNumber, 75);
}

} // namespace
