#include "about/core/AboutInfo.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

TEST(VersionLine, PadsEachNumberToFourDigits) {
    struct Case {
        ProgramVersion version;
        bool greek;
        const char* line;
    };
    const Case cases[] = {
        {{1999, 11, 16}, false, "Version 1999.0011.0016"},
        {{1, 0, 0}, false, "Version 0001.0000.0000"},
        {{12345, 9999, 100000}, false, "Version 12345.9999.100000"},
        {{2, 11, 3}, true, "Έκδοση 0002.0011.0003"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VersionLine(c.version, c.greek), QString::fromUtf8(c.line));
}

TEST(VersionLine, TakesTheProjectVersion) {
    const QStringList parts = QStringLiteral(VESMARIN_PROJECT_VERSION).split(QLatin1Char('.'));
    const ProgramVersion v = CurrentVersion();
    EXPECT_EQ(v.major, parts.value(0).toUInt());
    EXPECT_EQ(v.minor, parts.value(1).toUInt());
    EXPECT_EQ(v.revision, parts.value(2).toUInt());
}

// A scripted pair of lookups that records which files were tested.
struct Script {
    std::optional<QString> first;
    std::optional<QString> second;
    QStringList existing;
    QStringList tested;

    SysInfoLookups lookups() {
        return {[this] { return first; }, [this] { return second; }, QStringLiteral("hardinfo"),
                [this](const QString& f) {
                    tested << f;
                    return existing.contains(f);
                }};
    }
};

TEST(SysInfoSearch, KeepsTheOrderAndTheFileTestOfTheSecondLookup) {
    struct Case {
        const char* name;
        std::optional<QString> first;
        std::optional<QString> second;
        QStringList existing;
        std::optional<QString> program;
        QStringList tested;
    };
    const Case cases[] = {
        {"first value started without a file test",
         "/opt/tool/sysinfo",
         "/usr/bin",
         {},
         "/opt/tool/sysinfo",
         {}},
        {"second value with the file",
         std::nullopt,
         "/usr/bin",
         {"/usr/bin/hardinfo"},
         "/usr/bin/hardinfo",
         {"/usr/bin/hardinfo"}},
        {"second value ending in a separator",
         std::nullopt,
         "/usr/bin/",
         {"/usr/bin/hardinfo"},
         "/usr/bin/hardinfo",
         {"/usr/bin/hardinfo"}},
        {"second value without the file", std::nullopt, "/usr/bin", {}, std::nullopt, {"/usr/bin/hardinfo"}},
        {"both missing", std::nullopt, std::nullopt, {"/usr/bin/hardinfo"}, std::nullopt, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script script{c.first, c.second, c.existing, {}};
        EXPECT_EQ(SysInfoProgram(script.lookups()), c.program);
        EXPECT_EQ(script.tested, c.tested);
    }
}

TEST(SysInfoSearch, PosixStandInLooksOnTheSearchPathThenInUsrBin) {
    QStringList onPath;
    QStringList files;
    const SysInfoLookups lookups = PosixSysInfoLookups(
        [&](const QString& name) {
            return onPath.contains(name) ? QStringLiteral("/opt/bin/") + name : QString();
        },
        [&](const QString& f) { return files.contains(f); });

    onPath = {"kinfocenter", "hardinfo"};
    EXPECT_EQ(SysInfoProgram(lookups), QStringLiteral("/opt/bin/hardinfo"));
    onPath = {"hardinfo", "hardinfo2"};
    EXPECT_EQ(SysInfoProgram(lookups), QStringLiteral("/opt/bin/hardinfo2"));
    onPath = {};
    EXPECT_EQ(SysInfoProgram(lookups), std::nullopt);
    files = {"/usr/bin/hardinfo"};
    EXPECT_EQ(SysInfoProgram(lookups), QStringLiteral("/usr/bin/hardinfo"));
}

} // namespace
