#include "app/MainWindowRig.h"
#include "base/PathText.h"
#include "base/Settings.h"
#include "ui/UpDown.h"

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

using test::MainWindowRig;

// A settings file with an initial path, so that start-up shows no message, plus the given lines.
std::string Ini(const std::string& general, const std::string& options = "") {
    return "[General]\nInitialPath=/tmp\n" + general + "[Options]\n" + options;
}

TEST(StartUp, FirstStartInAnEmptyFolder) {
    MainWindowRig m;
    m.ui.answer(MsgButton::Ok);
    std::string whatToBrowseAfterFirstBox;
    QObject::connect(m.control<QCheckBox>("chkWhatToBrowse", 0), &QCheckBox::toggled,
                     [&] { whatToBrowseAfterFirstBox = m.iniValue("WhatToBrowse"); });
    m.window->load();
    const MainWindow& f = *m.window;

    EXPECT_FALSE(f.language().greek);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Vesmarin"));
    ASSERT_EQ(m.ui.messages.size(), 1u);
    const MessageRequest& r = m.ui.messages[0].request;
    EXPECT_EQ(r.text, QStringLiteral(
                          "'%1'will be used as the default initial path, since an initial path has not yet "
                          "been set.")
                          .arg(MainWindowRig::home()));
    EXPECT_EQ(r.title, QStringLiteral("Recall initial path"));
    EXPECT_EQ(r.icon, MsgIcon::Information);
    EXPECT_EQ(r.buttons, MsgButtons::Ok);

    EXPECT_EQ(f.pathMenus().initialPath(), MainWindowRig::home());
    EXPECT_EQ(f.iconBrowser().iconFolder(),
              MainWindowRig::home().endsWith(u'/') ? MainWindowRig::home() : MainWindowRig::home() + u'/');
    EXPECT_EQ(f.options().levels(), 0);
    EXPECT_EQ(m.control<QLineEdit>("txtLevels")->text(), QStringLiteral("0"));
    EXPECT_TRUE(f.options().caseSensitive()) << "POSIX file systems distinguish case";
    EXPECT_TRUE(m.control<QCheckBox>("chkWhatToBrowse", 0)->isChecked() &&
                m.control<QCheckBox>("chkWhatToBrowse", 0)->isEnabled());
    EXPECT_TRUE(m.control<QCheckBox>("chkWhatToBrowse", 1)->isChecked() &&
                m.control<QCheckBox>("chkWhatToBrowse", 1)->isEnabled());

    EXPECT_EQ(whatToBrowseAfterFirstBox, "1");
    EXPECT_EQ(m.ini(), "[General]\nLanguage=0\n\n[Options]\nWhatToBrowse=3\n");
}

// How a stored number is read is the number-text rule's own test; here, that the window applies it and
// writes the setting back.
TEST(StartUp, StoredLanguageIsAppliedAndWrittenBack) {
    const std::pair<const char*, bool> cases[] = {{"1", true}, {"1x", true}, {"2", false}, {nullptr, false}};
    for (const auto& [stored, greek] : cases) {
        SCOPED_TRACE(stored ? stored : "no key");
        MainWindowRig m;
        m.loadWith(Ini(stored ? std::string("Language=") + stored + "\n" : ""));
        EXPECT_EQ(m.window->language().greek, greek);
        EXPECT_EQ(m.control<QPushButton>("cmdScan")->text(),
                  greek ? QStringLiteral("Εμφάνιση επόμενης ομάδας εικονιδίων")
                        : QStringLiteral("Display next set of icons"));
        EXPECT_EQ(m.iniValue("Language"), greek ? "1" : "0");
    }
}

TEST(StartUp, TheStoredLanguageComesBeforeAnyMessage) {
    MainWindowRig m;
    m.ui.answer(MsgButton::Ok);
    m.loadWith("[General]\nLanguage=1\n");
    ASSERT_EQ(m.ui.messages.size(), 1u);
    EXPECT_EQ(m.ui.messages[0].request.title, QStringLiteral("Ανάκληση αρχικής διαδρομής"));
    EXPECT_EQ(m.ui.messages[0].request.text,
              QStringLiteral("Δεν έχει ορισθεί κάποια αρχική διαδρομή και έτσι, ως αρχική διαδρομή, θα "
                             "χρησιμοποιηθεί η «%1».")
                  .arg(MainWindowRig::home()));
}

TEST(StartUp, StoredLevelsAreReadThroughFourCharactersAndKeptInRange) {
    const std::pair<const char*, int> cases[] = {{"9999", 9999}, {"12345678", 1234}, {"-5", 0},
                                                 {"2.5", 2},     {"3.5", 4},         {"1e5", 0}};
    for (const auto& [stored, levels] : cases) {
        SCOPED_TRACE(stored);
        MainWindowRig m;
        m.loadWith(Ini("", std::string("Levels=") + stored + "\n"));
        EXPECT_EQ(m.window->options().levels(), levels);
        EXPECT_EQ(m.control<QLineEdit>("txtLevels")->text(), QString::number(levels));
    }
}

