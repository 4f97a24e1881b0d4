// The folder tree of the main window as the user works it, with the mouse and the keys, over folders far
// deeper and longer than the tree's window is wide.

#include "app/MainWindowRig.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

constexpr int kDepth = 12;

// Twelve levels below the initial path. Every folder has a long name and a sibling whose name starts with
// the same words (and which has a subfolder of its own), so a name cut short could not be told apart.
class DeepTree : public ::testing::Test {
public: // the cases of a table act on the fixture
    void SetUp() override {
        ASSERT_TRUE(disk.isValid());
        QString path = root;
        for (int level = 1; level <= kDepth; ++level) {
            const QString name =
                QStringLiteral("level %1 of the folders").arg(level, 2, 10, QLatin1Char('0'));
            ASSERT_TRUE(QDir(path).mkpath(name + QStringLiteral(" beside it/inside")));
            path += u'/' + name;
            ASSERT_TRUE(QDir().mkpath(path));
            paths << path;
        }
        m.loadWith("[General]\nLanguage=0\nInitialPath=" + root.toStdString() + "\n");
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        ASSERT_EQ(m.control<QLabel>("lblCurrentPath")->text(), root);
    }

    QTreeWidgetItem* node(const QString& path) const { return f.folderTree().findNode(path + u'/'); }
    QWidget* viewport() const { return tree.viewport(); }
    // A point on the start of the node's name, and one on its expand button.
    QPoint onName(QTreeWidgetItem* item) const {
        const QRect r = tree.visualItemRect(item);
        return {r.left() + 4, r.center().y()};
    }
    QPoint onButton(QTreeWidgetItem* item) const {
        const QRect r = tree.visualItemRect(item);
        return {r.left() - tree.indentation() / 2, r.center().y()};
    }

    // Scrolls with the mouse wheel until the node's row is in view, as a user does to reach it.
    void wheelTo(QTreeWidgetItem* item) {
        for (int turns = 0; turns < 200; ++turns) {
            const QRect r = tree.visualItemRect(item);
            if (r.top() >= 0 && r.bottom() < viewport()->height())
                return;
            const QPoint at = viewport()->rect().center();
            QWheelEvent wheel(at, viewport()->mapToGlobal(at), {}, {0, r.top() < 0 ? 120 : -120},
                              Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport(), &wheel);
        }
        ADD_FAILURE() << "the wheel does not reach " << item->text(0).toStdString();
    }

    // The node's whole name is on screen: its row is in view, the name is not cut short, and it lies
    // between the left and right edges of the tree's window.
    ::testing::AssertionResult readable(QTreeWidgetItem* item) const {
        const QRect r = tree.visualItemRect(item); // from the end of the indentation to the column's end
        const int needed = tree.sizeHintForIndex(tree.indexFromItem(item)).width();
        if (r.width() < needed)
            return ::testing::AssertionFailure() << item->text(0).toStdString() << " is cut to " << r.width()
                                                 << " of " << needed << " pixels";
        if (r.left() < 0 || r.left() + needed > viewport()->width() || r.top() < 0 ||
            r.bottom() >= viewport()->height())
            return ::testing::AssertionFailure()
                   << item->text(0).toStdString() << " lies at " << r.left() << "," << r.top() << " outside "
                   << viewport()->width() << "x" << viewport()->height();
        return ::testing::AssertionSuccess();
    }

    QTemporaryDir disk;
    QString root = QDir(disk.path()).canonicalPath();
    QStringList paths; // the folders of the deep line, from level 1 down
    test::MainWindowRig m;
    MainWindow& f = *m.window;
    QTreeWidget& tree = *m.control<QTreeWidget>("tvwControl");
};

