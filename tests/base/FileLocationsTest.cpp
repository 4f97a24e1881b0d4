#include "FileLocationsTest.h"

namespace vesmarin::test {

// The settings live beside the program when its folder takes files or no configuration folder is known, else
// in the configuration folder, which is made when, and only when, it is used.
TEST(FileLocations, SettingsFollowWhetherTheProgramFolderTakesFiles) {
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
        EXPECT_EQ(std::tuple(files.settingsFolder, files.iniFile, files.savedPathsFile,
                             QFileInfo(l.config()).isDir()),
                  std::tuple(folder, folder + "/Tembrill.ini", folder + "/SavedPaths.txt", !beside));
        EXPECT_TRUE(!configKnown || asked == QStringList{l.bin()});
    }
}

// Each help file is looked for on its own, beside the program first, then where an installation puts it;
// found nowhere, the help names the file it misses beside the program. An installed program's folder usually
// cannot be written; the help is found all the same.
TEST(FileLocations, HelpFilesBesideTheProgramFirstThenWhereInstalled) {
    for (const bool filesPresent : {true, false}) {
        ProgramLayout l; // the English file beside the program and installed, the Greek one installed only
        if (filesPresent) {
            for (const QString& file :
                 {l.bin() + "/TembrillUK.hlp", l.share() + "/TembrillUK.hlp", l.share() + "/TembrillGR.hlp"})
                WriteFile(file);
        }
        const auto files = LocateProgramFiles(l.bin(), l.config(), [](const QString&) { return false; });
        EXPECT_EQ(std::tuple(files.helpFileEnglish, files.helpFileGreek),
                  std::tuple(l.bin() + "/TembrillUK.hlp",
                             (filesPresent ? l.share() : l.bin()) + "/TembrillGR.hlp"));
    }
}

TEST(CanCreateFileIn, AnsweredByTheFileSystemAndLeavesNothingBehind) {
    ProgramLayout l;
    WriteFile(l.bin() + QStringLiteral("/program"));
    EXPECT_TRUE(CanCreateFileIn(l.bin()));
    EXPECT_EQ(QDir(l.bin()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("program")});
    // A file is no folder; and on Linux permission bits tell nothing, not even for root: only the attempt
    // does.
    for (const QString& no : {l.bin() + "/missing", l.bin() + "/program", QString(), QStringLiteral("/proc")})
        EXPECT_FALSE(CanCreateFileIn(no)) << no.toStdString();
}

} // namespace vesmarin::test
