#pragma once

// The test double of the desktop seam: records everything the program asks of a person and
// answers message boxes and file dialogs from a script. A message box nobody scripted fails the test.

#include "platform/Interaction.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace vesmarin::test {

class ScriptedInteraction final : public Interaction {
public:
    struct Shown {
        MessageRequest request;
        MsgButton answer;
    };
    struct Dialog {
        bool save;
        FileDialogRequest request;
    };
    struct Run {
        QString program;
        QStringList arguments;
        bool waited;
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
    void answer(MsgButton b) { answers.push_back(b); }
    // Script: the item (object name) chosen in the next pop-up menu; an empty name dismisses it.
    void chooseMenuItem(const QString& name) { menuChoices.push_back(name); }
    // Script: the answer to the next folder dialog (std::nullopt = Cancel).
    void answerFolder(const std::optional<FolderChoice>& a) { folderAnswers.push_back(a); }
    // Script: results of the next file dialogs, in order (std::nullopt = Cancel).
    void answerDialog(const std::optional<QString>& r) {
        dialogAnswers.push_back({r.has_value(), r.value_or(QString())});
    }

    MsgButton messageBox(QWidget*, const MessageRequest& request) override {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected message box: title \"" << request.title.toStdString()
                          << "\", text \"" << request.text.toStdString() << "\"";
            messages.push_back({request, request.defaultButton});
            return request.defaultButton;
        }
        const MsgButton a = answers.front();
        answers.pop_front();
        messages.push_back({request, a});
        return a;
    }
    std::optional<QString> saveFileName(QWidget*, const FileDialogRequest& request) override {
        return nextDialog(true, request);
    }
    std::optional<QString> openFileName(QWidget*, const FileDialogRequest& request) override {
        return nextDialog(false, request);
    }
    std::optional<FolderChoice> chooseFolder(QWidget*, const FolderDialogRequest& request) override {
        folderDialogs.push_back(request);
        if (folderAnswers.empty()) {
            ADD_FAILURE() << "unexpected folder dialog: " << request.title.toStdString();
            return std::nullopt;
        }
        const std::optional<FolderChoice> a = folderAnswers.front();
        folderAnswers.pop_front();
        return a;
    }
    void setClipboardImage(const QImage& picture, const QByteArray& png) override {
        clipboard = picture;
        clipboardPng = png;
    }
    // Records the menu's item captions as they stand while it is open, then chooses the scripted item
    // (by object name; empty = dismiss) and runs its action, as a click on it would.
    QAction* popupMenu(QMenu* menu, const QPoint& at) override {
        OpenedMenu opened{menu->objectName(), {}, at};
        for (QAction* a : menu->actions())
            opened.captions.push_back(a->isSeparator() ? QStringLiteral("-") : a->text());
        menus.push_back(opened);
        if (menuChoices.empty()) {
            ADD_FAILURE() << "unexpected pop-up menu: " << menu->objectName().toStdString();
            return nullptr;
        }
        const QString choice = menuChoices.front();
        menuChoices.pop_front();
        if (choice.isEmpty())
            return nullptr;
        for (QAction* a : menu->actions()) {
            if (a->objectName() == choice) {
                a->trigger();
                return a;
            }
        }
        ADD_FAILURE() << "menu " << menu->objectName().toStdString() << " has no item "
                      << choice.toStdString();
        return nullptr;
    }
    void showWhatsThis(QWidget* control, const QPoint&, const QString& text) override {
        popups.push_back({control, text});
    }
    bool runAndWait(const QString& program, const QStringList& arguments) override {
        runs.push_back({program, arguments, true});
        return runSucceeds;
    }
    bool startProgram(const QString& program, const QStringList& arguments) override {
        runs.push_back({program, arguments, false});
        return runSucceeds;
    }
    QString findExecutable(const QString& name) override {
        for (const auto& [n, path] : executables)
            if (n == name)
                return path;
        return {};
    }
    void beep() override { ++beeps; }
    void setPointer(Pointer p) override {
        pointer = p;
        pointerHistory.push_back(p);
    }
    bool anotherInstanceRunning(const QString& settingsFolder) override {
        instanceFolder = settingsFolder;
        return otherInstance;
    }
    void endProgramNow() override { ++ended; }

    // Recorded
    std::vector<Shown> messages;
    std::vector<Dialog> dialogs;
    std::vector<Run> runs;
    std::vector<Popup> popups;
    std::vector<OpenedMenu> menus;
    std::vector<FolderDialogRequest> folderDialogs;
    std::optional<QImage> clipboard;
    QByteArray clipboardPng;
    int beeps = 0;
    int ended = 0;
    Pointer pointer = Pointer::Default;
    std::vector<Pointer> pointerHistory;
    QString instanceFolder; // the folder the single-instance test was asked about

    // Script
    std::deque<MsgButton> answers;
    struct DialogAnswer {
        bool accepted;
        QString path;
    };
    std::deque<DialogAnswer> dialogAnswers;
    std::deque<QString> menuChoices;
    std::deque<std::optional<FolderChoice>> folderAnswers;
    std::vector<std::pair<QString, QString>> executables; // name -> full path
    bool otherInstance = false;
    bool runSucceeds = true;

    ~ScriptedInteraction() override {
        EXPECT_TRUE(answers.empty()) << answers.size() << " scripted message-box answers were not used";
        EXPECT_TRUE(dialogAnswers.empty() && folderAnswers.empty())
            << dialogAnswers.size() + folderAnswers.size() << " scripted dialog answers were not used";
    }

private:
    std::optional<QString> nextDialog(bool save, const FileDialogRequest& request) {
        dialogs.push_back({save, request});
        if (dialogAnswers.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
            return std::nullopt;
        }
        const DialogAnswer a = dialogAnswers.front();
        dialogAnswers.pop_front();
        if (!a.accepted)
            return std::nullopt;
        return a.path;
    }
};

} // namespace vesmarin::test
