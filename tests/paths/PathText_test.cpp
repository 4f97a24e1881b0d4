#include "paths/PathText.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

const QChar kWin = u'\\';
const QChar kPosix = u'/';

TEST(ApplyCaseRule, UpperCasesEveryScriptOnlyWithTheRuleInForce) {
    struct Case {
        QString text;
        QString ruled;
    } cases[] = {
        {"c:\\Program Files", "C:\\PROGRAM FILES"},
        {"/home/ann/Έγγραφα", "/HOME/ANN/ΈΓΓΡΑΦΑ"},
        {"/srv/Straße", "/SRV/STRASSE"}, // full mapping: one letter may become two
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ApplyCaseRule(c.text, false), c.ruled) << c.text.toStdString();
        EXPECT_EQ(ApplyCaseRule(c.text, true), c.text) << c.text.toStdString();
    }
}

TEST(SeparatorProcedures, EdgesForBothSeparators) {
    struct Case {
        QChar sep;
        QString path;
        QString appended;
        QString removed;
        QString last;
    } cases[] = {
        {kWin, "C:", "C:\\", "C:", ""},
        {kWin, "C:\\", "C:\\", "C:", ""},
        {kWin, "", "\\", "", ""},
        {kWin, "C:\\WINDOWS", "C:\\WINDOWS\\", "C:\\WINDOWS", "WINDOWS"},
        {kWin, "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\", "C:\\WINDOWS\\SYSTEM", "SYSTEM"},
        {kWin, "C:\\WINDOWS\\", "C:\\WINDOWS\\", "C:\\WINDOWS", ""},
        {kWin, "C:\\WINDOWS\\\\", "C:\\WINDOWS\\\\", "C:\\WINDOWS\\", ""},
        {kWin, "/usr", "/usr\\", "/usr", ""}, // the other separator is an ordinary character
        {kPosix, "/", "/", "", ""},
        {kPosix, "", "/", "", ""},
        {kPosix, "/usr", "/usr/", "/usr", "usr"},
        {kPosix, "/usr/share", "/usr/share/", "/usr/share", "share"},
        {kPosix, "/usr/share/", "/usr/share/", "/usr/share", ""},
        {kPosix, "/usr//", "/usr//", "/usr/", ""},
        {kPosix, "relative", "relative/", "relative", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(AppendSeparator(c.path, c.sep), c.appended);
        EXPECT_EQ(RemoveSeparator(c.path, c.sep), c.removed);
        EXPECT_EQ(GetLastSegment(c.path, c.sep), c.last);
    }
}

TEST(SeparatorProcedures, DefaultIsThePlatformSeparator) {
    EXPECT_EQ(AppendSeparator("x"), QString("x") + kPathSeparator);
    EXPECT_EQ(GetLastSegment(QString("a") + kPathSeparator + "b"), "b");
#ifndef Q_OS_WIN
    EXPECT_EQ(kPathSeparator, kPosix);
#endif
}

TEST(KeyForm, RoundTripLeavesAKeyUnchanged) {
    // A key may be passed wherever a path is expected: turning it into key form again changes nothing.
    for (bool caseSensitive : {false, true}) {
        for (const auto& [path, sep] :
             {std::pair{QString("C:\\Program Files\\Κοινά"), kWin}, std::pair{QString("C:"), kWin},
              std::pair{QString("/"), kPosix}, std::pair{QString("/home/Ann/Straße"), kPosix}}) {
            const QString key = ApplyCaseRule(AppendSeparator(path, sep), caseSensitive);
            EXPECT_EQ(ApplyCaseRule(AppendSeparator(key, sep), caseSensitive), key) << key.toStdString();
            EXPECT_TRUE(key.endsWith(sep));
        }
    }
}

} // namespace
} // namespace vesmarin
