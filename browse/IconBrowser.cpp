#include "browse/IconBrowser.h"

#include "base/PathText.h"
#include "base/Settings.h"
#include "browse/IconDetailsDialog.h"
#include "browse/IconGrid.h"
#include "browse/core/DirectoryScanner.h"
#include "browse/core/IconExport.h"
#include "platform/iconreader/IconReader.h"
#include "ui/PleaseWaitWindow.h"
#include "ui/PopupMenu.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>

namespace vesmarin {

namespace {

// What a cell shows: the icon with its transparency, from the stored image that best fits the cell's
// pixels on this screen (32 x the device pixel ratio), so a high-density screen gets the larger images
// instead of the 32x32 picture blown up. At a ratio of 1 it is the image the 32x32 picture is drawn from.
QImage ShownPicture(const iconreader::IconFile& icons, int index, qreal ratio) {
    const int pixels = std::clamp(static_cast<int>(std::lround(IconGrid::kSurfaceSize * ratio)),
                                  IconGrid::kSurfaceSize, iconreader::kMaxDimension);
    const auto picture = icons.picture(index, pixels);
    if (!picture)
        return {};
    QImage shown = ToImage(*picture).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    shown.setDevicePixelRatio(static_cast<qreal>(pixels) / IconGrid::kSurfaceSize);
    return shown;
}

} // namespace

IconBrowser::IconBrowser(QWidget& window, const Controls& controls, Interaction& ui, const Language& language,
                         const ProgramFiles& files)
    : window_(window), controls_(controls), ui_(ui), language_(language), files_(files) {
    connect(controls_.nextSet, &QPushButton::clicked, this, &IconBrowser::showNextSet);
    connect(controls_.grid, &IconGrid::mouseReleased, this, &IconBrowser::showIconMenu);
    connect(controls_.grid, &IconGrid::menuRequested, this, &IconBrowser::openIconMenu);
    connect(controls_.grid, &IconGrid::copyRequested, this, &IconBrowser::copyCurrentIcon);
    connect(controls_.save, &QAction::triggered, this, &IconBrowser::saveIcon);
    connect(controls_.saveAs, &QAction::triggered, this, &IconBrowser::saveIconAs);
    connect(controls_.copy, &QAction::triggered, this, &IconBrowser::copyIcon);
    connect(controls_.savePng, &QAction::triggered, this, &IconBrowser::saveIconPng);
    connect(controls_.saveIco, &QAction::triggered, this, &IconBrowser::saveIconIco);
    connect(controls_.saveAll, &QAction::triggered, this, &IconBrowser::saveAllIcons);
    connect(controls_.details, &QAction::triggered, this, &IconBrowser::showDetails);
    controls_.grid->viewport()->installEventFilter(this); // for the tooltips of the cells
}

IconBrowser::~IconBrowser() {
    delete pleaseWait_.data();
    delete details_.data();
}

// ---------------------------------------------------------------------------------------------------------
// Long operations

void IconBrowser::beginLongOperation() {
    ui_.setPointer(Pointer::Hourglass);
    window_.setEnabled(false);
}

void IconBrowser::showPleaseWait(const QString& operation) {
    delete pleaseWait_.data();
    pleaseWait_ = new PleaseWaitWindow(
        &window_,
        operation.isEmpty()
            ? language_.pick(QStringLiteral("Browsing Files"), QStringLiteral("Φυλλομέτρηση Αρχείων"))
            : operation,
        language_.pick(QStringLiteral("Please Wait"), QStringLiteral("Παρακαλώ Περιμένετε")));
    pleaseWait_->showCentredOnOwner();
    pump_.run(); // paint it before the work starts
}

void IconBrowser::closePleaseWait() {
    if (pleaseWait_) {
        pleaseWait_->hide();
        delete pleaseWait_.data();
    }
}

void IconBrowser::endLongOperation() {
    window_.setEnabled(true);
    ui_.setPointer(Pointer::Default);
}

void IconBrowser::processEvents() {
    if (!pump_.due())
        return;
    // The labels and the grid follow the work only when the windows are about to repaint.
    if (phase_ == Phase::Collecting && !collected_.empty()) {
        controls_.info->setText(DisplayPath(collected_.back()));
    } else if (phase_ == Phase::Extracting && currentFile_ < collected_.size()) {
        controls_.info->setText(DisplayPath(collected_[currentFile_]));
        controls_.grid->scrollToBottom(); // the newest icons in view
    }
    pump_.run();
}

// Shown once the window is enabled again and the pointer is the normal one.
void IconBrowser::showResult(const QString& text) {
    controls_.info->setText(text);
    ShowMessage(ui_, &window_, text, language_.title);
}

// ---------------------------------------------------------------------------------------------------------
// Browse: the file collection

void IconBrowser::browse(const QString& folder, int levels, const QString& patternList) {
    beginLongOperation();
    controls_.info->clear();
    collected_.clear();
    controls_.nextSet->setEnabled(false);
    controls_.grid->hide();
    showPleaseWait();

    const bool collected = RunUnderErrorTrap(errors(), Location::Browse, [&] {
        phase_ = Phase::Collecting;
        try {
            CollectFiles(FileSystemPath(folder), levels, patternList.toStdString(), collected_,
                         [this](ScanEvent, std::string_view) { processEvents(); });
        } catch (...) {
            // Everything is restored before the report; the entries found so far stay.
            phase_ = Phase::Idle;
            closePleaseWait();
            endLongOperation();
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

    foundFileCount_ = static_cast<std::int32_t>(collected_.size());
    if (foundFileCount_ >= 1) {
        showFirstSet(); // it restores the window at its end
        return;
    }
    closePleaseWait();
    controls_.grid->hide();
    endLongOperation();
    showResult(
        language_.pick(QStringLiteral("No icons located."), QStringLiteral("Δεν εντοπίσθηκαν εικονίδια.")));
}

// ---------------------------------------------------------------------------------------------------------
// The icon sets

void IconBrowser::showFirstSet() {
    nextFile_ = 0;
    showNextSet();
}

void IconBrowser::showNextSet() {
    controls_.info->clear();
    setIconCount_ = 0;
    if (nextFile_ > 0) { // the first set follows Browse, which has done this already
        beginLongOperation();
        showPleaseWait();
    }
    RunUnderErrorTrap(errors(), Location::ShowNextSet, [this] {
        try {
            fillSet();
        } catch (...) {
            // The icons placed so far stay in the grid.
            phase_ = Phase::Idle;
            closePleaseWait();
            endLongOperation();
            throw;
        }
    });
}

// Places the icons of whole files from nextFile_ on, until the set holds more than kSetThreshold icons.
void IconBrowser::fillSet() {
    IconGrid& grid = *controls_.grid;
    grid.clearIcons();
    cells_.clear();
    bool more = false;
    phase_ = Phase::Extracting;
    for (std::size_t i = nextFile_; i < collected_.size(); ++i) {
        currentFile_ = i;
        processEvents();
        extractFileIcons(collected_[i]);
        if (setIconCount_ > kSetThreshold) {
            // A set that closes on its last file leaves nothing for another set.
            more = i + 1 < collected_.size();
            nextFile_ = i + 1;
            break;
        }
    }
    phase_ = Phase::Idle;
    closePleaseWait();
    controls_.nextSet->setEnabled(more);
    endLongOperation();
    if (setIconCount_ < 1) {
        grid.hide();
        showResult(language_.pick(QStringLiteral("No (more) icons located."),
                                  QStringLiteral("Δεν εντοπίσθηκαν (άλλα) εικονίδια.")));
    } else {
        grid.scrollToTop();
        showResult(CountMessage(setIconCount_, language_.greek));
    }
}

void IconBrowser::extractFileIcons(const std::string& file) {
    std::exception_ptr failure;
    try {
        const iconreader::IconFile icons(file);
        // Save and Copy take the icon drawn on the system window colour, as the surface it is drawn on
        // would show it.
        const QRgb background = QApplication::palette().color(QPalette::Active, QPalette::Base).rgb();
        IconGrid& grid = *controls_.grid;
        const qreal ratio = grid.devicePixelRatioF();
        for (int index = 0;; ++index) {
            processEvents();
            const auto picture = icons.draw(index, background, IconGrid::kSurfaceSize);
            if (!picture)
                return; // the first index without an icon ends the file
            QImage image = ToImage(*picture);
            image.reinterpretAsFormat(QImage::Format_RGB32); // drawn opaque
            grid.appendIcon(image, ShownPicture(icons, index, ratio));
            if (grid.isHidden())
                grid.show();
            cells_.push_back({currentFile_, index});
            ++setIconCount_;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // The rest of this file's icons are skipped and the set goes on; the question is asked with the normal
    // pointer.
    ui_.setPointer(Pointer::Default);
    RunUnderErrorTrap(errors(), Location::ExtractFileIcons, [&failure] { std::rethrow_exception(failure); });
    ui_.setPointer(Pointer::Hourglass);
}

// ---------------------------------------------------------------------------------------------------------
// The icon menu and the icon folder

QString IconBrowser::iconFolderWithSeparator() const {
    // A folder typed into the settings file without its separator still takes the icons inside it.
    return AppendSeparator(iconFolder_);
}

QImage IconBrowser::currentPicture() const {
    const IconGrid& grid = *controls_.grid;
    return grid.picture(grid.currentRow(), grid.currentColumn());
}

void IconBrowser::showIconMenu(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton)
        return; // the right button asks for the grid's help, never the menu
    openIconMenu(globalPos);
}

// The menu of the current cell, whether a click or a key asked for it: the same cell gives the same
// number and the same Save name.
void IconBrowser::openIconMenu(const QPoint& globalPos) {
    const IconGrid& grid = *controls_.grid;
    if (grid.currentRow() < 0 || grid.currentColumn() < 0)
        return;
    const std::int64_t cell = grid.cellNumber(grid.currentRow(), grid.currentColumn());
    selectedIcon_ = static_cast<std::int32_t>(cell);
    if (cell < 1 || cell > setIconCount_)
        return; // an empty cell
    iconFileName_ = IconFileName(selectedIcon_);
    iconFile_ = iconFolderWithSeparator() + iconFileName_;
    PopupWithValues(ui_, controls_.iconMenu, globalPos, {{controls_.save, iconFile_}});
}

std::optional<IconSource> IconBrowser::iconOfCell(std::int32_t cell) const {
    if (cell < 1 || static_cast<std::size_t>(cell) > cells_.size())
        return std::nullopt;
    const CellIcon& c = cells_[static_cast<std::size_t>(cell) - 1];
    return IconSource{collected_[c.file], c.index};
}

IconSource IconBrowser::selectedSource() const {
    if (const auto icon = iconOfCell(selectedIcon_))
        return *icon;
    throw RunTimeError(errors::Internal, QStringLiteral("No icon in the selected cell"));
}

QString IconBrowser::toolTipOf(std::int32_t cell) const {
    const auto icon = iconOfCell(cell);
    if (!icon)
        return {};
    const iconreader::IconFile file(icon->path);
    const auto origin = OriginOf(file, *icon);
    if (!origin)
        return icon->file(); // the file has changed since the set was shown
    const auto info = file.info(icon->index);
    std::vector<QSize> sizes;
    for (const iconreader::ImageInfo& image : info->images)
        if (image.present)
            sizes.emplace_back(image.width, image.height);
    return IconToolTip(*origin, std::move(sizes), language_.greek);
}

bool IconBrowser::eventFilter(QObject* watched, QEvent* event) {
    const IconGrid& grid = *controls_.grid;
    if (event->type() != QEvent::ToolTip || watched != grid.viewport())
        return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex at = grid.indexAt(help->pos());
    const QString text = at.isValid()
                             ? toolTipOf(static_cast<std::int32_t>(grid.cellNumber(at.row(), at.column())))
                             : QString();
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, grid.viewport(), grid.visualRect(at));
    return true;
}

void IconBrowser::saveIcon() {
    RunUnderErrorTrap(errors(), Location::SaveIcon, [this] { SaveBitmapFile(currentPicture(), iconFile_); });
}

void IconBrowser::saveIconAs() {
    RunUnderErrorTrap(errors(), Location::SaveIconAs, [this] {
        const QImage picture = currentPicture();
        FileDialogRequest r;
        r.title =
            language_.pick(QStringLiteral("Save icon as..."), QStringLiteral("Αποθήκευση εικονιδίου ως..."));
        r.initialPath = iconFolderWithSeparator() + iconFileName_.chopped(4); // without ".bmp"
        r.filter = ToolkitFilter(language_.pick(QStringLiteral("Pictures (*.bmp)|*.bmp"),
                                                QStringLiteral("Εικόνες (*.bmp)|*.bmp")));
        r.defaultSuffix = QStringLiteral("bmp");
        r.confirmOverwrite = true;
        r.pathMustExist = true;
        for (;;) {
            const std::optional<QString> chosen = ui_.saveFileName(&window_, r);
            if (!chosen)
                return; // cancelled: nothing changes
            if (const std::optional<QString> target = WithBitmapExtension(*chosen)) {
                SaveBitmapFile(picture, *target);
                return;
            }
            ShowMessage(
                ui_, &window_,
                language_.pick(QStringLiteral("You may not alter the '.bmp' extension."),
                               QStringLiteral("Δεν επιτρέπεται να τροποποιήσετε την κατάληξη «.bmp».")),
                r.title, MsgIcon::Critical);
        }
    });
}

void IconBrowser::copyIcon() {
    RunUnderErrorTrap(errors(), Location::CopyIcon, [this] {
        const IconGrid& grid = *controls_.grid;
        const auto icon =
            iconOfCell(static_cast<std::int32_t>(grid.cellNumber(grid.currentRow(), grid.currentColumn())));
        if (!icon)
            return; // an empty cell holds nothing to copy
        const iconreader::IconFile file(icon->path);
        ui_.setClipboardImage(currentPicture(), IconPng(file, icon->index, IconGrid::kSurfaceSize));
    });
}

void IconBrowser::saveIconPng() {
    RunUnderErrorTrap(errors(), Location::SaveIconPng, [this] {
        const IconSource icon = selectedSource();
        const QString name = DisplayPath(iconwriter::outputName(icon.fileName(), icon.index, "png"));
        SaveThroughDialog(ui_, language_, &window_, SavedKind::Png, iconFolderWithSeparator() + name,
                          [&icon](const std::filesystem::path& target) {
                              return iconwriter::writeImagePng(OpenIconFile(icon), icon.index, -1, target);
                          });
    });
}

void IconBrowser::saveIconIco() {
    RunUnderErrorTrap(errors(), Location::SaveIconIco, [this] {
        const IconSource icon = selectedSource();
        const QString name = DisplayPath(iconwriter::outputName(icon.fileName(), icon.index, "ico"));
        SaveThroughDialog(ui_, language_, &window_, SavedKind::Ico, iconFolderWithSeparator() + name,
                          [&icon](const std::filesystem::path& target) {
                              return iconwriter::writeIco(OpenIconFile(icon), icon.index, target);
                          });
    });
}

void IconBrowser::saveAllIcons() {
    RunUnderErrorTrap(errors(), Location::SaveAllIcons, [this] {
        FolderDialogRequest r;
        r.title = language_.pick(QStringLiteral("Save all icons of this set"),
                                 QStringLiteral("Αποθήκευση όλων των εικονιδίων της ομάδας"));
        r.initialFolder = iconFolderWithSeparator();
        r.choiceLabel = language_.pick(QStringLiteral("Save as:"), QStringLiteral("Αποθήκευση ως:"));
        r.choices = {language_.pick(QStringLiteral("PNG images, with transparency (*.png)"),
                                    QStringLiteral("Εικόνες PNG, με διαφάνεια (*.png)")),
                     language_.pick(QStringLiteral("Icon files, every stored image (*.ico)"),
                                    QStringLiteral("Αρχεία εικονιδίων, με όλες τις εικόνες (*.ico)"))};
        const std::optional<FolderChoice> chosen = ui_.chooseFolder(&window_, r);
        if (!chosen)
            return; // cancelled: nothing changes
        writeAllIcons(chosen->folder, chosen->choice == 1);
    });
}

// Writes every icon of the set into `folder`, named as vesmarin-icons export names them, and tells how it
// went. One file is open at a time, so memory stays that of the set.
void IconBrowser::writeAllIcons(const QString& folder, bool ico) {
    const int total = static_cast<int>(cells_.size());
    const auto progress = [this, total](int done) {
        return language_
            .pick(QStringLiteral("Saving icons: %1 of %2"),
                  QStringLiteral("Αποθήκευση εικονιδίων: %1 από %2"))
            .arg(done)
            .arg(total);
    };
    beginLongOperation();
    showPleaseWait(progress(0));
    int saved = 0;
    QStringList failed;
    try {
        const std::filesystem::path target(FileSystemPath(folder));
        iconwriter::OutputNames names;
        std::optional<iconreader::IconFile> file;
        std::size_t open = collected_.size();
        std::string base;
        for (int k = 0; k < total; ++k) {
            const CellIcon& cell = cells_[static_cast<std::size_t>(k)];
            if (cell.file != open) {
                open = cell.file;
                file.emplace(collected_[open]);
                base = names.claim(IconSource{collected_[open], 0}.fileName());
            }
            const std::string name = iconwriter::outputName(base, cell.index, ico ? "ico" : "png");
            const iconwriter::WriteOutcome outcome =
                ico ? iconwriter::writeIco(*file, cell.index, target / name)
                    : iconwriter::writeImagePng(*file, cell.index, -1, target / name);
            if (outcome.written())
                ++saved;
            else
                failed << DisplayPath(name) + QStringLiteral(": ") +
                              (file->problem().empty() ? WhyNotWritten(outcome, language_.greek)
                                                       : QString::fromStdString(file->problem()));
            if (pump_.due()) {
                pleaseWait_->setOperation(progress(k + 1));
                pump_.run();
            }
        }
    } catch (...) {
        closePleaseWait();
        endLongOperation();
        throw;
    }
    closePleaseWait();
    endLongOperation();
    ShowMessage(ui_, &window_, SaveAllMessage(saved, total, folder, failed, language_.greek), language_.title,
                failed.isEmpty() ? MsgIcon::Information : MsgIcon::Critical);
}

void IconBrowser::showDetails() {
    RunUnderErrorTrap(errors(), Location::ShowIconDetails, [this] {
        const IconSource icon = selectedSource();
        if (!details_)
            details_ =
                new IconDetailsDialog(ui_, language_, &window_, [this] { return iconFolderWithSeparator(); });
        details_->showIcon(icon);
    });
}

IconDetailsDialog* IconBrowser::detailsWindow() const {
    return details_ && details_->isVisible() ? details_.data() : nullptr;
}

void IconBrowser::applyLanguage() {
    if (details_)
        details_->applyLanguage();
}

void IconBrowser::copyCurrentIcon() {
    const IconGrid& grid = *controls_.grid;
    if (!grid.item(grid.currentRow(), grid.currentColumn()))
        return; // no icon to copy: the key does nothing
    copyIcon();
}

void IconBrowser::chooseIconFolder() {
    RunUnderErrorTrap(errors(), Location::ChooseIconFolder, [this] {
        // An open-file dialog stands in for a folder chooser: the user moves to the folder and confirms the
        // pre-filled name, and the folder is taken from the name returned.
        FileDialogRequest r;
        r.title = language_.pick(QStringLiteral("Select the folder where the icons will be saved"),
                                 QStringLiteral("Επιλέξτε τον φάκελλο αποθηκεύσεως των εικονιδίων"));
        r.initialPath =
            iconFolderWithSeparator() + language_.pick(QStringLiteral("do not alter this text"),
                                                       QStringLiteral("μην τροποποιήσετε αυτό το κείμενο"));
        r.filter = ToolkitFilter(language_.pick(QStringLiteral("Pictures (*.bmp)|*.bmp"),
                                                QStringLiteral("Εικόνες (*.bmp)|*.bmp")));
        r.defaultSuffix = QStringLiteral("bmp");
        r.confirmOverwrite = false;
        r.pathMustExist = true;
        const std::optional<QString> chosen = ui_.openFileName(&window_, r);
        if (!chosen)
            return; // cancelled: nothing changes
        // The folder is taken only once the settings file holds it.
        const QString folder = FolderOfChosenFile(*chosen);
        settings::WritePath(files_.iniFile, settings::Options, settings::IconSavePath, folder);
        iconFolder_ = folder;
    });
}

} // namespace vesmarin
