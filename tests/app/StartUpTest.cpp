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
        if (stored)
            m.storeIni(stored);
        m.window->load();
        const MessageRequest& r = m.ui.messages.at(0).request;
        EXPECT_EQ(r.title, title);
        EXPECT_TRUE(r.text.contains(text)) << r.text.toStdString();
        EXPECT_EQ(r.icon, MsgIcon::Information);
        EXPECT_EQ(m.window->pathMenus().initialPath(), home);
        EXPECT_EQ(m.window->iconBrowser().iconFolder(), home.endsWith(u'/') ? home : home + u'/');
        EXPECT_EQ(m.iniValue("InitialPath"), IniValue(stored ? stored : "", "InitialPath"))
            << "the home folder is not stored";
        // At rest: the home folder current, nothing to show next.
        EXPECT_EQ(m.control<QLabel>("lblCurrentPath")->text(), home);
        EXPECT_FALSE(m.control<QPushButton>("cmdScan")->isEnabled());
        EXPECT_TRUE(stored || m.ini() == "[General]\nLanguage=0\n\n[Options]\nWhatToBrowse=3\n") << m.ini();
    }
}

// How a stored number is read is the number rule's own test; here, that the window reads each setting
// through it and shows it: the language (written back), the levels through their first four characters and
// kept in range, the case rule (not written; POSIX file systems distinguish case), the kinds of file (ticked
// as the user would, and so written back).
TEST(StartUp, StoredOptionsAreAppliedAndWrittenBack) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "en0 0 case EXE+ DLL+ 3"},
        {"Language=1x", "el1 0 case EXE+ DLL+ 3"},
        {"Language=2", "en0 0 case EXE+ DLL+ 3"},
        {"Levels=12345678", "en0 1234 case EXE+ DLL+ 3"},
        {"Levels=-5", "en0 0 case EXE+ DLL+ 3"},
        {"Levels=1e5", "en0 0 case EXE+ DLL+ 3"},
        {"Levels=3.5", "en0 4 case EXE+ DLL+ 3"},
        {"CaseSensitive=01", "en0 0 case EXE+ DLL+ 3"},
        {"CaseSensitive=0", "en0 0 nocase EXE+ DLL+ 3"},
        {"CaseSensitive=2", "en0 0 nocase EXE+ DLL+ 3"},
        {"WhatToBrowse=1", "en0 0 case EXE! DLL- 1"},
        {"WhatToBrowse=2", "en0 0 case EXE- DLL! 2"},
        {"WhatToBrowse=0", "en0 0 case EXE+ DLL+ 3"},
    };
    for (const auto& [line, applied] : cases) {
        MainWindowRig m; // an unexpected message would fail the test
        const bool general = std::string_view(line).starts_with("Language");
        m.loadWith("[General]\nInitialPath=/tmp\n" + std::string(general ? line : "") + "\n[Options]\n" +
                   (general ? "" : line) + "\n");
        const OptionsPanel& o = m.window->options();
        const QString levels = m.control<QLineEdit>("txtLevels")->text();
        EXPECT_EQ(o.levels(), levels.toInt());
        EXPECT_EQ(m.control<QCheckBox>("chkCaseSensitive")->isChecked(), o.caseSensitive());
        EXPECT_FALSE(m.control<QCheckBox>("chkCaseSensitive")->isHidden());
        EXPECT_EQ((m.window->language().greek ? "el" : "en") + m.iniValue("Language") + " " +
                      levels.toStdString() + (o.caseSensitive() ? " case " : " nocase ") + m.kindsOfFile(),
                  applied)
            << line;
        for (const char* untouched : {"Levels", "CaseSensitive"})
            EXPECT_EQ(m.iniValue(untouched), IniValue(line, untouched)) << line;
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
    const std::size_t limit = settings::PathLimit;
    const std::string home = MainWindowRig::home().toStdString();
    const std::string homeFolder = home.back() == '/' ? home : home + "/";
    const std::string longer =
        "longer than the " + std::to_string(limit) + " bytes a path may have on this computer";
    const struct {
        bool greek;
        const char* key;
        std::string stored;
        const char* title; // of the refusal; nullptr: read whole
        std::string text;  // the refusal's text, or a part of it that names the folder used instead
    } cases[] = {
        {false, "InitialPath", PathOfBytes(limit, "p"), nullptr, ""},
        {false, "IconSavePath", PathOfBytes(limit, "έ"), nullptr, ""},
        {false, "InitialPath", PathOfBytes(limit, "\xE9"), nullptr, ""},
        {false, "InitialPath", PathOfBytes(limit + 1, "p"), "Recall initial path",
         "The initial path that has been set is " + longer + ", so it cannot be recalled. '" + home +
             "' will be used as the initial path instead."},
        {true, "InitialPath", PathOfBytes(limit + 1, "έ"), "Ανάκληση αρχικής διαδρομής", "«" + home + "»."},
        {false, "IconSavePath", PathOfBytes(limit + 1, "p"), "Vesmarin",
         "The folder for saving icons that has been set is " + longer +
             ", so it cannot be used. Icons will be "
             "saved in '" +
             homeFolder + "' until you select another folder."},
    };
    for (const auto& c : cases) {
        const bool initial = std::string(c.key) == "InitialPath";
        MainWindowRig m;
        // The refusal alone; read whole, an initial path that is no folder asks about a partial recall.
        if (initial || c.title)
            m.ui.answer(c.title ? MsgButton::Ok : MsgButton::Cancel);
        // Sections and keys are found in any letter case.
        const MainWindow& f = m.loadWith(std::string("[general]\nLanguage=") + (c.greek ? "1" : "0") +
                                         "\ninitialpath=" + (initial ? c.stored : "/tmp") + "\n[OPTIONS]\n" +
                                         c.key + "=" + (initial ? "/data/icons/" : c.stored) + "\n");
        const QString read = initial ? f.pathMenus().initialPath() : f.iconBrowser().iconFolder();
        if (!c.title) {
            EXPECT_EQ(FileNameToBytes(read).toStdString(), c.stored);
        } else {
            EXPECT_EQ(read.toStdString(), initial ? home : homeFolder);
            const MessageRequest& r = m.ui.messages.at(0).request;
            EXPECT_EQ(r.title.toStdString(), c.title);
            EXPECT_NE(r.text.toStdString().find(c.text), std::string::npos) << r.text.toStdString();
            EXPECT_TRUE(r.text.contains(QString::number(limit)));
            EXPECT_EQ(r.icon, MsgIcon::Critical);
        }
        EXPECT_NE(m.ini().find(c.stored), std::string::npos) << "the settings file keeps what it holds";
    }
}

