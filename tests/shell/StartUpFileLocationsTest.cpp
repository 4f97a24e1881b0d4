#include "FileLocationsTest.h"
#include "shell/frmMain.h"
#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::ConfigHome;
using test::ProgramLayout;
using test::ScriptedInteraction;

struct StartCase {
    const char* name;
    bool programFolderTakesFiles;
};

class StartUpFiles : public ::testing::TestWithParam<StartCase> {};

// Each folder holds a settings file, and only the one in use says Greek: the window shows which one it read,
// and the write of the kinds of file at every start shows which one it writes.
TEST_P(StartUpFiles, ReadsAndWritesTheSettingsWhereTheyLive) {
    const StartCase& c = GetParam();
    ProgramLayout l;
    const ConfigHome home(l.root.filePath(QStringLiteral("config")));
    const QString used = c.programFolderTakesFiles ? l.bin() : l.config();
    const QString unused = c.programFolderTakesFiles ? l.config() : l.bin();
    const QByteArray other = "[General]\nLanguage=0\nInitialPath=/tmp\n";
    ProgramLayout::put(used, QStringLiteral("Tembrill.ini"), "[General]\nLanguage=1\nInitialPath=/tmp\n");
    ProgramLayout::put(unused, QStringLiteral("Tembrill.ini"), other);
    ProgramLayout::put(l.share(), QStringLiteral("TembrillUK.hlp"));
    ProgramLayout::put(l.share(), QStringLiteral("TembrillGR.hlp"));

    ScriptedInteraction ui;
    frmMain form(ui, l.bin());
    form.canCreateFileIn = [&](const QString&) { return c.programFolderTakesFiles; };
    form.Load();

    EXPECT_TRUE(form.state.gLanguage);
    EXPECT_EQ(form.state.gIniFile, used + QStringLiteral("/Tembrill.ini"));
    EXPECT_EQ(form.state.gSavedPathsFile, used + QStringLiteral("/SavedPaths.txt"));
    EXPECT_EQ(ProgramLayout::read(used + QStringLiteral("/Tembrill.ini")),
              "[General]\nLanguage=1\nInitialPath=/tmp\n\n[Options]\nWhatToBrowse=3\n");
    EXPECT_EQ(ProgramLayout::read(unused + QStringLiteral("/Tembrill.ini")), other.toStdString());
    EXPECT_EQ(form.state.gHelpFileGreek, l.share() + QStringLiteral("/TembrillGR.hlp"));
    EXPECT_EQ(form.state.gCurrentHelpFile, l.share() + QStringLiteral("/TembrillGR.hlp"));
}

INSTANTIATE_TEST_SUITE_P(FileLocations, StartUpFiles,
                         ::testing::Values(StartCase{"WritableProgramFolder", true},
                                           StartCase{"ReadOnlyProgramFolder", false}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace vesmarin
