#include "browse/IconBrowser.h"

#include "app/MainWindow.h"
#include "base/PathText.h"
#include "base/Settings.h"
#include "browse/IconGrid.h"
#include "browse/core/DirectoryScanner.h"
#include "browse/core/IconExport.h"
#include "platform/iconreader/IconReader.h"
#include "ui/PleaseWaitWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <cstring>
#include <exception>

namespace vesmarin {

namespace {

QImage ToImage(const iconreader::Picture& picture) {
    // The reader draws on an opaque background, so every pixel is 0xFFRRGGBB: the layout of RGB32.
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    if (image.isNull())
        throw RunTimeError(errors::OutOfMemory, QStringLiteral("Out of memory"));
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.pixels.data() + static_cast<std::size_t>(y) * picture.width,
                    static_cast<std::size_t>(picture.width) * sizeof(std::uint32_t));
    return image;
}

// The '&' of a path would otherwise mark a menu shortcut.
QString MenuText(const QString& text) {
    QString escaped = text;
    escaped.replace(u'&', QStringLiteral("&&"));
    return escaped;
}

} // namespace

QString DisplayPath(const std::string& path) {
#ifdef Q_OS_WIN
    return QString::fromUtf8(path);
#else
    return FileNameFromBytes(path);
#endif
}

std::string FileSystemPath(const QString& path) {
#ifdef Q_OS_WIN
    return path.toStdString();
#else
    return FileNameToBytes(path).toStdString();
#endif
}

void EventPump::Run() {
    clock_.start(); // measured from the start of one repaint to the next
    try {
        QCoreApplication::processEvents();
    } catch (...) {
        // A failure while repainting must not end the operation that let it happen.
    }
}

