#include "AsNobody.h"
#include "paths/FolderSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

#ifndef Q_OS_WIN

TEST(SystemFolderSource, PosixHasOneDriveTheRoot) {
    SystemFolderSource source;
    EXPECT_EQ(source.drives(), QStringList{"/"});
    EXPECT_EQ(source.systemDrive(), "/");
    EXPECT_EQ(source.separator(), u'/');
}

TEST(SystemFolderSource, ListsFoldersHiddenFoldersAndLinksToFoldersOnly) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QDir d(tmp.path());
    for (const char* sub : {"Data", "data", ".hidden", "Ελληνικά", "with space"})
        ASSERT_TRUE(d.mkdir(sub));
    QFile file(d.filePath("file.exe"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QFile::link(d.filePath("Data"), d.filePath("linkToFolder")));
    ASSERT_TRUE(QFile::link(d.filePath("file.exe"), d.filePath("linkToFile")));
    ASSERT_TRUE(QFile::link(d.filePath("nowhere"), d.filePath("brokenLink")));
    ASSERT_EQ(mkfifo(QFile::encodeName(d.filePath("pipe")).constData(), 0600), 0);

    SystemFolderSource source;
    std::optional<QStringList> names = source.subfolders(tmp.path() + "/");
    ASSERT_TRUE(names);
    names->sort();
    EXPECT_EQ(*names, (QStringList{".hidden", "Data", "data", "linkToFolder", "with space", "Ελληνικά"}));
    EXPECT_TRUE(source.canList(tmp.path() + "/"));
}

TEST(SystemFolderSource, UnreadableFolderGivesNothing) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    SystemFolderSource source;
    EXPECT_FALSE(source.subfolders(tmp.path() + "/gone/"));
    EXPECT_FALSE(source.canList(tmp.path() + "/gone/"));

    QDir(tmp.path()).mkpath("locked/inner");
    const QString locked = tmp.path() + "/locked/";
    ASSERT_TRUE(QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                      QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::Permissions()));
    std::optional<QStringList> names;
    bool listable = true;
    {
        test::AsNobody nobody;
        EXPECT_TRUE(source.subfolders(tmp.path() + "/")) << "the folder above stays readable";
        names = source.subfolders(locked);
        listable = source.canList(locked);
    }
    EXPECT_FALSE(names);
    EXPECT_FALSE(listable);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

#endif

} // namespace
} // namespace vesmarin
