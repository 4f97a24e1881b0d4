// The folder tree over a made-up Windows machine and over the real file system, and how it looks.

#include "paths/FolderTree.h"

#include "base/PathText.h"
#include "paths/FolderTreeWidget.h"
#include "support/DarkDesktop.h"
#include "support/TestFiles.h"
#include "ui/Layout.h"

#include <QTemporaryDir>
#include <unistd.h>

namespace vesmarin {
namespace {

// Drives with "\": A: not ready, C: with a few folders, D: with none; a folder not listed is empty. It notes
// the folders it reads, so tests can see the one-level look-ahead.
struct FakeFolderSource final : FolderSource {
    QMap<QString, QStringList> folders{{"C:\\", {"WINDOWS", "Program Files", "documents", "Empty"}},
                                       {"C:\\WINDOWS\\", {"SYSTEM", "Fonts"}},
                                       {"C:\\documents\\", {"Έγγραφα"}},
                                       {"D:\\", {}}};
    mutable QStringList reads;

    QChar separator() const override { return u'\\'; }
    QStringList drives() const override { return {"A:\\", "C:\\", "D:\\"}; }
    QString systemDrive() const override { return QStringLiteral("c:\\"); }
    std::optional<QStringList> subfolders(const QString& folder) const override {
        reads << folder;
        return folders.contains(folder) || folder.size() > 3 ? std::optional(folders.value(folder))
                                                             : std::nullopt;
    }
};

struct TreeRig {
    FakeFolderSource fake;
    SystemFolderSource real;
    FolderTreeWidget tvwControl;
    std::unique_ptr<FolderTree> tree;

