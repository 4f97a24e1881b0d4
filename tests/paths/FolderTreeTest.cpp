// The folder tree over a made-up Windows machine and over the real file system, and how it looks.

#include "paths/FolderTree.h"

#include "base/PathText.h"
#include "paths/FolderTreeWidget.h"
#include "paths/core/FolderSource.h"
#include "support/DarkDesktop.h"
#include "support/TestFiles.h"
#include "ui/Layout.h"

#include <QApplication>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace vesmarin {
namespace {

// Drives with "\": A: not ready, C: with a few folders, D: with one. It notes the folders it reads, so tests
// can see the one-level look-ahead.
class FakeFolderSource final : public FolderSource {
public:
    QStringList driveRoots{QStringLiteral("A:\\"), QStringLiteral("C:\\"), QStringLiteral("D:\\")};
    mutable QStringList reads;

    FakeFolderSource() {
        for (const char* folder :
             {"C:\\Program Files\\Common Files", "C:\\Program Files\\Vesmarin", "C:\\WINDOWS\\SYSTEM",
              "C:\\WINDOWS\\Fonts", "C:\\Empty", "C:\\documents\\Έγγραφα", "D:\\zeta"})
            add(QString::fromUtf8(folder));
    }
    // Adds a folder and every folder above it, e.g. "C:\WINDOWS\SYSTEM".
    void add(const QString& path) {
        for (QString p = RemoveSeparator(path, u'\\'); p.contains(u'\\'); p = p.left(p.lastIndexOf(u'\\')))
            folders_.insert(p);
    }

    QChar separator() const override { return u'\\'; }
    QStringList drives() const override { return driveRoots; }
    QString systemDrive() const override { return QStringLiteral("c:\\"); }
    std::optional<QStringList> subfolders(const QString& folder) const override {
        reads << folder;
        if (folder == QStringLiteral("A:\\") ||
            !(driveRoots.contains(folder) || folders_.contains(RemoveSeparator(folder, u'\\'))))
            return std::nullopt;
        QStringList names;
        for (const QString& f : folders_)
            if (f.startsWith(folder) && f.indexOf(u'\\', folder.size()) < 0)
                names << f.mid(folder.size());
        return names;
    }

private:
    QSet<QString> folders_;
};

struct TreeRig {
    FakeFolderSource fake;
    SystemFolderSource real;
    FolderTreeWidget tvwControl;
    std::unique_ptr<FolderTree> manager;

    FolderTree& Make(bool caseSensitive, bool useRealDisk = false) {
        tvwControl.clear();
        manager =
            std::make_unique<FolderTree>(tvwControl, useRealDisk ? static_cast<const FolderSource&>(real)
                                                                 : static_cast<const FolderSource&>(fake));
        manager->setCaseSensitive(caseSensitive);
        return *manager;
    }

    // The texts of the children of `node`, or of the top level when node is null.
    QStringList Texts(const QTreeWidgetItem* node = nullptr) const {
        QStringList texts;
        const int n = node ? node->childCount() : tvwControl.topLevelItemCount();
        for (int i = 0; i < n; ++i)
            texts << (node ? node->child(i) : tvwControl.topLevelItem(i))->text(0);
        return texts;
    }
    QTreeWidgetItem* Node(const QString& key) const { return manager->findNode(key); }
};

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

// What the user sees, even under a dark desktop palette: the pale-cyan background, folder names in a colour
// that reads on it, dotted lines joining the folders and a boxed button beside each folder that has
// subfolders, which the desktop's own style may not draw.
TEST(TreeLook, PaleCyanBackgroundReadableNamesLinesAndExpandButtons) {
    test::DarkDesktop desktop;
    TreeRig rig;
    FolderTree& m = rig.Make(false);
    m.setBackground(kPaleCyan);
    ASSERT_TRUE(m.selectPath("C:\\WINDOWS\\SYSTEM"));
    rig.tvwControl.resize(3132 / 15, 3732 / 15);
    rig.tvwControl.show();
    QApplication::processEvents();
    const QImage shot = rig.tvwControl.viewport()->grab().toImage();

    EXPECT_EQ(shot.pixelColor(shot.width() - 2, shot.height() - 2), kPaleCyan);
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        EXPECT_GE(Contrast(rig.tvwControl.palette().color(group, QPalette::Text), kPaleCyan), 4.5);

    const auto isLine = [&](int x, int y) { return shot.pixelColor(x, y).lightness() < 180; };
    const int indent = rig.tvwControl.indentation();
    const QRect documents = rig.tvwControl.visualItemRect(rig.Node("C:\\DOCUMENTS\\"));
    const QRect windows = rig.tvwControl.visualItemRect(rig.Node("C:\\WINDOWS\\"));
    // The line from C: down to D: passes the rows of C:'s folders, in the first indentation column.
    int linePixels = 0;
    for (int y = documents.top(); y < windows.bottom(); ++y)
        linePixels += isLine(indent / 2, y);
    EXPECT_GT(linePixels, (windows.bottom() - documents.top()) / 3) << "no tree line";
    // A boxed button beside "documents", which has a subfolder: both side walls of the box and its sign.
    const int cx = indent + indent / 2;
    const int cy = documents.center().y();
    EXPECT_TRUE(isLine(cx - 4, cy) && isLine(cx + 4, cy) && isLine(cx, cy)) << "no expand button";
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
