#include "MainForm.h"
#include "shell/Settings.h"
#include "shell/UpDown.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::MainForm;

// A settings file with an initial path, so that start-up shows no message, plus the given lines.
std::string Ini(const std::string& general, const std::string& options = "") {
    return "[General]\nInitialPath=/tmp\n" + general + "[Options]\n" + options;
}

std::string ValueIn(const std::string& ini, const std::string& keyLine) {
    const auto at = ini.find("\n" + keyLine + "=");
    if (at == std::string::npos)
        return "<missing>";
    const auto start = at + keyLine.size() + 2;
    return ini.substr(start, ini.find('\n', start) - start);
}

TEST(StartUp, FirstStartInAnEmptyFolder) {
    MainForm m;
    m.ui.answer(MsgButton::Ok);
    std::string whatToBrowseAfterFirstBox;
    QObject::connect(m.form->chkWhatToBrowse[0], &QCheckBox::toggled,
                     [&] { whatToBrowseAfterFirstBox = ValueIn(m.ini(), "WhatToBrowse"); });
    m.form->Load();
    const frmMain& f = *m.form;

    EXPECT_FALSE(f.state.gLanguage);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Vesmarin"));
    ASSERT_EQ(m.ui.messages.size(), 1u);
    const MessageRequest& r = m.ui.messages[0].request;
    EXPECT_EQ(r.text, QStringLiteral(
                          "'%1'will be used as the default initial path, since an initial path has not yet "
                          "been set.")
                          .arg(MainForm::home()));
    EXPECT_EQ(r.title, QStringLiteral("Recall initial path"));
    EXPECT_EQ(r.icon, MsgIcon::Information);
    EXPECT_EQ(r.buttons, MsgButtons::Ok);

    EXPECT_EQ(f.state.gInitialPath, MainForm::home());
    EXPECT_EQ(f.state.gIconSavePath,
              MainForm::home().endsWith(u'/') ? MainForm::home() : MainForm::home() + u'/');
    EXPECT_EQ(f.state.gLevels, 0);
    EXPECT_EQ(f.txtLevels->text(), QStringLiteral("0"));
    EXPECT_TRUE(f.state.gCaseSensitive) << "POSIX file systems distinguish case";
    EXPECT_TRUE(f.chkWhatToBrowse[0]->isChecked() && f.chkWhatToBrowse[0]->isEnabled());
    EXPECT_TRUE(f.chkWhatToBrowse[1]->isChecked() && f.chkWhatToBrowse[1]->isEnabled());

    EXPECT_EQ(whatToBrowseAfterFirstBox, "1");
    EXPECT_EQ(m.ini(), "[General]\nLanguage=0\n\n[Options]\nWhatToBrowse=3\n");
}

struct LanguageCase {
    const char* stored; // nullptr: no key
    bool greek;
};

class StoredLanguage : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(StoredLanguage, IsAppliedAndWrittenBack) {
    MainForm m;
    const LanguageCase& c = GetParam();
    m.loadWith(Ini(c.stored ? std::string("Language=") + c.stored + "\n" : ""));
    EXPECT_EQ(m.form->state.gLanguage, c.greek);
    EXPECT_EQ(m.form->cmdScan->text(), c.greek ? QStringLiteral("Εμφάνιση επόμενης ομάδας εικονιδίων")
                                               : QStringLiteral("Display next set of icons"));
    EXPECT_EQ(ValueIn(m.ini(), "Language"), c.greek ? "1" : "0");
}

INSTANTIATE_TEST_SUITE_P(NumberPrefixRule, StoredLanguage,
                         ::testing::Values(LanguageCase{"1", true}, LanguageCase{"\" 1\"", true},
                                           LanguageCase{"1x", true}, LanguageCase{"01", true},
                                           LanguageCase{"1.0", true}, LanguageCase{"x1", false},
                                           LanguageCase{"2", false}, LanguageCase{"-1", false},
                                           LanguageCase{"", false}, LanguageCase{nullptr, false}));

