// The start-up sequence of the main window. Its steps run in a fixed order: where the program's files live
// and the single-instance test, then the settings in the order Language (so every later message is in that
// language), InitialPath, Levels, CaseSensitive, WhatToBrowse, IconSavePath, then the messages about the two
// folders, and the initial path (or the folder the program was started on) is made current.

#include "app/MainWindow.h"
#include "app/OptionsPanel.h"
#include "base/NumberText.h"
#include "base/Settings.h"
#include "browse/IconBrowser.h"
#include "language/LanguageSwitch.h"
#include "paths/FolderTree.h"
#include "paths/PathRecall.h"
#include "platform/ControlMenu.h"
#include "savedpaths/PathMenus.h"
#include "ui/Layout.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

namespace vesmarin {

namespace {

// POSIX file systems distinguish letter case, so names that differ only in case are different unless the
// user says otherwise; on Windows they are the same.
#ifdef Q_OS_WIN
constexpr int kCaseSensitiveDefault = 0;
#else
constexpr int kCaseSensitiveDefault = 1;
#endif

// The user's home folder stands in for the default folder: in display form (no trailing separator
// unless it is the root) and as a folder to save into (always ending with the separator).
QString HomeDisplayForm() {
    return QDir::toNativeSeparators(QDir::homePath());
}

QString HomeWithSeparator() {
    const QString home = HomeDisplayForm();
    const QString separator(QDir::separator());
    return home.endsWith(separator) ? home : home + separator;
}

} // namespace

void MainWindow::load(const QString& startFolder) {
    RunUnderErrorTrap(errors(), Location::StartUp, [&] { runStartUp(startFolder); });
}

void MainWindow::runStartUp(const QString& startFolder) {
    if (!locateFilesAsTheOnlyInstance())
        return;
    showAtRest();
    // The language comes first, so that every later message is in it.
    languageSwitch_->switchTo(
        settings::ReadNumber(files_.iniFile, settings::General, settings::Language, 0) == 1);
    const settings::PathSetting initialPath =
        settings::ReadPath(files_.iniFile, settings::General, settings::InitialPath);
    pathMenus_->setInitialPath(initialPath.path);
    applyStoredOptions();
    applyStoredIconFolder();
    settleInitialPath(initialPath.tooLong, startFolder.isEmpty());
    recallInitialPath(startFolder);
    DisableRestoreCommand(this);
}

// Beside the program wherever it can be written; otherwise the user's configuration folder. Found first,
// since the running program is one per folder of settings: copies of the program that share a folder (all
// those whose own folders cannot be written) share its files. False when another copy runs with them.
bool MainWindow::locateFilesAsTheOnlyInstance() {
    const ProgramFiles files = LocateProgramFiles(programFolder_, UserConfigFolder(), canCreateFileIn_);
    if (ui_.anotherInstanceRunning(files.settingsFolder)) {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("...duplicate instance."));
        ShowMessage(
            ui_, nullptr,
            QStringLiteral(
                "The application is already active and cannot have more than one instances at a time."),
            language().title, MsgIcon::Critical);
        ui_.endProgramNow();
        return false;
    }
    files_ = files;
    return true;
}

void MainWindow::showAtRest() {
    controls_.info->clear();
    controls_.nextSetButton->setEnabled(false);
}

// Levels, the case rule and the kinds of file. The case rule is the tree's and the path menus' for the
// whole run.
void MainWindow::applyStoredOptions() {
    const QString& ini = files_.iniFile;
    const double levels = settings::ReadNumber(ini, settings::Options, settings::Levels, 0);
    options_->setLevels(levels >= 0 && levels <= OptionsPanel::kMaxLevels
                            ? std::get<std::int16_t>(RoundToInteger16(levels))
                            : std::int16_t{0});

    const bool caseSensitive =
        settings::ReadNumber(ini, settings::Options, settings::CaseSensitive, kCaseSensitiveDefault) == 1;
    options_->setCaseSensitive(caseSensitive);
    folderTree_->setCaseSensitive(caseSensitive);
    pathMenus_->setCaseSensitive(caseSensitive);

    const double kinds = settings::ReadNumber(ini, settings::Options, settings::WhatToBrowse, 3);
    options_->setKindsOfFile(kinds == 1 ? 1 : kinds == 2 ? 2 : 3);
}

