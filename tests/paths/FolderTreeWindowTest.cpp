// The folder tree of the main window and the path label above the grid, over real folders, as the user works
// them with the mouse and the keys. (The whole-program test opens a folder twelve levels deep by keys and by
// clicks on the names, which reads one level ahead and makes the folder clicked current.)

#include "app/MainWindowRig.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

// The main window started from a program folder whose settings file names an initial path below a
// temporary folder of real subfolders.
class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(root).mkpath("Work/Έργα/old/older") && QDir(root).mkpath("Work/<b>old"));
    }
    MainWindow& Start(const QString& initialPath) {
        return m.loadWith(("[General]\nLanguage=0\nInitialPath=" + initialPath + "\n").toStdString());
    }
    QString shown() const { return m.control<QLabel>("lblCurrentPath")->text(); }
    void click(const char* button) const {
        QTest::mouseClick(m.control<QPushButton>(button), Qt::LeftButton);
    }

    QTemporaryDir disk;
    QString root = QDir(disk.path()).canonicalPath();
    test::MainWindowRig m;
    test::ScriptedInteraction& ui = m.ui;
};

// A missing initial path is asked about before the window shows: the question tells how much was found;
// Cancel keeps that part, OK tries once more and, the path still missing, says so.
TEST_F(StartUp, MissingInitialPathIsQueriedBeforeTheWindowShows) {
    const QString path = root + "/Work/gone", found = root + "/Work";
    for (const bool ok : {false, true}) {
        test::MainWindowRig run;
        run.ui.answer(ok ? MsgButton::Ok : MsgButton::Cancel);
        if (ok)
            run.ui.answer(MsgButton::Ok);
        run.loadWith(("[General]\nLanguage=0\nInitialPath=" + path + "\n").toStdString());
        ASSERT_EQ(run.ui.messages.size(), ok ? 2u : 1u);
        const MessageRequest& q = run.ui.messages[0].request;
        EXPECT_EQ(q.title, "Recall path");
        EXPECT_EQ(q.text,
                  "You are trying to recall path '" + path +
                      "', which could not be located on your computer. The path that has been recalled "
                      "so far, is '" +
                      found +
                      "'.\r\n\r\nIf the full path refers to a removable or network disk, make the "
                      "necessary arrangements NOW and click 'OK' to recall the full path, or click "
                      "'Cancel' to maintain as current, the path that has been recalled so far.\r\n\r\n"
                      "CAUTION: If you have instructed this application to distinguish between upper and "
                      "lower case letters in item names, make certain that the operating system which "
                      "hosts this application, ALSO distinguishes between upper and lower case letters "
                      "in item names.");
        EXPECT_TRUE(q.icon == MsgIcon::Question && q.buttons == MsgButtons::OkCancel &&
                    q.defaultButton == MsgButton::Ok);
        if (ok) {
            const MessageRequest& f = run.ui.messages[1].request;
            EXPECT_EQ(f.text, "Path '" + path +
                                  "', could not be recalled after all. The path that has been " +
                                  "recalled, is '" + found + "'.");
            EXPECT_TRUE(f.title == q.title && f.icon == MsgIcon::Information);
        }
        EXPECT_FALSE(run.window->isVisible());
        EXPECT_EQ(run.control<QLabel>("lblCurrentPath")->text(), found);
    }
}

TEST_F(StartUp, TreeEventsAndNavigationButtonsKeepTheLabelCurrent) {
    MainWindow& f = Start(root + "/Work");
    QTreeWidgetItem* projects = f.folderTree().findNode(root + "/Work/Έργα/");
    ASSERT_TRUE(projects);

    m.control<QTreeWidget>("tvwControl")->setCurrentItem(projects); // as a click on the folder does
    EXPECT_EQ(shown(), root + "/Work/Έργα");

    // Refresh keeps the selection and shows the folders made meanwhile.
    ASSERT_TRUE(QDir(root).mkpath("Work/new"));
    click("cmdRefresh");
    EXPECT_EQ(shown(), root + "/Work/Έργα");
    EXPECT_TRUE(f.folderTree().findNode(root + "/Work/new/"));

    click("cmdUpOneLevel");
    EXPECT_EQ(shown(), root + "/Work");
    EXPECT_TRUE(ui.messages.empty());

    // Up to the root, and there no further.
    for (int i = 0; i < 20 && shown() != "/"; ++i)
        click("cmdUpOneLevel");
    ASSERT_EQ(shown(), "/");
    ui.answer(MsgButton::Ok);
    click("cmdUpOneLevel");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].request.text,
              "You are already on the root directory of the current drive and as a "
              "result, you cannot go up any further.");
    EXPECT_EQ(ui.messages[0].request.icon, MsgIcon::Critical);
    EXPECT_EQ(shown(), "/");
}

