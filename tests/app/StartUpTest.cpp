#include "app/MainWindowRig.h"
#include "base/FileLocationsTest.h"
#include "base/PathText.h"
#include "base/Settings.h"

namespace vesmarin {
namespace {

using test::IniValue;
using test::MainWindowRig;

// No initial path stored (no file at all, or an empty value): the home folder serves for this run only, and
// the user is told so in the stored language, which is applied before any message.
TEST(StartUp, WithoutAnInitialPathTheHomeFolderServesForThisRun) {
    const QString home = MainWindowRig::home();
    const std::tuple<const char*, QString, QString> cases[] = {
        {nullptr, "Recall initial path",
         "'" + home +
             "'will be used as the default initial path, since an initial path has not yet been set."},
        {"[General]\nInitialPath=\n", "Recall initial path", "'" + home + "'"},
        {"[General]\nLanguage=1\n", "Ανάκληση αρχικής διαδρομής", "«" + home + "»"}};
    for (const auto& [stored, title, text] : cases) {
        MainWindowRig m;
        m.ui.answer(MsgButton::Ok);
        if (stored) // else no settings file at all
            m.storeIni(stored);
        m.window->load();
        const MessageRequest& r = m.ui.messages.at(0).request;
        EXPECT_EQ(std::tuple(r.title, r.icon), std::tuple(title, MsgIcon::Information));
        EXPECT_TRUE(r.text.contains(text)) << r.text.toStdString();
        // At rest: the home folder current, nothing to show next.
        EXPECT_EQ(std::tuple(m.window->pathMenus().initialPath(), m.window->iconBrowser().iconFolder(),
                             m.control<QLabel>("lblCurrentPath")->text(), m.control("cmdScan")->isEnabled()),
                  std::tuple(home, home.endsWith(u'/') ? home : home + u'/', home, false));
        EXPECT_EQ(m.iniValue("InitialPath"), IniValue(stored ? stored : "", "InitialPath"))
            << "the home folder is not stored";
        EXPECT_TRUE(stored || m.ini() == "[General]\nLanguage=0\n\n[Options]\nWhatToBrowse=3\n") << m.ini();
    }
}

// How a stored number is read is the number rule's own test; here, that the window reads each setting
// through it and shows it: the language (written back), the levels through their first four characters and
// kept in range, the case rule (not written; POSIX file systems distinguish case), the kinds of file (ticked
// as the user would, and so written back).
TEST(StartUp, StoredOptionsAreAppliedAndWrittenBack) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"", "", "en0 0 case EXE+ DLL+ 3"},
        {"Language=1x", "Levels=12345678\nCaseSensitive=01\nWhatToBrowse=1", "el1 1234 case EXE! DLL- 1"},
        {"Language=2", "Levels=-5\nCaseSensitive=0\nWhatToBrowse=2", "en0 0 nocase EXE- DLL! 2"},
        {"", "Levels=1e5\nCaseSensitive=2\nWhatToBrowse=0", "en0 0 nocase EXE+ DLL+ 3"},
        {"", "Levels=3.5", "en0 4 case EXE+ DLL+ 3"}};
    for (const auto& [general, options, applied] : cases) {
        MainWindowRig m; // an unexpected message would fail the test
        m.loadWith(std::string("[General]\nInitialPath=/tmp\n") + general + "\n[Options]\n" + options + "\n");
        const OptionsPanel& o = m.window->options();
        const QString levels = m.control<QLineEdit>("txtLevels")->text();
        const auto* caseBox = m.control<QCheckBox>("chkCaseSensitive");
        EXPECT_EQ(std::tuple(o.levels(), caseBox->isChecked(), caseBox->isHidden()),
                  std::tuple(levels.toInt(), o.caseSensitive(), false));
        EXPECT_EQ((m.window->language().greek ? "el" : "en") + m.iniValue("Language") + " " +
                      levels.toStdString() + (o.caseSensitive() ? " case " : " nocase ") + m.kindsOfFile(),
                  applied)
            << options;
        for (const char* untouched : {"Levels", "CaseSensitive"})
            EXPECT_EQ(m.iniValue(untouched), IniValue(options, untouched)) << options;
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
// (a Greek letter takes two, a byte that is not UTF-8 one); a longer one is refused, never cut. Sections and
// keys are found in any letter case.
TEST(StartUp, PathSettingsAreReadWholeOrRefused) {
    const std::size_t limit = settings::PathLimit;
    const std::string home = MainWindowRig::home().toStdString();
    const std::string homeFolder = home.back() == '/' ? home : home + "/";
    const std::string longer =
        "longer than the " + std::to_string(limit) + " bytes a path may have on this computer";
    // Greek, the key, the path stored; the refusal's title (nullptr: read whole) and its text, or a part of
    // it that names the folder used instead.
    const std::tuple<bool, bool, std::string, const char*, std::string> cases[] = {
        {false, true, PathOfBytes(limit, "p"), nullptr, ""},
        {false, false, PathOfBytes(limit, "έ"), nullptr, ""},
        {false, true, PathOfBytes(limit, "\xE9"), nullptr, ""},
        {false, true, PathOfBytes(limit + 1, "p"), "Recall initial path",
         "The initial path that has been set is " + longer + ", so it cannot be recalled. '" + home +
             "' will be used as the initial path instead."},
        {true, true, PathOfBytes(limit + 1, "έ"), "Ανάκληση αρχικής διαδρομής", "«" + home + "»."},
        {false, false, PathOfBytes(limit + 1, "p"), "Vesmarin",
         "The folder for saving icons that has been set is " + longer +
             ", so it cannot be used. Icons will be saved in '" + homeFolder +
             "' until you select another folder."},
    };
    for (const auto& [greek, initial, stored, title, text] : cases) {
        MainWindowRig m;
        // The refusal alone; read whole, an initial path that is no folder asks about a partial recall.
        if (initial || title)
            m.ui.answer(title ? MsgButton::Ok : MsgButton::Cancel);
        const MainWindow& f =
            m.loadWith(std::string("[general]\nLanguage=") + (greek ? "1" : "0") +
                       "\ninitialpath=" + (initial ? stored : "/tmp") + "\n[OPTIONS]\n" +
                       (initial ? "InitialPath=/data/icons/" : "IconSavePath=" + stored) + "\n");
        const QString read = initial ? f.pathMenus().initialPath() : f.iconBrowser().iconFolder();
        if (!title) {
            EXPECT_EQ(FileNameToBytes(read).toStdString(), stored);
        } else {
            const MessageRequest& r = m.ui.messages.at(0).request;
            EXPECT_EQ(std::tuple(read.toStdString(), r.title.toStdString(), r.icon),
                      std::tuple(initial ? home : homeFolder, title, MsgIcon::Critical));
            EXPECT_TRUE(r.text.toStdString().find(text) != std::string::npos &&
                        r.text.contains(QString::number(limit)))
                << r.text.toStdString();
        }
        EXPECT_NE(m.ini().find(stored), std::string::npos) << "the settings file keeps what it holds";
    }
}

TEST(StartUp, ASecondInstanceTellsTheUserAndEndsWithoutTouchingTheSettings) {
    MainWindowRig m;
    m.ui.otherInstance = true;
    m.ui.answer(MsgButton::Ok);
    m.loadWith("[General]\nLanguage=1\n");
    const MessageRequest& r = m.ui.messages.at(0).request;
    EXPECT_EQ(
        std::tuple(r.title, r.text, r.icon),
        std::tuple(QString(),
                   "The application is already active and cannot have more than one instances at a time.",
                   MsgIcon::Critical));
    EXPECT_EQ(std::tuple(m.ui.ended, m.ini(), m.window->isVisible()),
              std::tuple(1, "[General]\nLanguage=1\n", false));
}

// Each folder holds a settings file, and only the one in use says Greek: the window shows which one it read,
// and the write of the kinds of file at every start shows which one it writes.
TEST(StartUp, ReadsAndWritesTheSettingsWhereTheyLive) {
    for (const bool programFolderTakesFiles : {true, false}) {
        test::ProgramLayout l;
        const test::ConfigHome home(l.root.filePath(QStringLiteral("config")));
        const QString used = programFolderTakesFiles ? l.bin() : l.config();
        const QString unused = programFolderTakesFiles ? l.config() : l.bin();
        const QByteArray other = "[General]\nLanguage=0\nInitialPath=/tmp\n";
        test::WriteFile(used + "/Tembrill.ini", "[General]\nLanguage=1\nInitialPath=/tmp\n");
        test::WriteFile(unused + "/Tembrill.ini", other);
        test::WriteFile(l.share() + "/TembrillGR.hlp");

        test::ScriptedInteraction ui;
        MainWindow form(ui, l.bin());
        form.setCanCreateFileIn([&](const QString&) { return programFolderTakesFiles; });
        form.load();
        EXPECT_EQ(std::tuple(form.language().greek, form.language().helpFile, form.files().savedPathsFile),
                  std::tuple(true, l.share() + "/TembrillGR.hlp", used + "/SavedPaths.txt"));
        EXPECT_EQ(ui.instanceFolder, used) << "one running program per folder of settings";
        EXPECT_EQ(test::ReadFile(used + "/Tembrill.ini"),
                  "[General]\nLanguage=1\nInitialPath=/tmp\n\n[Options]\nWhatToBrowse=3\n");
        EXPECT_EQ(test::ReadFile(unused + "/Tembrill.ini"), other);
    }
}

} // namespace
} // namespace vesmarin