TEST(StartUp, StoredKindsOfFileTickTheBoxesAndAreWrittenBack) {
    const struct {
        const char* stored; // nullptr: no key
        bool exe, dll;
        const char* written;
    } cases[] = {{"1", true, false, "1"}, {"2", false, true, "2"}, {"3", true, true, "3"},
                 {"0", true, true, "3"},  {"4", true, true, "3"},  {nullptr, true, true, "3"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "no key");
        MainWindowRig m;
        const MainWindow& f =
            m.loadWith(Ini("", c.stored ? std::string("WhatToBrowse=") + c.stored + "\n" : ""));
        EXPECT_EQ(m.control<QCheckBox>("chkWhatToBrowse", 0)->isChecked(), c.exe);
        EXPECT_EQ(m.control<QCheckBox>("chkWhatToBrowse", 1)->isChecked(), c.dll);
        // The only ticked box is disabled so that it cannot be unticked.
        EXPECT_EQ(m.control<QCheckBox>("chkWhatToBrowse", 0)->isEnabled(), c.dll);
        EXPECT_EQ(m.control<QCheckBox>("chkWhatToBrowse", 1)->isEnabled(), c.exe);
        const QString expected = c.exe && c.dll ? OptionsPanel::ExePatterns + u';' + OptionsPanel::DllPatterns
                                 : c.exe        ? OptionsPanel::ExePatterns
                                                : OptionsPanel::DllPatterns;
        EXPECT_EQ(f.options().patternList(), expected);
        EXPECT_EQ(m.iniValue("WhatToBrowse"), c.written);
    }
}

TEST(StartUp, StoredCaseRuleSetsTheBoxSilentlyAndWritesNothing) {
    for (const auto& [stored, on] : {std::pair{"01", true}, std::pair{"0", false}, std::pair{"2", false}}) {
        MainWindowRig m; // an unexpected message would fail the test
        const std::string before = Ini("", std::string("CaseSensitive=") + stored + "\n");
        const MainWindow& f = m.loadWith(before);
        EXPECT_EQ(f.options().caseSensitive(), on) << stored;
        EXPECT_EQ(m.control<QCheckBox>("chkCaseSensitive")->isChecked(), on) << stored;
        EXPECT_FALSE(m.control<QCheckBox>("chkCaseSensitive")->isHidden());
        EXPECT_EQ(m.iniValue("CaseSensitive"), stored);
    }
}

// A path of `bytes` bytes: "/" and then `unit` repeated (a unit of several bytes ends the path early).
std::string PathOfBytes(std::size_t bytes, const std::string& unit) {
    std::string path = "/";
    while (path.size() + unit.size() <= bytes)
        path += unit;
    return path + std::string(bytes - path.size(), 'p');
}

