#pragma once

// The main window: the folder tree, the options that govern browsing, the icon grid and the picture
// buttons. Load() runs the start-up sequence; cmdEnd ends the program and keeps the number of levels.

#include "base/FileLocations.h"
#include "paths/FolderTree.h"
#include "ui/basGlobal.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vesmarin {

class IconBrowser;
class UpDown;

class frmMain : public QWidget {
    Q_OBJECT

public:
    // `programFolder` is the folder of the program file, where the settings and the other files live
    // (FileLocations.h tells where they go when it cannot be written).
    frmMain(Interaction& ui, QString programFolder, QWidget* parent = nullptr);

    // The start-up sequence; runs before the window is first shown. A `startFolder` (display or key form)
    // is made current in place of the initial path, for this run only: `vesmarin FOLDER`.
    void Load(const QString& startFolder = QString());
    // Places the window centred on the screen it is on, without showing it: start-up messages are centred
    // on the window, so it is placed before they come.
    void PlaceCentredOnScreen();
    // Shows the window centred on the screen it is on.
    void ShowCentredOnScreen();

    // Handlers, run by the controls and callable from code as a click or a change would run them.
    void cmdEnd_Click();
    void cmdAll_Click();
    void txtLevels_Change();
    void txtLevels_GotFocus();
    // Returns the character to keep, or 0 when it is discarded (with a beep).
    int txtLevels_KeyPress(int keyAscii);
    void chkWhatToBrowse_Click(int index);
    void chkCaseSensitive_Click();
    void cmdLanguage_Click(int index);
    void tvwControl_Expand(QTreeWidgetItem* node);
    void tvwControl_NodeClick(QTreeWidgetItem* node);
    void cmdRefresh_Click();
    void cmdUpOneLevel_Click();
    void cmdBrowse_Click();
    void cmdScan_Click();

    // The pattern list of the kinds of file ticked, as the file search takes it.
    QString ActivePatternList() const;

    Interaction& ui;
    SharedState state;
    // Whether the program's folder can take new files, which decides where the settings live. Tests
    // replace it: as root, every folder can.
    std::function<bool(const QString&)> canCreateFileIn = CanCreateFileIn;

    // Controls, named as the program knows them.
    QTreeWidget* tvwControl;
    QCheckBox* chkCaseSensitive;
    QGroupBox* fraWhatToBrowse;
    std::array<QCheckBox*, 2> chkWhatToBrowse; // 0 EXE, 1 DLL
    QGroupBox* fraLevels;
    QPushButton* cmdAll;
    QLineEdit* txtLevels;
    UpDown* updLevels;
    QPushButton* cmdRefresh;
    QPushButton* cmdUpOneLevel;
    QPushButton* cmdSavePath;
    QPushButton* cmdBrowse;
    QPushButton* cmdHelp;
    std::array<QPushButton*, 2> cmdLanguage; // 0 Greek, 1 English
    QPushButton* cmdRecallPath;
    QPushButton* cmdEnd;
    QLabel* picCopyright;
    QLabel* lblCopyright;
    QLabel* lblCurrentPath;
    QLabel* lblInfo;
    QTableWidget* grdControl; // an IconGrid (browse/IconGrid.h)
    QPushButton* cmdScan;

    // The folder tree's two hidden working controls, the disk it shows and the procedures that build it.
    HiddenFileList filFile;
    HiddenList lstControl;
    SystemFolderSource folderSource;
    std::unique_ptr<basTreeViewManager> treeView;

    // Icon browsing: the collection, the icon sets in grdControl (an IconGrid), the icon menu and the
    // icon folder. Owned by the window.
    IconBrowser* browser = nullptr;

    // Pop-up menus (never shown as a menu bar) and their items, top to bottom.
    QMenu* mnuSavePath;
    QAction* mnuSavePathRecent;
    QAction* mnuSavePathInitial;
    QAction* mnuSavePathDash1;
    QAction* mnuSavePathIcons;
    QAction* mnuSavePathDash2;
    QAction* mnuSavePathHelp;
    QAction* mnuSavePathDash3;
    QAction* mnuSavePathCancel;
    QMenu* mnuRecallPath;
    QAction* mnuRecallPathRecent;
    QAction* mnuRecallPathInitial;
    QAction* mnuRecallPathDash1;
    QAction* mnuRecallPathHelp;
    QAction* mnuRecallPathDash2;
    QAction* mnuRecallPathCancel;
    QMenu* mnuIcons;
    QAction* mnuIconsSave;
    QAction* mnuIconsSaveAs;
    QAction* mnuIconsDash1;
    QAction* mnuIconsCopy;
    QAction* mnuIconsDash2;
    QAction* mnuIconsHelp;
    QAction* mnuIconsDash3;
    QAction* mnuIconsCancel;

    static inline const QString ExePatterns =
        QStringLiteral("*.EXE;*.EXe;*.ExE;*.Exe;*.eXE;*.eXe;*.exE;*.exe");
    static inline const QString DllPatterns =
        QStringLiteral("*.DLL;*.DLl;*.DlL;*.Dll;*.dLL;*.dLl;*.dlL;*.dll");

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void RunLoad();
    // Makes the initial path (or the start folder, when given) current in the folder tree, shows it in
    // lblCurrentPath and colours the tree (start-up steps that belong to the folder tree).
    void RecallInitialPath();

    QString programFolder_;
    QString startFolder_;
};

} // namespace vesmarin
