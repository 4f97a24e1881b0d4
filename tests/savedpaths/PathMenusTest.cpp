// The path menus of the main window, driven through the real window: the buttons, the menu items the
// scripted user chooses and the questions the user answers.

#include "SavedPathsWindowRig.h"
#include "base/Settings.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <vector>

namespace vesmarin {
namespace {

using test::SavedPathsWindowRig;

QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* a : menu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return captions;
}

TEST(PathMenus, ShowTheValuesOnlyWhileOpenAndCancelDoesNothing) {
    struct Case {
        const char* name;
        bool greek;
        bool save; // cmdSavePath, otherwise cmdRecallPath
        const char* choice;
        QStringList open; // %1 the initial path, %2 the icon folder
    };
    const Case cases[] = {
        {"save menu, Cancel",
         false,
         true,
         "mnuSavePathCancel",
         {"Recent...", "Initial...  [ %1 ]", "-", "Icons...  [ %2 ]", "-", "Help", "-", "Cancel"}},
        {"save menu dismissed, Greek",
         true,
         true,
         "",
         {"Πρόσφατες...", "Αρχική...  [ %1 ]", "-", "Εικονιδίων...  [ %2 ]", "-", "Βοήθεια", "-", "Άκυρο"}},
        {"recall menu, Cancel",
         false,
         false,
         "mnuRecallPathCancel",
         {"Recent...", "Initial  [ %1 ]", "-", "Help", "-", "Cancel"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SavedPathsWindowRig rig;
        MainWindow& f = rig.Start(rig.work(), true, c.greek);
        // The menu shows "&&" as one "&" rather than underlining the letter after it.
        f.iconBrowser().setIconFolder(QStringLiteral("/srv/R&D icons/"));
        rig.Select(rig.projects());
        QMenu* menu = c.save ? rig.control<QMenu>("mnuSavePath") : rig.control<QMenu>("mnuRecallPath");
        const QStringList plain = Captions(menu);
        const QByteArray ini = rig.Read(rig.iniFile());

        rig.ui.chooseMenuItem(QString::fromUtf8(c.choice));
        (c.save ? rig.control<QPushButton>("cmdSavePath") : rig.control<QPushButton>("cmdRecallPath"))
            ->click();

        ASSERT_EQ(rig.ui.menus.size(), 1u);
        EXPECT_EQ(rig.ui.menus[0].name, menu->objectName());
        QStringList open;
        for (const QString& caption : c.open)
            open << QString(caption).replace("%1", rig.work()).replace("%2", "/srv/R&&D icons/");
        EXPECT_EQ(rig.ui.menus[0].captions, open);
        EXPECT_EQ(Captions(menu), plain) << "the plain captions are back";

        EXPECT_TRUE(rig.ui.messages.empty());
        EXPECT_EQ(rig.control<QLabel>("lblCurrentPath")->text(), rig.projects());
        EXPECT_EQ(f.pathMenus().initialPath(), rig.work());
        EXPECT_EQ(rig.Read(rig.iniFile()), ini);
        EXPECT_FALSE(QFile::exists(rig.savedPaths()));
    }
}

TEST(PathMenus, CaptionsArePlainAfterTheChosenActionChangedTheValue) {
    SavedPathsWindowRig rig;
    MainWindow& f = rig.Start(rig.work(), true);
    rig.Select(rig.projects());

    rig.ui.chooseMenuItem(QStringLiteral("mnuSavePathInitial"));
    rig.ui.answer(MsgButton::Yes);
    rig.control<QPushButton>("cmdSavePath")->click();
    ASSERT_EQ(f.pathMenus().initialPath(), rig.projects());
    EXPECT_EQ(rig.ui.menus.at(0).captions.at(1), "Initial...  [ " + rig.work() + " ]");
    EXPECT_EQ(rig.control<QAction>("mnuSavePathInitial")->text(), "Initial...");

    rig.ui.chooseMenuItem(QStringLiteral("mnuRecallPathCancel"));
    rig.control<QPushButton>("cmdRecallPath")->click();
    EXPECT_EQ(rig.ui.menus.at(1).captions.at(1), "Initial  [ " + rig.projects() + " ]");
    EXPECT_EQ(rig.control<QAction>("mnuRecallPathInitial")->text(), "Initial");
}

TEST(SetInitialPath, AsksUnlessTheCurrentPathIsAlreadyInitial) {
    struct Case {
        const char* name;
        const char* initial; // %W the current path, %U it in capitals, %P another folder
        bool caseSensitive;
        std::optional<MsgButton> answer; // none: the already-set message, no question
    };
    const Case cases[] = {
        {"same path", "%W", true, std::nullopt},
        {"other letter case, case rule in force", "%U", false, std::nullopt},
        {"other letter case, case-sensitive, Yes", "%U", true, MsgButton::Yes},
        {"other folder, No", "%P", true, MsgButton::No},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SavedPathsWindowRig rig;
        MainWindow& f = rig.Start(rig.projects(), c.caseSensitive);
        rig.Select(rig.work());
        const QString initial = QString::fromUtf8(c.initial)
                                    .replace("%W", rig.work())
                                    .replace("%U", rig.work().toUpper())
                                    .replace("%P", rig.projects());
        f.pathMenus().setInitialPath(initial);
        const QByteArray ini = rig.Read(rig.iniFile());

        rig.ui.chooseMenuItem(QStringLiteral("mnuSavePathInitial"));
        rig.ui.answer(c.answer.value_or(MsgButton::Ok));
        rig.control<QPushButton>("cmdSavePath")->click();

        ASSERT_EQ(rig.ui.messages.size(), 1u);
        const MessageRequest& shown = rig.ui.messages[0].request;
        if (!c.answer) {
            EXPECT_EQ(shown.title, "Set initial path");
            EXPECT_EQ(shown.text, "Path '" + rig.work() +
                                      "' has already been set as the initial path of the application.");
            EXPECT_EQ(shown.buttons, MsgButtons::Ok);
        } else {
            EXPECT_EQ(shown.title, "Save initial path");
            EXPECT_EQ(shown.text, "Do you really want to set '" + rig.work() +
                                      "' as the initial path of the application?");
            EXPECT_EQ(shown.buttons, MsgButtons::YesNo);
            EXPECT_EQ(shown.defaultButton, MsgButton::Yes);
            EXPECT_EQ(shown.icon, MsgIcon::Question);
        }
        if (c.answer == MsgButton::Yes) {
            EXPECT_EQ(f.pathMenus().initialPath(), rig.work());
            EXPECT_TRUE(rig.Read(rig.iniFile()).contains(("InitialPath=" + rig.work() + "\n").toUtf8()));
        } else {
            EXPECT_EQ(f.pathMenus().initialPath(), initial);
            EXPECT_EQ(rig.Read(rig.iniFile()), ini);
        }
        EXPECT_FALSE(QFile::exists(rig.savedPaths()));
    }
}

// A line of folders below `root` whose full path is longer than the longest the system opens, made and
// removed one level at a time (by the whole path, neither would work). The folder above the last is short
// enough to be listed, so the tree reaches the last one.
class TooLongPath {
public:
    explicit TooLongPath(const QString& root) : path_(root) {
        const std::string name(250, 'd');
        fds_.push_back(::open(FileNameToBytes(root).constData(), O_RDONLY | O_DIRECTORY));
        while (FileNameToBytes(path_).size() <= settings::PathLimit) {
            EXPECT_EQ(::mkdirat(fds_.back(), name.c_str(), 0755), 0);
            fds_.push_back(::openat(fds_.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
            path_ += u'/' + QString::fromStdString(name);
        }
    }
    ~TooLongPath() {
        const std::string name(250, 'd');
        for (std::size_t i = fds_.size() - 1; i > 0; --i) {
            ::close(fds_[i]);
            ::unlinkat(fds_[i - 1], name.c_str(), AT_REMOVEDIR);
        }
        ::close(fds_[0]);
    }
    TooLongPath(const TooLongPath&) = delete;
    TooLongPath& operator=(const TooLongPath&) = delete;
    const QString& path() const { return path_; }

private:
    QString path_;
    std::vector<int> fds_;
};

// Yes to the question, and the settings file cannot take the path: the error report of the menu item,
// and the initial path stays what the next start will open.
TEST(SetInitialPath, AWriteThatFailsIsReportedNeverTakenAsSaved) {
    enum class Kind { Unwritable, LineBreak, TooLong };
    const struct {
        const char* name;
        Kind kind;
        QString description; // %I the settings file
    } cases[] = {
        {"a folder stands in the settings file's place", Kind::Unwritable, "Path/File access error: %I"},
        {"a folder name with a line break", Kind::LineBreak, "The path holds a line break"},
        {"a path longer than the system opens", Kind::TooLong,
         QStringLiteral("The path is longer than %1 bytes").arg(settings::PathLimit)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SavedPathsWindowRig rig;
        std::unique_ptr<TooLongPath> deep; // removed before the rig's folders
        QString folder = rig.projects();
        if (c.kind == Kind::LineBreak) {
            folder = rig.work() + QStringLiteral("/two\nlines");
            ASSERT_TRUE(QDir().mkpath(folder));
        } else if (c.kind == Kind::TooLong) {
            deep = std::make_unique<TooLongPath>(rig.work());
            folder = deep->path();
        }
        MainWindow& f = rig.Start(rig.work(), true);
        ASSERT_TRUE(f.folderTree().selectPath(folder));
        ASSERT_EQ(f.folderTree().currentPath(), folder);
        if (c.kind == Kind::Unwritable) {
            ASSERT_TRUE(QFile::remove(rig.iniFile()));
            ASSERT_TRUE(QDir().mkdir(rig.iniFile()));
        }
        const QByteArray ini = rig.Read(rig.iniFile());

        rig.ui.chooseMenuItem(QStringLiteral("mnuSavePathInitial"));
        rig.ui.answer(MsgButton::Yes);
        rig.ui.answer(MsgButton::No); // the error report: go on
        rig.control<QPushButton>("cmdSavePath")->click();

        ASSERT_EQ(rig.ui.messages.size(), 2u);
        const MessageRequest& report = rig.ui.messages[1].request;
        EXPECT_EQ(report.title, "Vesmarin, 189.");
        EXPECT_TRUE(report.text.startsWith("Error condition 75 with the description '" +
                                           QString(c.description).replace("%I", rig.iniFile()) + "'"))
            << report.text.toStdString();
        EXPECT_EQ(f.pathMenus().initialPath(), rig.work());
        EXPECT_EQ(rig.Read(rig.iniFile()), ini);
        EXPECT_EQ(rig.ui.ended, 0);
    }
}

TEST(SaveRecentPath, AsksUnlessSavedUnderTheCaseRuleAndPutsThePathFirst) {
    struct Case {
        const char* name;
        std::optional<QByteArray> before; // none: no file; %W the current path
        bool caseSensitive;
        std::optional<MsgButton> answer; // none: the already-saved message, no question
        QByteArray after;
    };
    const Case cases[] = {
        {"first save creates the file", std::nullopt, true, MsgButton::Yes, "%W\r\n"},
        {"No leaves no file", std::nullopt, true, MsgButton::No, "<none>"},
        {"No leaves the file", "B\r\n", false, MsgButton::No, "B\r\n"},
        {"saved in other case with a separator, case rule in force", "/x\r\n%U/\r\n", false, std::nullopt,
         "/x\r\n%U/\r\n"},
        {"other case is another path when case-sensitive", "%U/\r\n", true, MsgButton::Yes, "%W\r\n%U/\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SavedPathsWindowRig rig;
        rig.Start(rig.work(), c.caseSensitive);
        auto expand = [&](QByteArray text) {
            return text.replace("%W", rig.work().toUtf8()).replace("%U", rig.work().toUpper().toUtf8());
        };
        if (c.before)
            rig.Write(rig.savedPaths(), expand(*c.before));
        const QByteArray ini = rig.Read(rig.iniFile());

        rig.ui.chooseMenuItem(QStringLiteral("mnuSavePathRecent"));
        rig.ui.answer(c.answer.value_or(MsgButton::Ok));
        rig.control<QPushButton>("cmdSavePath")->click();

        ASSERT_EQ(rig.ui.messages.size(), 1u);
        const MessageRequest& shown = rig.ui.messages[0].request;
        EXPECT_EQ(shown.title, "Save path");
        if (!c.answer) {
            EXPECT_EQ(shown.text,
                      "Path '" + rig.work() + "' has already been saved in the recent paths list.");
            EXPECT_EQ(shown.icon, MsgIcon::Information);
        } else {
            EXPECT_EQ(shown.text,
                      "Do you really want to save path '" + rig.work() + "' in the recent paths list?");
            EXPECT_EQ(shown.buttons, MsgButtons::YesNo);
            EXPECT_EQ(shown.defaultButton, MsgButton::Yes);
        }
        EXPECT_EQ(rig.Read(rig.savedPaths()), expand(c.after));
        EXPECT_FALSE(rig.TemporaryFileLeft());
        EXPECT_EQ(rig.Read(rig.iniFile()), ini);
    }
}

// A folder in the file's place cannot be read; a file its owner made read-only is not to be changed. Both
// are reported with 190 and left as they are.
TEST(SaveRecentPath, AFileThatCannotBeChangedIsReportedWith190AndLeftAlone) {
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only file" : "a folder in its place");
        SavedPathsWindowRig rig;
        rig.Start(rig.work(), true);
        if (readOnly) {
            rig.Write(rig.savedPaths(), "/old\r\n");
            ASSERT_TRUE(QFile::setPermissions(rig.savedPaths(), QFile::ReadOwner | QFile::ReadGroup));
        } else {
            ASSERT_TRUE(QDir().mkdir(rig.savedPaths()));
        }

        rig.ui.chooseMenuItem(QStringLiteral("mnuSavePathRecent"));
        if (readOnly)
            rig.ui.answer(MsgButton::Yes); // save the path?
        rig.ui.answer(MsgButton::No);      // end the program?
        rig.control<QPushButton>("cmdSavePath")->click();

        ASSERT_EQ(rig.ui.messages.size(), readOnly ? 2u : 1u);
        EXPECT_EQ(rig.ui.messages.back().request.title, "Vesmarin, 190.");
        if (readOnly)
            EXPECT_EQ(rig.Read(rig.savedPaths()), "/old\r\n");
        else
            EXPECT_TRUE(QFileInfo(rig.savedPaths()).isDir());
        EXPECT_FALSE(rig.TemporaryFileLeft());
    }
}

TEST(RecallMenu, InitialItemMakesTheInitialPathCurrent) {
    SavedPathsWindowRig rig;
    MainWindow& f = rig.Start(rig.work(), true);
    rig.Select(rig.projects());

    rig.ui.chooseMenuItem(QStringLiteral("mnuRecallPathInitial"));
    rig.control<QPushButton>("cmdRecallPath")->click();
    EXPECT_EQ(rig.control<QLabel>("lblCurrentPath")->text(), rig.work());
    EXPECT_EQ(f.folderTree().currentPath(), rig.work());
    EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(RecallMenu, RecentItemRecallsTheLineChosenInTheDialog) {
    for (const bool recall : {true, false}) {
        SCOPED_TRACE(recall ? "Recall" : "Cancel");
        SavedPathsWindowRig rig;
        rig.Start(rig.work(), true);
        rig.Write(rig.savedPaths(), ("/elsewhere\r\n" + rig.projects() + "\r\n").toUtf8());

        bool opened = false;
        test::WhenRecallDialogOpens(
            [&](RecallPathDialog& d) {
                EXPECT_FALSE(test::Control<QPushButton>(d, "cmdRecall")->isEnabled());
                test::Control<QListWidget>(d, "lstSavedPaths")->setCurrentRow(1);
                (recall ? test::Control<QPushButton>(d, "cmdRecall")
                        : test::Control<QPushButton>(d, "cmdCancel"))
                    ->click();
            },
            opened);
        rig.ui.chooseMenuItem(QStringLiteral("mnuRecallPathRecent"));
        rig.control<QPushButton>("cmdRecallPath")->click();

        EXPECT_TRUE(opened);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(rig.control<QLabel>("lblCurrentPath")->text(), recall ? rig.projects() : rig.work());
        EXPECT_TRUE(rig.ui.messages.empty());
    }
}

} // namespace
} // namespace vesmarin
