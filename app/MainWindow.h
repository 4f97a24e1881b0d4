#pragma once

// The main window. It makes its controls and composes the parts that drive them: the folder tree and path
// recall, the options, the icon browser, the path menus, the language switch and the help; each part gets
// its controls, the desktop seam and the state it reads, and the window passes values between them. load()
// runs the start-up sequence; End ends the program and keeps the number of levels.

#include "app/MainWindowControls.h"
#include "base/FileLocations.h"
#include "base/Language.h"
#include "paths/core/FolderSource.h"
#include "platform/Interaction.h"
#include "ui/ErrorReport.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace vesmarin {

class FolderTree;
class IconBrowser;
class LanguageSwitch;
class MainWindowHelp;
class OptionsPanel;
class PathMenus;
class PathRecall;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // `programFolder` is the folder of the program file, where the settings and the other files live
    // (FileLocations.h tells where they go when it cannot be written).
    MainWindow(Interaction& ui, QString programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence; runs before the window is first shown. A `startFolder` (display or key form)
    // is made current in place of the initial path, for this run only: `vesmarin FOLDER`.
    void load(const QString& startFolder = QString());
    // Places the window centred on the screen it is on, without showing it: start-up messages are centred
    // on the window, so it is placed before they come.
    void placeCentredOnScreen();
    // Shows the window centred on the screen it is on.
    void showCentredOnScreen();

    // Whether the program's folder can take new files, which decides where the settings live. Tests
    // replace it: as root, every folder can.
    void setCanCreateFileIn(std::function<bool(const QString&)> canCreateFileIn) {
        canCreateFileIn_ = std::move(canCreateFileIn);
    }

    // The parts, for those who look at the window from outside (tests, benchmarks).
    const ProgramFiles& files() const { return files_; }
    const Language& language() const;
    OptionsPanel& options() const { return *options_; }
    FolderTree& folderTree() const { return *folderTree_; }
    PathMenus& pathMenus() const { return *pathMenus_; }
    IconBrowser& iconBrowser() const { return *iconBrowser_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void composeParts();
    void connectControls();

    // Start-up steps (StartUp.cpp), in the order they run.
    void runStartUp(const QString& startFolder);
    bool locateFilesAsTheOnlyInstance();
    void showAtRest();
    void applyStoredOptions();
    void applyStoredIconFolder();
    void settleInitialPath(bool tooLong, bool announceDefault);
    void recallInitialPath(const QString& startFolder);

    // Handlers.
    void showCurrentPath();
    void recall(const QString& path);
    void refreshTree();
    void upOneLevel();
    void browse();
    void end();
    void openAbout();

    ErrorReport errors() { return {ui_, language(), this}; }

    Interaction& ui_;
    QString programFolder_;
    std::function<bool(const QString&)> canCreateFileIn_ = CanCreateFileIn;
    ProgramFiles files_;
    MainWindowControls controls_;
    EdgeAnchors anchors_;
    SystemFolderSource folderSource_;
    std::unique_ptr<LanguageSwitch> languageSwitch_;
    std::unique_ptr<FolderTree> folderTree_;
    std::unique_ptr<PathRecall> pathRecall_;
    std::unique_ptr<OptionsPanel> options_;
    std::unique_ptr<IconBrowser> iconBrowser_;
    std::unique_ptr<PathMenus> pathMenus_;
    std::unique_ptr<MainWindowHelp> help_;
};

} // namespace vesmarin
