#pragma once

// The controls of the main window, made and placed as the window was designed (in twips), each with the
// name help topics, tests and accessibility tools know it by (in the comments). Until the language is first
// applied, captions show those names and the menu items their Greek texts.

#include "ui/Layout.h"

#include <array>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

namespace vesmarin {

class FolderTreeWidget;
class IconGrid;
class UpDown;

struct MainWindowControls {
    FolderTreeWidget* folderTree;                // tvwControl
    QCheckBox* caseSensitive;                    // chkCaseSensitive
    QGroupBox* kindsFrame;                       // fraWhatToBrowse
    std::array<QCheckBox*, 2> kinds;             // chkWhatToBrowse(0) EXE, chkWhatToBrowse(1) DLL
    QGroupBox* levelsFrame;                      // fraLevels
    QPushButton* allLevelsButton;                // cmdAll
    QLineEdit* levels;                           // txtLevels
    UpDown* levelsUpDown;                        // updLevels
    QPushButton* refreshButton;                  // cmdRefresh
    QPushButton* upOneLevelButton;               // cmdUpOneLevel
    QPushButton* savePathButton;                 // cmdSavePath
    QPushButton* browseButton;                   // cmdBrowse
    QPushButton* helpButton;                     // cmdHelp
    std::array<QPushButton*, 2> languageButtons; // cmdLanguage(0) Greek, cmdLanguage(1) English
    QPushButton* recallPathButton;               // cmdRecallPath
    QPushButton* endButton;                      // cmdEnd
    QLabel* noticePicture;                       // picCopyright
    QLabel* notice;                              // lblCopyright
    QLabel* currentPath;                         // lblCurrentPath
    QLabel* info;                                // lblInfo
    IconGrid* iconGrid;                          // grdControl
    QPushButton* nextSetButton;                  // cmdScan

    // Pop-up menus (never shown as a menu bar) and their items.
    QMenu* saveMenu;        // mnuSavePath
    QAction* saveRecent;    // mnuSavePathRecent
    QAction* saveInitial;   // mnuSavePathInitial
    QAction* saveIcons;     // mnuSavePathIcons
    QAction* saveHelp;      // mnuSavePathHelp
    QMenu* recallMenu;      // mnuRecallPath
    QAction* recallRecent;  // mnuRecallPathRecent
    QAction* recallInitial; // mnuRecallPathInitial
    QAction* recallHelp;    // mnuRecallPathHelp
    QMenu* iconMenu;        // mnuIcons
    QAction* iconSave;      // mnuIconsSave
    QAction* iconSaveAs;    // mnuIconsSaveAs
    QAction* iconCopy;      // mnuIconsCopy
    QAction* iconHelp;      // mnuIconsHelp
    QAction* iconSavePng;   // mnuIconsSavePng
    QAction* iconSaveIco;   // mnuIconsSaveIco
    QAction* iconSaveAll;   // mnuIconsSaveAll
    QAction* iconDetails;   // mnuIconsDetails
};

// Makes the controls as children of `window`, which has its designed size, and widens the window's
// right-hand column so that the icon grid shows its 13 columns whole.
MainWindowControls CreateMainWindowControls(QWidget& window);

// How the controls follow the window when the user makes it larger than `designed`, the size the controls
// were placed for: the folder tree grows downwards, the grid right and downwards, the labels above the grid
// widen with it, and the controls below the tree and the grid keep their place to the bottom edge.
EdgeAnchors AnchorToEdges(const MainWindowControls& c, const QSize& designed);

} // namespace vesmarin
