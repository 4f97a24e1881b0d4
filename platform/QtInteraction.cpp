#include "platform/QtInteraction.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QWhatsThis>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vesmarin {

namespace {

QMessageBox::StandardButton toQt(MsgButton b) {
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

QFileDialog::Options dialogOptions(const FileDialogRequest& r) {
    QFileDialog::Options o;
    if (!r.confirmOverwrite)
        o |= QFileDialog::DontConfirmOverwrite;
    return o;
}

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
    QMessageBox box(owner);
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
    switch (request.buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    box.setDefaultButton(toQt(request.defaultButton));
    const int pressed = box.exec();
    switch (pressed) {
    case QMessageBox::Yes:
        return MsgButton::Yes;
    case QMessageBox::No:
        return MsgButton::No;
    case QMessageBox::Cancel:
        return MsgButton::Cancel;
    default:
        // Escape on an OK-only box, or closing it from its frame, counts as OK.
        return request.buttons == MsgButtons::YesNo      ? MsgButton::No
               : request.buttons == MsgButtons::OkCancel ? MsgButton::Cancel
                                                         : MsgButton::Ok;
    }
}

std::optional<QString> QtInteraction::saveFileName(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.initialPath, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOptions(dialogOptions(request));
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtInteraction::openFileName(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.initialPath, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOptions(dialogOptions(request));
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void QtInteraction::setClipboardImage(const QImage& image) {
    QApplication::clipboard()->setImage(image);
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
