#include "savedpaths/PathMenus.h"

#include "base/Settings.h"
#include "savedpaths/RecallPathDialog.h"
#include "savedpaths/core/SavedPathsStore.h"
#include "ui/PopupMenu.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace vesmarin {

namespace {

void RaiseIfFailed(const StoreStatus& status) {
    if (!status)
        throw RunTimeError(status.errorNumber, status.errorDescription);
}

} // namespace

PathMenus::PathMenus(QWidget& window, const Controls& controls, CurrentPath currentPath, Interaction& ui,
                     const Language& language, const ProgramFiles& files)
    : window_(window), controls_(controls), currentPath_(std::move(currentPath)), ui_(ui),
      language_(language), files_(files) {
    connect(controls_.saveRecent, &QAction::triggered, this, &PathMenus::saveRecentPath);
    connect(controls_.saveInitial, &QAction::triggered, this, &PathMenus::saveInitialPath);
    connect(controls_.recallRecent, &QAction::triggered, this, &PathMenus::recallRecentPath);
    connect(controls_.recallInitial, &QAction::triggered, this, &PathMenus::recallInitialPath);
}

void PathMenus::tell(const QString& title, const QString& text) {
    ShowMessage(ui_, &window_, text, title);
}

bool PathMenus::askYes(const QString& title, const QString& text) {
    return ui_.messageBox(&window_, {text, title, MsgIcon::Question, MsgButtons::YesNo, MsgButton::Yes}) ==
           MsgButton::Yes;
}

void PathMenus::showSaveMenu(const QString& iconFolder) {
    PopupWithValues(ui_, controls_.saveMenu, MenuPosition(controls_.savePath),
                    {{controls_.saveInitial, initialPath_}, {controls_.saveIcons, iconFolder}});
}

void PathMenus::showRecallMenu() {
    PopupWithValues(ui_, controls_.recallMenu, MenuPosition(controls_.recallPath),
                    {{controls_.recallInitial, initialPath_}});
}

void PathMenus::saveInitialPath() {
    RunUnderErrorTrap(errors(), Location::SaveInitialPath, [this] {
        const QString path = currentPath_.read();
        // Compared as both stand: a trailing separator on either makes them differ.
        if (IsInitialPath(initialPath_, path, caseSensitive_)) {
            tell(language_.pick(QStringLiteral("Set initial path"),
                                QStringLiteral("Ορισμός αρχικής διαδρομής")),
                 language_.pick(
                     QStringLiteral("Path '") + path +
                         QStringLiteral("' has already been set as the initial path of the application."),
                     QStringLiteral("Η διαδρομή «") + path +
                         QStringLiteral("» έχει ήδη ορισθεί ως αρχική διαδρομή της εφαρμογής.")));
            return;
        }
        if (!askYes(language_.pick(QStringLiteral("Save initial path"),
                                   QStringLiteral("Αποθήκευση αρχικής διαδρομής")),
                    language_.pick(QStringLiteral("Do you really want to set '") + path +
                                       QStringLiteral("' as the initial path of the application?"),
                                   QStringLiteral("Θέλετε πράγματι να ορίσετε τη διαδρομή «") + path +
                                       QStringLiteral("» ως αρχική διαδρομή της εφαρμογής;"))))
            return;
        // The path becomes initial only once the settings file holds it: a failure is reported, never
        // passed over as if the path had been saved.
        settings::WritePath(files_.iniFile, settings::General, settings::InitialPath, path);
        initialPath_ = path;
    });
}

void PathMenus::saveRecentPath() {
    RunUnderErrorTrap(errors(), Location::SaveRecentPath, [this] {
        const QString path = currentPath_.read();
        const QString title =
            language_.pick(QStringLiteral("Save path"), QStringLiteral("Αποθήκευση διαδρομής"));
        // A missing file holds no path; it is created by the save itself, so a No leaves no file behind.
        const SavedPathCheck check = IsPathSaved(files_.savedPathsFile, path, caseSensitive_);
        RaiseIfFailed(check.status);
        if (check.saved) {
            tell(title,
                 language_.pick(QStringLiteral("Path '") + path +
                                    QStringLiteral("' has already been saved in the recent paths list."),
                                QStringLiteral("Η διαδρομή «") + path +
                                    QStringLiteral("» έχει ήδη αποθηκευθεί στις πρόσφατες διαδρομές.")));
            return;
        }
        if (!askYes(title, language_.pick(QStringLiteral("Do you really want to save path '") + path +
                                              QStringLiteral("' in the recent paths list?"),
                                          QStringLiteral("Θέλετε πράγματι να αποθηκεύσετε τη διαδρομή «") +
                                              path + QStringLiteral("» στις πρόσφατες διαδρομές;"))))
            return;
        RaiseIfFailed(SavePathAsNewest(files_.savedPathsFile, path));
    });
}

void PathMenus::recallInitialPath() {
    currentPath_.recall(initialPath_);
}

void PathMenus::recallRecentPath() {
    RunUnderErrorTrap(errors(), Location::RecallRecentPath, [this] {
        const std::optional<QString> chosen =
            RecallPathDialog::choose(ui_, language_, files_.savedPathsFile, &window_);
        if (chosen)
            currentPath_.recall(*chosen);
    });
}

} // namespace vesmarin
