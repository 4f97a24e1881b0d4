#include "app/MainWindowRig.h"
#include "ui/UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::MainWindowRig;

class Options : public ::testing::Test {
protected:
    void SetUp() override { m.loadWith("[General]\nInitialPath=/tmp\n[Options]\nCaseSensitive=0\n"); }
    MainWindow& f() { return *m.window; }
    QLineEdit* levels() const { return m.control<QLineEdit>("txtLevels"); }
    QCheckBox* kind(int index) const { return m.control<QCheckBox>("chkWhatToBrowse", index); }
    QCheckBox* caseBox() const { return m.control<QCheckBox>("chkCaseSensitive"); }
    MainWindowRig m;
};

TEST_F(Options, TypingPassesDigitsAndBackspaceOnly) {
    levels()->clear();
    struct Step {
        Qt::Key key;
        char text;
        const char* shown;
        int levels;
        int beeps;
    };
    const Step steps[] = {
        {Qt::Key_1, '1', "1", 1, 0},         {Qt::Key_2, '2', "12", 12, 0},
        {Qt::Key_3, '3', "123", 123, 0},     {Qt::Key_A, 'a', "123", 123, 1},
        {Qt::Key_Minus, '-', "123", 123, 2}, {Qt::Key_Period, '.', "123", 123, 3},
        {Qt::Key_Space, ' ', "123", 123, 4}, {Qt::Key_4, '4', "1234", 1234, 4},
        {Qt::Key_5, '5', "1234", 1234, 4},   {Qt::Key_Backspace, '\b', "123", 123, 4},
    };
    for (const Step& s : steps) {
        QTest::keyClick(levels(), s.key, Qt::NoModifier);
        EXPECT_EQ(levels()->text().toStdString(), s.shown) << "after '" << s.text << "'";
        EXPECT_EQ(f().options().levels(), s.levels) << "after '" << s.text << "'";
        EXPECT_EQ(m.ui.beeps, s.beeps) << "after '" << s.text << "'";
    }
}

TEST_F(Options, UpDownStaysWithinRangeAndAllGivesZero) {
    struct Step {
        const char* before;
        int steps;
        const char* after;
    };
    for (const Step& s : {Step{"9999", 1, "9999"}, Step{"0", -1, "0"}, Step{"5", 1, "6"}, Step{"5", -1, "4"},
                          Step{"9998", 3, "9999"}}) {
        levels()->setText(QString::fromLatin1(s.before));
        for (int i = 0; i < std::abs(s.steps); ++i)
            QTest::mouseClick(s.steps > 0 ? m.control<UpDown>("updLevels")->upArrow()
                                          : m.control<UpDown>("updLevels")->downArrow(),
                              Qt::LeftButton);
        EXPECT_EQ(levels()->text().toStdString(), s.after) << s.before << " stepped " << s.steps;
        EXPECT_EQ(f().options().levels(), QString::fromLatin1(s.after).toInt());
    }
    levels()->setText(QStringLiteral("7"));
    QTest::keyClick(levels(), Qt::Key_Up);
    EXPECT_EQ(levels()->text(), QStringLiteral("8")) << "the arrow keys step the attached up-down";
    EXPECT_EQ(m.ui.beeps, 0);
    QTest::mouseClick(m.control<QPushButton>("cmdAll"), Qt::LeftButton);
    EXPECT_EQ(levels()->text(), QStringLiteral("0"));
    EXPECT_EQ(f().options().levels(), 0);
}

TEST_F(Options, PastedTextThatIsNoLevelBecomesZeroAndAnEmptyBoxKeepsTheLevels) {
    struct Case {
        const char* pasted;
        const char* shown;
        int levels;
    };
    for (const Case& c :
         {Case{"ab", "0", 0}, Case{"-5", "0", 0}, Case{"1e9", "0", 0}, Case{"12x", "0", 0},
          Case{"1e3", "1e3", 1000}, Case{"99.5", "99.5", 100}, Case{"123456", "1234", 1234}}) {
        levels()->setText(QStringLiteral("42"));
        QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        levels()->selectAll();
        levels()->paste();
        EXPECT_EQ(levels()->text().toStdString(), c.shown) << c.pasted;
        EXPECT_EQ(f().options().levels(), c.levels) << c.pasted;
    }
    EXPECT_EQ(m.ui.beeps, 0);
    levels()->clear();
    EXPECT_EQ(f().options().levels(), 1234) << "an empty box keeps the levels";
}

