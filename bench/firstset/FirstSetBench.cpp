// Times Browse on a folder of real programs and libraries until the first set of icons is on screen: from
// the press of cmdBrowse to the moment the count message would appear, with the grid painted. The real main
// window runs on the real desktop (use xvfb-run); only the message boxes answer themselves. Each run then
// shows the same first set again, so the collection's share of the time is known as well (over a generated
// tree of many files it is the Browse to compare with find).
//
//   vesmarin-firstset-bench <folder> [runs] [--greek] [--shots <folder for screenshots>]
//
// With --shots, one run is made and the screen is saved during the walk, while the count message is shown,
// after it closed, while the icon menu is open for the fifth icon, and after the next set.

#include "app/MainWindow.h"
#include "browse/IconBrowser.h"
#include "browse/IconGrid.h"
#include "platform/QtInteraction.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace vesmarin;

void SaveScreen(const QString& path) {
    QApplication::processEvents();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!shot.save(path))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
}

// The real desktop, except that a message box answers itself: at once when timing, after a screenshot
// when looking.
class Desktop final : public Interaction {
public:
    explicit Desktop(QtInteraction& real) : real_(real) {}

    std::function<void()> atMessage; // runs first, while the window stands as the message finds it
    QString shotDir;
    QString lastMessage;
    int shots = 0;

    MsgButton messageBox(QWidget* parent, const MessageRequest& r) override {
        lastMessage = r.text;
        if (atMessage)
            atMessage();
        if (shotDir.isEmpty())
            return MsgButton::Ok;
        const QString path = QStringLiteral("%1/%2-message.png").arg(shotDir).arg(++shots);
        QTimer::singleShot(400, [path] {
            SaveScreen(path);
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        return real_.messageBox(parent, r);
    }
    std::optional<QString> saveFileName(QWidget* p, const FileDialogRequest& r) override {
        return real_.saveFileName(p, r);
    }
    std::optional<QString> openFileName(QWidget* p, const FileDialogRequest& r) override {
        return real_.openFileName(p, r);
    }
    std::optional<FolderChoice> chooseFolder(QWidget* p, const FolderDialogRequest& r) override {
        return real_.chooseFolder(p, r);
    }
    void setClipboardImage(const QImage& image, const QByteArray& png) override {
        real_.setClipboardImage(image, png);
    }
    QAction* popupMenu(QMenu* menu, const QPoint& at) override {
        if (!shotDir.isEmpty()) {
            const QString path = QStringLiteral("%1/%2-menu.png").arg(shotDir).arg(++shots);
            QTimer::singleShot(400, menu, [menu, path] {
                SaveScreen(path);
                menu->close();
            });
        }
        return real_.popupMenu(menu, at);
    }
    void showWhatsThis(QWidget* c, const QPoint& at, const QString& text) override {
        real_.showWhatsThis(c, at, text);
    }
    bool runAndWait(const QString& program, const QStringList& args) override {
        return real_.runAndWait(program, args);
    }
    bool startProgram(const QString& program, const QStringList& args) override {
        return real_.startProgram(program, args);
    }
    QString findExecutable(const QString& name) override { return real_.findExecutable(name); }
    void beep() override {}
    void setPointer(Pointer p) override { real_.setPointer(p); }
    bool anotherInstanceRunning(const QString&) override { return false; }
    void endProgramNow() override { real_.endProgramNow(); }

private:
    QtInteraction& real_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    const bool greek = args.removeAll(QStringLiteral("--greek")) > 0;
    QString shotDir;
    if (const auto at = args.indexOf(QStringLiteral("--shots")); at >= 0 && at + 1 < args.size()) {
        shotDir = QDir(args[at + 1]).absolutePath();
        args.remove(at, 2);
        QDir().mkpath(shotDir);
    }
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: vesmarin-firstset-bench <folder> [runs] [--greek] [--shots <folder>]\n");
        return 2;
    }
    const QString folder = QDir(args[0]).absolutePath();
    const int runs = shotDir.isEmpty() ? (args.size() > 1 ? args[1].toInt() : 10) : 1;

    QTemporaryDir programFolder;
    {
        QFile ini(programFolder.filePath(QStringLiteral("Tembrill.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        ini.write(QStringLiteral("[General]\nLanguage=%1\nInitialPath=%2\n[Options]\nLevels=0\n")
                      .arg(greek ? 1 : 0)
                      .arg(folder)
                      .toUtf8());
    }
    QtInteraction real;
    Desktop desktop(real);
    desktop.shotDir = shotDir;
    MainWindow window(desktop, programFolder.path());
    window.load();
    window.showCentredOnScreen();
    IconBrowser& browser = window.iconBrowser();
    auto* browseButton = window.findChild<QPushButton*>(QStringLiteral("cmdBrowse"));
    auto* nextSetButton = window.findChild<QPushButton*>(QStringLiteral("cmdScan"));
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }

    double at = 0; // when the last message box came, in ms from the press
    QElapsedTimer clock;
    desktop.atMessage = [&] {
        window.repaint(); // the grid on screen, not merely filled
        QApplication::sync();
        at = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    };
    if (!shotDir.isEmpty()) // the please-wait window, when the walk takes that long
        QTimer::singleShot(150, [&] { SaveScreen(QStringLiteral("%1/0-during.png").arg(shotDir)); });

    // Each run presses Browse, then shows the same first set again from code, so the collection's share is
    // the difference of the two.
    std::vector<double> browse, set, collection;
    for (int run = 0; run <= runs; ++run) { // run 0 warms the cache
        clock.start();
        browseButton->click();
        const double browseMs = at;
        QApplication::processEvents();
        if (!shotDir.isEmpty() || browser.foundFileCount() == 0)
            continue;
        clock.start();
        browser.showFirstSet();
        QApplication::processEvents();
        if (run > 0) {
            browse.push_back(browseMs);
            set.push_back(at);
            collection.push_back(browseMs - at);
        }
    }
    desktop.atMessage = nullptr;

    std::printf("folder: %s\nfiles collected: %d, first set: %s\n", qPrintable(folder),
                browser.foundFileCount(), qPrintable(desktop.lastMessage));
    const auto report = [](const char* what, std::vector<double> ms) {
        if (ms.empty())
            return;
        std::sort(ms.begin(), ms.end());
        std::printf("%-44s median %8.1f ms, best %8.1f ms, worst %8.1f ms (%zu warm runs)\n", what,
                    ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
    };
    report("Browse until the first set is on screen:", browse);
    report("  of which the first set alone:", set);
    report("  of which the collection (the difference):", collection);

    if (!shotDir.isEmpty()) {
        SaveScreen(QStringLiteral("%1/%2-grid.png").arg(shotDir).arg(++desktop.shots));
        IconGrid& grid = *window.findChild<IconGrid*>(QStringLiteral("grdControl"));
        if (grid.rowCount() > 0 && grid.isVisible()) {
            grid.setCurrentCell(0, 4);
            const QRect cell = grid.visualRect(grid.model()->index(0, 4));
            emit grid.mouseReleased(Qt::LeftButton, grid.viewport()->mapToGlobal(cell.center()));
        }
        if (nextSetButton->isEnabled()) {
            nextSetButton->click();
            SaveScreen(QStringLiteral("%1/%2-next-set.png").arg(shotDir).arg(++desktop.shots));
        }
    }
    return 0;
}
