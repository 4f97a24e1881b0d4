#include "about/core/AboutInfo.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace vesmarin {

// Each number is padded to four digits, never cut; the program's own version is the project's.
TEST(VersionLine, PadsEachNumberToFourDigits) {
    EXPECT_EQ(VersionLine({12345, 9, 100000}, false), "Version 12345.0009.100000");
    EXPECT_EQ(VersionLine({2, 11, 0}, true), QStringLiteral("Έκδοση 0002.0011.0000"));
    const ProgramVersion v = CurrentVersion();
    EXPECT_EQ(QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision), VESMARIN_PROJECT_VERSION);
}

// The system-information tool: the first of hardinfo2, hardinfo and kinfocenter on the search path (here
// /opt/bin), else /usr/bin/hardinfo when that file is there. For each set of files present, the program.
TEST(SysInfoSearch, SearchPathFirstThenUsrBin) {
    QStringList started;
    for (const char* files : {"kinfocenter hardinfo", "hardinfo hardinfo2", "kinfocenter /usr/bin/hardinfo",
                              "/usr/bin/hardinfo", "/usr/bin/hardinfo2 /usr/bin/kinfocenter"}) {
        const auto has = [l = QString(files).split(u' ')](const QString& f) { return l.contains(f); };
        const auto found = [&](const QString& n) { return has(n) ? "/opt/bin/" + n : QString(); };
        started << SysInfoProgram(PosixSysInfoLookups(found, has)).value_or("none");
    }
    EXPECT_EQ(started.join(u' '),
              "/opt/bin/hardinfo /opt/bin/hardinfo2 /opt/bin/kinfocenter /usr/bin/hardinfo none");
    // Without a search path only the folder is tried, and a folder given with its separator gets no second.
    SysInfoLookups l = PosixSysInfoLookups({}, [](const QString& f) { return f == "/usr/bin/hardinfo"; });
    l.secondValue = [] { return std::optional<QString>(QStringLiteral("/usr/bin/")); };
    EXPECT_EQ(SysInfoProgram(l), QStringLiteral("/usr/bin/hardinfo"));
}

} // namespace vesmarin