// Both folders are read whole up to the longest path the system opens, measured in bytes of the file name
// (a Greek letter takes two, a byte that is not UTF-8 one); a longer one is refused, never cut.
TEST(StartUp, PathSettingsAreReadWholeOrRefused) {
    const std::string limit = std::to_string(settings::PathLimit);
    const std::string home = MainWindowRig::home().toStdString();
    const std::string homeFolder = home.back() == '/' ? home : home + "/";
    const struct {
        const char* name;
        bool greek;
        const char* key;
        std::string stored;
        bool whole;
        std::string title, text; // of the refusal
    } cases[] = {
        {"ASCII at the limit", false, "InitialPath", PathOfBytes(settings::PathLimit, "p"), true, "", ""},
        {"Greek within the limit", false, "IconSavePath", PathOfBytes(settings::PathLimit, "έ"), true, "",
         ""},
        {"bytes that are not UTF-8 at the limit", false, "InitialPath",
         PathOfBytes(settings::PathLimit, "\xE9"), true, "", ""},
        {"initial path one byte too long", false, "InitialPath", PathOfBytes(settings::PathLimit + 1, "p"),
         false, "Recall initial path",
         "The initial path that has been set is longer than the " + limit +
             " bytes a path may have on this computer, so it cannot be recalled. '" + home +
             "' will be used as the initial path instead."},
        {"Greek initial path too long in bytes, Greek", true, "InitialPath",
         PathOfBytes(settings::PathLimit + 1, "έ"), false, "Ανάκληση αρχικής διαδρομής",
         "Η αρχική διαδρομή η οποία έχει ορισθεί, υπερβαίνει τα " + limit +
             " byte που επιτρέπονται για μια διαδρομή σε αυτόν τον υπολογιστή και επομένως δεν μπορεί να "
             "ανακληθεί. Αντ' αυτής, ως αρχική διαδρομή θα χρησιμοποιηθεί η «" +
             home + "»."},
        {"icon folder too long", false, "IconSavePath", PathOfBytes(settings::PathLimit + 1, "p"), false,
         "Vesmarin",
         "The folder for saving icons that has been set is longer than the " + limit +
             " bytes a path may have on this computer, so it cannot be used. Icons will be saved in '" +
             homeFolder + "' until you select another folder."},
        {"icon folder too long, Greek", true, "IconSavePath", PathOfBytes(settings::PathLimit + 1, "p"),
         false, "Vesmarin",
         "Ο φάκελλος αποθηκεύσεως των εικονιδίων ο οποίος έχει ορισθεί, υπερβαίνει τα " + limit +
             " byte που επιτρέπονται για μια διαδρομή σε αυτόν τον υπολογιστή και επομένως δεν μπορεί να "
             "χρησιμοποιηθεί. Τα εικονίδια θα αποθηκεύονται στο φάκελλο «" +
             homeFolder + "», μέχρι να επιλέξετε κάποιον άλλο φάκελλο."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool initial = std::string(c.key) == "InitialPath";
        MainWindowRig m;
        if (initial && c.whole)
            m.ui.answer(MsgButton::Cancel); // no such folder: the partial-recall question
        if (!c.whole)
            m.ui.answer(MsgButton::Ok);
        // Sections and keys are found in any letter case.
        const MainWindow& f =
            m.loadWith(std::string("[general]\nLanguage=") + (c.greek ? "1" : "0") +
                       "\ninitialpath=" + (initial ? c.stored : std::string("/tmp")) + "\n[OPTIONS]\n" +
                       c.key + "=" + (initial ? "/data/icons/" : c.stored) + "\n");
        const QString read = initial ? f.pathMenus().initialPath() : f.iconBrowser().iconFolder();
        if (c.whole) {
            EXPECT_EQ(FileNameToBytes(read).toStdString(), c.stored);
        } else {
            EXPECT_EQ(read.toStdString(), initial ? home : homeFolder);
            ASSERT_FALSE(m.ui.messages.empty());
            const MessageRequest& r = m.ui.messages[0].request;
            EXPECT_EQ(r.title.toStdString(), c.title);
            EXPECT_EQ(r.text.toStdString(), c.text);
            EXPECT_EQ(r.icon, MsgIcon::Critical);
            EXPECT_EQ(m.ui.messages.size(), 1u) << "no other message about the initial path";
        }
        EXPECT_NE(m.ini().find(c.stored), std::string::npos) << "the settings file keeps what it holds";
    }
}

TEST(StartUp, AnEmptyInitialPathCountsAsNone) {
    MainWindowRig m;
    m.ui.answer(MsgButton::Ok);
    m.loadWith("[General]\nInitialPath=\n");
    EXPECT_EQ(m.ui.messages.size(), 1u);
    EXPECT_EQ(m.window->pathMenus().initialPath(), MainWindowRig::home());
    EXPECT_EQ(m.iniValue("InitialPath"), "") << "the home folder is used for this run only";
}

TEST(StartUp, WindowAtRest) {
    MainWindowRig m;
    const MainWindow& f = m.loadWith(Ini(""));
    EXPECT_FALSE(m.control<QPushButton>("cmdScan")->isEnabled());
    EXPECT_TRUE(m.control<QLabel>("lblInfo")->text().isEmpty());
    EXPECT_TRUE(m.control<IconGrid>("grdControl")->isHidden());
    EXPECT_EQ(m.control<QLabel>("lblCurrentPath")->text(), QStringLiteral("/tmp"))
        << "the initial path is current";
    for (const QMenu* menu :
         {m.control<QMenu>("mnuSavePath"), m.control<QMenu>("mnuRecallPath"), m.control<QMenu>("mnuIcons")})
        EXPECT_FALSE(menu->menuAction()->isVisible()) << menu->objectName().toStdString();
    EXPECT_EQ(f.files().iniFile, m.folder.path() + QStringLiteral("/Tembrill.ini"));
    EXPECT_EQ(FileBesideProgram(QStringLiteral("/"), QStringLiteral("Tembrill.ini")),
              QStringLiteral("//Tembrill.ini"));
}

TEST(SecondInstance, TellsTheUserAndEndsWithoutTouchingTheSettings) {
    MainWindowRig m;
    m.ui.otherInstance = true;
    m.ui.answer(MsgButton::Ok);
    m.storeIni("[General]\nLanguage=1\n");
    m.window->load();
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
    EXPECT_FALSE(m.window->isVisible());
}

} // namespace
} // namespace vesmarin
