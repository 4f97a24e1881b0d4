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
    // The program's own version is the project's.
    const ProgramVersion v = CurrentVersion();
    EXPECT_EQ(QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision),
              QStringLiteral(VESMARIN_PROJECT_VERSION));
}

// The system-information tool: the first of hardinfo2, hardinfo and kinfocenter on the search path, else
// /usr/bin/hardinfo when that file is there.
TEST(SysInfoSearch, SearchPathFirstThenUsrBin) {
    struct Case {
        QStringList onPath, files;
        std::optional<QString> program;
    };
    const Case cases[] = {
        {{"kinfocenter", "hardinfo"}, {"/usr/bin/hardinfo"}, "/opt/bin/hardinfo"},
        {{"hardinfo", "hardinfo2"}, {}, "/opt/bin/hardinfo2"},
        {{"kinfocenter"}, {}, "/opt/bin/kinfocenter"},
        {{}, {"/usr/bin/hardinfo"}, "/usr/bin/hardinfo"},
        {{}, {"/usr/bin/hardinfo2", "/usr/bin/kinfocenter"}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.onPath.join(u',').toStdString());
        const SysInfoLookups lookups = PosixSysInfoLookups(
            [&](const QString& name) { return c.onPath.contains(name) ? "/opt/bin/" + name : QString(); },
            [&](const QString& file) { return c.files.contains(file); });
        EXPECT_EQ(SysInfoProgram(lookups), c.program);
    }
    // Without a search path only the folder is tried, and a folder given with its separator gets no second.
    SysInfoLookups lookups =
        PosixSysInfoLookups({}, [](const QString& f) { return f == "/usr/bin/hardinfo"; });
    EXPECT_EQ(SysInfoProgram(lookups), QStringLiteral("/usr/bin/hardinfo"));
    lookups.secondValue = [] { return std::optional<QString>(QStringLiteral("/usr/bin/")); };
    EXPECT_EQ(SysInfoProgram(lookups), QStringLiteral("/usr/bin/hardinfo"));
}

} // namespace
