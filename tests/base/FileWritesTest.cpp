// The programs' kinds of write — a setting, a recent path, an icon bitmap, an icon file of the window or of
// vesmarin-icons — under what a user's disk can hold: each writes its whole new content or leaves the old
// file exactly as it was, touches no file it did not create, and leaves no temporary file behind.

#include "base/PathText.h"
#include "base/ProfileFile.h"
#include "base/RunTimeError.h"
#include "browse/core/IconExport.h"
#include "platform/iconwriter/IconWriter.h"
#include "savedpaths/core/SavedPathsStore.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vesmarin {
namespace {

constexpr int kUnreported = -1; // a settings write fails silently

struct Writer {
    const char* name;
    const char* fileName;
    QByteArray old;
    std::function<int(const QString& file)> write; // 0, or the error number the user is shown
    std::function<bool(const QByteArray& content)> isNew;
    int fullDisk, readOnly, noFolder; // the error numbers of those failures
};

const QString kNewPath = QStringLiteral("/home/ann/a folder name long enough to overflow the old file");

const Writer kWriters[] = {
    {"setting", "Tembrill.ini", "[General]\nLanguage=0\n",
     [](const QString& file) {
         return WriteProfileString(QStringLiteral("General"), QStringLiteral("InitialPath"), kNewPath, file)
                    ? 0
                    : kUnreported;
     },
     [](const QByteArray& c) {
         return c == "[General]\nLanguage=0\nInitialPath=" + kNewPath.toUtf8() + "\n";
     },
     kUnreported, kUnreported, kUnreported},
    {"recent path", "SavedPaths.txt", "/old\r\n",
     [](const QString& file) { return SavePathAsNewest(file, kNewPath).errorNumber; },
     [](const QByteArray& c) { return c == kNewPath.toUtf8() + "\r\n/old\r\n"; }, 61, 70, 53},
    {"icon bitmap", "I0000005.bmp", "older",
     [](const QString& file) {
         QImage picture(32, 32, QImage::Format_RGB32);
         picture.fill(Qt::cyan);
         try {
             SaveBitmapFile(picture, file);
             return 0;
         } catch (const RunTimeError& e) {
             return e.number();
         }
     },
     [](const QByteArray& c) { return c.startsWith("BM") && c.size() > 32 * 32 * 3; }, 75, 75, 76},
    {"icon file", "app.exe-0.png", "older",
     [](const QString& file) {
         const iconwriter::Bytes png(100, 0x89);
         return iconwriter::writeFile(FileNameToBytes(file).toStdString(), png).errorNumber;
     },
     [](const QByteArray& c) { return c == QByteArray(100, '\x89'); }, EFBIG, EACCES, ENOENT},
};

// Names are bytes here, so that a folder whose name is not UTF-8 can be made and looked into.
QByteArray Bytes(const QString& path) {
    return FileNameToBytes(path);
}

QByteArray Content(const QString& file) {
    QByteArray bytes;
    if (FILE* f = std::fopen(Bytes(file).constData(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, static_cast<qsizetype>(n));
        std::fclose(f);
    }
    return bytes;
}

void Store(const QString& file, const QByteArray& bytes) {
    FILE* f = std::fopen(Bytes(file).constData(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), f);
    std::fclose(f);
}

std::set<std::string> Entries(const QString& folder) {
    std::set<std::string> names;
    if (DIR* d = ::opendir(Bytes(folder).constData())) {
        while (const dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.insert(e->d_name);
        ::closedir(d);
    }
    return names;
}

TEST(FileWrites, AllOrNothingWhateverTheDisk) {
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.name);
        const QString name = QString::fromUtf8(w.fileName);

        {
            SCOPED_TRACE("an old file is replaced whole");
            QTemporaryDir dir;
            const QString file = dir.filePath(name);
            Store(file, w.old);
            EXPECT_EQ(w.write(file), 0);
            EXPECT_TRUE(w.isNew(Content(file)));
            EXPECT_EQ(Entries(dir.path()), std::set<std::string>{w.fileName});
        }
        {
            SCOPED_TRACE("a folder whose name is not UTF-8");
            QTemporaryDir dir;
            const QString folder = dir.filePath(FileNameFromBytes("caf\xE9"));
            const QString file = folder + u'/' + name;
            ASSERT_EQ(::mkdir(Bytes(folder).constData(), 0700), 0);
            Store(file, w.old);
            EXPECT_EQ(w.write(file), 0);
            EXPECT_TRUE(w.isNew(Content(file)));
            EXPECT_EQ(Entries(folder), std::set<std::string>{w.fileName});
            ::unlink(Bytes(file).constData()); // the temporary folder cannot remove what it cannot name
            ::rmdir(Bytes(folder).constData());
        }
        {
            SCOPED_TRACE("a full disk keeps the old file");
            QTemporaryDir dir;
            const QString file = dir.filePath(name);
            Store(file, w.old);
            int error = 0;
            {
                test::FileSizeLimit full(static_cast<rlim_t>(w.old.size() / 2));
                error = w.write(file);
            }
            EXPECT_EQ(error, w.fullDisk);
            EXPECT_EQ(Content(file), w.old);
            EXPECT_EQ(Entries(dir.path()), std::set<std::string>{w.fileName});
        }
        {
            SCOPED_TRACE("a file made read-only is not changed, even by the super-user");
            QTemporaryDir dir;
            const QString file = dir.filePath(name);
            Store(file, w.old);
            ASSERT_EQ(::chmod(Bytes(file).constData(), 0444), 0);
            EXPECT_EQ(w.write(file), w.readOnly);
            EXPECT_EQ(Content(file), w.old);
            struct stat st {};
            ::stat(Bytes(file).constData(), &st);
            EXPECT_EQ(st.st_mode & 07777, 0444u);
            EXPECT_EQ(Entries(dir.path()), std::set<std::string>{w.fileName});
        }
        {
            SCOPED_TRACE("a link keeps working and a file beside its target is never touched");
            QTemporaryDir dir;
            const QString file = dir.filePath(name);
            test::WriteFile(dir.filePath(QStringLiteral("elsewhere/mine.txt")), w.old);
            test::WriteFile(dir.filePath(QStringLiteral("elsewhere/mine.bak")), "the user's own");
            ASSERT_TRUE(QFile::link(QStringLiteral("elsewhere/mine.txt"), file));
            EXPECT_EQ(w.write(file), 0);
            EXPECT_TRUE(QFileInfo(file).isSymLink());
            EXPECT_TRUE(w.isNew(Content(file)));
            EXPECT_EQ(Content(dir.filePath(QStringLiteral("elsewhere/mine.bak"))), "the user's own");
            EXPECT_EQ(Entries(dir.filePath(QStringLiteral("elsewhere"))),
                      (std::set<std::string>{"mine.bak", "mine.txt"}));
        }
        {
            SCOPED_TRACE("a missing folder: nothing is created");
            QTemporaryDir dir;
            EXPECT_EQ(w.write(dir.filePath(QStringLiteral("gone/") + name)), w.noFolder);
            EXPECT_TRUE(Entries(dir.path()).empty());
        }
    }
}

} // namespace
} // namespace vesmarin
