#include "dist/AppIcon.h"
#include "platform/QtInteraction.h"
#include "shell/FileLocations.h"
#include "shell/frmMain.h"

#include <QApplication>

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
    vesmarin::frmMain form(interaction, QCoreApplication::applicationDirPath());
    form.PlaceCentredOnScreen();
    form.Load();
    form.ShowCentredOnScreen();
    return app.exec();
}
