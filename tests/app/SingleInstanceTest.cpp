#include "base/FileLocationsTest.h"
#include "platform/QtInteraction.h"

#include <sys/wait.h>
#include <unistd.h>

namespace vesmarin::test {

// One running program per folder of settings: whatever names the folder, and whichever copy of the program
// asks. The lock ends with the program that holds it.
TEST(InstanceLock, OneRunningProgramPerSettingsFolder) {
    ProgramLayout a, b;
    const QString link = a.root.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(a.bin(), link));
    // Copies whose own folders cannot be written keep their files in the user's configuration folder.
    const auto never = [](const QString&) { return false; };
    const QString shared = LocateProgramFiles(b.bin(), a.config(), never).settingsFolder;
    ASSERT_EQ(LocateProgramFiles(a.bin(), a.config(), never).settingsFolder, shared);
    // A folder that cannot hold the lock never keeps the user out.
    const QString nowhere = QStringLiteral("/nowhere/at/all");
    const std::tuple<QString, QString, bool> cases[] = {{a.bin(), a.bin(), true},
                                                        {a.bin(), link, true},
                                                        {shared, shared, true},
                                                        {a.bin(), b.bin(), false},
                                                        {nowhere, nowhere, false}};
    for (const auto& [first, second, conflict] : cases) {
        auto holder = std::make_unique<QtInteraction>();
        QtInteraction rival;
        EXPECT_FALSE(holder->anotherInstanceRunning(first));
        EXPECT_EQ(rival.anotherInstanceRunning(second), conflict) << second.toStdString();
        EXPECT_FALSE(holder->anotherInstanceRunning(first)) << "the holder of the lock is not its own rival";
        holder.reset();
        EXPECT_FALSE(QtInteraction().anotherInstanceRunning(first)) << "the lock ended with its holder";
    }
}

TEST(InstanceLock, ALockOfACrashedRunDoesNotBlock) {
    ProgramLayout l;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) // takes the lock and dies without releasing it, as a crash would
        _exit((new QtInteraction)->anotherInstanceRunning(l.bin()) ? 2 : 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(QtInteraction().anotherInstanceRunning(l.bin()));
}

} // namespace vesmarin::test
