#pragma once

// The test double of the desktop seam: records everything the program asks of a person and answers message
// boxes, dialogs and pop-up menus from a script. A box, dialog or menu nobody scripted fails the test.

#include "platform/Interaction.h"

#include <QMap>
#include <QMenu>
#include <deque>
#include <gtest/gtest.h>

namespace vesmarin::test {

class ScriptedInteraction final : public Interaction {
public:
    using Answer = std::optional<QString>; // a file dialog's: the name chosen, or nothing on Cancel
    struct Shown {
        MessageRequest request;
    };
    struct Dialog {
        bool save;
        FileDialogRequest request;
    };
    struct Run {
        QString program;
    };
    struct OpenedMenu {
        QString name;
        QStringList captions; // item captions while the menu was open, "-" for a separator
        QPoint at;            // where it opened, on the screen
    };
    struct Popup {
        QWidget* control;
        QString text;
    };

    // Script: answers for the next message boxes, in order.
    void answer(MsgButton b) { toBoxes.push_back(b); }
    // Script: the item (object name) chosen in the next pop-up menu; an empty name dismisses it.
    void chooseMenuItem(const QString& name) { toMenus.push_back(name); }
    // Script: the answer to the next folder dialog (std::nullopt = Cancel).
    void answerFolder(const std::optional<FolderChoice>& a) { toFolders.push_back(a); }
    // Script: results of the next file dialogs, in order (std::nullopt = Cancel).
    void answerDialog(const std::optional<QString>& r) { toFiles.push_back(r); }

    MsgButton messageBox(QWidget*, const MessageRequest& r) override {
        messages.push_back({r});
        return Next(toBoxes, r.defaultButton, "box \"" + r.title + "\": \"" + r.text + '"');
    }
    Answer saveFileName(QWidget*, const FileDialogRequest& r) override { return Ask(true, r); }
    Answer openFileName(QWidget*, const FileDialogRequest& r) override { return Ask(false, r); }
    std::optional<FolderChoice> chooseFolder(QWidget*, const FolderDialogRequest& request) override {
        folderDialogs.push_back(request);
        return Next(toFolders, {}, "folder dialog: " + request.title);
    }
    void setClipboardImage(const QImage& i, const QByteArray& p) override { clipboard = i, clipboardPng = p; }
    // Records the menu's item captions as they stand while it is open, then chooses the scripted item
    // (by object name; empty = dismiss) and runs its action, as a click on it would.
    QAction* popupMenu(QMenu* menu, const QPoint& at) override {
        menus.push_back({menu->objectName(), {}, at});
        for (QAction* a : menu->actions())
            menus.back().captions.push_back(a->isSeparator() ? QStringLiteral("-") : a->text());
        const QString choice = Next(toMenus, {}, "pop-up menu: " + menu->objectName());
        for (QAction* a : menu->actions())
            if (!choice.isEmpty() && a->objectName() == choice)
                return a->trigger(), a;
        EXPECT_TRUE(choice.isEmpty()) << "the menu has no item " << choice.toStdString();
        return nullptr;
    }
    void showWhatsThis(QWidget* control, const QPoint&, const QString& text) override {
        popups.push_back({control, text});
    }
    bool runAndWait(const QString& program, const QStringList&) override { return startProgram(program, {}); }
    bool startProgram(const QString& program, const QStringList&) override {
        runs.push_back({program});
        return runSucceeds;
    }
    QString findExecutable(const QString& name) override { return executables.value(name); }
    void beep() override { ++beeps; }
    void setPointer(Pointer p) override { pointerHistory.push_back(pointer = p); }
    bool anotherInstanceRunning(const QString& settingsFolder) override {
        instanceFolder = settingsFolder;
        return otherInstance;
    }
    void endProgramNow() override { ++ended; }

    // Recorded
    std::vector<Shown> messages;
    std::vector<Dialog> dialogs;
    std::vector<Popup> popups;
    std::vector<Run> runs;
    std::vector<OpenedMenu> menus;
    std::vector<FolderDialogRequest> folderDialogs;
    std::optional<QImage> clipboard;
    QByteArray clipboardPng;
    int beeps = 0, ended = 0;
    Pointer pointer = Pointer::Default;
    std::vector<Pointer> pointerHistory;
    QString instanceFolder;             // the folder the single-instance test was asked about
    QMap<QString, QString> executables; // name -> full path
    bool otherInstance = false, runSucceeds = true;

    ~ScriptedInteraction() override { EXPECT_TRUE(toBoxes.empty() && toFiles.empty() && toFolders.empty()); }

private:
    Answer Ask(bool save, const FileDialogRequest& request) {
        dialogs.push_back({save, request});
        return Next(toFiles, {}, "file dialog: " + request.title);
    }
    // The next scripted answer; `none`, and a failure, when the script has none left.
    template <class T> static T Next(std::deque<T>& script, T none, const QString& what) {
        if (script.empty())
            ADD_FAILURE() << "unexpected " << what.toStdString();
        else
            none = std::move(script.front()), script.pop_front();
        return none;
    }

    std::deque<MsgButton> toBoxes;
    std::deque<Answer> toFiles;
    std::deque<QString> toMenus;
    std::deque<std::optional<FolderChoice>> toFolders;
};

} // namespace vesmarin::test