IconBrowser::IconBrowser(frmMain& form) : QObject(&form), form_(form) {
    grid_ = qobject_cast<IconGrid*>(form.grdControl);
    Q_ASSERT(grid_ != nullptr);

    // The grid shows its 13 columns whole; the right-hand column and the window grow by the same amount.
    const int extra = grid_->RequiredWidth() - grid_->width();
    if (extra > 0) {
        for (QWidget* w : {static_cast<QWidget*>(form.lblCurrentPath), static_cast<QWidget*>(form.lblInfo),
                           static_cast<QWidget*>(grid_), static_cast<QWidget*>(form.cmdScan)})
            w->resize(w->width() + extra, w->height());
        form.resize(form.width() + extra, form.height());
    }
    // lblInfo follows a long operation while the window is disabled: it keeps its normal colours.
    QPalette info = form.lblInfo->palette();
    info.setColor(QPalette::Disabled, QPalette::WindowText,
                  info.color(QPalette::Active, QPalette::WindowText));
    form.lblInfo->setPalette(info);

    connect(form.cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(form.cmdScan, &QPushButton::clicked, this, [this] { cmdScan_Click(); });
    connect(grid_, &IconGrid::mouseReleased, this,
            [this](Qt::MouseButton button, const QPoint& at) { grdControl_MouseUp(button, at); });
    connect(form.mnuIconsSave, &QAction::triggered, this, [this] { mnuIconsSave_Click(); });
    connect(form.mnuIconsSaveAs, &QAction::triggered, this, [this] { mnuIconsSaveAs_Click(); });
    connect(form.mnuIconsCopy, &QAction::triggered, this, [this] { mnuIconsCopy_Click(); });
    connect(form.mnuSavePathIcons, &QAction::triggered, this, [this] { mnuSavePathIcons_Click(); });
}

IconBrowser::~IconBrowser() {
    delete pleaseWait_.data();
}

// ---------------------------------------------------------------------------------------------------------
// Long operations

void IconBrowser::BeginLongOperation() {
    form_.ui.setPointer(Pointer::Hourglass);
    form_.setEnabled(false);
}

void IconBrowser::ShowPleaseWait() {
    delete pleaseWait_.data();
    pleaseWait_ = new frmPleaseWait(&form_);
    const SharedState& s = form_.state;
    pleaseWait_->lblBrowsing->setText(
        Pick(s, QStringLiteral("Browsing Files"), QStringLiteral("Φυλλομέτρηση Αρχείων")));
    pleaseWait_->lblPleaseWait->setText(
        Pick(s, QStringLiteral("Please Wait"), QStringLiteral("Παρακαλώ Περιμένετε")));
    pleaseWait_->ShowCentredOnOwner();
    pump_.Run(); // paint it before the work starts
}

void IconBrowser::UnloadPleaseWait() {
    if (pleaseWait_) {
        pleaseWait_->hide();
        delete pleaseWait_.data();
    }
}

void IconBrowser::EndLongOperation() {
    form_.setEnabled(true);
    form_.ui.setPointer(Pointer::Default);
}

void IconBrowser::ProcessEvents() {
    if (!pump_.Due())
        return;
    // The labels and the grid follow the work only when the windows are about to repaint.
    if (phase_ == Phase::Collecting && !lstFullItemName.empty()) {
        form_.lblInfo->setText(DisplayPath(lstFullItemName.back()));
    } else if (phase_ == Phase::Extracting && currentFile_ < lstFullItemName.size()) {
        form_.lblInfo->setText(DisplayPath(lstFullItemName[currentFile_]));
        grid_->scrollToBottom(); // the newest icons in view
    }
    pump_.Run();
}

// Shown once the window is enabled again and the pointer is the normal one.
void IconBrowser::ShowResult(const QString& text) {
    form_.lblInfo->setText(text);
    ShowMessage(form_.ui, &form_, text, form_.state.gTitle);
}

// ---------------------------------------------------------------------------------------------------------
// Browse: the file collection

void IconBrowser::cmdBrowse_Click() {
    const SharedState& s = form_.state;
    BeginLongOperation();
    form_.lblInfo->clear();
    lstFullItemName.clear();
    form_.cmdScan->setEnabled(false);
    grid_->hide();
    ShowPleaseWait();

    const bool collected = RunUnderErrorTrap(form_.ui, s, &form_, Location::Browse, [this, &s] {
        phase_ = Phase::Collecting;
        try {
            CollectFiles(FileSystemPath(form_.treeView->GetCurrentPath()), s.gLevels,
                         form_.ActivePatternList().toStdString(), lstFullItemName,
                         [this](ScanEvent, std::string_view) { ProcessEvents(); });
        } catch (...) {
            // Everything is restored before the report; the entries found so far stay.
            phase_ = Phase::Idle;
            UnloadPleaseWait();
            EndLongOperation();
            try {
                throw;
            } catch (const ScanError& e) {
                throw RunTimeError(e.number(), DisplayPath(e.description()));
            }
        }
        phase_ = Phase::Idle;
    });
    if (!collected)
        return;

    gFoundFileCount = static_cast<std::int32_t>(lstFullItemName.size());
    if (gFoundFileCount >= 1) {
        gNextFileIndex = 1;
        cmdScan_Click(); // the first set; it restores the window at its end
        return;
    }
    UnloadPleaseWait();
    grid_->hide();
    EndLongOperation();
    ShowResult(Pick(s, QStringLiteral("No icons located."), QStringLiteral("Δεν εντοπίσθηκαν εικονίδια.")));
}

// ---------------------------------------------------------------------------------------------------------
// The icon sets

void IconBrowser::cmdScan_Click() {
    const SharedState& s = form_.state;
    form_.lblInfo->clear();
    gSetIconCount = 0;
    if (gNextFileIndex > 1) { // the first set follows Browse, which has done this already
        BeginLongOperation();
        ShowPleaseWait();
    }

    RunUnderErrorTrap(form_.ui, s, &form_, Location::ShowNextSet, [this, &s] {
        try {
            grid_->Empty();
            int row = 0;
            int column = -1;
            bool more = false;
            phase_ = Phase::Extracting;
            const std::size_t first = gNextFileIndex > 1 ? static_cast<std::size_t>(gNextFileIndex) - 1 : 0;
            for (std::size_t i = first; i < lstFullItemName.size(); ++i) {
                currentFile_ = i;
                ProcessEvents();
                ExtractFileIcons(lstFullItemName[i], row, column);
                if (gSetIconCount > kSetThreshold) {
                    // A set that closes on its last file leaves nothing for another set.
                    more = i + 1 < lstFullItemName.size();
                    gNextFileIndex = static_cast<std::int32_t>(i + 2);
                    break;
                }
            }
            phase_ = Phase::Idle;
            UnloadPleaseWait();
            form_.cmdScan->setEnabled(more);
            EndLongOperation();
            if (gSetIconCount < 1) {
                grid_->hide();
                ShowResult(Pick(s, QStringLiteral("No (more) icons located."),
                                QStringLiteral("Δεν εντοπίσθηκαν (άλλα) εικονίδια.")));
            } else {
                grid_->scrollToTop();
                ShowResult(CountMessage(gSetIconCount, s.gLanguage));
            }
        } catch (...) {
            // The icons placed so far stay in the grid.
            phase_ = Phase::Idle;
            UnloadPleaseWait();
            EndLongOperation();
            throw;
        }
    });
}

void IconBrowser::ExtractFileIcons(const std::string& file, int& row, int& column) {
    std::exception_ptr failure;
    try {
        const iconreader::IconFile icons(file);
        // The icons are drawn on the system window colour, as the surface they are drawn on would show it.
        const QRgb background = QApplication::palette().color(QPalette::Active, QPalette::Base).rgb();
        for (int index = 0;; ++index) {
            ProcessEvents();
            const auto picture = icons.draw(index, background, IconGrid::kSurfaceSize);
            if (!picture)
                return; // the first index without an icon ends the file
            const QImage image = ToImage(*picture);
            if (++column > IconGrid::kColumns - 1) {
                grid_->AppendRow();
                column = 0;
                row = grid_->rowCount() - 1;
            }
            grid_->PlacePicture(row, column, image);
            if (grid_->isHidden())
                grid_->show();
            ++gSetIconCount;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // The rest of this file's icons are skipped and the set goes on; the question is asked with the normal
    // pointer.
    form_.ui.setPointer(Pointer::Default);
    RunUnderErrorTrap(form_.ui, form_.state, &form_, Location::ExtractFileIcons,
                      [&failure] { std::rethrow_exception(failure); });
    form_.ui.setPointer(Pointer::Hourglass);
}

// ---------------------------------------------------------------------------------------------------------
// The icon menu and the export

QString IconBrowser::IconFolder() const {
    // A folder typed into the settings file without its separator still takes the icons inside it.
    return AppendSeparator(form_.state.gIconSavePath);
}

QImage IconBrowser::CurrentPicture() const {
    return grid_->Picture(grid_->currentRow(), grid_->currentColumn());
}

void IconBrowser::grdControl_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton)
        return; // the right button asks for the grid's help, never the menu
    if (grid_->currentRow() < 0 || grid_->currentColumn() < 0)
        return;
    const std::int64_t cell =
        std::int64_t{grid_->currentRow()} * grid_->columnCount() + grid_->currentColumn() + 1;
    gSelectedIcon = static_cast<std::int32_t>(cell);
    if (cell < 1 || cell > gSetIconCount)
        return; // an empty cell
    gIconFileName = IconFileName(gSelectedIcon);
    gIconSaveFile = IconFolder() + gIconFileName;

    QAction* save = form_.mnuIconsSave;
    const QString caption = save->text();
    save->setText(caption + QStringLiteral("  [ ") + MenuText(gIconSaveFile) + QStringLiteral(" ]"));
    form_.ui.popupMenu(form_.mnuIcons, globalPos);
    save->setText(caption);
}

void IconBrowser::mnuIconsSave_Click() {
    RunUnderErrorTrap(form_.ui, form_.state, &form_, Location::SaveIcon,
                      [this] { SaveBitmapFile(CurrentPicture(), gIconSaveFile); });
}

void IconBrowser::mnuIconsSaveAs_Click() {
    const SharedState& s = form_.state;
    RunUnderErrorTrap(form_.ui, s, &form_, Location::SaveIconAs, [this, &s] {
        const QImage picture = CurrentPicture();
        for (;;) {
            FileDialogRequest r;
            r.title =
                Pick(s, QStringLiteral("Save icon as..."), QStringLiteral("Αποθήκευση εικονιδίου ως..."));
            gDialogFilter =
                Pick(s, QStringLiteral("Pictures (*.bmp)|*.bmp"), QStringLiteral("Εικόνες (*.bmp)|*.bmp"));
            r.initialPath = IconFolder() + gIconFileName.chopped(4); // the name without ".bmp"
            r.filter = ToolkitFilter(gDialogFilter);
            r.defaultSuffix = QStringLiteral("bmp");
            r.confirmOverwrite = true;
            r.pathMustExist = true;
            const std::optional<QString> chosen = form_.ui.saveFileName(&form_, r);
            if (!chosen)
                return; // cancelled: nothing changes
            if (const std::optional<QString> target = WithBitmapExtension(*chosen)) {
                SaveBitmapFile(picture, *target);
                return;
            }
            ShowMessage(form_.ui, &form_,
                        Pick(s, QStringLiteral("You may not alter the '.bmp' extension."),
                             QStringLiteral("Δεν επιτρέπεται να τροποποιήσετε την κατάληξη «.bmp».")),
                        r.title, MsgIcon::Critical);
        }
    });
}

void IconBrowser::mnuIconsCopy_Click() {
    RunUnderErrorTrap(form_.ui, form_.state, &form_, Location::CopyIcon, [this] {
        const QImage picture = CurrentPicture();
        if (picture.isNull())
            throw RunTimeError(errors::Internal, QStringLiteral("No icon in the selected cell"));
        form_.ui.setClipboardImage(picture);
    });
}

void IconBrowser::mnuSavePathIcons_Click() {
    SharedState& s = form_.state;
    RunUnderErrorTrap(form_.ui, s, &form_, Location::ChooseIconFolder, [this, &s] {
        // An open-file dialog stands in for a folder chooser: the user moves to the folder and confirms the
        // pre-filled name, and the folder is taken from the name returned.
        FileDialogRequest r;
        r.title = Pick(s, QStringLiteral("Select the folder where the icons will be saved"),
                       QStringLiteral("Επιλέξτε τον φάκελλο αποθηκεύσεως των εικονιδίων"));
        gDialogFilter =
            Pick(s, QStringLiteral("Pictures (*.bmp)|*.bmp"), QStringLiteral("Εικόνες (*.bmp)|*.bmp"));
        r.initialPath = IconFolder() + Pick(s, QStringLiteral("do not alter this text"),
                                            QStringLiteral("μην τροποποιήσετε αυτό το κείμενο"));
        r.filter = ToolkitFilter(gDialogFilter);
        r.defaultSuffix = QStringLiteral("bmp");
        r.confirmOverwrite = false;
        r.pathMustExist = true;
        const std::optional<QString> chosen = form_.ui.openFileName(&form_, r);
        if (!chosen)
            return; // cancelled: nothing changes
        s.gIconSavePath = FolderOfChosenFile(*chosen);
        settings::Write(s.gIniFile, settings::Options, settings::IconSavePath, s.gIconSavePath);
    });
}

} // namespace vesmarin
