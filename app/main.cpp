#include "platform/QtInteraction.h"
#include "shell/frmMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vesmarin::QtInteraction interaction(QCoreApplication::applicationFilePath());
    vesmarin::frmMain form(interaction, QCoreApplication::applicationDirPath());
    form.Load();
    form.ShowCentredOnScreen();
    return app.exec();
}
