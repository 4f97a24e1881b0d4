#pragma once

// The test double of the desktop seam: records everything the program asks of a person and
// answers message boxes and file dialogs from a script. A message box nobody scripted fails the test.

#include "platform/Interaction.h"

#include <QImage>
#include <deque>
#include <functional>
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
    struct Popup {
        QWidget* control;
        QString text;
    };

    // Script: answers for the next message boxes, in order.
    void answer(MsgButton b) { answers.push_back(b); }
    // Script: results of the next file dialogs, in order (std::nullopt = Cancel).
    void answerDialog(std::optional<QString> r) { dialogAnswers.push_back(std::move(r)); }

    MsgButton messageBox(QWidget*, const MessageRequest& request) override {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected message box: title \"" << request.title.toStdString() << "\", text \""
                          << request.text.toStdString() << "\"";
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
    void setClipboardImage(const QImage& image) override { clipboard = image; }
    void showWhatsThis(QWidget* control, const QPoint&, const QString& text) override {
        popups.push_back({control, text});
    }
    bool runAndWait(const QString& program, const QStringList& arguments) override {
        runs.push_back({program, arguments, true});
        if (onRun)
            onRun(program, arguments);
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
    bool anotherInstanceRunning() override { return otherInstance; }
    void endProgramNow() override { ++ended; }

    // Recorded
    std::vector<Shown> messages;
    std::vector<Dialog> dialogs;
    std::vector<Run> runs;
    std::vector<Popup> popups;
    std::optional<QImage> clipboard;
    int beeps = 0;
    int ended = 0;
    Pointer pointer = Pointer::Default;
    std::vector<Pointer> pointerHistory;

    // Script
    std::deque<MsgButton> answers;
    std::deque<std::optional<QString>> dialogAnswers;
    std::vector<std::pair<QString, QString>> executables; // name -> full path
    bool otherInstance = false;
    bool runSucceeds = true;
    std::function<void(const QString&, const QStringList&)> onRun; // e.g. an "editor" changing a file

    ~ScriptedInteraction() override {
        EXPECT_TRUE(answers.empty()) << answers.size() << " scripted message-box answers were not used";
        EXPECT_TRUE(dialogAnswers.empty()) << dialogAnswers.size() << " scripted dialog answers were not used";
    }

private:
    std::optional<QString> nextDialog(bool save, const FileDialogRequest& request) {
        dialogs.push_back({save, request});
        if (dialogAnswers.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
            return std::nullopt;
        }
        std::optional<QString> r = std::move(dialogAnswers.front());
        dialogAnswers.pop_front();
        return r;
    }
};

} // namespace vesmarin::test
