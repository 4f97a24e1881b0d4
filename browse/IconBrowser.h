#pragma once

// Icon browsing in the main window: Browse collects the matching files below the current folder, each set
// shows the icons of consecutive files in the grid (whole files, until more than 200 icons are placed), and
// a click on an icon offers to save it as a bitmap, as PNG or ICO, to save the whole set, to copy it or to
// show its details. The icon folder, where Save puts bitmaps without asking, lives here too.

#include "base/FileLocations.h"
#include "base/Language.h"
#include "browse/EventPump.h"
#include "browse/IconFiles.h"
#include "platform/Interaction.h"
#include "ui/ErrorReport.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QImage;
class QLabel;
class QMenu;
class QPoint;
class QPushButton;

namespace vesmarin {

class IconDetailsDialog;
class IconGrid;
class PleaseWaitWindow;

class IconBrowser : public QObject {
    Q_OBJECT

public:
    // More than this many icons close a set.
    static constexpr int kSetThreshold = 200;

    // The controls it drives, made and placed by the window.
    struct Controls {
        IconGrid* grid;
        QLabel* info;         // the file being read, then the result of a set
        QPushButton* nextSet; // "Display next set of icons"
        QMenu* iconMenu;      // opened by a click on an icon
        QAction* save;
        QAction* saveAs;
        QAction* copy;
        QAction* savePng;
        QAction* saveIco;
        QAction* saveAll;
        QAction* details;
    };

    // `window` is disabled while a set fills and owns the please-wait window; the settings file of `files`
    // takes the icon folder.
    IconBrowser(QWidget& window, const Controls& controls, Interaction& ui, const Language& language,
                const ProgramFiles& files);
    ~IconBrowser() override;

    // Collects the files the pattern list names in and below `folder`, `levels` deep (0: every level), and
    // shows the first set.
    void browse(const QString& folder, int levels, const QString& patternList);
    // Shows the next set, from the file after the last one shown.
    void showNextSet();
    // Shows the first set of the last collection again.
    void showFirstSet();
    // Asks for the icon folder (a file dialog standing in for a folder chooser) and stores it.
    void chooseIconFolder();

    // The icon menu for the grid's current cell, at `globalPos`; nothing for an empty cell. The mouse opens
    // it through a click on a cell, the keyboard for the cell it has made current.
    void openIconMenu(const QPoint& globalPos);
    // Copy: the icon of the grid's current cell on the clipboard, as the 32x32 picture the cell shows and
    // beside it as a PNG file with its transparency.
    void copyIcon();
    // The icon of a cell of the set (its number from 1, in reading order); nullopt for an empty cell.
    std::optional<IconSource> iconOfCell(std::int32_t cell) const;
    // The tooltip of a cell: where its icon comes from and the sizes it stores; empty for an empty cell.
    QString toolTipOf(std::int32_t cell) const;
    // The details window, while it is open (for the language switch and the tests).
    IconDetailsDialog* detailsWindow() const;
    // Puts the texts of the language in force into the windows it keeps open.
    void applyLanguage();

    // The icon folder, ending with the separator as stored (a folder typed into the settings file without
    // it still takes the icons inside it).
    const QString& iconFolder() const { return iconFolder_; }
    void setIconFolder(const QString& folder) { iconFolder_ = folder; }

    std::int32_t foundFileCount() const { return foundFileCount_; } // of the last collection that completed
    std::int32_t setIconCount() const { return setIconCount_; }     // also the number of the set's last cell
    std::int32_t selectedIcon() const { return selectedIcon_; }     // the cell clicked last, from 1

private:
    enum class Phase { Idle, Collecting, Extracting };

    void showSet();
    void fillSet();
    void extractFileIcons(const std::string& file);
    void showIconMenu(Qt::MouseButton button, const QPoint& globalPos);
    void saveIcon();
    void saveIconAs();
    void saveIconPng();
    void saveIconIco();
    void saveAllIcons();
    void writeAllIcons(const QString& folder, bool ico);
    void showDetails();
    IconSource selectedSource() const;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void copyCurrentIcon();

    void processEvents();
    void beginLongOperation();
    void showPleaseWait(const QString& operation = {}); // "Browsing Files" when none is named
    void closePleaseWait();
    void endLongOperation();
    void showResult(const QString& text);
    QImage currentPicture() const;
    QString iconFolderWithSeparator() const;
    ErrorReport errors() const { return {ui_, language_, &window_}; }

    QWidget& window_;
    Controls controls_;
    Interaction& ui_;
    const Language& language_;
    const ProgramFiles& files_;
    QString iconFolder_;
    QPointer<PleaseWaitWindow> pleaseWait_;
    EventPump pump_;
    Phase phase_ = Phase::Idle;

    // The collected files, full paths as the file system names them, in the order of collection.
    std::vector<std::string> collected_;
    // The icon of each cell of the set, by cell number - 1: its file (a place in collected_) and index.
    struct CellIcon {
        std::size_t file;
        int index;
    };
    std::vector<CellIcon> cells_;
    QPointer<IconDetailsDialog> details_;
    std::int32_t foundFileCount_ = 0;
    std::size_t nextFile_ = 0; // the first file of the next set
    std::size_t currentFile_ = 0;
    std::int32_t setIconCount_ = 0;
    std::int32_t selectedIcon_ = 0;
    QString iconFileName_; // the bitmap name of the cell whose menu opened last (I0000005.bmp)
    QString iconFile_;     // that name in the icon folder
};

} // namespace vesmarin
