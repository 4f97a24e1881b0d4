#include "app/MainWindowRig.h"

#include <QClipboard>
#include <QToolButton>

namespace vesmarin {

class Options : public ::testing::Test {
protected:
    void SetUp() override { m.loadWith("[General]\nInitialPath=/tmp\n[Options]\nCaseSensitive=0\n"); }
    QLineEdit* box() const { return m.control<QLineEdit>("txtLevels"); }
    void click(const char* name, int i = -1) { QTest::mouseClick(m.control(name, i), Qt::LeftButton); }
    test::MainWindowRig m;
};

// The levels box: typing (t) passes digits (four at most) and Backspace and beeps at anything else; the
// up-down's arrow (^) and the arrow keys (v: Down) stay within 0 and 9999; All (a) gives 0; pasted text (p)
// is not filtered, and what is no number of levels becomes 0. The levels are the number the box shows; an
// empty box keeps them.
TEST_F(Options, LevelsBox) {
    const std::tuple<char, const char*, const char*> steps[] = {
        {'p', "1", "1"},       {'t', "a-. ", "1"}, {'t', "2345", "1234"}, {'t', "\b", "123"},
        {'p', "9999", "9999"}, {'^', "", "9999"},  {'a', "", "0"},        {'v', "", "0"},
        {'^', "", "1"},        {'p', "ab", "0"},   {'p', "1e3", "1e3"},   {'p', "123456", "1234"}};
    QWidget* up = m.control<UpDown>("updLevels")->upArrow();
    for (const auto& [act, text, shown] : steps) {
        if (act == 't') {
            QTest::keyClicks(box(), QString::fromLatin1(text));
        } else if (act == 'p') {
            QApplication::clipboard()->setText(QString::fromLatin1(text));
            box()->selectAll();
            box()->paste();
        } else if (act == 'v') {
            QTest::keyClick(box(), Qt::Key_Down);
        } else {
            QTest::mouseClick(act == 'a' ? m.control("cmdAll") : up, Qt::LeftButton);
        }
        EXPECT_EQ(std::tuple(box()->text().toStdString(), m.window->options().levels()),
                  std::tuple(shown, QString::fromLatin1(shown).toDouble()));
    }
    box()->clear();
    EXPECT_EQ(std::tuple(m.window->options().levels(), m.ui.beeps), std::tuple(1234, 4));
}

// One kind of file stays ticked: the only ticked box is fixed. Every change is written at once.
TEST_F(Options, KindsOfFileKeepOneTickedAndAreWritten) {
    for (const char* step :
         {"1EXE! DLL- 1", "1EXE+ DLL+ 3", "0EXE- DLL! 2", "1EXE- DLL! 2", "0EXE+ DLL+ 3"}) {
        click("chkWhatToBrowse", step[0] - '0'); // then what the boxes show
        EXPECT_EQ(m.kindsOfFile(), step + 1);
    }
}

// The case box warns in the language in force and writes the rule at once, which waits for the next start.
TEST_F(Options, CaseBoxWarnsAndWritesButTheRuleWaitsForTheNextStart) {
    for (int i = 0; i < 3; ++i) { // on and off in English, then on in Greek
        click("cmdLanguage", i == 2 ? 0 : 1);
        m.ui.answer(MsgButton::Ok);
        click("chkCaseSensitive");
        EXPECT_EQ(m.iniValue("CaseSensitive"), i == 1 ? "0" : "1");
    }
    const auto& shown = m.ui.messages;
    // Switched off, the English text writes its first NOT in Greek capitals.
    EXPECT_EQ(std::tuple(m.window->options().caseSensitive(), shown[0].request.title, shown[2].request.title,
                         shown[1].request.text.left(44)),
              std::tuple(false, "Distinguish between upper-lower case", "Διαχωρισμός πεζών-κεφαλαίων",
                         "You decided to instruct this application \u039D\u039F\u03A4"));
}

// A close from the window frame keeps no levels; an empty box stops End with report 193, whose No leaves the
// program running and whose Yes ends it, still keeping nothing. (End keeping the levels is the whole-program
// test's.)
TEST_F(Options, NoLevelsAreWrittenAfterAFrameCloseOrWithAnUnreadableBox) {
    m.window->show();
    const std::string before = m.ini();
    box()->setText(QStringLiteral("12"));
    EXPECT_TRUE(test::CloseFromFrame(*m.window));
    box()->clear();
    for (const MsgButton answer : {MsgButton::No, MsgButton::Yes}) {
        m.ui.answer(answer);
        click("cmdEnd");
        EXPECT_TRUE(answer == MsgButton::Yes ? m.ui.ended == 1 : m.ui.ended == 0 && m.window->isVisible());
    }
    EXPECT_EQ(m.ui.messages[0].request.title, "Vesmarin, 193.");
    EXPECT_EQ(m.ini(), before);
}

} // namespace vesmarin
