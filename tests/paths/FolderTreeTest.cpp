#include "TreeTestSupport.h"
#include "base/PathText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vesmarin {
namespace {

using test::TreeRig;

class WindowsTree : public ::testing::Test {
protected:
    void SetUp() override { test::FillWindowsMachine(rig.fake); }
    TreeRig rig;
};

TEST_F(WindowsTree, DrivesInDriveOrderWithTheirFirstLevelAndTheSystemDriveSelected) {
    struct Case {
        bool caseSensitive;
        QString programFilesKey;
        QString current; // drive C: selected with the case rule; with it off "c:\" matches no drive
    } cases[] = {{false, "C:\\PROGRAM FILES\\", "C:"}, {true, "C:\\Program Files\\", "c:"}};
    for (const Case& c : cases) {
        FolderTree& m = rig.Make(c.caseSensitive);
        rig.fake.reads.clear();
        m.loadDrives();
        EXPECT_EQ(rig.Texts(), (QStringList{"A:", "C:", "D:"}));
        EXPECT_EQ(rig.fake.reads, (QStringList{"A:\\", "C:\\", "D:\\"})); // one read per drive
        EXPECT_EQ(rig.Texts(rig.Node("A:\\")), QStringList{});            // not ready
        // Sorted as people read them, whatever the case; names keep their own case.
        EXPECT_EQ(rig.Texts(rig.Node("C:\\")),
                  (QStringList{"documents", "Empty", "Program Files", "WINDOWS"}));
        ASSERT_TRUE(rig.Node(c.programFilesKey));
        EXPECT_EQ(rig.Node(c.programFilesKey)->text(0), "Program Files");
        EXPECT_EQ(m.currentPath(), c.current);
    }
}

TEST_F(WindowsTree, ExpandButtonsExactlyWhereSubfoldersExistAndOpeningTwiceAddsNothing) {
    FolderTree& m = rig.Make(false);
    m.loadDrives();
    QTreeWidgetItem* c = rig.Node("C:\\");
    EXPECT_EQ(rig.Node("C:\\WINDOWS\\")->childCount(), 0); // not read yet, and no placeholder
    m.expandNode(c);
    const int nodes = rig.CountNodes();
    const qsizetype reads = rig.fake.reads.size();
    m.expandNode(c);
    m.loadSubfolders("C:\\WINDOWS\\");
    EXPECT_EQ(rig.CountNodes(), nodes);
    EXPECT_EQ(rig.fake.reads.size(), reads);

    EXPECT_EQ(rig.Texts(rig.Node("C:\\WINDOWS\\")), (QStringList{"Fonts", "SYSTEM"}));
    EXPECT_EQ(rig.Texts(rig.Node("C:\\EMPTY\\")), QStringList{});
    EXPECT_TRUE(rig.Node("C:\\DOCUMENTS\\ΈΓΓΡΑΦΑ\\"));
    EXPECT_EQ(rig.Node("C:\\WINDOWS\\SYSTEM\\")->childCount(), 0); // one level ahead, no more
}

TEST_F(WindowsTree, SelectPathStopsAtTheDeepestPartFound) {
    struct Case {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        FolderTree& m = rig.Make(c.caseSensitive);
        EXPECT_EQ(m.selectPath(c.path), c.found);
        EXPECT_EQ(m.currentPath(), c.current);
    }
}

TEST_F(WindowsTree, NoDrivesAtAllIsAnEmptyTreeNotALoop) { // and an empty tree has no current path
    rig.fake.driveRoots.clear();
    FolderTree& m = rig.Make(false);
    EXPECT_FALSE(m.selectPath("C:\\WINDOWS"));
    EXPECT_EQ(m.currentPath(), "");
}

#ifndef Q_OS_WIN

// A real folder below the POSIX root, with entries of every kind.
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
        ASSERT_TRUE(QFile::link(d.filePath("program.exe"), d.filePath("linkToFile")));
        ASSERT_TRUE(QFile::link(d.filePath("nowhere"), d.filePath("brokenLink")));
    }
    QTemporaryDir tmp;
    QString root;
    TreeRig rig;
};

TEST_F(PosixTree, OneRootAndFullPathsJoinedWithOneSeparator) {
    FolderTree& m = rig.Make(true, true);
    ASSERT_TRUE(m.selectPath(root + "/a/b"));
    EXPECT_EQ(rig.Texts(), QStringList{"/"});
    EXPECT_TRUE(rig.Node("/"));
    EXPECT_EQ(m.currentPath(), root + "/a/b");
    ASSERT_TRUE(m.selectPath("/"));
    EXPECT_EQ(m.currentPath(), "/");
}

TEST_F(PosixTree, FoldersOnlyAndSiblingsThatDifferInCaseHideNothingElse) {
    struct Case {
        bool caseSensitive;
        QStringList children;
    } cases[] = {
        {true, {".hidden", "a", "Data", "data", "linked", "zeta"}},
        {false, {".hidden", "a", "Data", "linked", "zeta"}}, // Data and data share a key: the first stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caseSensitive);
        FolderTree& m = rig.Make(c.caseSensitive, true);
        ASSERT_TRUE(m.selectPath(root));
        EXPECT_EQ(rig.Texts(rig.Node(ApplyCaseRule(root + "/", c.caseSensitive))), c.children);
        // The case rule finds a folder whatever case the path is written in; the disk is still read
        // in the case it reports. The link leads on like a folder.
        EXPECT_TRUE(m.selectPath(c.caseSensitive ? root + "/linked/b" : root.toLower() + "/LINKED/B"));
        EXPECT_EQ(m.currentPath(), root + "/linked/b");
    }
}

// A folder named by bytes that are not UTF-8 is shown, entered and found again by its path.
TEST_F(PosixTree, FolderNamesThatAreNotUtf8CanBeOpened) {
    const QByteArray name = "caf\xE9";
    ASSERT_EQ(::mkdir((FileNameToBytes(root) + "/" + name).constData(), 0755), 0);
    ASSERT_EQ(::mkdir((FileNameToBytes(root) + "/" + name + "/inner").constData(), 0755), 0);
    FolderTree& m = rig.Make(true, true);
    const QString path = root + u'/' + FileNameFromBytes(name) + QStringLiteral("/inner");
    ASSERT_TRUE(m.selectPath(path));
    EXPECT_EQ(m.currentPath(), path);
    EXPECT_TRUE(rig.Texts(rig.Node(root + "/")).contains(FileNameFromBytes(name)));
    // The temporary folder's own clean-up cannot name these folders.
    ::rmdir((FileNameToBytes(root) + "/" + name + "/inner").constData());
    ::rmdir((FileNameToBytes(root) + "/" + name).constData());
}

TEST_F(PosixTree, UnreadableFolderIsSelectedButGetsNoChildren) {
    QDir(root).mkpath("locked/inner");
    ASSERT_TRUE(QFile::setPermissions(root + "/locked", QFile::Permissions()));
    ASSERT_TRUE(QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther));
    FolderTree& m = rig.Make(true, true);
    bool found = false;
    // Root reads every folder, so the tree is read as the unprivileged user "nobody".
    const bool asRoot = geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(setegid(65534), 0);
        ASSERT_EQ(seteuid(65534), 0);
    }
    found = m.selectPath(root + "/locked");
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
