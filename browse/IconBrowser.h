#pragma once

// Icon browsing in the main window: Browse collects the matching files below the current folder, each set
// shows the icons of consecutive files in the grid (whole files, until more than 200 icons are placed), and
// a click on an icon offers to save it as a bitmap or copy it. The choice of the icon folder lives here too.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class QImage;
class QPoint;

namespace vesmarin {

class IconGrid;
class frmMain;
class frmPleaseWait;

// Lets the windows repaint during a long loop, but not at every step: a walk over many thousands of files
// must not spend its time painting labels, and the windows must still repaint many times a second.
class EventPump {
public:
    static constexpr int kIntervalMs = 40;

    // True when the windows are due a repaint (always on the first call).
    bool Due() const { return !clock_.isValid() || clock_.elapsed() >= kIntervalMs; }
    // Lets the window system process the waiting events; an error raised meanwhile is ignored.
    void Run();

private:
    QElapsedTimer clock_;
};

class IconBrowser : public QObject {
public:
    // More than this many icons close a set.
    static constexpr int kSetThreshold = 200;

    // Connects to the main window's buttons, grid and menu items, and widens the window's right-hand
    // column (its labels, the grid and cmdScan) so that the grid shows its 13 columns whole.
    explicit IconBrowser(frmMain& form);
    ~IconBrowser() override;

    // Handlers, run by the controls and callable from code as a click would run them.
    void cmdBrowse_Click();
    void cmdScan_Click();
    void grdControl_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void mnuIconsSave_Click();
    void mnuIconsSaveAs_Click();
    void mnuIconsCopy_Click();
    void mnuSavePathIcons_Click();

    IconGrid& grid() const { return *grid_; }

    // The collected files, full paths as the file system names them, in the order of collection.
    std::vector<std::string> lstFullItemName;
    std::int32_t gFoundFileCount = 0; // entries of the last collection that completed
    std::int32_t gNextFileIndex = 0;  // 1-based position of the first file of the next set
    std::int32_t gSetIconCount = 0;   // icons in the current set, also the number of its last cell
    std::int32_t gSelectedIcon = 0;   // the cell clicked last: row x 13 + column + 1
    QString gIconFileName;            // its bitmap file name (I0000005.bmp)
    QString gIconSaveFile;            // the icon folder followed by that name
    QString gDialogFilter;            // the filter of the dialog shown last

private:
    enum class Phase { Idle, Collecting, Extracting };

    void ExtractFileIcons(const std::string& file, int& row, int& column);
    void ProcessEvents();
    void BeginLongOperation();
    void ShowPleaseWait();
    void UnloadPleaseWait();
    void EndLongOperation();
    void ShowResult(const QString& text);
    QImage CurrentPicture() const;
    QString IconFolder() const;

    frmMain& form_;
    IconGrid* grid_;
    QPointer<frmPleaseWait> pleaseWait_;
    EventPump pump_;
    Phase phase_ = Phase::Idle;
    std::size_t currentFile_ = 0;
};

// A path of the collected list as the windows show it, and a shown path as the file system takes it.
QString DisplayPath(const std::string& path);
std::string FileSystemPath(const QString& path);

} // namespace vesmarin
