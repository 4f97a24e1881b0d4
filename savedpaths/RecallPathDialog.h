#pragma once

// The recall dialog: lists the recent paths, hands the chosen one back to the main window in
// gRecalledPath, and lets the user edit the file in a text editor while the program waits.

#include "ui/basGlobal.h"

#include <QColor>
#include <QDialog>

class QListWidget;
namespace vesmarin::help {
class WhatsThisHelp;
}
class QPushButton;

namespace vesmarin::savedpaths {

class frmRecallPath : public QDialog {
    Q_OBJECT

public:
    // Loads the dialog afresh: texts of the language in force, the list read from the file (created
    // empty when missing), no line selected, centred on the screen.
    frmRecallPath(Interaction& ui, SharedState& state, QWidget* parent);

    // Handlers, run by the controls and callable from code as a click would run them.
    void lstSavedPaths_Click();
    void cmdRecall_Click();
    void cmdCancel_Click();
    void cmdEdit_Click();

    QListWidget* lstSavedPaths;
    QPushButton* cmdRecall;
    QPushButton* cmdEdit;
    QPushButton* cmdCancel;
    // Right-click help and the question-mark (or Shift+F1) help of the dialog's controls.
    help::WhatsThisHelp* help = nullptr;

public slots:
    // Esc presses Cancel: the dialog ends only through its own buttons.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void Load();
    void RunLoad();
    void RunEdit();

    Interaction& ui_;
    SharedState& state_;
};

// Shows the recall dialog modally over `mainWindow`. Afterwards gRecalledPath holds the chosen line
// exactly as stored, or is empty when the user cancelled.
void ShowRecallPath(Interaction& ui, SharedState& state, QWidget* mainWindow);

// Creates the recent-paths file, empty, when it is missing; a failure goes to the error report.
void EnsureSavedPathsFile(Interaction& ui, const SharedState& state, QWidget* parent);

// Fills `list` with the lines of the recent-paths file that hold more than blanks, exactly as stored,
// none selected, and disables `recall`. A filled list takes gBackColor; an empty one the greyed colour;
// without a file the list stays empty in the colour it had. A failure goes to the error report.
void LoadSavedPaths(Interaction& ui, const SharedState& state, QWidget* parent, QPushButton* recall,
                    QListWidget* list);

// The colour of an empty recall list, so that it looks greyed.
QColor EmptyListColour();

} // namespace vesmarin::savedpaths
