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

using test::MainForm;

class OptionsPanel : public ::testing::Test {
protected:
    void SetUp() override { m.loadWith("[General]\nInitialPath=/tmp\n[Options]\nCaseSensitive=0\n"); }
    frmMain& f() { return *m.form; }
    MainForm m;
};

TEST_F(OptionsPanel, TypingPassesDigitsAndBackspaceOnly) {
    f().txtLevels->clear();
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
        QTest::keyClick(f().txtLevels, s.key, Qt::NoModifier);
        EXPECT_EQ(f().txtLevels->text().toStdString(), s.shown) << "after '" << s.text << "'";
        EXPECT_EQ(f().state.gLevels, s.levels) << "after '" << s.text << "'";
        EXPECT_EQ(m.ui.beeps, s.beeps) << "after '" << s.text << "'";
    }
}

TEST_F(OptionsPanel, UpDownStaysWithinRangeAndAllGivesZero) {
    struct Step {
        const char* before;
        int steps;
        const char* after;
    };
    for (const Step& s : {Step{"9999", 1, "9999"}, Step{"0", -1, "0"}, Step{"5", 1, "6"}, Step{"5", -1, "4"},
                          Step{"9998", 3, "9999"}}) {
        f().txtLevels->setText(QString::fromLatin1(s.before));
        for (int i = 0; i < std::abs(s.steps); ++i)
            QTest::mouseClick(s.steps > 0 ? f().updLevels->upArrow() : f().updLevels->downArrow(),
                              Qt::LeftButton);
        EXPECT_EQ(f().txtLevels->text().toStdString(), s.after) << s.before << " stepped " << s.steps;
        EXPECT_EQ(f().state.gLevels, QString::fromLatin1(s.after).toInt());
    }
    f().txtLevels->setText(QStringLiteral("7"));
    QTest::keyClick(f().txtLevels, Qt::Key_Up);
    EXPECT_EQ(f().txtLevels->text(), QStringLiteral("8")) << "the arrow keys step the attached up-down";
    EXPECT_EQ(m.ui.beeps, 0);
    QTest::mouseClick(f().cmdAll, Qt::LeftButton);
    EXPECT_EQ(f().txtLevels->text(), QStringLiteral("0"));
    EXPECT_EQ(f().state.gLevels, 0);
}

TEST_F(OptionsPanel, PastedTextThatIsNoLevelBecomesZeroAndAnEmptyBoxKeepsTheLevels) {
    struct Case {
        const char* pasted;
        const char* shown;
        int levels;
    };
    for (const Case& c :
         {Case{"ab", "0", 0}, Case{"-5", "0", 0}, Case{"1e9", "0", 0}, Case{"12x", "0", 0},
          Case{"1e3", "1e3", 1000}, Case{"99.5", "99.5", 100}, Case{"123456", "1234", 1234}}) {
        f().txtLevels->setText(QStringLiteral("42"));
        QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        f().txtLevels->selectAll();
        f().txtLevels->paste();
        EXPECT_EQ(f().txtLevels->text().toStdString(), c.shown) << c.pasted;
        EXPECT_EQ(f().state.gLevels, c.levels) << c.pasted;
    }
    EXPECT_EQ(m.ui.beeps, 0);
    f().txtLevels->clear();
    EXPECT_EQ(f().state.gLevels, 1234) << "an empty box keeps the levels";
}

TEST_F(OptionsPanel, KindsOfFileKeepOneTickedAndAreWritten) {
    struct Step {
        int box;
        bool exeTicked, dllTicked, exeEnabled, dllEnabled;
        const char* written;
    };
    const QString both = frmMain::ExePatterns + u';' + frmMain::DllPatterns;
    const Step steps[] = {
        {1, true, false, false, true, "1"}, // untick DLL: EXE alone, and it cannot be unticked
        {1, true, true, true, true, "3"},   // tick DLL again
        {0, false, true, true, false, "2"}, // untick EXE: DLL alone
        {1, false, true, true, false, "2"}, // the disabled DLL box does not react
        {0, true, true, true, true, "3"},
    };
    for (const Step& s : steps) {
        QCheckBox* box = f().chkWhatToBrowse[static_cast<std::size_t>(s.box)];
        box->click();
        EXPECT_EQ(f().chkWhatToBrowse[0]->isChecked(), s.exeTicked);
        EXPECT_EQ(f().chkWhatToBrowse[1]->isChecked(), s.dllTicked);
        EXPECT_EQ(f().chkWhatToBrowse[0]->isEnabled(), s.exeEnabled);
        EXPECT_EQ(f().chkWhatToBrowse[1]->isEnabled(), s.dllEnabled);
        EXPECT_EQ(f().ActivePatternList(), s.exeTicked && s.dllTicked ? both
                                           : s.exeTicked              ? frmMain::ExePatterns
                                                                      : frmMain::DllPatterns);
        EXPECT_EQ(m.iniValue("WhatToBrowse"), s.written);
    }
}

TEST_F(OptionsPanel, CaseBoxWarnsAndWritesButTheRuleWaitsForTheNextStart) {
    ASSERT_FALSE(f().state.gCaseSensitive);
    m.ui.answer(MsgButton::Ok);
    f().chkCaseSensitive->click();
    ASSERT_EQ(m.ui.messages.size(), 1u);
    const MessageRequest& on = m.ui.messages[0].request;
    EXPECT_EQ(on.title, QStringLiteral("Distinguish between upper-lower case"));
    EXPECT_TRUE(
        on.text.startsWith(QStringLiteral("You decided to instruct this application to distinguish")));
    EXPECT_EQ(on.icon, MsgIcon::Information);
    EXPECT_EQ(on.buttons, MsgButtons::Ok);
    EXPECT_EQ(m.iniValue("CaseSensitive"), "1");
    EXPECT_FALSE(f().state.gCaseSensitive);

    f().cmdLanguage[0]->click();
    m.ui.answer(MsgButton::Ok);
    f().chkCaseSensitive->click();
    ASSERT_EQ(m.ui.messages.size(), 2u);
    EXPECT_EQ(m.ui.messages[1].request.title, QStringLiteral("Διαχωρισμός πεζών-κεφαλαίων"));
    EXPECT_TRUE(m.ui.messages[1].request.text.startsWith(QStringLiteral("Αποφασίσατε να ακυρώσετε")));
    EXPECT_EQ(m.iniValue("CaseSensitive"), "0");

    f().cmdLanguage[1]->click();
    m.ui.answer(MsgButton::Ok);
    f().chkCaseSensitive->click();
    m.ui.answer(MsgButton::Ok);
    f().chkCaseSensitive->click();
    // The first NOT of the English switched-off text is written in Greek capitals.
    EXPECT_TRUE(m.ui.messages[3].request.text.startsWith(
        QStringLiteral("You decided to instruct this application \u039D\u039F\u03A4 to distinguish")));
    EXPECT_TRUE(m.ui.messages[3].request.text.contains(QStringLiteral("ALSO does NOT distinguish")));
}

} // namespace
} // namespace vesmarin