    // A new tree over `source`, the made-up machine when none is given.
    FolderTree& Make(bool caseSensitive, const FolderSource* source = nullptr) {
        tvwControl.clear();
        tree = std::make_unique<FolderTree>(tvwControl, source ? *source : fake);
        tree->setCaseSensitive(caseSensitive);
        return *tree;
    }
    // The texts of the children of the node with `key`, or of the top level.
    QStringList Texts(const QString& key = {}) const {
        QStringList texts;
        const QTreeWidgetItem* node = key.isEmpty() ? tvwControl.invisibleRootItem() : tree->findNode(key);
        for (int i = 0; node && i < node->childCount(); ++i)
            texts << node->child(i)->text(0);
        return texts;
    }
};

// Drives in drive order, each read once with its first level, sorted as people read them whatever the case;
// names keep their own case, keys follow the case rule. Opening a folder reads one level below each of its
// subfolders, no more, and opening it again reads nothing.
TEST(WindowsTree, DrivesWithTheirFirstLevelThenOneLevelAheadOfWhatIsOpened) {
    for (const bool caseSensitive : {false, true}) {
        TreeRig rig;
        FolderTree& m = rig.Make(caseSensitive);
        const auto key = [&](const char* path) { return ApplyCaseRule(path, caseSensitive); };
        m.loadDrives();
        // With the case rule the system drive "c:\" matches no drive, and stays as it is.
        EXPECT_EQ(std::tuple(rig.Texts(), rig.Texts(key("A:\\")), rig.Texts(key("C:\\")), m.currentPath()),
                  std::tuple(QStringList{"A:", "C:", "D:"}, QStringList{},
                             QStringList{"documents", "Empty", "Program Files", "WINDOWS"},
                             caseSensitive ? "c:" : "C:"));
        EXPECT_EQ(rig.Texts(key("C:\\WINDOWS\\")), QStringList{}); // not read yet, and no placeholder
        m.expandNode(rig.tree->findNode(key("C:\\")));
        m.expandNode(rig.tree->findNode(key("C:\\")));
        m.loadSubfolders(key("C:\\WINDOWS\\"));
        EXPECT_EQ(rig.Texts(key("C:\\WINDOWS\\")), (QStringList{"Fonts", "SYSTEM"}));
        EXPECT_EQ(rig.Texts(key("C:\\documents\\")), QStringList{"Έγγραφα"});
        EXPECT_EQ(rig.fake.reads, (QStringList{"A:\\", "C:\\", "D:\\", "C:\\documents\\", "C:\\Empty\\",
                                               "C:\\Program Files\\", "C:\\WINDOWS\\"}))
            << "once each, one level ahead";
    }
}

// What the user sees, even under a dark desktop palette: folder names in a colour that reads on the pale
// cyan, and a boxed button beside each folder that has subfolders, which the desktop's own style may not
// draw. (The window's test checks the background.)
TEST(TreeLook, ReadableNamesAndExpandButtonsUnderADarkPalette) {
    test::DarkDesktop desktop;
    TreeRig rig;
    rig.Make(false).setBackground(kPaleCyan);
    ASSERT_TRUE(rig.tree->selectPath("C:\\WINDOWS\\SYSTEM"));
    rig.tvwControl.show();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        EXPECT_GE(Contrast(rig.tvwControl.palette().color(group, QPalette::Text), kPaleCyan), 4.5);
    // Beside "documents", which has a subfolder: both side walls of the box and its sign.
    const QImage shot = rig.tvwControl.viewport()->grab().toImage();
    const auto isLine = [&](int x, int y) { return shot.pixelColor(x, y).lightness() < 180; };
    const int x = rig.tvwControl.indentation() * 3 / 2;
    const int y = rig.tvwControl.visualItemRect(rig.tree->findNode("C:\\DOCUMENTS\\")).center().y();
    EXPECT_TRUE(isLine(x - 4, y) && isLine(x + 4, y) && isLine(x, y)) << "no expand button";
}

#ifndef Q_OS_WIN

// A real folder below the POSIX root, with entries of every kind: one root, full paths joined with one
// separator; folders only (a link to a folder leads on like one), and siblings that differ in case hide
// nothing else. A folder that cannot be read is selected but gets no children.
TEST(PosixTree, OneRootFoldersOnlyTheCaseRuleAndUnreadableFolders) {
    QTemporaryDir tmp;
    const QString root = QDir(tmp.path()).canonicalPath();
    for (const char* sub : {"Data/inner", "data/other", "zeta", ".hidden", "a/b/c", "locked/inner"})
        ASSERT_TRUE(QDir(root).mkpath(sub));
    test::WriteFile(root + "/program.exe");
    for (const auto& [to, link] :
         {std::pair{"a", "linked"}, {"program.exe", "linkToFile"}, {"nowhere", "broken"}})
        ASSERT_TRUE(QFile::link(root + '/' + to, root + '/' + link));
    TreeRig rig;
    // Without the case rule Data and data share a key: the first stays.
    const std::pair<bool, QStringList> cases[] = {
        {true, {".hidden", "a", "Data", "data", "linked", "locked", "zeta"}},
        {false, {".hidden", "a", "Data", "linked", "locked", "zeta"}}};
    for (const auto& [caseSensitive, children] : cases) {
        FolderTree& m = rig.Make(caseSensitive, &rig.real);
        ASSERT_TRUE(m.selectPath(root));
        EXPECT_EQ(std::tuple(rig.Texts(), rig.Texts(ApplyCaseRule(root + "/", caseSensitive))),
                  std::tuple(QStringList{"/"}, children));
        // The case rule finds a folder whatever case the path is written in; the disk is still read in the
        // case it reports.
        EXPECT_TRUE(m.selectPath(caseSensitive ? root + "/linked/b" : root.toLower() + "/LINKED/B"));
        EXPECT_EQ(m.currentPath(), root + "/linked/b");
    }

    ASSERT_TRUE(QFile::setPermissions(root + "/locked", QFile::Permissions()));
    ASSERT_TRUE(QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther));
    FolderTree& m = rig.Make(true, &rig.real);
    // Root reads every folder, so the tree is read as the unprivileged user "nobody".
    const bool asRoot = geteuid() == 0;
    ASSERT_TRUE(!asRoot || (setegid(65534) == 0 && seteuid(65534) == 0));
    const bool found = m.selectPath(root + "/locked");
    ASSERT_TRUE(!asRoot || (seteuid(0) == 0 && setegid(0) == 0));
    QFile::setPermissions(root + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(found && rig.tree->findNode(root + "/locked/") && rig.Texts(root + "/locked/").isEmpty());
}

#endif

} // namespace
} // namespace vesmarin
