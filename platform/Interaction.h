#pragma once

// Every side effect that needs a person (or the desktop around the program) goes through this one
// interface: windows call it, QtInteraction carries it out, and tests put a scripted double in its place.

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace vesmarin {

enum class MsgIcon { Information, Question, Critical };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgButton { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::Information;
    MsgButtons buttons = MsgButtons::Ok;
    MsgButton defaultButton = MsgButton::Ok;
};

struct FileDialogRequest {
    QString title;
    QString initialPath;   // folder, or folder plus file name, the dialog opens at
    QString filter;        // toolkit filter text, e.g. "Bitmap (*.bmp)"
    QString defaultSuffix; // appended by the dialog when the user types no extension ("bmp")
    bool confirmOverwrite = true;
    // The dialog itself refuses a name in a folder that does not exist, and stays open.
    bool pathMustExist = true;
};

// A folder chooser, with a choice of how to use the folder offered under the list of folders.
struct FolderDialogRequest {
    QString title;
    QString initialFolder;
    QString choiceLabel; // the caption of the choices ("Save as:")
    QStringList choices; // none: no choice is offered
    int choice = 0;      // the one chosen when the dialog opens
};

struct FolderChoice {
    QString folder;
    int choice = 0;

    bool operator==(const FolderChoice&) const = default;
};

enum class Pointer { Default, Hourglass };

class Interaction {
public:
    virtual ~Interaction() = default;

    // A modal message box; returns the button pressed.
    virtual MsgButton messageBox(QWidget* parent, const MessageRequest& request) = 0;

    // File dialogs; std::nullopt when the user cancelled.
    virtual std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) = 0;

    // A folder chooser; std::nullopt when the user cancelled.
    virtual std::optional<FolderChoice> chooseFolder(QWidget* parent, const FolderDialogRequest& request) = 0;

    // Puts a picture on the clipboard as a bitmap and, when `png` is not empty, beside it that PNG file
    // (the same picture with its transparency) as "image/png", which image editors paste as it is.
    virtual void setClipboardImage(const QImage& picture, const QByteArray& png) = 0;

    // Shows a pop-up menu at `globalPos` and returns once the chosen item's action has run; returns that
    // item, or nullptr when the menu was dismissed.
    virtual QAction* popupMenu(QMenu* menu, const QPoint& globalPos) = 0;

    // A small help pop-up showing `text`, placed at `globalPos` near the control it explains.
    virtual void showWhatsThis(QWidget* control, const QPoint& globalPos, const QString& text) = 0;

    // Starts a program and blocks until it ends; false when it could not be started.
    virtual bool runAndWait(const QString& program, const QStringList& arguments) = 0;
    // Starts a program detached from this one; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // Full path of a program found on the search path, or empty.
    virtual QString findExecutable(const QString& name) = 0;

    virtual void beep() = 0;
    virtual void setPointer(Pointer pointer) = 0;

    // Single-instance test: true when another instance of this program already runs with its settings and
    // recent paths in `settingsFolder`, so that one such folder has one running program. When false, this
    // process now holds that folder's instance lock until it ends.
    virtual bool anotherInstanceRunning(const QString& settingsFolder) = 0;

    // Ends the program at once, running no window handler and writing nothing more. The scripted
    // double only records the call and returns, so callers must return straight after it.
    virtual void endProgramNow() = 0;
};

// A message with an OK button only, the common case; returns when the user has answered.
inline void ShowMessage(Interaction& ui, QWidget* parent, const QString& text, const QString& title,
                        MsgIcon icon = MsgIcon::Information) {
    ui.messageBox(parent, {text, title, icon, MsgButtons::Ok, MsgButton::Ok});
}

} // namespace vesmarin
