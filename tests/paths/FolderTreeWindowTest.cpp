// The folder tree of the main window and the path label above the grid, over real folders, as the user works
// them with the mouse and the keys. (The whole-program test opens a folder twelve levels deep by keys and by
// clicks on the names, which reads one level ahead and makes the folder clicked current; StartFolder.sh
// starts on a folder given, which goes through the partial recall below when it is missing.)

#include "app/MainWindowRig.h"

#include <QTreeWidget>
#include <functional>

namespace vesmarin {
namespace {

// The main window started from a program folder whose settings file names an initial path below a
// temporary folder of real subfolders.
class StartUp : public ::testing::Test {
protected:
    MainWindow& Start(const QString& initialPath) {
        return m.loadWith(("[General]\nLanguage=0\nInitialPath=" + initialPath + "\n").toStdString());
    }
    QString shown() const { return m.control<QLabel>("lblCurrentPath")->text(); }
    void click(const char* b) const { QTest::mouseClick(m.control<QPushButton>(b), Qt::LeftButton); }

    QTemporaryDir disk;
    QString root = QDir(disk.path()).canonicalPath();
    bool made = QDir(root).mkpath("Work/Έργα/old") && QDir(root).mkpath("Work/<b>old");
    test::MainWindowRig m;
    test::ScriptedInteraction& ui = m.ui;
};

// A missing initial path is asked about before the window shows: the question tells how much was found;
// Cancel keeps that part, OK tries once more and, the path still missing, says so.
TEST_F(StartUp, MissingInitialPathIsQueriedBeforeTheWindowShows) {
    const QString path = root + "/Work/gone", found = root + "/Work";
    const QString question =
        QStringLiteral(
            "You are trying to recall path '%1', which could not be located on your computer. The path "
            "that has been recalled so far, is '%2'.\r\n\r\nIf the full path refers to a removable or "
            "network disk, make the necessary arrangements NOW and click 'OK' to recall the full path, or "
            "click 'Cancel' to maintain as current, the path that has been recalled so far.\r\n\r\n"
            "CAUTION: If you have instructed this application to distinguish between upper and lower "
            "case letters in item names, make certain that the operating system which hosts this "
            "application, ALSO distinguishes between upper and lower case letters in item names.")
            .arg(path, found);
    const QString after = "Path '" + path +
                          "', could not be recalled after all. The path that has been recalled, "
                          "is '" +
                          found + "'.";
    for (const bool ok : {false, true}) {
        test::MainWindowRig run;
        run.ui.answer(ok ? MsgButton::Ok : MsgButton::Cancel);
        if (ok)
            run.ui.answer(MsgButton::Ok);
        run.loadWith(("[General]\nLanguage=0\nInitialPath=" + path + "\n").toStdString());
        ASSERT_EQ(run.ui.messages.size(), ok ? 2u : 1u);
        const MessageRequest& q = run.ui.messages[0].request;
        EXPECT_EQ(
            std::tuple(q.title, q.text, q.icon, q.buttons, q.defaultButton),
            std::tuple("Recall path", question, MsgIcon::Question, MsgButtons::OkCancel, MsgButton::Ok));
        EXPECT_EQ(run.ui.messages.back().request.text, ok ? after : question);
        EXPECT_EQ(std::tuple(run.window->isVisible(), run.control<QLabel>("lblCurrentPath")->text()),
                  std::tuple(false, found));
    }
}

// The label follows the tree; Refresh keeps the selection and shows the folders made meanwhile; Up one level
// goes up to the root, and there no further.
TEST_F(StartUp, TreeEventsAndNavigationButtonsKeepTheLabelCurrent) {
    MainWindow& f = Start(root + "/Work");
    m.control<QTreeWidget>("tvwControl")->setCurrentItem(f.folderTree().findNode(root + "/Work/Έργα/"));
    EXPECT_EQ(shown(), root + "/Work/Έργα");
    ASSERT_TRUE(QDir(root).mkpath("Work/new"));
    click("cmdRefresh");
    EXPECT_EQ(std::tuple(shown(), bool(f.folderTree().findNode(root + "/Work/new/"))),
              std::tuple(root + "/Work/Έργα", true));
    for (int i = 0; i < 20 && shown() != "/"; ++i)
        click("cmdUpOneLevel");
    ui.answer(MsgButton::Ok);
    click("cmdUpOneLevel");
    ASSERT_EQ(std::tuple(ui.messages.size(), shown()), std::tuple(1u, "/"));
    EXPECT_EQ(std::tuple(ui.messages[0].request.icon, ui.messages[0].request.text),
              std::tuple(MsgIcon::Critical,
                         "You are already on the root directory of the current drive and as a "
                         "result, you cannot go up any further."));
}

// One folder stays selected, and a click for help (right, or middle, which does the same; the help itself is
// the help's own test) neither selects nor opens a folder. A folder name that looks like markup is
// shown as it stands, not as bold "old", on the tree's pale cyan.
TEST_F(StartUp, OneFolderStaysSelectedAndHelpClicksChangeNothing) {
    MainWindow& f = Start(root + "/Work");
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const QString chosen = root + "/Work/<b>old";
    QTreeWidget& tree = *m.control<QTreeWidget>("tvwControl");
    QTreeWidgetItem* selected = f.folderTree().findNode(chosen + u'/');
    QTreeWidgetItem* other = f.folderTree().findNode(root + "/Work/Έργα/");
    ASSERT_TRUE(selected && other && other->childCount() == 1);
    // A point on the start of the node's name, or (dx < 0) on its expand button.
    const auto at = [&tree](QTreeWidgetItem* item, int dx = 4) {
        return QPoint(tree.visualItemRect(item).left() + dx, tree.visualItemRect(item).center().y());
    };
    const std::function<void()> acts[] = {
        [&] { QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier, at(selected)); },
        [&] { QTest::keyClick(&tree, Qt::Key_Space, Qt::ControlModifier); },
        [&] { QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, at(other)); },
        [&] { QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, at(other, -tree.indentation() / 2)); },
    };
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Right); // opens the initial path
    for (const auto& act : acts) {
        tree.scrollToItem(other);
        tree.scrollToItem(selected);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at(selected));
        ASSERT_EQ(shown(), chosen);
        act();
        SCOPED_TRACE(&act - acts); // which act
        EXPECT_EQ(
            std::tuple(tree.selectedItems(), f.folderTree().currentPath(), shown(), other->isExpanded()),
            std::tuple(QList<QTreeWidgetItem*>{selected}, chosen, chosen, false));
    }
    for (const char* label : {"lblCurrentPath", "lblInfo"})
        EXPECT_EQ(m.control<QLabel>(label)->textFormat(), Qt::PlainText) << label;
    EXPECT_EQ(tree.palette().color(QPalette::Base), QColor(192, 255, 255));
}

} // namespace
} // namespace vesmarin
