// The path menus of the main window, driven through the real window: the buttons, the menu items the
// scripted user chooses and the questions the user answers.

#include "app/MainWindowRig.h"
#include "base/PathText.h"
#include "base/Settings.h"

#include <QTreeWidget>
#include <optional>

namespace vesmarin {
namespace {

using test::ReadFile;

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
    // Makes `path` current as a click on its folder in the tree does.
    void select(const QString& path) const {
        QTreeWidgetItem* node = f.folderTree().findNode(AppendSeparator(path));
        ASSERT_TRUE(node) << path.toStdString();
        m.control<QTreeWidget>("tvwControl")->setCurrentItem(node);
    }
    QString current() const { return m.control<QLabel>("lblCurrentPath")->text(); }
    // Presses `button` and chooses `item` in its menu; `answers` answer the questions that follow.
    void choose(const char* button, const char* item, std::initializer_list<MsgButton> answers = {}) {
        for (const MsgButton a : answers)
            m.ui.answer(a);
        m.ui.chooseMenuItem(QString::fromLatin1(item));
        m.control<QPushButton>(button)->click();
    }
    bool temporaryFileLeft() const {
        return !QDir(m.folder.path()).entryList({".SavedPaths.txt.*"}, QDir::Files | QDir::Hidden).isEmpty();
    }
    // The captions of both menus while they are closed.
    QStringList captions() const {
        QStringList captions;
        for (const char* menu : {"mnuSavePath", "mnuRecallPath"})
            for (const QAction* a : m.control<QMenu>(menu)->actions())
                captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return captions;
    }
};

// The values stand in the captions only while a menu is open (a menu shows "&&" as one "&"), also when the
// chosen item changed the value; Cancel, or no choice, does nothing. Initial makes the initial path current.
TEST(PathMenus, CaptionsShowTheValuesOnlyWhileOpenAndInitialIsRecalled) {
    Paths p;
    p.f.iconBrowser().setIconFolder(QStringLiteral("/srv/R&D icons/"));
    p.select(p.projects);
    const QStringList plain = p.captions();
    const std::string ini = p.m.ini();
    p.choose("cmdSavePath", "mnuSavePathCancel");
    p.choose("cmdRecallPath", "");
    EXPECT_EQ(p.m.ui.menus.at(0).captions,
              QStringList({"Recent...", "Initial...  [ " + p.work + " ]", "-",
                           "Icons...  [ /srv/R&&D icons/ ]", "-", "Help", "-", "Cancel"}));
    EXPECT_EQ(p.m.ui.menus.at(1).captions,
              QStringList({"Recent...", "Initial  [ " + p.work + " ]", "-", "Help", "-", "Cancel"}));
    EXPECT_EQ(std::tuple(p.m.ini(), QFile::exists(p.savedPaths), p.current()),
              std::tuple(ini, false, p.projects));

    p.choose("cmdSavePath", "mnuSavePathInitial", {MsgButton::Yes});
    p.select(p.work);
    p.choose("cmdRecallPath", "mnuRecallPathInitial");
    EXPECT_EQ(p.m.ui.menus.at(3).captions.at(1), "Initial  [ " + p.projects + " ]");
    EXPECT_EQ(p.captions(), plain);
    EXPECT_EQ(std::tuple(p.current(), p.f.folderTree().currentPath()), std::tuple(p.projects, p.projects));
}

// Save path asks before it saves, unless the current path is saved already as the case rule compares paths:
// then it says so. A new recent path comes first.
TEST(PathMenus, SaveAsksUnlessThePathIsSavedAlreadyUnderTheCaseRule) {
    // initial or recent, case rule, before (%W the current path, %U it in capitals, %P another folder), the
    // answer (none: the already-saved message, no question), after.
    const std::tuple<bool, bool, const char*, std::optional<MsgButton>, const char*> cases[] = {
        {true, true, "%W", {}, "%W"},
        {true, false, "%U", {}, "%U"},
        {true, true, "%U", MsgButton::Yes, "%W"},
        {true, true, "%P", MsgButton::No, "%P"},
        {false, true, "<none>", MsgButton::Yes, "%W\r\n"},
        {false, true, "<none>", MsgButton::No, "<none>"},
        {false, false, "B\r\n", MsgButton::No, "B\r\n"},
        {false, false, "/x\r\n%U/\r\n", {}, "/x\r\n%U/\r\n"},
        {false, true, "%U/\r\n", MsgButton::Yes, "%W\r\n%U/\r\n"}};
    const char* const messages[][2] = {
        {"Set initial path", "Path '%W' has already been set as the initial path of the application."},
        {"Save initial path", "Do you really want to set '%W' as the initial path of the application?"},
        {"Save path", "Path '%W' has already been saved in the recent paths list."},
        {"Save path", "Do you really want to save path '%W' in the recent paths list?"}};
    for (const auto& [initial, caseSensitive, before, answer, after] : cases) {
        Paths p(caseSensitive);
        const auto expand = [&](QString text) {
            return text.replace("%W", p.work).replace("%U", p.work.toUpper()).replace("%P", p.projects);
        };
        if (initial)
            p.f.pathMenus().setInitialPath(expand(before));
        else if (std::string_view(before) != "<none>")
            test::WriteFile(p.savedPaths, expand(before).toUtf8());
        const std::string ini = p.m.ini();
        p.choose("cmdSavePath", initial ? "mnuSavePathInitial" : "mnuSavePathRecent",
                 {answer.value_or(MsgButton::Ok)});

        const MessageRequest& shown = p.m.ui.messages.at(0).request;
        const auto& [title, text] = messages[(initial ? 0 : 2) + (answer ? 1 : 0)];
        EXPECT_EQ(std::tuple(shown.title, shown.text), std::tuple(QString(title), expand(text)));
        EXPECT_EQ(std::tuple(shown.buttons, shown.icon, shown.defaultButton),
                  answer ? std::tuple(MsgButtons::YesNo, MsgIcon::Question, MsgButton::Yes)
                         : std::tuple(MsgButtons::Ok, MsgIcon::Information, shown.defaultButton));
        EXPECT_EQ(
            std::tuple(p.f.pathMenus().initialPath(), ReadFile(p.savedPaths), p.temporaryFileLeft()),
            std::tuple(initial ? expand(after) : p.work, expand(initial ? "<none>" : after).toUtf8(), false));
        // An initial path saved is in the settings file; otherwise the file is left as it was.
        const bool written = initial && answer == MsgButton::Yes;
        EXPECT_EQ(written ? p.m.iniValue("InitialPath") : p.m.ini(), written ? p.work.toStdString() : ini);
    }
}

// A save the file cannot take is reported with the menu item's number, never passed over as saved: the
// initial path stays what the next start opens and the files are left as they are. The settings file
// cannot take a folder in its place or a path with a line break (nor one longer than the system opens: that
// rule is the one the settings are read with, tested at start-up); the recent paths cannot be read with a
// folder in their place, nor changed when their owner made them read-only.
TEST(PathMenus, ASaveTheFileCannotTakeIsReportedAndChangesNothing) {
    enum Kind { IniIsFolder, LineBreak, SavedPathsIsFolder, SavedPathsReadOnly };
    const QString described = "75 with the description '";
    const std::tuple<Kind, int, QString> cases[] = {
        {IniIsFolder, 189, described + "Path/File access error: %I'"},
        {LineBreak, 189, described + "The path holds a line break'"},
        {SavedPathsIsFolder, 190, ""},
        {SavedPathsReadOnly, 190, ""}};
    for (const auto& [kind, code, report] : cases) {
        Paths p(true, kind == LineBreak ? "two\nlines" : "Έργα");
        ASSERT_TRUE(p.f.folderTree().selectPath(p.projects));
        if (kind == IniIsFolder || kind == SavedPathsIsFolder) {
            const QString file = kind == IniIsFolder ? p.m.iniFile() : p.savedPaths;
            ASSERT_TRUE((!QFile::exists(file) || QFile::remove(file)) && QDir().mkdir(file));
        } else if (kind == SavedPathsReadOnly) {
            test::WriteFile(p.savedPaths, "/old\r\n");
            ASSERT_TRUE(QFile::setPermissions(p.savedPaths, QFile::ReadOwner));
        }
        const auto before = std::tuple(p.work, p.m.ini(), ReadFile(p.savedPaths));
        if (kind != SavedPathsIsFolder)
            p.m.ui.answer(MsgButton::Yes); // save the path?
        p.choose("cmdSavePath", kind < SavedPathsIsFolder ? "mnuSavePathInitial" : "mnuSavePathRecent",
                 {MsgButton::No}); // end the program? No
        const MessageRequest& shown = p.m.ui.messages.back().request;
        EXPECT_EQ(shown.title, QStringLiteral("Vesmarin, %1.").arg(code));
        EXPECT_TRUE(shown.text.startsWith("Error condition " + QString(report).replace("%I", p.m.iniFile())))
            << shown.text.toStdString();
        EXPECT_EQ(std::tuple(p.f.pathMenus().initialPath(), p.m.ini(), ReadFile(p.savedPaths)), before);
        EXPECT_EQ(std::tuple(QFileInfo(p.savedPaths).isDir(), p.temporaryFileLeft(), p.m.ui.ended),
                  std::tuple(kind == SavedPathsIsFolder, false, 0));
    }
    EXPECT_EQ(settings::PathSettingProblem("/" + QString(settings::PathLimit, u'p')),
              QStringLiteral("The path is longer than %1 bytes").arg(settings::PathLimit));
}

} // namespace
} // namespace vesmarin
