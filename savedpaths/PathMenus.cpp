#include "savedpaths/PathMenus.h"

#include "app/MainWindow.h"
#include "base/Settings.h"
#include "paths/PathRecall.h"
#include "savedpaths/RecallPathDialog.h"
#include "savedpaths/core/SavedPathsStore.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace vesmarin::savedpaths {

namespace {

constexpr int kPathFileAccessError = 75;

// Puts the remembered captions back however the menu's action ended.
class CaptionsRestorer {
public:
    explicit CaptionsRestorer(const std::vector<std::pair<QAction*, QString>>& values) {
        for (const auto& [item, value] : values) {
            saved_.emplace_back(item, item->text());
            // A menu reads "&" as the mark of a shortcut letter; a folder named "a&b" must show as it is.
            QString shown = value;
            item->setText(ExtendedCaption(item->text(), shown.replace(u'&', QStringLiteral("&&"))));
        }
    }
    ~CaptionsRestorer() {
        for (const auto& [item, caption] : saved_)
            item->setText(caption);
    }
    CaptionsRestorer(const CaptionsRestorer&) = delete;
    CaptionsRestorer& operator=(const CaptionsRestorer&) = delete;

private:
    std::vector<std::pair<QAction*, QString>> saved_;
};

MsgButton Tell(frmMain& form, const QString& title, const QString& text) {
    return form.ui.messageBox(&form, {text, title, MsgIcon::Information, MsgButtons::Ok, MsgButton::Ok});
}

bool AskYes(frmMain& form, const QString& title, const QString& text) {
    MessageRequest r;
    r.title = title;
    r.text = text;
    r.icon = MsgIcon::Question;
    r.buttons = MsgButtons::YesNo;
    r.defaultButton = MsgButton::Yes;
    return form.ui.messageBox(&form, r) == MsgButton::Yes;
}

void RaiseIfFailed(const StoreStatus& status) {
    if (!status)
        throw RunTimeError(status.errorNumber, status.errorDescription);
}

void ShowCurrentPath(frmMain& form) {
    form.lblCurrentPath->setText(form.treeView->GetCurrentPath());
}

} // namespace

void ConnectPathMenus(frmMain& form) {
    frmMain* f = &form;
    QObject::connect(f->cmdSavePath, &QPushButton::clicked, f, [f] { cmdSavePath_Click(*f); });
    QObject::connect(f->cmdRecallPath, &QPushButton::clicked, f, [f] { cmdRecallPath_Click(*f); });
    QObject::connect(f->mnuSavePathRecent, &QAction::triggered, f, [f] { mnuSavePathRecent_Click(*f); });
    QObject::connect(f->mnuSavePathInitial, &QAction::triggered, f, [f] { mnuSavePathInitial_Click(*f); });
    QObject::connect(f->mnuRecallPathRecent, &QAction::triggered, f, [f] { mnuRecallPathRecent_Click(*f); });
    QObject::connect(f->mnuRecallPathInitial, &QAction::triggered, f,
                     [f] { mnuRecallPathInitial_Click(*f); });
}

void ShowMenuWithValues(Interaction& ui, QMenu* menu, QWidget* button,
                        const std::vector<std::pair<QAction*, QString>>& values) {
    QPoint at = QCursor::pos();
    if (!button->rect().contains(button->mapFromGlobal(at)))
        at = button->mapToGlobal(QPoint(0, button->height())); // opened from the keyboard
    const CaptionsRestorer extended(values);
    ui.popupMenu(menu, at);
}

void cmdSavePath_Click(frmMain& form) {
    ShowMenuWithValues(form.ui, form.mnuSavePath, form.cmdSavePath,
                       {{form.mnuSavePathInitial, form.state.gInitialPath},
                        {form.mnuSavePathIcons, form.state.gIconSavePath}});
}

void cmdRecallPath_Click(frmMain& form) {
    ShowMenuWithValues(form.ui, form.mnuRecallPath, form.cmdRecallPath,
                       {{form.mnuRecallPathInitial, form.state.gInitialPath}});
}