TEST(StartUp, TheStoredLanguageComesBeforeAnyMessage) {
    MainForm m;
    m.ui.answer(MsgButton::Ok);
    m.loadWith("[General]\nLanguage=1\n");
    ASSERT_EQ(m.ui.messages.size(), 1u);
    EXPECT_EQ(m.ui.messages[0].request.title, QStringLiteral("Ανάκληση αρχικής διαδρομής"));
    EXPECT_EQ(m.ui.messages[0].request.text,
              QStringLiteral("Δεν έχει ορισθεί κάποια αρχική διαδρομή και έτσι, ως αρχική διαδρομή, θα "
                             "χρησιμοποιηθεί η «%1».")
                  .arg(MainForm::home()));
}

struct LevelsCase {
    const char* stored;
    int levels;
};

class StoredLevels : public ::testing::TestWithParam<LevelsCase> {};

TEST_P(StoredLevels, AreReadThroughFourCharactersAndRoundedHalfToEven) {
    MainForm m;
    m.loadWith(Ini("", std::string("Levels=") + GetParam().stored + "\n"));
    EXPECT_EQ(m.form->state.gLevels, GetParam().levels);
    EXPECT_EQ(m.form->txtLevels->text(), QString::number(GetParam().levels));
}

INSTANTIATE_TEST_SUITE_P(Rule, StoredLevels,
                         ::testing::Values(LevelsCase{"9999", 9999}, LevelsCase{"12345678", 1234},
                                           LevelsCase{"-1", 0}, LevelsCase{"-5", 0}, LevelsCase{"&H10", 16},
                                           LevelsCase{"2.5", 2}, LevelsCase{"3.5", 4}, LevelsCase{"abc", 0},
                                           LevelsCase{"", 0}, LevelsCase{"1e3", 1000}, LevelsCase{"1e5", 0}));

struct KindsCase {
    const char* stored; // nullptr: no key
    bool exe, dll;
    const char* written;
};

class StoredKinds : public ::testing::TestWithParam<KindsCase> {};

TEST_P(StoredKinds, TickTheBoxesAndAreWrittenBack) {
    MainForm m;
    const KindsCase& c = GetParam();
    const frmMain& f = m.loadWith(Ini("", c.stored ? std::string("WhatToBrowse=") + c.stored + "\n" : ""));
    EXPECT_EQ(f.chkWhatToBrowse[0]->isChecked(), c.exe);
    EXPECT_EQ(f.chkWhatToBrowse[1]->isChecked(), c.dll);
    // The only ticked box is disabled so that it cannot be unticked.
    EXPECT_EQ(f.chkWhatToBrowse[0]->isEnabled(), c.dll);
    EXPECT_EQ(f.chkWhatToBrowse[1]->isEnabled(), c.exe);
    const QString expected = c.exe && c.dll ? frmMain::ExePatterns + u';' + frmMain::DllPatterns
                             : c.exe        ? frmMain::ExePatterns
                                            : frmMain::DllPatterns;
    EXPECT_EQ(f.ActivePatternList(), expected);
    EXPECT_EQ(ValueIn(m.ini(), "WhatToBrowse"), c.written);
}

INSTANTIATE_TEST_SUITE_P(Rule, StoredKinds,
                         ::testing::Values(KindsCase{"1", true, false, "1"}, KindsCase{"2", false, true, "2"},
                                           KindsCase{"3", true, true, "3"}, KindsCase{"0", true, true, "3"},
                                           KindsCase{"4", true, true, "3"}, KindsCase{"7", true, true, "3"},
                                           KindsCase{"", true, true, "3"},
                                           KindsCase{nullptr, true, true, "3"}));

