#include "TreeTestSupport.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace vesmarin {
namespace {

using test::TreeRig;

TEST(WindowsTree, DrivesInDriveOrderWithTheirFirstLevelAndTheSystemDriveSelected) {
    for (const bool caseSensitive : {false, true}) {
        TreeRig rig;
        FolderTree& m = rig.Make(caseSensitive);
        rig.fake.reads.clear();
        m.loadDrives();
        EXPECT_EQ(rig.Texts(), (QStringList{"A:", "C:", "D:"}));
        EXPECT_EQ(rig.fake.reads, (QStringList{"A:\\", "C:\\", "D:\\"})); // one read per drive
        EXPECT_EQ(rig.Texts(rig.Node("A:\\")), QStringList{});            // not ready
        // Sorted as people read them, whatever the case; names keep their own case, keys follow the rule.
        EXPECT_EQ(rig.Texts(rig.Node("C:\\")),
                  (QStringList{"documents", "Empty", "Program Files", "WINDOWS"}));
        ASSERT_TRUE(rig.Node(caseSensitive ? "C:\\Program Files\\" : "C:\\PROGRAM FILES\\"));
        // With the case rule the system drive "c:\" matches no drive, and stays as it is.
        EXPECT_EQ(m.currentPath(), caseSensitive ? "c:" : "C:");
    }
}

TEST(WindowsTree, ExpandButtonsExactlyWhereSubfoldersExistAndOpeningTwiceAddsNothing) {
    TreeRig rig;
    FolderTree& m = rig.Make(false);
    m.loadDrives();
    QTreeWidgetItem* c = rig.Node("C:\\");
    EXPECT_EQ(rig.Node("C:\\WINDOWS\\")->childCount(), 0); // not read yet, and no placeholder
    m.expandNode(c);
    const qsizetype reads = rig.fake.reads.size();
    m.expandNode(c);
    m.loadSubfolders("C:\\WINDOWS\\");
    EXPECT_EQ(rig.fake.reads.size(), reads);
    EXPECT_EQ(rig.Texts(c), (QStringList{"documents", "Empty", "Program Files", "WINDOWS"}));
    EXPECT_EQ(rig.Texts(rig.Node("C:\\WINDOWS\\")), (QStringList{"Fonts", "SYSTEM"}));
    EXPECT_EQ(rig.Texts(rig.Node("C:\\EMPTY\\")), QStringList{});
    EXPECT_TRUE(rig.Node("C:\\DOCUMENTS\\ΈΓΓΡΑΦΑ\\"));
    EXPECT_EQ(rig.Node("C:\\WINDOWS\\SYSTEM\\")->childCount(), 0); // one level ahead, no more
}

TEST(WindowsTree, SelectPathStopsAtTheDeepestPartFound) {
    const struct {
        bool caseSensitive;
        QString path;
        bool found;
        QString current;
    } cases[] = {
        {false, "c:\\windows\\system", true, "C:\\WINDOWS\\SYSTEM"},
        {false, "C:\\Program Files\\Missing", false, "C:\\Program Files"},
        {true, "C:\\program files\\Vesmarin", false, "C:"},
        {false, "Q:\\Data", false, "C:"}, // no such drive: the selection stays
    };
    for (const auto& c : cases) {
        TreeRig rig;
        FolderTree& m = rig.Make(c.caseSensitive);
        EXPECT_EQ(m.selectPath(c.path), c.found) << c.path.toStdString();
        EXPECT_EQ(m.currentPath(), c.current) << c.path.toStdString();
    }
    // No drives at all is an empty tree, not a loop, and an empty tree has no current path.
    TreeRig rig;
    rig.fake.driveRoots.clear();
    EXPECT_FALSE(rig.Make(false).selectPath("C:\\WINDOWS"));
    EXPECT_EQ(rig.manager->currentPath(), "");
}

#ifndef Q_OS_WIN

// A real folder below the POSIX root, with entries of every kind.
class PosixTree : public ::testing::Test {
protected:
    void SetUp() override {
        QDir d(root);
        for (const char* sub : {"Data/inner", "data/other", "zeta", ".hidden", "a/b/c"})
            ASSERT_TRUE(d.mkpath(sub));
        test::WriteFile(d.filePath("program.exe"));
        ASSERT_TRUE(QFile::link(d.filePath("a"), d.filePath("linked")));
        ASSERT_TRUE(QFile::link(d.filePath("program.exe"), d.filePath("linkToFile")));
        ASSERT_TRUE(QFile::link(d.filePath("nowhere"), d.filePath("brokenLink")));
    }
    QTemporaryDir tmp;
    QString root = QDir(tmp.path()).canonicalPath();
    TreeRig rig;
};

// One root, full paths joined with one separator; folders only (a link to a folder leads on like one), and
// siblings that differ in case hide nothing else.
TEST_F(PosixTree, OneRootFoldersOnlyAndTheCaseRule) {
    const struct {
        bool caseSensitive;
        QStringList children;
    } cases[] = {
        {true, {".hidden", "a", "Data", "data", "linked", "zeta"}},
        {false, {".hidden", "a", "Data", "linked", "zeta"}}, // Data and data share a key: the first stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caseSensitive);
        FolderTree& m = rig.Make(c.caseSensitive, true);
        ASSERT_TRUE(m.selectPath(root));
        EXPECT_EQ(rig.Texts(), QStringList{"/"});
        EXPECT_EQ(rig.Texts(rig.Node(ApplyCaseRule(root + "/", c.caseSensitive))), c.children);
        // The case rule finds a folder whatever case the path is written in; the disk is still read in the
        // case it reports.
        EXPECT_TRUE(m.selectPath(c.caseSensitive ? root + "/linked/b" : root.toLower() + "/LINKED/B"));
        EXPECT_EQ(m.currentPath(), root + "/linked/b");
        ASSERT_TRUE(m.selectPath("/"));
        EXPECT_EQ(m.currentPath(), "/");
    }
}

TEST_F(PosixTree, UnreadableFolderIsSelectedButGetsNoChildren) {
    QDir(root).mkpath("locked/inner");
    ASSERT_TRUE(QFile::setPermissions(root + "/locked", QFile::Permissions()));
    ASSERT_TRUE(QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther));
    FolderTree& m = rig.Make(true, true);
    // Root reads every folder, so the tree is read as the unprivileged user "nobody".
    const bool asRoot = geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(setegid(65534), 0);
        ASSERT_EQ(seteuid(65534), 0);
    }
    const bool found = m.selectPath(root + "/locked");
    if (asRoot) {
        ASSERT_EQ(seteuid(0), 0);
        ASSERT_EQ(setegid(0), 0);
    }
    QFile::setPermissions(root + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(found);
    ASSERT_TRUE(rig.Node(root + "/locked/"));
    EXPECT_EQ(rig.Node(root + "/locked/")->childCount(), 0);
}

#endif

} // namespace
} // namespace vesmarin