TEST_F(DeepTree, EveryLevelIsReachedAndReadableByKeysAndByClicks) {
    struct Route {
        const char* name;
        // Opens the selected folder and selects its first subfolder.
        std::function<void(DeepTree&, QTreeWidgetItem* selected)> down;
    } routes[] = {
        {"Right opens, Right again goes in",
         [](DeepTree&, QTreeWidgetItem* selected) {
             QTest::keyClick(selected->treeWidget(), Qt::Key_Right);
             QTest::keyClick(selected->treeWidget(), Qt::Key_Right);
         }},
        {"a click on the button, then on the name",
         [](DeepTree& t, QTreeWidgetItem* selected) {
             QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, t.onButton(selected));
             ASSERT_TRUE(selected->isExpanded());
             QTreeWidgetItem* child = selected->child(0);
             t.wheelTo(child);
             // The start of the name is in view: one step in from the name above.
             QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, t.onName(child));
         }},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        // Back to the initial path, in a tree read afresh: nothing below it is open.
        while (m.control<QLabel>("lblCurrentPath")->text() != root)
            m.control<QPushButton>("cmdUpOneLevel")->click();
        m.control<QPushButton>("cmdRefresh")->click();
        tree.setFocus();
        for (int level = 0; level < kDepth; ++level) {
            SCOPED_TRACE(level + 1);
            route.down(*this, tree.currentItem());
            ASSERT_EQ(m.control<QLabel>("lblCurrentPath")->text().toStdString(), paths[level].toStdString());
            EXPECT_EQ(tree.selectedItems(), QList<QTreeWidgetItem*>{node(paths[level])});
            EXPECT_TRUE(readable(node(paths[level])));
        }
        EXPECT_EQ(f.folderTree().currentPath().toStdString(), paths.back().toStdString());
    }
}

// One folder stays selected, and a click for help (right or middle; the help itself is the help's own
// test) neither selects nor opens a folder.
TEST_F(DeepTree, OneFolderStaysSelectedAndHelpClicksChangeNothing) {
    struct Case {
        const char* name;
        std::function<void(DeepTree&, QTreeWidgetItem* selected, QTreeWidgetItem* other)> act;
    } cases[] = {
        {"Ctrl+click on the selected folder",
         [](DeepTree& t, QTreeWidgetItem* selected, QTreeWidgetItem*) {
             QTest::mouseClick(t.viewport(), Qt::LeftButton, Qt::ControlModifier, t.onName(selected));
         }},
        {"Ctrl+Space",
         [](DeepTree& t, QTreeWidgetItem*, QTreeWidgetItem*) {
             QTest::keyClick(&t.tree, Qt::Key_Space, Qt::ControlModifier);
         }},
        {"right click on another folder",
         [](DeepTree& t, QTreeWidgetItem*, QTreeWidgetItem* other) {
             QTest::mouseClick(t.viewport(), Qt::RightButton, {}, t.onName(other));
         }},
        {"middle click on another folder",
         [](DeepTree& t, QTreeWidgetItem*, QTreeWidgetItem* other) {
             QTest::mouseClick(t.viewport(), Qt::MiddleButton, {}, t.onName(other));
         }},
        {"right click on the button of a closed folder",
         [](DeepTree& t, QTreeWidgetItem*, QTreeWidgetItem* other) {
             QTest::mouseClick(t.viewport(), Qt::RightButton, {}, t.onButton(other));
         }},
    };
    QTreeWidgetItem* selected = node(paths[0]);
    QTreeWidgetItem* other = node(root + QStringLiteral("/level 01 of the folders beside it"));
    ASSERT_TRUE(selected && other && other->childCount() == 1);
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Right); // opens the initial path
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wheelTo(other);
        wheelTo(selected);
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, onName(selected));
        ASSERT_EQ(m.control<QLabel>("lblCurrentPath")->text().toStdString(), paths[0].toStdString());

        c.act(*this, selected, other);

        EXPECT_EQ(tree.selectedItems(), QList<QTreeWidgetItem*>{selected});
        EXPECT_EQ(f.folderTree().currentPath().toStdString(), paths[0].toStdString());
        EXPECT_EQ(m.control<QLabel>("lblCurrentPath")->text().toStdString(), paths[0].toStdString());
        EXPECT_FALSE(other->isExpanded());
    }
}

} // namespace
} // namespace vesmarin
