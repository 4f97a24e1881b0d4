// The path menus of the main window, driven through the real window: the buttons, the menu items the
// scripted user chooses and the questions the user answers.

#include "app/MainWindowRig.h"
#include "base/PathText.h"
#include "base/Settings.h"
#include "savedpaths/RecallPathDialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <vector>

namespace vesmarin {
namespace {

using test::ReadFile;

// The main window at the initial path <disk>/Work, which holds the folder Έργα.
struct Paths {
    QTemporaryDir disk;
    QString work = QDir(disk.path()).canonicalPath() + "/Work", projects = work + "/Έργα";
    test::MainWindowRig m;
    QString savedPaths = m.folder.filePath("SavedPaths.txt");

    Paths() { EXPECT_TRUE(QDir().mkpath(projects)); }
    // Starts the program with the case rule given.
    void start(bool caseSensitive = true) {
        m.loadWith(("[General]\nInitialPath=" + work +
                    "\n[Options]\nCaseSensitive=" + (caseSensitive ? "1" : "0") + "\n")
                       .toStdString());
    }
    MainWindow& f() const { return *m.window; }
    // Makes `path` current as a click on its folder in the tree does.
    void select(const QString& path) const {
        const QString key = ApplyCaseRule(AppendSeparator(path), f().options().caseSensitive());
        QTreeWidgetItem* node = f().folderTree().findNode(key);
        ASSERT_TRUE(node) << path.toStdString();
        m.control<QTreeWidget>("tvwControl")->setCurrentItem(node);
    }
    std::string current() const { return m.control<QLabel>("lblCurrentPath")->text().toStdString(); }
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
};

QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* a : menu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return captions;
}

// The values stand in the captions only while a menu is open (a menu shows "&&" as one "&"), also when the
// chosen item changed the value; Cancel, or no choice, does nothing.
TEST(PathMenus, CaptionsShowTheValuesOnlyWhileOpen) {
    Paths p;
    p.start();
    p.f().iconBrowser().setIconFolder(QStringLiteral("/srv/R&D icons/"));
    p.select(p.projects);
    const QMenu* save = p.m.control<QMenu>("mnuSavePath");
    const QMenu* recall = p.m.control<QMenu>("mnuRecallPath");
    const QStringList plain = Captions(save) + Captions(recall);
    const std::string ini = p.m.ini();
    p.choose("cmdSavePath", "mnuSavePathCancel");
    p.choose("cmdRecallPath", "");
    EXPECT_EQ(p.m.ui.menus.at(0).captions,
              QStringList({"Recent...", "Initial...  [ " + p.work + " ]", "-",
                           "Icons...  [ /srv/R&&D icons/ ]", "-", "Help", "-", "Cancel"}));
    EXPECT_EQ(p.m.ui.menus.at(1).captions,
              QStringList({"Recent...", "Initial  [ " + p.work + " ]", "-", "Help", "-", "Cancel"}));
    EXPECT_EQ(p.m.ini(), ini);
    EXPECT_FALSE(QFile::exists(p.savedPaths));
    EXPECT_EQ(p.current(), p.projects.toStdString());

    p.choose("cmdSavePath", "mnuSavePathInitial", {MsgButton::Yes});
    p.choose("cmdRecallPath", "mnuRecallPathCancel");
    EXPECT_EQ(p.m.ui.menus.at(3).captions.at(1), "Initial  [ " + p.projects + " ]");
    EXPECT_EQ(Captions(save) + Captions(recall), plain);
}

TEST(PathMenus, SetInitialPathAsksUnlessTheCurrentPathIsAlreadyInitial) {
    enum Initial { Same, InCapitals, Other };
    const struct {
        Initial initial;
        bool caseSensitive;
        std::optional<MsgButton> answer; // none: the already-set message, no question
    } cases[] = {{Same, true, {}},
                 {InCapitals, false, {}},
                 {InCapitals, true, MsgButton::Yes},
                 {Other, true, MsgButton::No}};
    for (const auto& c : cases) {
        Paths p;
        p.start(c.caseSensitive);
        const QString initial = c.initial == Same         ? p.work
                                : c.initial == InCapitals ? p.work.toUpper()
                                                          : p.projects;
        p.f().pathMenus().setInitialPath(initial);
        const std::string ini = p.m.ini();
        p.choose("cmdSavePath", "mnuSavePathInitial", {c.answer.value_or(MsgButton::Ok)});

        const MessageRequest& shown = p.m.ui.messages.at(0).request;
        if (!c.answer) {
            EXPECT_EQ(shown.title, "Set initial path");
            EXPECT_EQ(shown.text,
                      "Path '" + p.work + "' has already been set as the initial path of the application.");
            EXPECT_EQ(shown.buttons, MsgButtons::Ok);
        } else {
            EXPECT_EQ(shown.title, "Save initial path");
            EXPECT_EQ(shown.text,
                      "Do you really want to set '" + p.work + "' as the initial path of the application?");
            EXPECT_EQ(std::tuple(shown.buttons, shown.defaultButton, shown.icon),
                      std::tuple(MsgButtons::YesNo, MsgButton::Yes, MsgIcon::Question));
        }
        const bool saved = c.answer == MsgButton::Yes;
        EXPECT_EQ(p.f().pathMenus().initialPath(), saved ? p.work : initial);
        // Saved: the settings file holds the path; otherwise it is left as it was.
        EXPECT_EQ(saved ? p.m.iniValue("InitialPath") : p.m.ini(), saved ? p.work.toStdString() : ini);
        EXPECT_FALSE(QFile::exists(p.savedPaths));
    }
}

// A line of folders below `root` whose full path is longer than the longest the system opens, made and
// removed one level at a time (by the whole path, neither would work). The folder above the last is short
// enough to be listed, so the tree reaches the last one.
class TooLongPath {
public:
    explicit TooLongPath(const QString& root) : path_(root) {
        fds_.push_back(::open(FileNameToBytes(root).constData(), O_RDONLY | O_DIRECTORY));
        while (FileNameToBytes(path_).size() <= settings::PathLimit) {
            EXPECT_EQ(::mkdirat(fds_.back(), kName.c_str(), 0755), 0);
            fds_.push_back(::openat(fds_.back(), kName.c_str(), O_RDONLY | O_DIRECTORY));
            path_ += u'/' + QString::fromStdString(kName);
        }
    }
    ~TooLongPath() {
        for (std::size_t i = fds_.size() - 1; i > 0; --i) {
            ::close(fds_[i]);
            ::unlinkat(fds_[i - 1], kName.c_str(), AT_REMOVEDIR);
        }
        ::close(fds_[0]);
    }
    const QString& path() const { return path_; }

private:
    const std::string kName = std::string(250, 'd');
    QString path_;
    std::vector<int> fds_;
};

// Yes to the question, and the settings file cannot take the path: the error report of the menu item, and
// the initial path stays what the next start will open.
TEST(PathMenus, AnInitialPathTheSettingsCannotTakeIsReportedNeverTakenAsSaved) {
    enum Kind { Unwritable, LineBreak, TooLong };
    const std::pair<Kind, QString> cases[] = {
        {Unwritable, "Path/File access error: %I"},
        {LineBreak, "The path holds a line break"},
        {TooLong, QStringLiteral("The path is longer than %1 bytes").arg(settings::PathLimit)}};
    for (const auto& [kind, description] : cases) {
        Paths p;
        std::unique_ptr<TooLongPath> deep = kind == TooLong ? std::make_unique<TooLongPath>(p.work) : nullptr;
        const QString folder = kind == TooLong     ? deep->path()
                               : kind == LineBreak ? p.work + "/two\nlines"
                                                   : p.projects;
        ASSERT_TRUE(kind != LineBreak || QDir().mkpath(folder));
        p.start();
        ASSERT_TRUE(p.f().folderTree().selectPath(folder));
        if (kind == Unwritable) { // a folder in the settings file's place
            ASSERT_TRUE(QFile::remove(p.m.iniFile()) && QDir().mkdir(p.m.iniFile()));
        }
        const std::string ini = p.m.ini();
        p.choose("cmdSavePath", "mnuSavePathInitial", {MsgButton::Yes, MsgButton::No}); // No: do not end

        const MessageRequest& report = p.m.ui.messages.at(1).request;
        EXPECT_EQ(report.title, "Vesmarin, 189.");
        EXPECT_TRUE(report.text.startsWith("Error condition 75 with the description '" +
                                           QString(description).replace("%I", p.m.iniFile()) + "'"))
            << report.text.toStdString();
        EXPECT_EQ(p.f().pathMenus().initialPath(), p.work);
        EXPECT_EQ(p.m.ini(), ini);
        EXPECT_EQ(p.m.ui.ended, 0);
    }
}

TEST(PathMenus, SaveRecentPathAsksUnlessSavedUnderTheCaseRuleAndPutsThePathFirst) {
    const struct {
        std::optional<QByteArray> before; // none: no file; %W the current path, %U it in capitals
        bool caseSensitive;
        std::optional<MsgButton> answer; // none: the already-saved message, no question
        QByteArray after;
    } cases[] = {
        {{}, true, MsgButton::Yes, "%W\r\n"},
        {{}, true, MsgButton::No, "<none>"},
        {"B\r\n", false, MsgButton::No, "B\r\n"},
        {"/x\r\n%U/\r\n", false, {}, "/x\r\n%U/\r\n"},
        {"%U/\r\n", true, MsgButton::Yes, "%W\r\n%U/\r\n"},
    };
    for (const auto& c : cases) {
        Paths p;
        p.start(c.caseSensitive);
        auto expand = [&](QByteArray text) {
            return text.replace("%W", p.work.toUtf8()).replace("%U", p.work.toUpper().toUtf8());
        };
        if (c.before)
            test::WriteFile(p.savedPaths, expand(*c.before));
        const std::string ini = p.m.ini();
        p.choose("cmdSavePath", "mnuSavePathRecent", {c.answer.value_or(MsgButton::Ok)});

        const MessageRequest& shown = p.m.ui.messages.at(0).request;
        EXPECT_EQ(shown.title, "Save path");
        if (!c.answer) {
            EXPECT_EQ(shown.text, "Path '" + p.work + "' has already been saved in the recent paths list.");
            EXPECT_EQ(shown.icon, MsgIcon::Information);
        } else {
            EXPECT_EQ(shown.text,
                      "Do you really want to save path '" + p.work + "' in the recent paths list?");
            EXPECT_EQ(std::tuple(shown.buttons, shown.defaultButton),
                      std::tuple(MsgButtons::YesNo, MsgButton::Yes));
        }
        EXPECT_EQ(ReadFile(p.savedPaths), expand(c.after));
        EXPECT_FALSE(p.temporaryFileLeft());
        EXPECT_EQ(p.m.ini(), ini);
    }
}

// A folder in the file's place cannot be read; a file its owner made read-only is not to be changed. Both
// are reported with 190 and left as they are.
TEST(PathMenus, ARecentPathsFileThatCannotBeChangedIsReportedAndLeftAlone) {
    for (const bool readOnly : {false, true}) {
        Paths p;
        p.start();
        if (readOnly) {
            test::WriteFile(p.savedPaths, "/old\r\n");
            ASSERT_TRUE(QFile::setPermissions(p.savedPaths, QFile::ReadOwner | QFile::ReadGroup));
            p.m.ui.answer(MsgButton::Yes); // save the path?
        } else {
            ASSERT_TRUE(QDir().mkdir(p.savedPaths));
        }
        p.choose("cmdSavePath", "mnuSavePathRecent", {MsgButton::No}); // end the program? No
        EXPECT_EQ(p.m.ui.messages.back().request.title, "Vesmarin, 190.");
        EXPECT_EQ(ReadFile(p.savedPaths), readOnly ? "/old\r\n" : "<none>");
        EXPECT_FALSE(p.temporaryFileLeft());
    }
}

// Initial makes the initial path current; Recent... the line chosen in the recall dialog, unless cancelled.
TEST(PathMenus, RecallMakesTheChosenPathCurrent) {
    const std::tuple<const char*, const char*, bool> cases[] = {{"mnuRecallPathInitial", nullptr, false},
                                                                {"mnuRecallPathRecent", "cmdRecall", true},
                                                                {"mnuRecallPathRecent", "cmdCancel", false}};
    for (const auto& [item, button, chosen] : cases) {
        Paths p;
        p.start();
        p.select(p.projects);
        const QString root = QDir(p.disk.path()).canonicalPath();
        test::WriteFile(p.savedPaths, ("/elsewhere\r\n" + root + "\r\n").toUtf8());
        bool opened = false;
        if (button)
            QTimer::singleShot(0, [&] {
                auto* d = qobject_cast<RecallPathDialog*>(QApplication::activeModalWidget());
                ASSERT_TRUE(d);
                opened = true;
                EXPECT_FALSE(test::Control<QPushButton>(*d, "cmdRecall")->isEnabled());
                test::Control<QListWidget>(*d, "lstSavedPaths")->setCurrentRow(1);
                test::Control<QPushButton>(*d, button)->click();
                if (d->isVisible())
                    d->done(QDialog::Rejected); // so that a failing test cannot hang
            });
        p.choose("cmdRecallPath", item);
        EXPECT_EQ(opened, button != nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(p.current(), (!button ? p.work : chosen ? root : p.projects).toStdString());
        EXPECT_EQ(p.f().folderTree().currentPath().toStdString(), p.current());
    }
}

} // namespace
} // namespace vesmarin
