#include "AsNobody.h"
#include "TreeTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::FillWindowsMachine;
using test::TreeRig;

class WindowsTree : public ::testing::Test {
protected:
    void SetUp() override { FillWindowsMachine(rig.fake); }
    TreeRig rig;
};

TEST_F(WindowsTree, DrivesInDriveOrderWithTheirFirstLevelAndTheSystemDriveSelected) {
    struct Case {
        bool caseSensitive;
        QString programFilesKey;
        QString currentPath; // drive C: selected with the case rule; nothing when "c:\" keeps its case
    } cases[] = {
        {false, "C:\\PROGRAM FILES\\", "C:"},
        {true, "C:\\Program Files\\", "c:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caseSensitive);
        basTreeViewManager& m = rig.Make(c.caseSensitive);
        rig.fake.reads.clear();
        m.LoadDrives();

        EXPECT_EQ(rig.Texts(), (QStringList{"A:", "C:", "D:"}));
        EXPECT_EQ(rig.fake.reads, (QStringList{"A:\\", "C:\\", "D:\\"})); // one read per drive
        for (const char* key : {"A:\\", "C:\\", "D:\\"})
            EXPECT_TRUE(rig.Node(key)) << key;
        EXPECT_EQ(rig.Texts(rig.Node("A:\\")), QStringList{}); // a drive that is not ready
        // Sorted as people read them, whatever the case; names keep their own case.
        EXPECT_EQ(rig.Texts(rig.Node("C:\\")),
                  (QStringList{"documents", "Empty", "Program Files", "WINDOWS"}));
        ASSERT_TRUE(rig.Node(c.programFilesKey));
        EXPECT_EQ(rig.Node(c.programFilesKey)->text(0), "Program Files");
        EXPECT_EQ(m.GetCurrentPath(), c.currentPath);
    }
}

TEST_F(WindowsTree, ExpandButtonsExactlyWhereSubfoldersExistAndOpeningTwiceAddsNothing) {
    basTreeViewManager& m = rig.Make(false);
    m.LoadDrives();
    QTreeWidgetItem* c = rig.Node("C:\\");
    // Before C: is opened its folders have not been read: no placeholder children.
    EXPECT_EQ(rig.Node("C:\\WINDOWS\\")->childCount(), 0);

    m.ExpandNode(c);
    const int nodes = rig.CountNodes();
    const qsizetype reads = rig.fake.reads.size();
    m.ExpandNode(c);
    m.LoadSubfolders("C:\\");
    m.LoadSubfolders("C:\\WINDOWS\\");
    EXPECT_EQ(rig.CountNodes(), nodes);
    EXPECT_EQ(rig.fake.reads.size(), reads) << "a folder is read once per tree";

    for (const auto& [key, children] :
         {std::pair{"C:\\WINDOWS\\", QStringList{"Fonts", "SYSTEM"}},
          std::pair{"C:\\PROGRAM FILES\\", QStringList{"Common Files", "Vesmarin"}},
          std::pair{"C:\\DOCUMENTS\\", QStringList{"Έγγραφα"}}, std::pair{"C:\\EMPTY\\", QStringList{}}}) {
        ASSERT_TRUE(rig.Node(key)) << key;
        EXPECT_EQ(rig.Texts(rig.Node(key)), children) << key;
    }
    // The next level down is not read until its parent is opened.
    EXPECT_EQ(rig.Node("C:\\WINDOWS\\SYSTEM\\")->childCount(), 0);
    EXPECT_TRUE(rig.Node("C:\\DOCUMENTS\\ΈΓΓΡΑΦΑ\\"));
}

TEST_F(WindowsTree, GetCurrentPathForFolderDriveNoSelectionAndEmptyTree) {
    basTreeViewManager& m = rig.Make(false);
    EXPECT_EQ(m.GetCurrentPath(), "");
    ASSERT_TRUE(m.SelectPath("c:\\program files"));
    EXPECT_EQ(m.GetCurrentPath(), "C:\\Program Files");
    ASSERT_TRUE(m.SelectPath("C:"));
    EXPECT_EQ(m.GetCurrentPath(), "C:");
    rig.tvwControl.clearSelection();
    EXPECT_EQ(m.GetCurrentPath(), "c:");
    m.ClearTree();
    EXPECT_EQ(m.GetCurrentPath(), "");
}

TEST_F(WindowsTree, SelectPathStopsAtTheDeepestPartFound) {
    struct Case {
        bool caseSensitive;
        QString path;
        bool found;
        QString current;
        QString activated; // the folder the hidden file list points at; empty when activation failed
    } cases[] = {
        {false, "c:\\windows\\system", true, "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\"},
        {false, "C:\\PROGRAM FILES\\COMMON FILES\\", true, "C:\\Program Files\\Common Files",
         "C:\\Program Files\\Common Files\\"},
        {false, "C:\\Program Files\\Missing", false, "C:\\Program Files", "C:\\Program Files\\"},
        {true, "C:\\Program Files\\Vesmarin", true, "C:\\Program Files\\Vesmarin",
         "C:\\Program Files\\Vesmarin\\"},
        {true, "C:\\program files\\Vesmarin", false, "C:", "C:\\"},
        {false, "Q:\\Data", false, "C:", ""}, // no such drive: what was selected stays, nothing activated
        {true, "c:\\", false, "c:", ""},      // drive keys keep the letter case the system reports
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        rig.filFile = {};
        rig.lstControl = {};
        rig.filFile.geometry = QRect(1, 2, 3, 4);
        basTreeViewManager& m = rig.Make(c.caseSensitive);
        EXPECT_EQ(m.SelectPath(c.path), c.found);
        EXPECT_EQ(m.GetCurrentPath(), c.current);
        if (c.activated.isEmpty()) {
            EXPECT_FALSE(rig.filFile.visible);
            EXPECT_EQ(rig.lstControl.geometry, rig.filFile.geometry);
        } else {
            EXPECT_EQ(rig.filFile.path, c.activated);
            EXPECT_FALSE(rig.lstControl.visible);
        }
    }
}

TEST_F(WindowsTree, SiblingsThatDifferOnlyInCaseDoNotHideLaterSiblings) {
    struct Case {
        bool caseSensitive;
        QStringList children;
    } cases[] = {
        {false, {"Data", "zeta"}}, // Data and data share one key: the first stays, the rest still load
        {true, {"Data", "data", "zeta"}},
    };
    for (const Case& c : cases) {
        basTreeViewManager& m = rig.Make(c.caseSensitive);
        ASSERT_TRUE(m.SelectPath("D:\\zeta"));
        EXPECT_EQ(rig.Texts(rig.Node("D:\\")), c.children);
    }
}

TEST_F(WindowsTree, UnreadableFolderGetsNoChildrenAndIsNotActivated) {
    rig.fake.unreadable.insert("C:\\WINDOWS\\SYSTEM\\");
    rig.fake.add("C:\\WINDOWS\\SYSTEM\\drivers");
    basTreeViewManager& m = rig.Make(false);
    EXPECT_TRUE(m.SelectPath("C:\\WINDOWS\\SYSTEM"));
    EXPECT_EQ(rig.Node("C:\\WINDOWS\\SYSTEM\\")->childCount(), 0);
    EXPECT_FALSE(rig.filFile.visible);
    EXPECT_EQ(rig.lstControl.geometry, rig.filFile.geometry);

    m.ActivateNode(nullptr); // no node: silently nothing
    EXPECT_EQ(m.GetCurrentPath(), "C:\\WINDOWS\\SYSTEM");
}

TEST_F(WindowsTree, NoDrivesAtAllIsAnEmptyTreeNotALoop) {
    rig.fake.driveRoots.clear();
    basTreeViewManager& m = rig.Make(false);
    EXPECT_FALSE(m.SelectPath("C:\\WINDOWS"));
    EXPECT_EQ(m.GetCurrentPath(), "");
}

#ifndef Q_OS_WIN

// A real folder below the POSIX root, with files and folders of every kind.
class PosixTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        root = QDir(tmp.path()).canonicalPath();
        QDir d(root);
        for (const char* sub : {"Data/inner", "data/other", "zeta", ".hidden", "a/b/c"})
            ASSERT_TRUE(d.mkpath(sub));
        QFile f(d.filePath("program.exe"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        ASSERT_TRUE(QFile::link(d.filePath("a"), d.filePath("linked")));
    }
    QTemporaryDir tmp;
    QString root;
    TreeRig rig;
};

TEST_F(PosixTree, OneRootAndFullPathsJoinedWithOneSeparator) {
    basTreeViewManager& m = rig.Make(true, true);
    ASSERT_TRUE(m.SelectPath(root + "/a/b"));
    EXPECT_EQ(rig.Texts(), QStringList{"/"});
    EXPECT_EQ(basTreeViewManager::NodeKey(rig.tvwControl.topLevelItem(0)), "/");
    EXPECT_EQ(m.GetCurrentPath(), root + "/a/b");
    EXPECT_EQ(rig.filFile.path, root + "/a/b/");
    ASSERT_TRUE(m.SelectPath("/"));
    EXPECT_EQ(m.GetCurrentPath(), "/");
    EXPECT_EQ(rig.filFile.path, "/");
}

TEST_F(PosixTree, FoldersOnlyWithHiddenAndLinkedOnesAndCaseRuleBothWays) {
    struct Case {
        bool caseSensitive;
        QStringList children;
    } cases[] = {
        {true, {".hidden", "a", "Data", "data", "linked", "zeta"}},
        {false, {".hidden", "a", "Data", "linked", "zeta"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caseSensitive);
        basTreeViewManager& m = rig.Make(c.caseSensitive, true);
        ASSERT_TRUE(m.SelectPath(root));
        const QString key = ApplyCaseRule(root + "/", c.caseSensitive);
        EXPECT_EQ(rig.Texts(rig.Node(key)), c.children);
        // The case rule finds the folder whatever case the path is written in; the disk is read in
        // the case it reports.
        EXPECT_TRUE(m.SelectPath(c.caseSensitive ? root + "/linked/b" : root.toLower() + "/LINKED/B"));
        EXPECT_EQ(m.GetCurrentPath(), root + "/linked/b");
        EXPECT_EQ(rig.Texts(rig.Node(ApplyCaseRule(root + "/linked/b/", c.caseSensitive))), QStringList{"c"});
    }
}

TEST_F(PosixTree, UnreadableFolderGetsNoChildren) {
    QDir(root).mkpath("locked/inner");
    ASSERT_TRUE(QFile::setPermissions(root + "/locked", QFile::Permissions()));
    ASSERT_TRUE(QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                      QFile::ReadOther | QFile::ExeOther));
    basTreeViewManager& m = rig.Make(true, true);
    bool found = false;
    {
        test::AsNobody nobody;
        found = m.SelectPath(root + "/locked");
    }
    QFile::setPermissions(root + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_TRUE(found);
    ASSERT_TRUE(rig.Node(root + "/locked/"));
    EXPECT_EQ(rig.Node(root + "/locked/")->childCount(), 0);
    EXPECT_FALSE(rig.filFile.visible);
}

#endif

} // namespace
} // namespace vesmarin
