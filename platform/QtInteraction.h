#pragma once

#include "platform/Interaction.h"

#include <QLockFile>
#include <memory>

namespace vesmarin {

// The real desktop: Qt message boxes and dialogs, the system clipboard, processes.
class QtInteraction final : public Interaction {
public:
    // `programFile` identifies this program for the single-instance lock (one lock per user and file).
    explicit QtInteraction(QString programFile);
    ~QtInteraction() override;

    MsgButton messageBox(QWidget* parent, const MessageRequest& request) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override;
    void setClipboardImage(const QImage& image) override;
    QAction* popupMenu(QMenu* menu, const QPoint& globalPos) override;
    void showWhatsThis(QWidget* control, const QPoint& globalPos, const QString& text) override;
    bool runAndWait(const QString& program, const QStringList& arguments) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    QString findExecutable(const QString& name) override;
    void beep() override;
    void setPointer(Pointer pointer) override;
    bool anotherInstanceRunning() override;
    [[noreturn]] void endProgramNow() override;

private:
    QString programFile_;
    std::unique_ptr<QLockFile> instanceLock_;
    bool pointerOverridden_ = false;
};

} // namespace vesmarin
