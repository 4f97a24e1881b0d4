// The folder tree over a made-up Windows machine and over the real file system, and how it looks.

#include "paths/FolderTree.h"

#include "base/PathText.h"
#include "paths/FolderTreeWidget.h"
#include "support/DarkDesktop.h"
#include "support/TestFiles.h"
#include "ui/Layout.h"

#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <tuple>
#include <unistd.h>

namespace vesmarin {
namespace {

// Drives with "\": A: not ready, C: with a few folders, D: with one. It notes the folders it reads, so tests
// can see the one-level look-ahead.
struct FakeFolderSource final : FolderSource {
    QStringList driveRoots{"A:\\", "C:\\", "D:\\"};
    QStringList folders =
        QString::fromUtf8("C:\\|C:\\Program Files\\|C:\\Program Files\\Common Files\\|"
                          "C:\\Program Files\\Vesmarin\\|C:\\WINDOWS\\|C:\\WINDOWS\\SYSTEM\\|"
                          "C:\\WINDOWS\\Fonts\\|C:\\Empty\\|C:\\documents\\|"
                          "C:\\documents\\Έγγραφα\\|D:\\|D:\\zeta\\")
            .split(u'|');
    mutable QStringList reads;

    QChar separator() const override { return u'\\'; }
    QStringList drives() const override { return driveRoots; }
    QString systemDrive() const override { return QStringLiteral("c:\\"); }
    std::optional<QStringList> subfolders(const QString& folder) const override {
        reads << folder;
        if (!folders.contains(folder))
            return std::nullopt;
        QStringList names;
        for (const QString& f : folders)
            if (f.startsWith(folder) && f.indexOf(u'\\', folder.size()) == f.size() - 1)
                names << f.mid(folder.size()).chopped(1);
        return names;
    }
};

struct TreeRig {
    FakeFolderSource fake;
    SystemFolderSource real;
    FolderTreeWidget tvwControl;
    std::unique_ptr<FolderTree> manager;

