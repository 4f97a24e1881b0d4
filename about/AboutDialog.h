#pragma once

// The About dialog: the program's title, version, description and disclaimer in the language in force,
// OK to close it and a button that starts the system-information tool.

#include "about/core/AboutInfo.h"
#include "base/Language.h"
#include "platform/Interaction.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace vesmarin {

class WhatsThisHelp;

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    // Loads the dialog (its texts in the language in force), placed centred on `mainWindow`, which owns
    // it so that it stays out of the task bar.
    AboutDialog(Interaction& ui, const Language& language, QWidget* mainWindow);

    // Opens the dialog modally over the main window; when it has closed the main window takes the focus back.
    static void showModal(Interaction& ui, const Language& language, QWidget* mainWindow);

    // Where the system-information tool is looked for (on POSIX: PosixSysInfoLookups).
    void setSysInfoLookups(SysInfoLookups lookups) { lookups_ = std::move(lookups); }

    // Starts the system-information tool, or tells the user it is unavailable.
    void startSysInfo();

public slots:
    // Esc presses OK, the cancel button.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void layOutControls();
    void load();

    Interaction& ui_;
    const Language& language_;
    QWidget* mainWindow_;
    SysInfoLookups lookups_;
    QLabel* icon_;
    QLabel* title_;
    QLabel* version_;
    QLabel* description_;
    QLabel* disclaimer_;
    QFrame* line_;
    QPushButton* okButton_;
    QPushButton* sysInfoButton_;
    WhatsThisHelp* help_;
};

} // namespace vesmarin
