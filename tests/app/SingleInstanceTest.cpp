#include "base/FileLocationsTest.h"
#include "platform/QtInteraction.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vesmarin {
namespace {

using test::ProgramLayout;

bool Never(const QString&) {
    return false;
}

// One running program per folder of settings: whatever names the folder, and whichever copy of the program
// asks. The lock ends with the program that holds it.
TEST(InstanceLock, OneRunningProgramPerSettingsFolder) {
    ProgramLayout a;
    ProgramLayout b;
    const QString link = a.root.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(a.bin(), link));
    // Copies whose own folders cannot be written keep their files in the user's configuration folder.
    const QString shared = LocateProgramFiles(b.bin(), a.config(), Never).settingsFolder;
    ASSERT_EQ(LocateProgramFiles(a.bin(), a.config(), Never).settingsFolder, shared);
    const struct {
        const char* name;
        QString first, second;
        bool conflict;
    } cases[] = {
        {"the same folder", a.bin(), a.bin(), true},
        {"the same folder through a link", a.bin(), link, true},
        {"copies sharing the user's configuration folder", shared, shared, true},
        {"copies with folders of their own", a.bin(), b.bin(), false},
        {"a folder that cannot hold the lock never keeps the user out", QStringLiteral("/nowhere/at/all"),
         QStringLiteral("/nowhere/at/all"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto first = std::make_unique<QtInteraction>();
        QtInteraction second;
        EXPECT_FALSE(first->anotherInstanceRunning(c.first));
        EXPECT_EQ(second.anotherInstanceRunning(c.second), c.conflict);
        EXPECT_FALSE(first->anotherInstanceRunning(c.first)) << "the holder of the lock is not its own rival";
        first.reset();
        QtInteraction next;
        EXPECT_FALSE(next.anotherInstanceRunning(c.first)) << "the lock ended with its holder";
    }
}

#ifdef Q_OS_UNIX
TEST(InstanceLock, ALockOfACrashedRunDoesNotBlock) {
    ProgramLayout l;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Take the lock and die without releasing it, as a crash would.
        auto* crashed = new QtInteraction;
        _exit(crashed->anotherInstanceRunning(l.bin()) ? 2 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    QtInteraction next;
    EXPECT_FALSE(next.anotherInstanceRunning(l.bin()));
}
#endif

} // namespace
} // namespace vesmarin
