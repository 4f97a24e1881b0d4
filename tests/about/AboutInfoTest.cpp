#include "about/core/AboutInfo.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace vesmarin;

namespace {

// Each number is padded to four digits, never cut; the program's own version is the project's.
TEST(VersionLine, PadsEachNumberToFourDigits) {
    EXPECT_EQ(VersionLine({1, 0, 0}, false), "Version 0001.0000.0000");
    EXPECT_EQ(VersionLine({12345, 9999, 100000}, false), "Version 12345.9999.100000");
    EXPECT_EQ(VersionLine({2, 11, 3}, true), QStringLiteral("Έκδοση 0002.0011.0003"));
    const ProgramVersion v = CurrentVersion();
    EXPECT_EQ(QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision),
              QStringLiteral(VESMARIN_PROJECT_VERSION));
}

// The system-information tool: the first of hardinfo2, hardinfo and kinfocenter on the search path, else
// /usr/bin/hardinfo when that file is there. Without a search path only the folder is tried, and a folder
// given with its separator gets no second.
TEST(SysInfoSearch, SearchPathFirstThenUsrBin) {
    const std::pair<QStringList, std::optional<QString>> cases[] = {
        {{"kinfocenter", "hardinfo", "/usr/bin/hardinfo"}, "/opt/bin/hardinfo"},
        {{"hardinfo", "hardinfo2"}, "/opt/bin/hardinfo2"},
        {{"kinfocenter"}, "/opt/bin/kinfocenter"},
        {{"/usr/bin/hardinfo"}, "/usr/bin/hardinfo"},
        {{"/usr/bin/hardinfo2", "/usr/bin/kinfocenter"}, std::nullopt}};
    for (const auto& [present, program] : cases) {
        const SysInfoLookups lookups = PosixSysInfoLookups(
            [&](const QString& name) { return present.contains(name) ? "/opt/bin/" + name : QString(); },
            [&](const QString& file) { return present.contains(file); });
        EXPECT_EQ(SysInfoProgram(lookups), program) << present.join(u',').toStdString();
    }
    SysInfoLookups lookups =
        PosixSysInfoLookups({}, [](const QString& f) { return f == "/usr/bin/hardinfo"; });
    EXPECT_EQ(SysInfoProgram(lookups), QStringLiteral("/usr/bin/hardinfo"));
    lookups.secondValue = [] { return std::optional<QString>(QStringLiteral("/usr/bin/")); };
    EXPECT_EQ(SysInfoProgram(lookups), QStringLiteral("/usr/bin/hardinfo"));
}

} // namespace
