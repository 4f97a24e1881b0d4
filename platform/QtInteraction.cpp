#include "platform/QtInteraction.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QWhatsThis>
#include <algorithm>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vesmarin {

namespace {

QMessageBox::StandardButton ToQt(MsgButton b) {
    switch (b) {
    case MsgButton::Ok:
        return QMessageBox::Ok;
    case MsgButton::Cancel:
        return QMessageBox::Cancel;
    case MsgButton::Yes:
        return QMessageBox::Yes;
    case MsgButton::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// The instance lock of a settings folder: a hidden file beside the settings.
const QString InstanceLockName = QStringLiteral(".Tembrill.lock");

// The buttons of a set, and the answer of Escape or of closing the box from its frame.
struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    MsgButton escape;
};

ButtonSet ButtonsOf(MsgButtons set) {
    switch (set) {
    case MsgButtons::Ok:
        break;
    case MsgButtons::OkCancel:
        return {QMessageBox::Ok | QMessageBox::Cancel, MsgButton::Cancel};
    case MsgButtons::YesNo:
        return {QMessageBox::Yes | QMessageBox::No, MsgButton::No};
    }
    return {QMessageBox::Ok, MsgButton::Ok};
}

// A message box that never reaches past the screen: a text too long for it (a report quoting a very long
// path) scrolls inside the box, so that its buttons stay in reach.
class ScreenSizedMessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event); // sizes the box to hold its whole text
        if (!scrolls_)
            ScrollTextIfTooTall();
    }

    bool event(QEvent* event) override {
        const bool done = QMessageBox::event(event); // a new layout sizes the box anew
        if (scrolls_ && event->type() == QEvent::LayoutRequest)
            PlaceOnScreen();
        return done;
    }

private:
    QRect Available() const {
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        return screen ? screen->availableGeometry() : QRect();
    }
    // The window's frame is not known before it is on screen: room for a title bar above and as much below.
    int FrameAllowance() const { return style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this); }

    void ScrollTextIfTooTall() {
        const QRect available = Available();
        const int frame = FrameAllowance();
        if (available.isEmpty() || height() + 2 * frame <= available.height())
            return;
        // The toolkit's own name for the text of a message box, the same since its first version.
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        auto* grid = qobject_cast<QGridLayout*>(layout());
        const int index = grid && label ? grid->indexOf(label) : -1;
        if (index < 0)
            return;
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        const int rest = height() - label->height(); // margins and buttons
        grid->removeWidget(label);
        auto* area = new QScrollArea(this);
        area->setObjectName(QStringLiteral("messageText"));
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(true);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        area->setFixedSize(label->width() + area->verticalScrollBar()->sizeHint().width(),
                           std::max(available.height() - 2 * frame - rest, 4 * fontMetrics().height()));
        area->setWidget(label);
        grid->addWidget(area, row, column, rowSpan, columnSpan);
        area->show();
        scrolls_ = true; // the layout request this posts sizes and places the box
    }

    // Centred where it was meant to stand, over its owner or the screen, and wholly on the screen.
    void PlaceOnScreen() {
        const QRect available = Available();
        const int frame = FrameAllowance();
        QRect placed(pos(), size());
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        placed.moveCenter(owner ? owner->geometry().center() : available.center());
        const int lowest = available.bottom() + 1 - frame - placed.height();
        placed.moveTop(std::max(available.top() + frame, std::min(placed.top(), lowest)));
        move(placed.topLeft());
    }

    bool scrolls_ = false;
};

// The toolkit's own file dialog, never the desktop's: it speaks the language in force, and it refuses a
// name in a folder that does not exist before it closes, as the file dialogs of Windows do.
class FileDialog final : public QFileDialog {
public:
    FileDialog(QWidget* parent, const FileDialogRequest& request, AcceptMode mode)
        : QFileDialog(parent, request.title, request.initialPath, request.filter),
          pathMustExist_(request.pathMustExist) {
        setOption(DontUseNativeDialog);
        setAcceptMode(mode);
        setFileMode(AnyFile);
        setOption(DontConfirmOverwrite, !request.confirmOverwrite);
        if (!request.defaultSuffix.isEmpty())
            setDefaultSuffix(request.defaultSuffix);
    }

