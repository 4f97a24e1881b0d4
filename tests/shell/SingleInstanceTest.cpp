#include "platform/QtInteraction.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vesmarin {
namespace {

// The instance lock lives in the user's runtime folder; each test gets its own.
class InstanceLock : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime.isValid());
        previous = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", previous); }
    QString program(const char* name) const { return programs.filePath(QString::fromLatin1(name)); }

    QTemporaryDir runtime;
    QTemporaryDir programs;
    QByteArray previous;
};

TEST_F(InstanceLock, TheSameProgramFileConflictsAndAnotherDoesNot) {
    QtInteraction first(program("vesmarin"));
    QtInteraction second(program("vesmarin"));
    QtInteraction elsewhere(program("copy/vesmarin"));
    EXPECT_FALSE(first.anotherInstanceRunning());
    EXPECT_TRUE(second.anotherInstanceRunning());
    EXPECT_FALSE(elsewhere.anotherInstanceRunning());
    EXPECT_FALSE(first.anotherInstanceRunning()) << "the holder of the lock is not its own rival";
}

#ifdef Q_OS_UNIX
TEST_F(InstanceLock, ALockLeftByACrashedRunDoesNotBlock) {
    const QString file = program("vesmarin");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Take the lock and die without releasing it, as a crash would.
        auto* crashed = new QtInteraction(file);
        _exit(crashed->anotherInstanceRunning() ? 2 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_FALSE(QDir(runtime.path()).entryList({QStringLiteral("*.lock")}, QDir::Files).isEmpty())
        << "the crashed run left its lock behind";

    QtInteraction next(file);
    EXPECT_FALSE(next.anotherInstanceRunning());
}
#endif

} // namespace
} // namespace vesmarin
