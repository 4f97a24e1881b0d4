#pragma once

// The About dialog: the program's title, version, description and disclaimer in the language in force,
// OK to close it and a button that starts the system-information tool.

#include "about/core/AboutInfo.h"
#include "ui/basGlobal.h"

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace vesmarin::help {
class WhatsThisHelp;
}

namespace vesmarin::about {

class frmAbout : public QDialog {
    Q_OBJECT

public:
    // Loads the dialog (its texts in the language in force), placed centred on `mainWindow`, which owns
    // it so that it stays out of the task bar.
    frmAbout(Interaction& ui, const SharedState& state, QWidget* mainWindow);

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the system-information tool found by `lookups`, or tells the user it is unavailable.
    void StartSysInfo();

    // Where the system-information tool is looked for; tests put their own lookups here.
    SysInfoLookups lookups;

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    std::array<QFrame*, 2> Line1; // 1 the grey line, 0 the white one below it: an etched separator
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    help::WhatsThisHelp* help;

public slots:
    // Esc presses OK, the cancel button.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void Load();
    void RunLoad();

    Interaction& ui_;
    const SharedState& state_;
    QWidget* mainWindow_;
};

// Opens the About dialog modally over the main window; when it has closed the main window takes the
// focus back.
void ShowAbout(Interaction& ui, const SharedState& state, QWidget* mainWindow);

} // namespace vesmarin::about