TEST(StartUp, ASecondInstanceTellsTheUserAndEndsWithoutTouchingTheSettings) {
    MainWindowRig m;
    m.ui.otherInstance = true;
    m.ui.answer(MsgButton::Ok);
    m.loadWith("[General]\nLanguage=1\n");
    const MessageRequest& r = m.ui.messages.at(0).request;
    EXPECT_EQ(r.text, "The application is already active and cannot have more than one instances at a time.");
    EXPECT_EQ(r.title, QString());
    EXPECT_EQ(r.icon, MsgIcon::Critical);
    EXPECT_EQ(m.ui.ended, 1);
    EXPECT_EQ(m.ini(), "[General]\nLanguage=1\n");
    EXPECT_FALSE(m.window->isVisible());
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
        EXPECT_TRUE(form.language().greek);
        EXPECT_EQ(ui.instanceFolder, used) << "one running program per folder of settings";
        EXPECT_EQ(form.files().savedPathsFile, used + "/SavedPaths.txt");
        EXPECT_EQ(test::ReadFile(used + "/Tembrill.ini"),
                  "[General]\nLanguage=1\nInitialPath=/tmp\n\n[Options]\nWhatToBrowse=3\n");
        EXPECT_EQ(test::ReadFile(unused + "/Tembrill.ini"), other);
        EXPECT_EQ(form.language().helpFile, l.share() + "/TembrillGR.hlp");
    }
}

} // namespace
} // namespace vesmarin