TEST_F(Options, KindsOfFileKeepOneTickedAndAreWritten) {
    struct Step {
        int box;
        bool exeTicked, dllTicked, exeEnabled, dllEnabled;
        const char* written;
    };
    const QString both = OptionsPanel::ExePatterns + u';' + OptionsPanel::DllPatterns;
    const Step steps[] = {
        {1, true, false, false, true, "1"}, // untick DLL: EXE alone, and it cannot be unticked
        {1, true, true, true, true, "3"},   // tick DLL again
        {0, false, true, true, false, "2"}, // untick EXE: DLL alone
        {1, false, true, true, false, "2"}, // the disabled DLL box does not react
        {0, true, true, true, true, "3"},
    };
    for (const Step& s : steps) {
        QCheckBox* box = kind(s.box);
        box->click();
        EXPECT_EQ(kind(0)->isChecked(), s.exeTicked);
        EXPECT_EQ(kind(1)->isChecked(), s.dllTicked);
        EXPECT_EQ(kind(0)->isEnabled(), s.exeEnabled);
        EXPECT_EQ(kind(1)->isEnabled(), s.dllEnabled);
        EXPECT_EQ(f().options().patternList(), s.exeTicked && s.dllTicked ? both
                                               : s.exeTicked              ? OptionsPanel::ExePatterns
                                                                          : OptionsPanel::DllPatterns);
        EXPECT_EQ(m.iniValue("WhatToBrowse"), s.written);
    }
}

TEST_F(Options, CaseBoxWarnsAndWritesButTheRuleWaitsForTheNextStart) {
    ASSERT_FALSE(f().options().caseSensitive());
    m.ui.answer(MsgButton::Ok);
    caseBox()->click();
    ASSERT_EQ(m.ui.messages.size(), 1u);
    const MessageRequest& on = m.ui.messages[0].request;
    EXPECT_EQ(on.title, QStringLiteral("Distinguish between upper-lower case"));
    EXPECT_TRUE(
        on.text.startsWith(QStringLiteral("You decided to instruct this application to distinguish")));
    EXPECT_EQ(on.icon, MsgIcon::Information);
    EXPECT_EQ(on.buttons, MsgButtons::Ok);
    EXPECT_EQ(m.iniValue("CaseSensitive"), "1");
    EXPECT_FALSE(f().options().caseSensitive());

    m.control<QPushButton>("cmdLanguage", 0)->click();
    m.ui.answer(MsgButton::Ok);
    caseBox()->click();
    ASSERT_EQ(m.ui.messages.size(), 2u);
    EXPECT_EQ(m.ui.messages[1].request.title, QStringLiteral("Διαχωρισμός πεζών-κεφαλαίων"));
    EXPECT_TRUE(m.ui.messages[1].request.text.startsWith(QStringLiteral("Αποφασίσατε να ακυρώσετε")));
    EXPECT_EQ(m.iniValue("CaseSensitive"), "0");

    m.control<QPushButton>("cmdLanguage", 1)->click();
    m.ui.answer(MsgButton::Ok);
    caseBox()->click();
    m.ui.answer(MsgButton::Ok);
    caseBox()->click();
    // The first NOT of the English switched-off text is written in Greek capitals.
    EXPECT_TRUE(m.ui.messages[3].request.text.startsWith(
        QStringLiteral("You decided to instruct this application \u039D\u039F\u03A4 to distinguish")));
    EXPECT_TRUE(m.ui.messages[3].request.text.contains(QStringLiteral("ALSO does NOT distinguish")));
}

} // namespace
} // namespace vesmarin
