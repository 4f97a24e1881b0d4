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
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vesmarin {
namespace {

constexpr int kUnreported = -1; // a settings write fails silently
constexpr int kByKind = -2;     // EISDIR for a folder in the file's place, EINVAL for anything else

struct Writer {
    const char* fileName;
    QByteArray old;
    std::function<int(const QString& file)> write; // 0, or the error number the user is shown
    QByteArray mark;                               // what the new content holds and the old one does not
    int fullDisk, readOnly, noFolder, notAFile;    // the error numbers of those failures
};

const QString kNewPath = QStringLiteral("/home/ann/a folder name long enough to overflow the old file");

const Writer kWriters[] = {
    {"Tembrill.ini", "[General]\nLanguage=0\n",
     [](const QString& file) {
         const bool ok =
             WriteProfileString(QStringLiteral("General"), QStringLiteral("InitialPath"), kNewPath, file);
         return ok ? 0 : kUnreported;
     },
     "\nInitialPath=" + kNewPath.toUtf8() + "\n", kUnreported, kUnreported, kUnreported, kUnreported},
    {"SavedPaths.txt", "/old\r\n",
     [](const QString& file) { return SavePathAsNewest(file, kNewPath).errorNumber; },
     kNewPath.toUtf8() + "\r\n", 61, 70, 53, 75},
    {"I0000005.bmp", "older",
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
     "BM", 75, 75, 76, 75},
    {"app.exe-0.png", "older",
     [](const QString& file) {
         return iconwriter::writeFile(FileNameToBytes(file).toStdString(), iconwriter::Bytes(100, 0x89))
             .errorNumber;
     },
     QByteArray(100, '\x89'), EFBIG, EACCES, ENOENT, kByKind},
};

// Names are bytes here, so that a folder whose name is not UTF-8 can be made and looked into.
std::string Native(const QString& path) {
    return FileNameToBytes(path).toStdString();
}

QByteArray Content(const QString& file) {
    std::ifstream in(Native(file), std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
}

struct stat Stat(const QString& file) {
    struct stat st {};
    ::stat(Native(file).c_str(), &st);
    return st;
}

std::set<std::string> Entries(const QString& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(Native(folder), ec))
        names.insert(e.path().filename().string());
    return names;
}

// Runs the write in a thread of its own. Should it wait on a FIFO at `file`, the FIFO's other end is opened
// and closed until the write returns, and the test fails.
int WithoutWaiting(const Writer& w, const QString& file) {
    auto done = std::async(std::launch::async, w.write, file);
    EXPECT_EQ(done.wait_for(std::chrono::seconds(5)), std::future_status::ready)
        << "the write waited on a FIFO";
    while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
        ::close(::open(Native(file).c_str(), O_WRONLY | O_NONBLOCK));
    return done.get();
}

TEST(FileWrites, AllOrNothingWhateverTheDisk) {
    const mode_t umask = ::umask(0);
    ::umask(umask);
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.fileName);
        const QString name = QString::fromUtf8(w.fileName);
        const std::set<std::string> justTheFile{w.fileName};

        // An old file is replaced whole, or on a full disk or made read-only (even for the super-user) kept
        // as it was; either way it keeps its permissions and, for root, its owner.
        for (const int kind : {0, 1, 2}) { // replaced, a full disk, read-only
            SCOPED_TRACE(kind);
            QTemporaryDir dir;
            const QString file = dir.filePath(name);
            test::WriteFile(file, w.old);
            const mode_t mode = kind == 2 ? 0444 : 0640;
            const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
            ASSERT_EQ(::chmod(Native(file).c_str(), mode) | ::chown(Native(file).c_str(), owner, gid_t(-1)),
                      0);
            const int error = [&] {
                test::FileSizeLimit full(kind == 1 ? static_cast<rlim_t>(w.old.size() / 2) : RLIM_INFINITY);
                return w.write(file);
            }();
            EXPECT_EQ(error, kind == 0 ? 0 : kind == 1 ? w.fullDisk : w.readOnly);
            EXPECT_EQ(Content(file).contains(w.mark) ? "new" : Content(file), kind == 0 ? "new" : w.old);
            EXPECT_EQ(std::tuple(Stat(file).st_mode & 07777, Stat(file).st_uid), std::tuple(mode, owner));
            EXPECT_EQ(Entries(dir.path()), justTheFile);
        }
        {
            SCOPED_TRACE("a new file, in a folder whose name is not UTF-8, gets the usual permissions");
            QTemporaryDir dir;
            const QString folder = dir.filePath(FileNameFromBytes("caf\xE9"));
            const QString file = folder + u'/' + name;
            ASSERT_EQ(::mkdir(Native(folder).c_str(), 0700), 0);
            EXPECT_EQ(w.write(file), 0);
            EXPECT_TRUE(Content(file).contains(w.mark));
            EXPECT_EQ(Stat(file).st_mode & 07777, 0666u & ~umask);
            EXPECT_EQ(Entries(folder), justTheFile);
            ::unlink(Native(file).c_str()); // the temporary folder cannot remove what it cannot name
            ::rmdir(Native(folder).c_str());
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
            EXPECT_TRUE(Content(file).contains(w.mark));
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
        for (const bool fifo : {false, true}) {
            SCOPED_TRACE(fifo ? "a FIFO in the file's place is neither waited on nor replaced"
                              : "a folder in the file's place is left alone");
            QTemporaryDir dir;
            const QString file = dir.filePath(name);
            ASSERT_EQ(fifo ? ::mkfifo(Native(file).c_str(), 0600) : ::mkdir(Native(file).c_str(), 0700), 0);
            EXPECT_EQ(WithoutWaiting(w, file), w.notAFile != kByKind ? w.notAFile : fifo ? EINVAL : EISDIR);
            EXPECT_EQ(S_ISFIFO(Stat(file).st_mode), fifo);
            EXPECT_EQ(Entries(dir.path()), justTheFile);
        }
    }
}

} // namespace
} // namespace vesmarin
