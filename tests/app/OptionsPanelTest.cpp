#include "app/MainWindowRig.h"
#include "ui/UpDown.h"

#include <QClipboard>
#include <QToolButton>

namespace vesmarin {
namespace {

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        m.loadWith("[General]\nInitialPath=/tmp\n[Options]\nCaseSensitive=0\nLevels=5\n");
        m.window->show();
    }
    int levels() const { return m.window->options().levels(); }
    QLineEdit* box() const { return m.control<QLineEdit>("txtLevels"); }
    void click(const char* name, int index = -1) {
        QTest::mouseClick(m.control(name, index), Qt::LeftButton);
    }
    test::MainWindowRig m;
};

// The levels box: typing passes digits (four at most) and Backspace and beeps at anything else; the up-down
// (its arrows or the arrow keys) stays within 0 and 9999; All gives 0; pasted text is not filtered, and what
// is no number of levels becomes 0. The levels are the number the box shows; an empty box keeps them.
TEST_F(Options, LevelsBox) {
    enum Act { Type, Paste, Up, Down, UpKey, All };
    const std::tuple<Act, const char*, const char*> steps[] = {
        {Type, "1", "1"},   {Type, "a", "1"},       {Type, "-", "1"},      {Type, ".", "1"},
        {Type, " ", "1"},   {Type, "2345", "1234"}, {Type, "\b", "123"},   {Paste, "9999", "9999"},
        {Up, "", "9999"},   {Paste, "0", "0"},      {Down, "", "0"},       {Up, "", "1"},
        {UpKey, "", "2"},   {Down, "", "1"},        {All, "", "0"},        {Paste, "ab", "0"},
        {Paste, "-5", "0"}, {Paste, "1e9", "0"},    {Paste, "1e3", "1e3"}, {Paste, "123456", "1234"}};
    box()->clear();
    UpDown* upDown = m.control<UpDown>("updLevels");
    int beeps = 0;
    for (const auto& [act, text, shown] : steps) {
        beeps += act == Type && !QChar(text[0]).isDigit() && text[0] != '\b';
        if (act == Paste) {
            QApplication::clipboard()->setText(QString::fromLatin1(text));
            box()->selectAll();
            box()->paste();
        } else if (act == Type) {
            QTest::keyClicks(box(), QString::fromLatin1(text));
        } else if (act == UpKey) {
            QTest::keyClick(box(), Qt::Key_Up);
        } else {
            QTest::mouseClick(act == Up     ? upDown->upArrow()
                              : act == Down ? upDown->downArrow()
                                            : m.control("cmdAll"),
                              Qt::LeftButton);
        }
        EXPECT_EQ(std::tuple(box()->text().toStdString(), levels(), m.ui.beeps),
                  std::tuple(shown, QString::fromLatin1(shown).toDouble(), beeps))
            << act << " " << text;
    }
    box()->clear();
    EXPECT_EQ(levels(), 1234);
}

// One kind of file stays ticked: the only ticked box is fixed. Every change is written at once.
TEST_F(Options, KindsOfFileKeepOneTickedAndAreWritten) {
    const std::pair<int, const char*> steps[] = {
        {1, "EXE! DLL- 1"}, {1, "EXE+ DLL+ 3"}, {0, "EXE- DLL! 2"}, {1, "EXE- DLL! 2"}, {0, "EXE+ DLL+ 3"}};
    for (const auto& [box, shown] : steps) {
        click("chkWhatToBrowse", box);
        EXPECT_EQ(m.kindsOfFile(), shown);
    }
}

// The case box warns in the language in force and writes the rule, which waits for the next start.
TEST_F(Options, CaseBoxWarnsAndWritesButTheRuleWaitsForTheNextStart) {
    for (int i = 0; i < 4; ++i) { // on in English, off in Greek, on and off in English
        if (i == 1 || i == 2)
            click("cmdLanguage", i - 1);
        m.ui.answer(MsgButton::Ok);
        click("chkCaseSensitive");
        EXPECT_EQ(m.iniValue("CaseSensitive"), i % 2 ? "0" : "1");
    }
    EXPECT_FALSE(m.window->options().caseSensitive());
    const MessageRequest& on = m.ui.messages[0].request;
    EXPECT_EQ(std::tuple(on.title, on.icon, on.buttons),
              std::tuple(QStringLiteral("Distinguish between upper-lower case"), MsgIcon::Information,
                         MsgButtons::Ok));
    EXPECT_EQ(m.ui.messages[1].request.title, QStringLiteral("Διαχωρισμός πεζών-κεφαλαίων"));
    EXPECT_TRUE(
        on.text.startsWith(QStringLiteral("You decided to instruct this application to distinguish")));
    // Switched off, the English text writes its first NOT in Greek capitals.
    EXPECT_TRUE(m.ui.messages[3].request.text.startsWith(
        QStringLiteral("You decided to instruct this application \u039D\u039F\u03A4 to distinguish")));
}

// A close from the window frame keeps no levels; an empty box stops End with report 193, whose No leaves the
// program running and whose Yes ends it, still keeping nothing. (End keeping the levels is the whole-program
// test's.)
TEST_F(Options, NoLevelsAreWrittenAfterAFrameCloseOrWithAnUnreadableBox) {
    const std::string before = m.ini();
    box()->setText(QStringLiteral("12"));
    EXPECT_TRUE(test::CloseFromFrame(*m.window));
    EXPECT_EQ(m.ini(), before);

    box()->clear();
    for (const MsgButton answer : {MsgButton::No, MsgButton::Yes}) {
        m.ui.answer(answer);
        click("cmdEnd");
        EXPECT_EQ(m.ui.ended, answer == MsgButton::Yes ? 1 : 0);
        EXPECT_TRUE(answer == MsgButton::Yes || m.window->isVisible()) << "No leaves the program running";
    }
    EXPECT_EQ(m.ui.messages[0].request.title, QStringLiteral("Vesmarin, 193."));
    EXPECT_TRUE(m.ui.messages[0].request.text.contains(QStringLiteral("'Type mismatch'")));
    EXPECT_EQ(m.ini(), before);
}

} // namespace
} // namespace vesmarin
