#pragma once

#include "platform/Interaction.h"

#include <QLockFile>
#include <QtGlobal>
#include <memory>

namespace vesmarin {

// The real desktop: Qt message boxes and dialogs, the system clipboard, processes.
class QtInteraction final : public Interaction {
public:
    QtInteraction() = default;
    ~QtInteraction() override;

    MsgButton messageBox(QWidget* parent, const MessageRequest& request) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<FolderChoice> chooseFolder(QWidget* parent, const FolderDialogRequest& request) override;
    void setClipboardImage(const QImage& picture, const QByteArray& png) override;
    QAction* popupMenu(QMenu* menu, const QPoint& globalPos) override;
    void showWhatsThis(QWidget* control, const QPoint& globalPos, const QString& text) override;
    bool runAndWait(const QString& program, const QStringList& arguments) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    QString findExecutable(const QString& name) override;
    void beep() override;
    void setPointer(Pointer pointer) override;
    bool anotherInstanceRunning(const QString& settingsFolder) override;
    [[noreturn]] void endProgramNow() override;

private:
    void releaseInstanceLock();

#ifdef Q_OS_UNIX
    int instanceLock_ = -1; // the locked file, open while the program runs
#else
    std::unique_ptr<QLockFile> instanceLock_;
#endif
    bool pointerOverridden_ = false;
};

} // namespace vesmarin
