#pragma once

// The recall dialog: lists the recent paths, hands the chosen one back, and lets the user edit the file in
// a text editor while the program waits.

#include "base/Language.h"
#include "platform/Interaction.h"
#include "ui/ErrorReport.h"

#include <QColor>
#include <QDialog>
#include <optional>

class QListWidget;
class QPushButton;

namespace vesmarin {

class WhatsThisHelp;

class RecallPathDialog : public QDialog {
    Q_OBJECT

public:
    // Loads the dialog afresh: texts of the language in force, the list read from `savedPathsFile` (created
    // empty when missing), no line selected, centred on the screen.
    RecallPathDialog(Interaction& ui, const Language& language, QString savedPathsFile, QWidget* parent);

    // Shows the dialog modally over `mainWindow` and gives the chosen line exactly as stored, or nothing
    // when the user cancelled; the main window takes the focus back.
    static std::optional<QString> choose(Interaction& ui, const Language& language,
                                         const QString& savedPathsFile, QWidget* mainWindow);

    // The line chosen with Recall; nothing before that and after Cancel.
    const std::optional<QString>& chosenPath() const { return chosen_; }

public slots:
    // Esc presses Cancel: the dialog ends only through its own buttons.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void load();
    void loadTexts();
    void centreOnScreen();
    void recall();
    void cancel();
    void editSavedPaths();
    void runEdit();
    void ensureSavedPathsFile();
    void readSavedPaths();
    ErrorReport errors() { return {ui_, language_, this}; }

    Interaction& ui_;
    const Language& language_;
    QString savedPathsFile_;
    std::optional<QString> chosen_;
    QListWidget* savedPaths_;
    QPushButton* recallButton_;
    QPushButton* editButton_;
    QPushButton* cancelButton_;
    WhatsThisHelp* help_;
};

// The colour of an empty recall list, so that it looks greyed.
QColor EmptyListColour();

} // namespace vesmarin