TEST(StartUp, StoredCaseRuleSetsTheBoxSilentlyAndWritesNothing) {
    for (const auto& [stored, on] : {std::pair{"01", true}, std::pair{"0", false}, std::pair{"2", false}}) {
        MainForm m; // an unexpected message would fail the test
        const std::string before = Ini("", std::string("CaseSensitive=") + stored + "\n");
        const frmMain& f = m.loadWith(before);
        EXPECT_EQ(f.state.gCaseSensitive, on) << stored;
        EXPECT_EQ(f.chkCaseSensitive->isChecked(), on) << stored;
        EXPECT_FALSE(f.chkCaseSensitive->isHidden());
        EXPECT_EQ(ValueIn(m.ini(), "CaseSensitive"), stored);
    }
}

TEST(StartUp, TextSettings) {
    MainForm m;
    const std::string longPath = "/" + std::string(1029, 'p');
    m.ui.answer(MsgButton::Cancel); // no such folder: the partial-recall question
    const frmMain& f = m.loadWith("[general]\ninitialpath=" + longPath +
                                  "\n[OPTIONS]\nICONSAVEPATH=/data/icons/\nlevels=7\n");
    EXPECT_EQ(f.state.gInitialPath.toStdString(), longPath.substr(0, 1023));
    EXPECT_EQ(f.state.gIconSavePath, QStringLiteral("/data/icons/"));
    EXPECT_EQ(f.state.gLevels, 7) << "sections and keys in another letter case are found";
}

TEST(StartUp, AnEmptyInitialPathCountsAsNone) {
    MainForm m;
    m.ui.answer(MsgButton::Ok);
    m.loadWith("[General]\nInitialPath=\n");
    EXPECT_EQ(m.ui.messages.size(), 1u);
    EXPECT_EQ(m.form->state.gInitialPath, MainForm::home());
    EXPECT_EQ(ValueIn(m.ini(), "InitialPath"), "") << "the home folder is used for this run only";
}

TEST(StartUp, WindowAtRest) {
    MainForm m;
    const frmMain& f = m.loadWith(Ini(""));
    EXPECT_FALSE(f.cmdScan->isEnabled());
    EXPECT_TRUE(f.lblInfo->text().isEmpty());
    EXPECT_TRUE(f.grdControl->isHidden());
    EXPECT_EQ(f.lblCurrentPath->text(), QStringLiteral("/tmp")) << "the initial path is current";
    for (const QMenu* menu : {f.mnuSavePath, f.mnuRecallPath, f.mnuIcons})
        EXPECT_FALSE(menu->menuAction()->isVisible()) << menu->objectName().toStdString();
    EXPECT_EQ(f.updLevels->height(), f.txtLevels->height());
    EXPECT_EQ(f.cmdAll->height(), f.txtLevels->height());
    EXPECT_EQ(f.lblCopyright->height(), f.picCopyright->height());
    EXPECT_EQ(f.state.gIniFile, m.folder.path() + QStringLiteral("/Tembrill.ini"));
    EXPECT_EQ(FileBesideProgram(QStringLiteral("/"), QStringLiteral("Tembrill.ini")),
              QStringLiteral("//Tembrill.ini"));
}

TEST(SecondInstance, TellsTheUserAndEndsWithoutTouchingTheSettings) {
    MainForm m;
    m.ui.otherInstance = true;
    m.ui.answer(MsgButton::Ok);
    m.storeIni("[General]\nLanguage=1\n");
    m.form->Load();
    ASSERT_EQ(m.ui.messages.size(), 1u);
    const MessageRequest& r = m.ui.messages[0].request;
    EXPECT_EQ(r.text,
              QStringLiteral(
                  "The application is already active and cannot have more than one instances at a time."));
    EXPECT_EQ(r.title, QString());
    EXPECT_EQ(r.icon, MsgIcon::Critical);
    EXPECT_EQ(r.buttons, MsgButtons::Ok);
    EXPECT_EQ(m.ui.ended, 1);
    EXPECT_EQ(m.ini(), "[General]\nLanguage=1\n");
    EXPECT_FALSE(m.form->isVisible());
}

} // namespace
} // namespace vesmarin
