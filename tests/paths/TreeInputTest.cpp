// The folder tree of the main window as the user works it with the mouse and the keys. (The whole-program
// test opens a folder twelve levels deep by keys and by clicks on the names.)

#include "app/MainWindowRig.h"

#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

// One folder stays selected, and a click for help (right or middle; the help itself is the help's own test)
// neither selects nor opens a folder.
TEST(FolderTreeInput, OneFolderStaysSelectedAndHelpClicksChangeNothing) {
    QTemporaryDir disk;
    const QString root = QDir(disk.path()).canonicalPath();
    const QString chosen = root + QStringLiteral("/chosen");
    ASSERT_TRUE(QDir(root).mkpath("chosen") && QDir(root).mkpath("other/inside"));
    test::MainWindowRig m;
    m.loadWith("[General]\nLanguage=0\nInitialPath=" + root.toStdString() + "\n");
    m.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m.window.get()));
    QTreeWidget& tree = *m.control<QTreeWidget>("tvwControl");
    QTreeWidgetItem* selected = m.window->folderTree().findNode(chosen + u'/');
    QTreeWidgetItem* other = m.window->folderTree().findNode(root + QStringLiteral("/other/"));
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
        ASSERT_EQ(m.control<QLabel>("lblCurrentPath")->text(), chosen);

        acts[i]();

        EXPECT_EQ(tree.selectedItems(), QList<QTreeWidgetItem*>{selected}) << "act " << i;
        EXPECT_EQ(m.window->folderTree().currentPath(), chosen) << "act " << i;
        EXPECT_EQ(m.control<QLabel>("lblCurrentPath")->text(), chosen) << "act " << i;
        EXPECT_FALSE(other->isExpanded()) << "act " << i;
    }
}

} // namespace
} // namespace vesmarin