    FolderTree& Make(bool caseSensitive, bool useRealDisk = false) {
        tvwControl.clear();
        manager = std::make_unique<FolderTree>(tvwControl,
                                               useRealDisk ? static_cast<const FolderSource&>(real) : fake);
        manager->setCaseSensitive(caseSensitive);
        return *manager;
    }
    // The texts of the children of `node`, or of the top level when node is null.
    QStringList Texts(const QTreeWidgetItem* node = nullptr) {
        QStringList texts;
        node = node ? node : tvwControl.invisibleRootItem();
        for (int i = 0; i < node->childCount(); ++i)
            texts << node->child(i)->text(0);
        return texts;
    }
    QTreeWidgetItem* Node(const QString& key) const { return manager->findNode(key); }
};

// Drives in drive order, each read once with its first level; then opening a folder reads one level below
// each of its subfolders, no more, and opening it again reads nothing.
TEST(WindowsTree, DrivesWithTheirFirstLevelThenOneLevelAheadOfWhatIsOpened) {
    for (const bool caseSensitive : {false, true}) {
        TreeRig rig;
        FolderTree& m = rig.Make(caseSensitive);
        const auto node = [&](const char* path) { return rig.Node(ApplyCaseRule(path, caseSensitive)); };
        rig.fake.reads.clear();
        m.loadDrives();
        EXPECT_EQ(rig.Texts(), (QStringList{"A:", "C:", "D:"}));
        EXPECT_EQ(rig.fake.reads, (QStringList{"A:\\", "C:\\", "D:\\"}));
        EXPECT_EQ(rig.Texts(node("A:\\")), QStringList{}); // not ready
        // Sorted as people read them, whatever the case; names keep their own case, keys follow the rule.
        EXPECT_EQ(rig.Texts(node("C:\\")), (QStringList{"documents", "Empty", "Program Files", "WINDOWS"}));
        ASSERT_TRUE(rig.Node(caseSensitive ? "C:\\Program Files\\" : "C:\\PROGRAM FILES\\"));
        // With the case rule the system drive "c:\" matches no drive, and stays as it is.
        EXPECT_EQ(m.currentPath(), caseSensitive ? "c:" : "C:");

        EXPECT_EQ(node("C:\\WINDOWS\\")->childCount(), 0); // not read yet, and no placeholder
        m.expandNode(node("C:\\"));
        const qsizetype reads = rig.fake.reads.size();
        m.expandNode(node("C:\\"));
        m.loadSubfolders(ApplyCaseRule("C:\\WINDOWS\\", caseSensitive));
        EXPECT_EQ(rig.fake.reads.size(), reads);
        EXPECT_EQ(rig.Texts(node("C:\\")).size(), 4);
        EXPECT_EQ(rig.Texts(node("C:\\WINDOWS\\")), (QStringList{"Fonts", "SYSTEM"}));
        EXPECT_EQ(rig.Texts(node("C:\\Empty\\")), QStringList{});
        EXPECT_TRUE(node("C:\\documents\\Έγγραφα\\"));
        EXPECT_EQ(node("C:\\WINDOWS\\SYSTEM\\")->childCount(), 0); // one level ahead, no more
    }
}

TEST(WindowsTree, SelectPathStopsAtTheDeepestPartFound) {
    // The case rule, the path, whether it was found and the path current then; Q: is no drive, and the
    // selection stays.
    const std::tuple<bool, const char*, bool, const char*> cases[] = {
        {false, "c:\\windows\\system", true, "C:\\WINDOWS\\SYSTEM"},
        {false, "C:\\Program Files\\Missing", false, "C:\\Program Files"},
        {true, "C:\\program files\\Vesmarin", false, "C:"},
        {false, "Q:\\Data", false, "C:"}};
    for (const auto& [caseSensitive, path, found, current] : cases) {
        TreeRig rig;
        FolderTree& m = rig.Make(caseSensitive);
        EXPECT_EQ(m.selectPath(path), found) << path;
        EXPECT_EQ(m.currentPath(), current) << path;
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
    const int cx = indent + indent / 2, cy = documents.center().y();
    EXPECT_TRUE(isLine(cx - 4, cy) && isLine(cx + 4, cy) && isLine(cx, cy)) << "no expand button";
}

#ifndef Q_OS_WIN

// A real folder below the POSIX root, with entries of every kind: one root, full paths joined with one
// separator; folders only (a link to a folder leads on like one), and siblings that differ in case hide
// nothing else. A folder that cannot be read is selected but gets no children.
TEST(PosixTree, OneRootFoldersOnlyTheCaseRuleAndUnreadableFolders) {
    QTemporaryDir tmp;
    const QString root = QDir(tmp.path()).canonicalPath();
    QDir d(root);
    for (const char* sub : {"Data/inner", "data/other", "zeta", ".hidden", "a/b/c", "locked/inner"})
        ASSERT_TRUE(d.mkpath(sub));
    test::WriteFile(d.filePath("program.exe"));
    for (const auto& [to, link] :
         {std::pair{"a", "linked"}, {"program.exe", "linkToFile"}, {"nowhere", "broken"}})
        ASSERT_TRUE(QFile::link(d.filePath(to), d.filePath(link)));
    TreeRig rig;
    // Without the case rule Data and data share a key: the first stays.
    const std::pair<bool, QStringList> cases[] = {
        {true, {".hidden", "a", "Data", "data", "linked", "locked", "zeta"}},
        {false, {".hidden", "a", "Data", "linked", "locked", "zeta"}}};
    for (const auto& [caseSensitive, children] : cases) {
        SCOPED_TRACE(caseSensitive);
        FolderTree& m = rig.Make(caseSensitive, true);
        ASSERT_TRUE(m.selectPath(root));
        EXPECT_EQ(rig.Texts(), QStringList{"/"});
        EXPECT_EQ(rig.Texts(rig.Node(ApplyCaseRule(root + "/", caseSensitive))), children);
        // The case rule finds a folder whatever case the path is written in; the disk is still read in the
        // case it reports.
        EXPECT_TRUE(m.selectPath(caseSensitive ? root + "/linked/b" : root.toLower() + "/LINKED/B"));
        EXPECT_EQ(m.currentPath(), root + "/linked/b");
        ASSERT_TRUE(m.selectPath("/"));
        EXPECT_EQ(m.currentPath(), "/");
    }

    ASSERT_TRUE(QFile::setPermissions(root + "/locked", QFile::Permissions()));
    ASSERT_TRUE(QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther));
    FolderTree& m = rig.Make(true, true);
    // Root reads every folder, so the tree is read as the unprivileged user "nobody".
    const bool asRoot = geteuid() == 0;
    ASSERT_TRUE(!asRoot || (setegid(65534) == 0 && seteuid(65534) == 0));
    const bool found = m.selectPath(root + "/locked");
    ASSERT_TRUE(!asRoot || (seteuid(0) == 0 && setegid(0) == 0));
    QFile::setPermissions(root + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(found);
    ASSERT_TRUE(rig.Node(root + "/locked/"));
    EXPECT_EQ(rig.Node(root + "/locked/")->childCount(), 0);
}

#endif

} // namespace
} // namespace vesmarin