void mnuSavePathInitial_Click(frmMain& form) {
    SharedState& state = form.state;
    RunUnderErrorTrap(form.ui, state, &form, Location::SaveInitialPath, [&] {
        const QString path = form.treeView->GetCurrentPath();
        // Compared as both stand: a trailing separator on either makes them differ.
        if (IsInitialPath(state.gInitialPath, path, state.gCaseSensitive)) {
            Tell(form,
                 Pick(state, QStringLiteral("Set initial path"), QStringLiteral("Ορισμός αρχικής διαδρομής")),
                 Pick(state,
                      QStringLiteral("Path '") + path +
                          QStringLiteral("' has already been set as the initial path of the application."),
                      QStringLiteral("Η διαδρομή «") + path +
                          QStringLiteral("» έχει ήδη ορισθεί ως αρχική διαδρομή της εφαρμογής.")));
            return;
        }
        if (!AskYes(form,
                    Pick(state, QStringLiteral("Save initial path"),
                         QStringLiteral("Αποθήκευση αρχικής διαδρομής")),
                    Pick(state,
                         QStringLiteral("Do you really want to set '") + path +
                             QStringLiteral("' as the initial path of the application?"),
                         QStringLiteral("Θέλετε πράγματι να ορίσετε τη διαδρομή «") + path +
                             QStringLiteral("» ως αρχική διαδρομή της εφαρμογής;"))))
            return;
        // The path becomes initial only once the settings file holds it: a failure is reported, never
        // passed over as if the path had been saved.
        if (const QString problem = settings::PathSettingProblem(path); !problem.isEmpty())
            throw RunTimeError(kPathFileAccessError, problem);
        if (!settings::Write(state.gIniFile, settings::General, settings::InitialPath, path))
            throw RunTimeError(kPathFileAccessError,
                               QStringLiteral("Path/File access error: %1").arg(state.gIniFile));
        state.gInitialPath = path;
    });
}

void mnuSavePathRecent_Click(frmMain& form) {
    SharedState& state = form.state;
    RunUnderErrorTrap(form.ui, state, &form, Location::SaveRecentPath, [&] {
        const QString path = form.treeView->GetCurrentPath();
        const QString title =
            Pick(state, QStringLiteral("Save path"), QStringLiteral("Αποθήκευση διαδρομής"));
        // A missing file holds no path; it is created by the save itself, so a No leaves no file behind.
        const SavedPathCheck check = IsPathSaved(state.gSavedPathsFile, path, state.gCaseSensitive);
        RaiseIfFailed(check.status);
        if (check.saved) {
            Tell(form, title,
                 Pick(state,
                      QStringLiteral("Path '") + path +
                          QStringLiteral("' has already been saved in the recent paths list."),
                      QStringLiteral("Η διαδρομή «") + path +
                          QStringLiteral("» έχει ήδη αποθηκευθεί στις πρόσφατες διαδρομές.")));
            return;
        }
        if (!AskYes(form, title,
                    Pick(state,
                         QStringLiteral("Do you really want to save path '") + path +
                             QStringLiteral("' in the recent paths list?"),
                         QStringLiteral("Θέλετε πράγματι να αποθηκεύσετε τη διαδρομή «") + path +
                             QStringLiteral("» στις πρόσφατες διαδρομές;"))))
            return;
        RaiseIfFailed(SavePathAsNewest(state.gSavedPathsFile, path));
    });
}

void mnuRecallPathInitial_Click(frmMain& form) {
    RecallPath(form.state.gInitialPath, *form.treeView, form.ui, form.state, &form);
    ShowCurrentPath(form);
}

void mnuRecallPathRecent_Click(frmMain& form) {
    SharedState& state = form.state;
    RunUnderErrorTrap(form.ui, state, &form, Location::RecallRecentPath, [&] {
        state.gRecalledPath.clear();
        ShowRecallPath(form.ui, state, &form);
        if (state.gRecalledPath.isEmpty())
            return;
        RecallPath(state.gRecalledPath, *form.treeView, form.ui, state, &form);
        ShowCurrentPath(form);
    });
}

} // namespace vesmarin::savedpaths