    std::optional<QString> Run() {
        if (exec() != QDialog::Accepted || selectedFiles().isEmpty())
            return std::nullopt;
        return selectedFiles().constFirst();
    }

protected:
    void accept() override {
        const QStringList files = selectedFiles();
        if (pathMustExist_ && !files.isEmpty()) {
            const QString folder = QFileInfo(files.constFirst()).absolutePath();
            if (!QFileInfo(folder).isDir()) {
                // The toolkit's own words for a missing folder, translated with its other texts.
                QMessageBox::warning(
                    this, windowTitle(),
                    QCoreApplication::translate("QFileDialog", "%1\nDirectory not found.\nPlease verify the "
                                                               "correct directory name was given.")
                        .arg(QDir::toNativeSeparators(folder)));
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    bool pathMustExist_;
};

} // namespace

QtInteraction::~QtInteraction() {
    releaseInstanceLock();
    if (pointerOverridden_)
        QApplication::restoreOverrideCursor();
}

MsgButton QtInteraction::messageBox(QWidget* parent, const MessageRequest& request) {
    // A window still loading (a dialog whose start-up reports an error) is not on screen yet and has no
    // place: the box belongs to the nearest window that is shown, or stands alone centred on the screen.
    QWidget* owner = parent;
    while (owner && !owner->isVisible())
        owner = owner->parentWidget();
    ScreenSizedMessageBox box(owner);
    // Texts carry Windows line breaks; the toolkit wants plain line feeds.
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Messages quote paths and names, which may look like markup: show them as they stand.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setWindowTitle(request.title);
    switch (request.icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    const ButtonSet set = ButtonsOf(request.buttons);
    box.setStandardButtons(set.buttons);
    box.setDefaultButton(ToQt(request.defaultButton));
    box.setEscapeButton(ToQt(set.escape));
    box.exec();
    // Escape and the frame's close press the escape button, so a button is always known.
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return MsgButton::Ok;
    case QMessageBox::Cancel:
        return MsgButton::Cancel;
    case QMessageBox::Yes:
        return MsgButton::Yes;
    case QMessageBox::No:
        return MsgButton::No;
    default:
        return set.escape;
    }
}

std::optional<QString> QtInteraction::saveFileName(QWidget* parent, const FileDialogRequest& request) {
    return FileDialog(parent, request, QFileDialog::AcceptSave).Run();
}

std::optional<QString> QtInteraction::openFileName(QWidget* parent, const FileDialogRequest& request) {
    return FileDialog(parent, request, QFileDialog::AcceptOpen).Run();
}

std::optional<FolderChoice> QtInteraction::chooseFolder(QWidget* parent, const FolderDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.initialFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // A folder has no file type to choose: the choice takes that row's place, in a row of its own below.
    for (const char* name : {"fileTypeLabel", "fileTypeCombo"})
        if (auto* typeRow = dialog.findChild<QWidget*>(QString::fromLatin1(name)))
            typeRow->hide();
    QComboBox* choices = nullptr;
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()); grid && !request.choices.isEmpty()) {
        choices = new QComboBox(&dialog);
        choices->setObjectName(QStringLiteral("choices"));
        choices->addItems(request.choices);
        choices->setCurrentIndex(request.choice);
        auto* label = new QLabel(request.choiceLabel, &dialog);
        label->setBuddy(choices);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(choices, row, 1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FolderChoice{dialog.selectedFiles().constFirst(),
                        choices ? choices->currentIndex() : request.choice};
}

void QtInteraction::setClipboardImage(const QImage& picture, const QByteArray& png) {
    // One offer holds both, so a paste takes whichever form it understands.
    auto* data = new QMimeData;
    data->setImageData(picture);
    if (!png.isEmpty())
        data->setData(QStringLiteral("image/png"), png);
    QApplication::clipboard()->setMimeData(data);
}

QAction* QtInteraction::popupMenu(QMenu* menu, const QPoint& globalPos) {
    // exec() triggers the chosen action before it returns.
    return menu->exec(globalPos);
}

void QtInteraction::showWhatsThis(QWidget* control, const QPoint& globalPos, const QString& text) {
    QWhatsThis::showText(globalPos, text, control);
}

bool QtInteraction::runAndWait(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        return false;
    // The caller waits for the program, but the windows keep repainting meanwhile.
    while (!process.waitForFinished(50))
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

bool QtInteraction::startProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

QString QtInteraction::findExecutable(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

void QtInteraction::beep() {
    QApplication::beep();
}

void QtInteraction::setPointer(Pointer pointer) {
    if (pointer == Pointer::Hourglass && !pointerOverridden_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        pointerOverridden_ = true;
    } else if (pointer == Pointer::Default && pointerOverridden_) {
        QApplication::restoreOverrideCursor();
        pointerOverridden_ = false;
    }
}

bool QtInteraction::anotherInstanceRunning(const QString& settingsFolder) {
#ifdef Q_OS_UNIX
    const bool held = instanceLock_ >= 0;
#else
    const bool held = instanceLock_ != nullptr;
#endif
    if (held)
        return false; // the holder of the lock is not its own rival
    const QString file = QDir(settingsFolder).filePath(InstanceLockName);
#ifdef Q_OS_UNIX
    // A lock the system holds for this process and drops when it ends in any way (a crash, a stick pulled
    // out), so a lock can never outlive its program; the file itself stays, empty. Every name of the folder
    // (a link, another mount) reaches the same file, and so does another user sharing the folder.
    const QByteArray name = QFile::encodeName(file);
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC); // another user's lock file
    if (fd < 0)
        return false; // the folder cannot be written: do not keep the user from working
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK;
    }
    instanceLock_ = fd;
#else
    auto lock = std::make_unique<QLockFile>(file);
    // A lock left by a crashed run names a process that no longer exists; QLockFile removes it.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return lock->error() == QLockFile::LockFailedError;
    instanceLock_ = std::move(lock);
#endif
    return false;
}

void QtInteraction::releaseInstanceLock() {
#ifdef Q_OS_UNIX
    if (instanceLock_ >= 0)
        ::close(instanceLock_);
    instanceLock_ = -1;
#else
    instanceLock_.reset();
#endif
}

void QtInteraction::endProgramNow() {
    releaseInstanceLock();
    std::_Exit(0);
}

} // namespace vesmarin
