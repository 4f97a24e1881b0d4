#include "FileLocationsTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vesmarin {
namespace {

using test::ConfigHome;
using test::ProgramLayout;
using test::WriteFile;

bool Always(const QString&) {
    return true;
}
bool Never(const QString&) {
    return false;
}

// ---- Settings and recent paths ----------------------------------------------------------------------------

TEST(FileLocations, SettingsFollowWhetherTheProgramFolderTakesFiles) {
    const struct {
        const char* name;
        bool programFolderTakesFiles, configFolderKnown, besideProgram;
    } cases[] = {{"writable program folder", true, true, true},
                 {"read-only program folder", false, true, false},
                 {"read-only, no configuration folder known", false, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramLayout l;
        QStringList asked;
        const ProgramFiles files = LocateProgramFiles(l.bin(), c.configFolderKnown ? l.config() : QString(),
                                                      [&](const QString& folder) {
                                                          asked.append(folder);
                                                          return c.programFolderTakesFiles;
                                                      });
        const QString folder = c.besideProgram ? l.bin() : l.config();
        EXPECT_EQ(files.settingsFolder, folder);
        EXPECT_EQ(files.iniFile, folder + QStringLiteral("/Tembrill.ini"));
        EXPECT_EQ(files.savedPathsFile, folder + QStringLiteral("/SavedPaths.txt"));
        EXPECT_EQ(QFileInfo(l.config()).isDir(), !c.besideProgram)
            << "the configuration folder is made when, and only when, it is used";
        if (c.configFolderKnown) {
            EXPECT_EQ(asked, QStringList{l.bin()});
        }
    }
}

TEST(FileLocations, ProgramInTheRootFolderKeepsTheDoubledSeparator) {
    const ProgramFiles files = LocateProgramFiles(QStringLiteral("/"), QStringLiteral("/nowhere"), Always);
    EXPECT_EQ(files.iniFile, QStringLiteral("//Tembrill.ini"));
    EXPECT_EQ(files.savedPathsFile, QStringLiteral("//SavedPaths.txt"));
    EXPECT_EQ(InstalledDataFolder(QStringLiteral("/")), QStringLiteral("/share/vesmarin"));
    EXPECT_EQ(InstalledDataFolder(QStringLiteral("/usr/bin")), QStringLiteral("/usr/share/vesmarin"));
}

// ---- Help files -------------------------------------------------------------------------------------------

// Each file is looked for on its own, beside the program first, then where an installation puts it; found
// nowhere, the help names the file it misses beside the program.
TEST(FileLocations, HelpFilesBesideTheProgramFirstThenWhereInstalled) {
    const struct {
        const char* name;
        bool ukBeside, ukInstalled, grBeside, grInstalled;
        bool ukFoundInstalled, grFoundInstalled;
    } cases[] = {{"beside only", true, false, true, false, false, false},
                 {"beside and installed", true, true, true, true, false, false},
                 {"installed only", false, true, false, true, true, true},
                 {"nowhere", false, false, false, false, false, false},
                 {"each on its own", true, false, false, true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramLayout l;
        for (const auto& [name, beside, installed] :
             {std::tuple{"TembrillUK.hlp", c.ukBeside, c.ukInstalled},
              std::tuple{"TembrillGR.hlp", c.grBeside, c.grInstalled}}) {
            if (beside)
                WriteFile(l.bin() + u'/' + QLatin1String(name));
            if (installed)
                WriteFile(l.share() + u'/' + QLatin1String(name));
        }
        // An installed program's folder usually cannot be written; the help is found all the same.
        const ProgramFiles files = LocateProgramFiles(l.bin(), l.config(), Never);
        EXPECT_EQ(files.helpFileEnglish,
                  (c.ukFoundInstalled ? l.share() : l.bin()) + QStringLiteral("/TembrillUK.hlp"));
        EXPECT_EQ(files.helpFileGreek,
                  (c.grFoundInstalled ? l.share() : l.bin()) + QStringLiteral("/TembrillGR.hlp"));
    }
}

// ---- Whether a folder takes files -------------------------------------------------------------------------

TEST(CanCreateFileIn, AnsweredByTheFileSystemAndLeavesNothingBehind) {
    ProgramLayout l;
    WriteFile(l.bin() + QStringLiteral("/program"));
    EXPECT_TRUE(CanCreateFileIn(l.bin()));
    EXPECT_EQ(QDir(l.bin()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("program")});

    EXPECT_FALSE(CanCreateFileIn(l.bin() + QStringLiteral("/missing")));
    EXPECT_FALSE(CanCreateFileIn(l.bin() + QStringLiteral("/program"))) << "a file is no folder";
    EXPECT_FALSE(CanCreateFileIn(QString()));
}

#ifndef _WIN32
// The probe's answer for an ordinary user. Root may create files in any folder, so as root the probe runs in
// a child process that has become the user "nobody". Empty when that cannot be arranged.
std::optional<bool> CanCreateFileInAsOrdinaryUser(const QString& folder) {
    if (::geteuid() != 0)
        return CanCreateFileIn(folder);
    const passwd* nobody = ::getpwnam("nobody");
    if (nobody == nullptr)
        return std::nullopt;
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(2);
        ::_exit(CanCreateFileIn(folder) ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 1;
}

TEST(CanCreateFileIn, ReadOnlyFolderTakesNoFiles) {
    ProgramLayout l;
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                              QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                              QFileDevice::ReadOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions writable =
        readOnly | QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    // The writable folder shows the ordinary user reaches the folder, so "false" below is the folder's own
    // answer.
    ASSERT_TRUE(QFile::setPermissions(l.root.path(), readOnly | QFileDevice::WriteOwner));
    for (const auto& [permissions, expected] : {std::pair{writable, true}, std::pair{readOnly, false}}) {
        ASSERT_TRUE(QFile::setPermissions(l.bin(), permissions));
        const std::optional<bool> answer = CanCreateFileInAsOrdinaryUser(l.bin());
        if (!answer)
            GTEST_SKIP() << "no ordinary user to run the probe as";
        EXPECT_EQ(*answer, expected) << (expected ? "writable" : "read-only");
    }
    EXPECT_TRUE(QDir(l.bin()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QFile::setPermissions(l.bin(), writable);
}
#endif

// ---- The user's configuration folder ----------------------------------------------------------------------

TEST(UserConfigFolder, IsTheProgramsFolderInTheUsersConfiguration) {
    ProgramLayout l;
    const ConfigHome home(l.root.filePath(QStringLiteral("home-config")));
    EXPECT_EQ(UserConfigFolder(), l.root.filePath(QStringLiteral("home-config/Vesmarin")));

    // The program names itself so that the toolkit's own idea of the folder is the same one.
    const QString name = QCoreApplication::applicationName();
    const QString organisation = QCoreApplication::organizationName();
    QCoreApplication::setApplicationName(ApplicationName);
    QCoreApplication::setOrganizationName(QString());
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation), UserConfigFolder());
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setOrganizationName(organisation);
}

} // namespace
} // namespace vesmarin