// `vesmarin FOLDER`: the folder opens in place of the initial path, a missing one goes through the usual
// partial-recall question, and nothing of it reaches the settings file or the recent paths.
TEST_F(StartUp, AFolderGivenAtStartIsOpenedForThisRunOnly) {
    // The initial path stored (none yet asks nothing when a folder is given), the folder, the path opened.
    const std::tuple<QString, QString, QString> cases[] = {
        {"", root + "/Work/Έργα/", root + "/Work/Έργα"},
        {root + "/Work", root + "/Work/Έργα/gone", root + "/Work/Έργα"}};
    for (const auto& [initialPath, folder, opened] : cases) {
        SCOPED_TRACE(folder.toStdString());
        test::MainWindowRig run;
        const QByteArray ini =
            ("[General]\nLanguage=0\n" + (initialPath.isEmpty() ? "" : "InitialPath=" + initialPath) +
             "\n[Options]\nWhatToBrowse=3\n")
                .toUtf8();
        test::WriteFile(run.iniFile(), ini);
        if (!initialPath.isEmpty())
            run.ui.answer(MsgButton::Cancel); // the partial recall question
        run.window->load(folder);

        EXPECT_EQ(run.control<QLabel>("lblCurrentPath")->text(), opened);
        EXPECT_EQ(run.window->folderTree().currentPath(), opened);
        ASSERT_EQ(run.ui.messages.size(), initialPath.isEmpty() ? 0u : 1u);
        EXPECT_EQ(run.window->pathMenus().initialPath(),
                  initialPath.isEmpty() ? test::MainWindowRig::home() : initialPath);
        EXPECT_EQ(test::ReadFile(run.iniFile()), ini);
        EXPECT_FALSE(QFile::exists(run.window->files().savedPathsFile));
    }
}

// One folder stays selected, and a click for help (right or middle; the help itself is the help's own test)
// neither selects nor opens a folder. A folder name that looks like markup is shown as it stands, not as
// bold "old", on the tree's pale cyan.
TEST_F(StartUp, OneFolderStaysSelectedAndHelpClicksChangeNothing) {
    MainWindow& f = Start(root + "/Work");
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const QString chosen = root + "/Work/<b>old";
    QTreeWidget& tree = *m.control<QTreeWidget>("tvwControl");
    QTreeWidgetItem* selected = f.folderTree().findNode(chosen + u'/');
    QTreeWidgetItem* other = f.folderTree().findNode(root + "/Work/Έργα/");
    ASSERT_TRUE(selected && other && other->childCount() == 1);
    // A point on the start of the node's name, or on its expand button.
    const auto at = [&tree](QTreeWidgetItem* item, bool button = false) {
        const QRect r = tree.visualItemRect(item);
        return QPoint(button ? r.left() - tree.indentation() / 2 : r.left() + 4, r.center().y());
    };
    const std::function<void()> acts[] = {
        [&] { QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier, at(selected)); },
        [&] { QTest::keyClick(&tree, Qt::Key_Space, Qt::ControlModifier); },
        [&] { QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, at(other)); },
        [&] { QTest::mouseClick(tree.viewport(), Qt::MiddleButton, {}, at(other)); },
        [&] { QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, at(other, true)); },
    };
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Right); // opens the initial path
    for (std::size_t i = 0; i < std::size(acts); ++i) {
        tree.scrollToItem(other);
        tree.scrollToItem(selected);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at(selected));
        ASSERT_EQ(shown(), chosen);

        acts[i]();

        SCOPED_TRACE(i);
        EXPECT_EQ(tree.selectedItems(), QList<QTreeWidgetItem*>{selected});
        EXPECT_EQ((QStringList{f.folderTree().currentPath(), shown()}), (QStringList{chosen, chosen}));
        EXPECT_FALSE(other->isExpanded());
    }
    for (const char* label : {"lblCurrentPath", "lblInfo"})
        EXPECT_EQ(m.control<QLabel>(label)->textFormat(), Qt::PlainText) << label;
    EXPECT_EQ(tree.palette().color(QPalette::Base), QColor(192, 255, 255));
}

} // namespace
} // namespace vesmarin
