#pragma once

// The two path buttons of the main window and their pop-up menus: save the current path as a recent path
// or as the initial path, and recall a recent path (through the recall dialog) or the initial path. The
// initial path lives here. The icon-folder item and the Help items belong to other parts of the window; the
// Cancel items only close their menu.

#include "base/FileLocations.h"
#include "base/Language.h"
#include "platform/Interaction.h"
#include "ui/ErrorReport.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QPushButton;
class QWidget;

namespace vesmarin {

class PathMenus : public QObject {
    Q_OBJECT

public:
    // The controls it drives, made and placed by the window.
    struct Controls {
        QPushButton* savePath;
        QPushButton* recallPath;
        QMenu* saveMenu;
        QAction* saveRecent;
        QAction* saveInitial;
        QAction* saveIcons; // only its caption: it shows the icon folder while the menu is open
        QMenu* recallMenu;
        QAction* recallRecent;
        QAction* recallInitial;
    };

    // What the menus do with the current path, handed in by the window that holds it: read it, and make a
    // path current (called inside the menu item's error trap, so its errors are reported as that item's).
    struct CurrentPath {
        std::function<QString()> read;
        std::function<void(const QString&)> recall;
    };

    PathMenus(QWidget& window, const Controls& controls, CurrentPath currentPath, Interaction& ui,
              const Language& language, const ProgramFiles& files);

    // The initial path: the folder the program opens at, as the settings file holds it (or the home folder
    // for this run when it holds none).
    const QString& initialPath() const { return initialPath_; }
    void setInitialPath(const QString& path) { initialPath_ = path; }
    // The case rule the paths are compared under, as the program started with it.
    void setCaseSensitive(bool caseSensitive) { caseSensitive_ = caseSensitive; }

    // Each shows its menu at its button with the current values in the captions: the initial path, and
    // in the Save menu the icon folder.
    void showSaveMenu(const QString& iconFolder);
    void showRecallMenu();

    void saveRecentPath();
    void saveInitialPath();
    void recallRecentPath();
    void recallInitialPath();

private:
    void tell(const QString& title, const QString& text);
    bool askYes(const QString& title, const QString& text);
    ErrorReport errors() const { return {ui_, language_, &window_}; }

    QWidget& window_;
    Controls controls_;
    CurrentPath currentPath_;
    Interaction& ui_;
    const Language& language_;
    const ProgramFiles& files_;
    QString initialPath_;
    bool caseSensitive_ = false;
};

} // namespace vesmarin
