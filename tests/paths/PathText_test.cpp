#include "paths/PathText.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

TEST(ApplyCaseRule, UpperCasesEveryScriptOnlyWithTheRuleInForce) {
    for (const auto& [text, ruled] : {std::pair<QString, QString>{"c:\\Program Files", "C:\\PROGRAM FILES"},
                                      {"/home/ann/Έγγραφα", "/HOME/ANN/ΈΓΓΡΑΦΑ"},
                                      {"/srv/Straße", "/SRV/STRASSE"}}) { // one letter may become two
        EXPECT_EQ(ApplyCaseRule(text, false), ruled);
        EXPECT_EQ(ApplyCaseRule(text, true), text);
    }
}

TEST(SeparatorProcedures, EdgesForBothSeparators) {
    struct Case {
        QChar sep;
        QString path, appended, removed, last;
    } cases[] = {
        {u'\\', "C:", "C:\\", "C:", ""},
        {u'\\', "C:\\", "C:\\", "C:", ""},
        {u'\\', "", "\\", "", ""},
        {u'\\', "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\", "C:\\WINDOWS\\SYSTEM", "SYSTEM"},
        {u'\\', "C:\\WINDOWS\\", "C:\\WINDOWS\\", "C:\\WINDOWS", ""},
        {u'\\', "C:\\WINDOWS\\\\", "C:\\WINDOWS\\\\", "C:\\WINDOWS\\", ""},
        {u'\\', "/usr", "/usr\\", "/usr", ""}, // the other separator is an ordinary character
        {u'/', "/", "/", "", ""},
        {u'/', "/usr", "/usr/", "/usr", "usr"},
        {u'/', "/usr/share/", "/usr/share/", "/usr/share", ""},
        {u'/', "relative", "relative/", "relative", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(AppendSeparator(c.path, c.sep), c.appended);
        EXPECT_EQ(RemoveSeparator(c.path, c.sep), c.removed);
        EXPECT_EQ(GetLastSegment(c.path, c.sep), c.last);
    }
}

TEST(KeyForm, RoundTripLeavesAKeyUnchanged) {
    // A key may be passed wherever a path is expected: turning it into key form again changes nothing.
    for (bool caseSensitive : {false, true}) {
        for (const auto& [path, sep] : {std::pair<QString, QChar>{"C:\\Program Files\\Κοινά", u'\\'},
                                        {"C:", u'\\'},
                                        {"/", u'/'},
                                        {"/home/Ann/Straße", u'/'}}) {
            const QString key = ApplyCaseRule(AppendSeparator(path, sep), caseSensitive);
            EXPECT_EQ(ApplyCaseRule(AppendSeparator(key, sep), caseSensitive), key);
        }
    }
}

} // namespace
} // namespace vesmarin
