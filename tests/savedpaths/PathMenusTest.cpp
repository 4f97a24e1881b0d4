// The path menus of the main window, driven through the real window: the buttons, the menu items the
// scripted user chooses and the questions the user answers. (NewUser.sh saves a recent and an initial path
// through the real menus, and meets "already the initial path" in Greek.)

#include "app/MainWindowRig.h"

namespace vesmarin {
namespace {

// The main window at the initial path <disk>/Work, which holds the folder `projects`.
struct Paths {
    QTemporaryDir disk;
    QString work = QDir(disk.path()).canonicalPath() + "/Work", projects;
    test::MainWindowRig m;
    MainWindow& f = *m.window;
    QString savedPaths = m.folder.filePath("SavedPaths.txt");

    explicit Paths(bool caseSensitive = true, const QString& sub = "Έργα") : projects(work + "/" + sub) {
        EXPECT_TRUE(QDir().mkpath(projects));
        m.loadWith("[General]\nInitialPath=" + work.toStdString() +
                   "\n[Options]\nCaseSensitive=" + (caseSensitive ? "1" : "0") + "\n");
    }
    // The current path; the label follows it (FolderTreeWindowTest).
    QString current() const { return f.folderTree().currentPath(); }
    // Presses `button` and chooses `item` in its menu; `answers` answer the questions that follow.
    void choose(const char* button, const char* item, std::initializer_list<MsgButton> answers = {}) {
        for (const MsgButton a : answers)
            m.ui.answer(a);
        m.ui.chooseMenuItem(QString::fromLatin1(item));
        QTest::mouseClick(m.control<QPushButton>(button), Qt::LeftButton);
    }
    // The initial path and the files as they stand. (FileWritesTest sees that no temporary file is left.)
    auto files() const {
        return std::tuple(f.pathMenus().initialPath(), m.ini(), test::ReadFile(savedPaths));
    }
};

// The open menus show the values in their captions (a menu shows "&&" as one "&"), also once the chosen item
// changed the value; Cancel does nothing. Initial makes the initial path current.
TEST(PathMenus, CaptionsShowTheCurrentValuesAndInitialIsRecalled) {
    Paths p;
    p.f.iconBrowser().setIconFolder(QStringLiteral("/srv/R&D icons/"));
    ASSERT_TRUE(p.f.folderTree().selectPath(p.projects));
    const auto files = p.files();
    p.choose("cmdSavePath", "mnuSavePathCancel");
    EXPECT_EQ(p.m.ui.menus.at(0).captions.join('|'),
              "Recent...|Initial...  [ " + p.work + " ]|-|Icons...  [ /srv/R&&D icons/ ]|-|Help|-|Cancel");
    EXPECT_EQ(std::tuple(p.files(), p.current()), std::tuple(files, p.projects));
    p.choose("cmdSavePath", "mnuSavePathInitial", {MsgButton::Yes});
    ASSERT_TRUE(p.f.folderTree().selectPath(p.work));
    p.choose("cmdRecallPath", "mnuRecallPathInitial");
    EXPECT_EQ(std::tuple(p.m.ui.menus.at(2).captions.join('|'), p.current()),
              std::tuple("Recent...|Initial  [ " + p.projects + " ]|-|Help|-|Cancel", p.projects));
}

// Save path asks before it saves, unless the current path is saved already as the case rule compares paths:
// then it says so (NewUser.sh meets it for the very same path). A new recent path comes first; No leaves
// everything as it was.
TEST(PathMenus, SaveAsksUnlessThePathIsSavedAlreadyUnderTheCaseRule) {
    // initial or recent, case rule, before (%W the current path, %U it in capitals), the
    // answer (none: the already-saved message, no question), after.
    const std::tuple<bool, bool, const char*, std::optional<MsgButton>, const char*> cases[] = {
        {true, false, "%U", {}, "%U"},
        {true, true, "%U", MsgButton::Yes, "%W"},
        {false, true, "<none>", MsgButton::No, "<none>"},
        {false, false, "/x\r\n%U/\r\n", {}, "/x\r\n%U/\r\n"},
        {false, true, "%U/\r\n", MsgButton::Yes, "%W\r\n%U/\r\n"}};
    const char* const messages[][2] = {
        {"Set initial path", "Path '%W' has already been set as the initial path of the application."},
        {"Save initial path", "Do you really want to set '%W' as the initial path of the application?"},
        {"Save path", "Path '%W' has already been saved in the recent paths list."},
        {"Save path", "Do you really want to save path '%W' in the recent paths list?"}};
    for (const auto& [initial, caseSensitive, before, answer, after] : cases) {
        Paths p(caseSensitive);
        const auto fill = [&](QString t) { return t.replace("%W", p.work).replace("%U", p.work.toUpper()); };
        p.f.pathMenus().setInitialPath(initial ? fill(before) : p.work);
        if (!initial && std::string_view(before) != "<none>")
            test::WriteFile(p.savedPaths, fill(before).toUtf8());
        const std::string ini = p.m.ini();
        p.choose("cmdSavePath", initial ? "mnuSavePathInitial" : "mnuSavePathRecent",
                 {answer.value_or(MsgButton::Ok)});
        const MessageRequest& shown = p.m.ui.messages.at(0).request;
        const auto& [title, text] = messages[(initial ? 0 : 2) + (answer ? 1 : 0)];
        EXPECT_EQ(std::tuple(shown.title, shown.text, shown.buttons, shown.icon),
                  std::tuple(QString(title), fill(text), answer ? MsgButtons::YesNo : MsgButtons::Ok,
                             answer ? MsgIcon::Question : MsgIcon::Information));
        // The settings file holds the current path as the initial path already, byte for byte: a save
        // writes the same again, and anything else would show.
        EXPECT_EQ(p.files(),
                  std::tuple(initial ? fill(after) : p.work, ini, fill(initial ? "<none>" : after).toUtf8()));
    }
}

// A save the file cannot take is reported with the menu item's number, never passed over as saved: the
// initial path stays what the next start opens and the files are left as they are. The settings file
// cannot take a folder in its place or a path with a line break; the recent paths cannot be read with a
// folder in their place, nor changed when their owner made them read-only.
TEST(PathMenus, ASaveTheFileCannotTakeIsReportedAndChangesNothing) {
    enum Kind { IniIsFolder, LineBreak, SavedPathsIsFolder, SavedPathsReadOnly };
    const std::tuple<Kind, int, QString> cases[] = {
        {IniIsFolder, 189, "75 with the description 'Path/File access error: %I'"},
        {LineBreak, 189, "75 with the description 'The path holds a line break'"},
        {SavedPathsIsFolder, 190, ""},
        {SavedPathsReadOnly, 190, ""}};
    for (const auto& [kind, code, report] : cases) {
        Paths p(true, kind == LineBreak ? "two\nlines" : "Έργα");
        ASSERT_TRUE(p.f.folderTree().selectPath(p.projects));
        const QString file = kind == IniIsFolder ? p.m.iniFile() : p.savedPaths;
        if (kind == SavedPathsReadOnly)
            test::WriteFile(file, "/old\r\n"), QFile::setPermissions(file, QFile::ReadOwner);
        else if (kind != LineBreak)
            QFile::remove(file), QDir().mkdir(file);
        const auto before = p.files();
        if (kind != SavedPathsIsFolder)
            p.m.ui.answer(MsgButton::Yes); // save the path?
        p.choose("cmdSavePath", kind < SavedPathsIsFolder ? "mnuSavePathInitial" : "mnuSavePathRecent",
                 {MsgButton::No}); // end the program? No
        const MessageRequest& shown = p.m.ui.messages.back().request;
        EXPECT_TRUE(shown.text.startsWith("Error condition " + QString(report).replace("%I", p.m.iniFile())))
            << shown.text.toStdString();
        EXPECT_EQ(
            std::tuple(p.files(), QFileInfo(p.savedPaths).isDir(), p.m.ui.ended, shown.title),
            std::tuple(before, kind == SavedPathsIsFolder, 0, QStringLiteral("Vesmarin, %1.").arg(code)));
    }
}

} // namespace
} // namespace vesmarin
