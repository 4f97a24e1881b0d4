#include "app/MainWindow.h"
#include "base/FileLocations.h"
#include "base/PathText.h"
#include "dist/AppIcon.h"
#include "platform/QtInteraction.h"

#include <QApplication>
#ifdef Q_OS_WIN
#include <QDir>
#else
#include <cstdlib>
#include <memory>
#include <unistd.h>
#endif

namespace {

// `vesmarin [FOLDER]`: the folder to open at instead of the initial path, or the empty text. QApplication
// has already taken its own options out of argv.
QString StartFolder(int argc, char** argv) {
    if (argc < 2)
        return {};
#ifdef Q_OS_WIN
    const QString argument = QCoreApplication::arguments().value(1);
    if (argument.isEmpty())
        return argument;
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(argument)));
#else
    // The name stays in bytes until FileNameFromBytes: a folder name need not be UTF-8, and neither need the
    // working folder's.
    const std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return vesmarin::FolderFromArgument(argv[1], cwd ? cwd.get() : "/");
#endif
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The name gives the user's configuration folder (~/.config/Vesmarin). No organisation: it would put
    // a second folder level in that path.
    QCoreApplication::setApplicationName(vesmarin::ApplicationName);
    QCoreApplication::setOrganizationName(QString());
    // Every window, message box and dialog shows the program's own icon; a Wayland desktop takes it, and
    // the name, from the desktop entry this names.
    app.setWindowIcon(vesmarin::ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(VESMARIN_APP_ID));
    vesmarin::QtInteraction interaction;
    vesmarin::MainWindow window(interaction, QCoreApplication::applicationDirPath());
    window.placeCentredOnScreen();
    window.load(StartFolder(argc, argv));
    window.showCentredOnScreen();
    return app.exec();
}
