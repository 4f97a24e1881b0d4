#include "app/MainWindowRig.h"
#include "base/FileLocationsTest.h"
#include "base/PathText.h"
#include "base/Settings.h"

namespace vesmarin::test {

// No initial path stored (no file at all, or an empty value): the home folder serves for this run only, and
// the user is told so in the stored language, which is applied before any message.
TEST(StartUp, WithoutAnInitialPathTheHomeFolderServesForThisRun) {
    const QString home = MainWindowRig::home();
    const std::tuple<const char*, QString, QString> cases[] = {
        {nullptr, "Recall initial path", "'" + home + "'will be used as the default initial path, since"},
        {"[General]\nInitialPath=\nLanguage=1\n", "Ανάκληση αρχικής διαδρομής", "«" + home + "»"}};
    for (const auto& [stored, title, text] : cases) {
        MainWindowRig m;
        m.ui.answer(MsgButton::Ok);
        if (stored) // else no settings file at all
            WriteFile(m.iniFile(), stored);
        m.window->load();
        const MessageRequest& r = m.ui.messages.at(0).request;
        // The home folder current, and not stored.
        EXPECT_EQ(std::tuple(r.title, r.icon, r.text.contains(text), m.window->pathMenus().initialPath(),
                             m.control<QLabel>("lblCurrentPath")->text(), m.iniValue("InitialPath")),
                  std::tuple(title, MsgIcon::Information, true, home, home, stored ? "" : "<missing>"));
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
        EXPECT_EQ(
            std::tuple(o.levels(), o.caseSensitive(), m.iniValue("Levels") + m.iniValue("CaseSensitive")),
            std::tuple(levels.toInt(), m.control<QCheckBox>("chkCaseSensitive")->isChecked(),
                       IniValue(options, "Levels") + IniValue(options, "CaseSensitive")));
        EXPECT_EQ((m.window->language().greek ? "el" : "en") + m.iniValue("Language") + " " +
                      levels.toStdString() + (o.caseSensitive() ? " case " : " nocase ") + m.kindsOfFile(),
                  applied);
    }
}

// A path `over` bytes longer than the longest the system opens: "/", `unit` as often as it fits whole, then
// "p"s.
std::string PathOver(std::size_t over, const std::string& unit) {
    const std::size_t bytes = settings::PathLimit + over;
    const QByteArray units = QByteArray::fromStdString(unit).repeated(int((bytes - 1) / unit.size()));
    return ("/" + units).leftJustified(qsizetype(bytes), 'p').toStdString();
}

// Both folders are read whole up to the longest path the system opens, measured in bytes of the file name
// (a Greek letter takes two, a byte that is not UTF-8 one); a longer one is refused, never cut, and the
// settings file keeps it. Sections and keys are found in any letter case.
TEST(StartUp, PathSettingsAreReadWholeOrRefused) {
    const std::string home = MainWindowRig::home().toStdString();
    const std::string homeFolder = home.back() == '/' ? home : home + "/";
    // The key, the path stored; the refusal's title (nullptr: read whole) and a part of its text.
    const std::tuple<bool, std::string, const char*, std::string> cases[] = {
        {true, PathOver(0, "p"), nullptr, ""},
        {false, PathOver(0, "έ"), nullptr, ""},
        {true, PathOver(0, "\xE9"), nullptr, ""},
        {true, PathOver(1, "p"), "Recall initial path",
         "longer than the " + std::to_string(settings::PathLimit) + " bytes"},
        {true, PathOver(1, "έ"), "Recall initial path", "'" + home + "'"},
        {false, PathOver(1, "p"), "Vesmarin", "Icons will be saved in '" + homeFolder + "' until"}};
    for (const auto& [initial, stored, title, text] : cases) {
        MainWindowRig m;
        // The refusal alone; read whole, an initial path that is no folder asks about a partial recall.
        if (initial || title)
            m.ui.answer(title ? MsgButton::Ok : MsgButton::Cancel);
        const MainWindow& f =
            m.loadWith("[general]\ninitialpath=" + (initial ? stored : "/tmp") + "\n[OPTIONS]\n" +
                       (initial ? "InitialPath=/data/icons/" : "IconSavePath=" + stored) + "\n");
        const QString read = initial ? f.pathMenus().initialPath() : f.iconBrowser().iconFolder();
        const MessageRequest r = title ? m.ui.messages.at(0).request : MessageRequest{};
        EXPECT_EQ(std::tuple(FileNameToBytes(read).toStdString(), r.title.toStdString()),
                  std::tuple(title ? (initial ? home : homeFolder) : stored, title ? title : ""));
        EXPECT_NE(r.text.toStdString().find(text), std::string::npos) << r.text.toStdString();
        EXPECT_NE(m.ini().find(stored), std::string::npos) << "the settings file keeps what it holds";
    }
}

TEST(StartUp, ASecondInstanceTellsTheUserAndEndsWithoutTouchingTheSettings) {
    MainWindowRig m;
    m.ui.otherInstance = true;
    m.ui.answer(MsgButton::Ok);
    m.loadWith("[General]\nLanguage=1\n");
    const MessageRequest& r = m.ui.messages.at(0).request;
    EXPECT_EQ(std::tuple(r.title, r.text.left(33), r.icon, m.ui.ended, m.ini(), m.window->isVisible()),
              std::tuple("", "The application is already active", MsgIcon::Critical, 1,
                         "[General]\nLanguage=1\n", false));
}

// Each folder holds a settings file, and only the one in use says Greek: the window shows which one it read,
// and the write of the kinds of file at every start shows which one it writes.
TEST(StartUp, ReadsAndWritesTheSettingsWhereTheyLive) {
    for (const bool programFolderTakesFiles : {true, false}) {
        ProgramLayout l;
        const ConfigHome home(l.root.filePath(QStringLiteral("config")));
        const QString used = programFolderTakesFiles ? l.bin() : l.config();
        const QString unused = programFolderTakesFiles ? l.config() : l.bin();
        WriteFile(used + "/Tembrill.ini", "[General]\nLanguage=1\nInitialPath=/tmp\n");
        WriteFile(unused + "/Tembrill.ini", "[General]\nLanguage=0\nInitialPath=/tmp\n");
        ScriptedInteraction ui;
        MainWindow form(ui, l.bin());
        form.setCanCreateFileIn([&](const QString&) { return programFolderTakesFiles; });
        form.load();
        EXPECT_EQ(std::tuple(form.language().greek, ui.instanceFolder, form.files().savedPathsFile,
                             ReadFile(used + "/Tembrill.ini"), ReadFile(unused + "/Tembrill.ini")),
                  std::tuple(true, used, used + "/SavedPaths.txt",
                             "[General]\nLanguage=1\nInitialPath=/tmp\n\n[Options]\nWhatToBrowse=3\n",
                             "[General]\nLanguage=0\nInitialPath=/tmp\n"));
    }
}

} // namespace vesmarin::test