void MainWindow::applyStoredIconFolder() {
    const settings::PathSetting stored =
        settings::ReadPath(files_.iniFile, settings::Options, settings::IconSavePath);
    iconBrowser_->setIconFolder(stored.path.isEmpty() ? HomeWithSeparator() : stored.path);
    if (!stored.tooLong)
        return;
    ShowMessage(
        ui_, this,
        language()
            .pick(QStringLiteral(
                      "The folder for saving icons that has been set is longer than the %1 bytes a path "
                      "may have on this computer, so it cannot be used. Icons will be saved in '%2' "
                      "until you select another folder."),
                  QStringLiteral(
                      "Ο φάκελλος αποθηκεύσεως των εικονιδίων ο οποίος έχει ορισθεί, υπερβαίνει τα %1 "
                      "byte που επιτρέπονται για μια διαδρομή σε αυτόν τον υπολογιστή και επομένως δεν "
                      "μπορεί να χρησιμοποιηθεί. Τα εικονίδια θα αποθηκεύονται στο φάκελλο «%2», μέχρι "
                      "να επιλέξετε κάποιον άλλο φάκελλο."))
            .arg(settings::PathLimit)
            .arg(iconBrowser_->iconFolder()),
        language().title, MsgIcon::Critical);
}

// An initial path too long to open is refused, not cut to another folder (the settings file keeps it), and
// the home folder is used for this run. Without an initial path the home folder is used as well, and the
// user is told so unless the program was started on a folder (`announceDefault` false): the window does not
// open at the initial path then.
void MainWindow::settleInitialPath(bool tooLong, bool announceDefault) {
    if (tooLong) {
        pathMenus_->setInitialPath(HomeDisplayForm()); // for this run only; the settings file keeps its text
        ShowMessage(ui_, this,
                    language()
                        .pick(QStringLiteral(
                                  "The initial path that has been set is longer than the %1 bytes a path may "
                                  "have on this computer, so it cannot be recalled. '%2' will be used as the "
                                  "initial path instead."),
                              QStringLiteral(
                                  "Η αρχική διαδρομή η οποία έχει ορισθεί, υπερβαίνει τα %1 byte που "
                                  "επιτρέπονται για μια διαδρομή σε αυτόν τον υπολογιστή και επομένως δεν "
                                  "μπορεί να ανακληθεί. Αντ' αυτής, ως αρχική διαδρομή θα χρησιμοποιηθεί η "
                                  "«%2»."))
                        .arg(settings::PathLimit)
                        .arg(pathMenus_->initialPath()),
                    language().pick(QStringLiteral("Recall initial path"),
                                    QStringLiteral("Ανάκληση αρχικής διαδρομής")),
                    MsgIcon::Critical);
        return;
    }
    if (!pathMenus_->initialPath().isEmpty())
        return;
    const QString home = HomeDisplayForm();
    pathMenus_->setInitialPath(home); // for this run only; the settings file keeps no initial path
    if (!announceDefault)
        return;
    ShowMessage(
        ui_, this,
        language()
            .pick(QStringLiteral("'%1'will be used as the default initial path, since an initial path has "
                                 "not yet been set."),
                  QStringLiteral("Δεν έχει ορισθεί κάποια αρχική διαδρομή και έτσι, ως αρχική διαδρομή, θα "
                                 "χρησιμοποιηθεί η «%1»."))
            .arg(home),
        language().pick(QStringLiteral("Recall initial path"), QStringLiteral("Ανάκληση αρχικής διαδρομής")));
}

// Makes the initial path (or the start folder, when given) current in the folder tree and shows it.
void MainWindow::recallInitialPath(const QString& startFolder) {
    pathRecall_->recall(startFolder.isEmpty() ? pathMenus_->initialPath() : startFolder);
    showCurrentPath();
    folderTree_->setBackground(kPaleCyan);
}

} // namespace vesmarin
