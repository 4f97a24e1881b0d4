// Benchmark of the program's two stored files when they have grown huge (run by bench/storedfiles/run.sh).
//
//   vesmarin-storedfiles-bench generate <folder> <megabytes>
//       writes Tembrill.ini and SavedPaths.txt of about that size (0: 4 KB) into the folder: the settings
//       file holds its six keys with the megabytes of other keys between its two sections, so every key of
//       "Options" lies behind them; the recent paths are that many megabytes of folder paths;
//   vesmarin-storedfiles-bench start|change|recall <folder> [repetitions]
//       times the real main window's start-up with the files of that folder (start), one settings write
//       as a click on the case box makes it (change), or opening the recall dialog (recall), and prints
//       the median in milliseconds and the process's peak memory.
//
// The windows run on the offscreen platform; message boxes answer OK at once.

#include "app/MainWindow.h"
#include "platform/Interaction.h"
#include "savedpaths/RecallPathDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace vesmarin;

class Desktop final : public Interaction {
public:
    MsgButton messageBox(QWidget*, const MessageRequest&) override { return MsgButton::Ok; }
    std::optional<QString> saveFileName(QWidget*, const FileDialogRequest&) override { return {}; }
    std::optional<QString> openFileName(QWidget*, const FileDialogRequest&) override { return {}; }
    std::optional<FolderChoice> chooseFolder(QWidget*, const FolderDialogRequest&) override { return {}; }
    void setClipboardImage(const QImage&, const QByteArray&) override {}
    QAction* popupMenu(QMenu*, const QPoint&) override { return nullptr; }
    void showWhatsThis(QWidget*, const QPoint&, const QString&) override {}
    bool runAndWait(const QString&, const QStringList&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    QString findExecutable(const QString&) override { return {}; }
    void beep() override {}
    void setPointer(Pointer) override {}
    bool anotherInstanceRunning(const QString&) override { return false; }
    void endProgramNow() override { std::exit(0); }
};

int Generate(const QString& folder, long megabytes) {
    const long bytes = megabytes > 0 ? megabytes * 1024 * 1024 : 4096; // 0: files of an ordinary size
    QFile ini(folder + QStringLiteral("/Tembrill.ini"));
    QFile paths(folder + QStringLiteral("/SavedPaths.txt"));
    if (!ini.open(QIODevice::WriteOnly) || !paths.open(QIODevice::WriteOnly))
        return 1;
    QByteArray chunk;
    ini.write("[General]\r\nLanguage=0\r\nInitialPath=" + QFile::encodeName(folder) + "\r\n\r\n[Other]\r\n");
    for (long i = 0; ini.size() + chunk.size() < bytes; ++i) {
        chunk += "Key" + QByteArray::number(i) + "=a value of the kind a careless tool might leave\r\n";
        if (chunk.size() > (1 << 20)) {
            ini.write(chunk);
            chunk.clear();
        }
    }
    ini.write(chunk);
    ini.write("\r\n[Options]\r\nLevels=3\r\nCaseSensitive=1\r\nWhatToBrowse=3\r\nIconSavePath=" +
              QFile::encodeName(folder) + "/\r\n");
    chunk.clear();
    long long lines = 0;
    for (long i = 0; paths.size() + chunk.size() < bytes; ++i, ++lines) {
        chunk += "/home/ann/projects/folder" + QByteArray::number(i) + "/with/some/depth\r\n";
        if (chunk.size() > (1 << 20)) {
            paths.write(chunk);
            chunk.clear();
        }
    }
    paths.write(chunk);
    std::printf("Tembrill.ini %lld bytes, SavedPaths.txt %lld bytes (%lld lines)\n",
                static_cast<long long>(ini.size()), static_cast<long long>(paths.size()), lines);
    return 0;
}

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

long PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: vesmarin-storedfiles-bench generate|start|change|recall <folder> [n]\n");
        return 2;
    }
    const QString mode = args[0];
    const QString folder = args[1];
    const int repetitions = args.size() > 2 ? args[2].toInt() : 5;
    if (mode == QStringLiteral("generate"))
        return Generate(folder, repetitions);

    Desktop desktop;
    std::vector<double> ms;
    QElapsedTimer clock;
    if (mode == QStringLiteral("start")) {
        for (int i = 0; i < repetitions; ++i) {
            clock.start();
            MainWindow window(desktop, folder);
            window.load();
            ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
    } else {
        MainWindow window(desktop, folder);
        window.load();
        for (int i = 0; i < repetitions; ++i) {
            clock.start();
            if (mode == QStringLiteral("change")) {
                window.findChild<QCheckBox*>(QStringLiteral("chkCaseSensitive"))->click();
            } else {
                RecallPathDialog dialog(desktop, window.language(), window.files().savedPathsFile, &window);
                dialog.show();
                QApplication::processEvents(); // laid out and painted, as the user sees it
                auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstSavedPaths"));
                list->grab();
                if (list->count() == 0)
                    std::fprintf(stderr, "the recall list is empty\n");
            }
            ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
    }
    std::printf("median %.1f ms over %d, peak memory %ld MB", Median(ms), repetitions, PeakMegabytes());
    return 0;
}
