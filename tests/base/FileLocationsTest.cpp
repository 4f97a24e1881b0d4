#include "FileLocationsTest.h"

#include <QDir>
#include <array>
#include <gtest/gtest.h>
#include <tuple>

namespace vesmarin {
namespace {

using test::ProgramLayout;
using test::WriteFile;

TEST(FileLocations, SettingsFollowWhetherTheProgramFolderTakesFiles) {
    // Whether the program folder takes files and a configuration folder is known; the settings beside the
    // program. The configuration folder is made when, and only when, it is used.
    for (const auto& [takesFiles, configKnown, beside] :
         {std::tuple{true, true, true}, {false, true, false}, {false, false, true}}) {
        ProgramLayout l;
        QStringList asked;
        const ProgramFiles files =
            LocateProgramFiles(l.bin(), configKnown ? l.config() : QString(), [&](const QString& folder) {
                asked.append(folder);
                return takesFiles;
            });
        const QString folder = beside ? l.bin() : l.config();
        EXPECT_EQ(files.settingsFolder, folder);
        EXPECT_EQ(files.iniFile, folder + QStringLiteral("/Tembrill.ini"));
        EXPECT_EQ(files.savedPathsFile, folder + QStringLiteral("/SavedPaths.txt"));
        EXPECT_EQ(QFileInfo(l.config()).isDir(), !beside);
        if (configKnown) {
            EXPECT_EQ(asked, QStringList{l.bin()});
        }
    }
}

// Each help file is looked for on its own, beside the program first, then where an installation puts it;
// found nowhere, the help names the file it misses beside the program.
TEST(FileLocations, HelpFilesBesideTheProgramFirstThenWhereInstalled) {
    // The English file beside the program and installed, the Greek one likewise; where each is found.
    const std::array<bool, 6> cases[] = {{true, true, true, true, false, false},
                                         {false, true, false, true, true, true},
                                         {false, false, false, false, false, false},
                                         {true, false, false, true, false, true}};
    for (const auto& [ukBeside, ukInstalled, grBeside, grInstalled, ukFoundInstalled, grFoundInstalled] :
         cases) {
        ProgramLayout l;
        for (const auto& [name, beside, installed] : {std::tuple{"/TembrillUK.hlp", ukBeside, ukInstalled},
                                                      std::tuple{"/TembrillGR.hlp", grBeside, grInstalled}}) {
            if (beside)
                WriteFile(l.bin() + QLatin1String(name));
            if (installed)
                WriteFile(l.share() + QLatin1String(name));
        }
        // An installed program's folder usually cannot be written; the help is found all the same.
        const auto files = LocateProgramFiles(l.bin(), l.config(), [](const QString&) { return false; });
        EXPECT_EQ(files.helpFileEnglish,
                  (ukFoundInstalled ? l.share() : l.bin()) + QStringLiteral("/TembrillUK.hlp"));
        EXPECT_EQ(files.helpFileGreek,
                  (grFoundInstalled ? l.share() : l.bin()) + QStringLiteral("/TembrillGR.hlp"));
    }
}

TEST(CanCreateFileIn, AnsweredByTheFileSystemAndLeavesNothingBehind) {
    ProgramLayout l;
    WriteFile(l.bin() + QStringLiteral("/program"));
    EXPECT_TRUE(CanCreateFileIn(l.bin()));
    EXPECT_EQ(QDir(l.bin()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("program")});

    EXPECT_FALSE(CanCreateFileIn(l.bin() + QStringLiteral("/missing")));
    EXPECT_FALSE(CanCreateFileIn(l.bin() + QStringLiteral("/program"))) << "a file is no folder";
    EXPECT_FALSE(CanCreateFileIn(QString()));
#ifdef __linux__
    // Permission bits tell nothing here, not even for root: only the attempt does.
    EXPECT_FALSE(CanCreateFileIn(QStringLiteral("/proc")));
#endif
}

} // namespace
} // namespace vesmarin
