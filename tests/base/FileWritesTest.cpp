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

#include <QImage>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace vesmarin {
namespace {

constexpr int kSilent = -1; // a settings write fails silently
constexpr int kByKind = -2; // EISDIR for a folder in the file's place, EINVAL for anything else
const QString kNewPath = QStringLiteral("/home/ann/a folder name long enough to overflow the old file");
const iconwriter::Bytes kPng(100, 0x89);

struct Writer {
    const char* fileName;
    QByteArray old, mark; // the old content; what the new content holds and the old one does not
    std::function<int(const QString& file)> write; // 0, or the error number the user is shown
    int fullDisk, readOnly, noFolder, notAFile;    // the error numbers of those failures
};

// Names are bytes here, so that a folder whose name is not UTF-8 can be made and looked into.
std::string Native(const QString& path) {
    return FileNameToBytes(path).toStdString();
}

const Writer kWriters[] = {
    {"Tembrill.ini", "[General]\nLanguage=0\n", "\nInitialPath=" + kNewPath.toUtf8() + "\n",
     [](const QString& f) { return WriteProfileString("General", "InitialPath", kNewPath, f) ? 0 : kSilent; },
     kSilent, kSilent, kSilent, kSilent},
    {"SavedPaths.txt", "/old\r\n", kNewPath.toUtf8() + "\r\n",
     [](const QString& file) { return SavePathAsNewest(file, kNewPath).errorNumber; }, 61, 70, 53, 75},
    {"I0000005.bmp", "older", "BM",
     [](const QString& file) {
         QImage picture(32, 32, QImage::Format_RGB32);
         picture.fill(Qt::cyan);
         try {
             return SaveBitmapFile(picture, file), 0;
         } catch (const RunTimeError& e) {
             return e.number();
         }
     },
     75, 75, 76, 75},
    {"app.exe-0.png", "older", QByteArray(100, '\x89'),
     [](const QString& f) { return iconwriter::writeFile(Native(f), kPng).errorNumber; }, EFBIG, EACCES,
     ENOENT, kByKind},
};

// Whether the file holds the new content; else what it holds.
QByteArray Content(const QString& file, const QByteArray& mark) {
    std::ifstream in(Native(file), std::ios::binary);
    const QByteArray content = QByteArray::fromStdString({std::istreambuf_iterator<char>(in), {}});
    return content.contains(mark) ? "new" : content;
}

// The file's permissions (with its kind, unless it is a plain file) and owner, and the names in its folder.
std::tuple<mode_t, uid_t, std::set<std::string>> State(const QString& file) {
    struct stat st {};
    ::stat(Native(file).c_str(), &st);
    std::set<std::string> names;
    for (const auto& e :
         std::filesystem::directory_iterator(std::filesystem::path(Native(file)).parent_path()))
        names.insert(e.path().filename().string());
    return {st.st_mode & ~S_IFREG, st.st_uid, names};
}

TEST(FileWrites, AllOrNothingWhateverTheDisk) {
    const mode_t umask = ::umask(0);
    ::umask(umask);
    const uid_t me = ::geteuid(), owner = me == 0 ? 65534 : me;
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.fileName);
        const std::set<std::string> justTheFile{w.fileName};
        // An old file is replaced whole, or on a full disk or made read-only (even for the super-user) kept
        // as it was; either way it keeps its permissions and, for root, its owner.
        for (const int kind : {0, 1, 2}) { // replaced, a full disk, read-only
            SCOPED_TRACE(kind);
            QTemporaryDir dir;
            const QString file = dir.filePath(w.fileName);
            test::WriteFile(file, w.old);
            const mode_t mode = kind == 2 ? 0444 : 0640;
            ASSERT_EQ(::chmod(Native(file).c_str(), mode) | ::chown(Native(file).c_str(), owner, gid_t(-1)),
                      0);
            std::optional<test::FileSizeLimit> full;
            if (kind == 1)
                full.emplace(w.old.size() / 2);
            const int error = w.write(file);
            const int errors[] = {0, w.fullDisk, w.readOnly};
            EXPECT_EQ(std::tuple(error, Content(file, w.mark)),
                      std::tuple(errors[kind], kind ? w.old : "new"));
            EXPECT_EQ(State(file), std::tuple(mode, owner, justTheFile));
        }
        // A new file, in a folder whose name is not UTF-8, gets the usual permissions.
        QTemporaryDir dir;
        const QString file = dir.filePath(FileNameFromBytes("caf\xE9/")) + w.fileName;
        ASSERT_EQ(::mkdir(std::filesystem::path(Native(file)).parent_path().c_str(), 0700), 0);
        EXPECT_EQ(w.write(file), 0);
        EXPECT_EQ(Content(file, w.mark), "new");
        EXPECT_EQ(State(file), std::tuple(0666 & ~umask, me, justTheFile));
        // The temporary folder cannot remove what it cannot name.
        std::filesystem::remove_all(Native(dir.path()));
        // A link keeps working and a file beside its target is never touched.
        QTemporaryDir linked;
        const QString link = linked.filePath(w.fileName);
        const QString bak = linked.filePath("elsewhere/mine.bak");
        test::WriteFile(linked.filePath("elsewhere/mine.txt"), w.old);
        test::WriteFile(bak, "the user's own");
        ASSERT_TRUE(QFile::link("elsewhere/mine.txt", link));
        EXPECT_EQ(w.write(link), 0);
        EXPECT_EQ(std::tuple(Content(link, w.mark), QFileInfo(link).isSymLink()), std::tuple("new", true));
        EXPECT_EQ(std::tuple(test::ReadFile(bak), get<2>(State(bak))),
                  std::tuple("the user's own", std::set<std::string>{"mine.bak", "mine.txt"}));
        // A missing folder: nothing is created.
        QTemporaryDir empty;
        EXPECT_EQ(w.write(empty.filePath("gone/") + w.fileName), w.noFolder);
        EXPECT_EQ(get<2>(State(empty.filePath("file"))), std::set<std::string>{});
        // A FIFO in the file's place is neither waited on nor replaced, and a folder there is left alone. The
        // write runs in a thread of its own: should it wait on the FIFO, its other end is opened and closed
        // until the write returns, and the test fails.
        for (const bool fifo : {false, true}) {
            QTemporaryDir in;
            const QString spot = in.filePath(w.fileName);
            ASSERT_EQ(fifo ? ::mkfifo(Native(spot).c_str(), 0600) : ::mkdir(Native(spot).c_str(), 0700), 0);
            auto done = std::async(std::launch::async, w.write, spot);
            EXPECT_EQ(done.wait_for(std::chrono::seconds(5)), std::future_status::ready)
                << "waited on a FIFO";
            while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
                ::close(::open(Native(spot).c_str(), O_WRONLY | O_NONBLOCK));
            EXPECT_EQ(done.get(), w.notAFile != kByKind ? w.notAFile : fifo ? EINVAL : EISDIR);
            EXPECT_EQ(State(spot), std::tuple(fifo ? S_IFIFO | 0600 : S_IFDIR | 0700, me, justTheFile));
        }
    }
}

} // namespace
} // namespace vesmarin
