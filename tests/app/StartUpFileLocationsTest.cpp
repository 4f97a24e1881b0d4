#include "app/MainWindow.h"
#include "base/FileLocationsTest.h"
#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::ConfigHome;
using test::ProgramLayout;
using test::ReadFile;
using test::ScriptedInteraction;
using test::WriteFile;

// Each folder holds a settings file, and only the one in use says Greek: the window shows which one it read,
// and the write of the kinds of file at every start shows which one it writes.
TEST(FileLocations, StartUpReadsAndWritesTheSettingsWhereTheyLive) {
    for (const bool programFolderTakesFiles : {true, false}) {
        SCOPED_TRACE(programFolderTakesFiles ? "writable program folder" : "read-only program folder");
        ProgramLayout l;
        const ConfigHome home(l.root.filePath(QStringLiteral("config")));
        const QString used = programFolderTakesFiles ? l.bin() : l.config();
        const QString unused = programFolderTakesFiles ? l.config() : l.bin();
        const QByteArray other = "[General]\nLanguage=0\nInitialPath=/tmp\n";
        WriteFile(used + QStringLiteral("/Tembrill.ini"), "[General]\nLanguage=1\nInitialPath=/tmp\n");
        WriteFile(unused + QStringLiteral("/Tembrill.ini"), other);
        WriteFile(l.share() + QStringLiteral("/TembrillUK.hlp"));
        WriteFile(l.share() + QStringLiteral("/TembrillGR.hlp"));

        ScriptedInteraction ui;
        MainWindow form(ui, l.bin());
        form.setCanCreateFileIn([&](const QString&) { return programFolderTakesFiles; });
        form.load();

        EXPECT_TRUE(form.language().greek);
        EXPECT_EQ(ui.instanceFolder, used) << "one running program per folder of settings";
        EXPECT_EQ(form.files().iniFile, used + QStringLiteral("/Tembrill.ini"));
        EXPECT_EQ(form.files().savedPathsFile, used + QStringLiteral("/SavedPaths.txt"));
        EXPECT_EQ(ReadFile(used + QStringLiteral("/Tembrill.ini")),
                  "[General]\nLanguage=1\nInitialPath=/tmp\n\n[Options]\nWhatToBrowse=3\n");
        EXPECT_EQ(ReadFile(unused + QStringLiteral("/Tembrill.ini")), other);
        EXPECT_EQ(form.files().helpFileGreek, l.share() + QStringLiteral("/TembrillGR.hlp"));
        EXPECT_EQ(form.language().helpFile, l.share() + QStringLiteral("/TembrillGR.hlp"));
    }
}

} // namespace
} // namespace vesmarin
