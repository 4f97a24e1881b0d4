// The recall dialog on its own: shown without its modal loop, so each test can look at it between steps.

#include "savedpaths/frmRecallPath.h"
#include "support/RealDialogs.h"
#include "support/ScriptedInteraction.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWhatsThis>
#include <QtTest/QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <optional>

namespace vesmarin {
namespace {

using savedpaths::frmRecallPath;

const QColor kPaleCyan(192, 255, 255);

class RecallDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        state.gTitle = QStringLiteral("Vesmarin");
        state.gSavedPathsFile = folder.filePath(QStringLiteral("SavedPaths.txt"));
    }

    void Store(const QByteArray& bytes) { test::WriteFile(state.gSavedPathsFile, bytes); }
    QByteArray Stored() const { return test::ReadFile(state.gSavedPathsFile); }

    frmRecallPath& Open() {
        dialog = std::make_unique<frmRecallPath>(ui, state, nullptr);
        dialog->show();
        return *dialog;
    }

    static QStringList Items(const frmRecallPath& d) {
        QStringList items;
        for (int i = 0; i < d.lstSavedPaths->count(); ++i)
            items << d.lstSavedPaths->item(i)->text();
        return items;
    }
    static QColor ListColour(const frmRecallPath& d) {
        return d.lstSavedPaths->palette().color(QPalette::Base);
    }

    QTemporaryDir folder;
    SharedState state;
    test::ScriptedInteraction ui;
    std::unique_ptr<frmRecallPath> dialog;
};

TEST_F(RecallDialog, ListsTheLinesThatHoldMoreThanBlanksNoneSelected) {
    struct Case {
        const char* name;
        std::optional<QByteArray> file; // none: no file
        QStringList items;
    };
    const Case cases[] = {
        {"no file: created empty", std::nullopt, {}},
        {"only blank lines", "\r\n   \r\n\t\n", {}},
        {"lines kept exactly, blank ones left out", "  /a b  \r\n\r\n/c\n", {"  /a b  ", "/c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(state.gSavedPathsFile);
        if (c.file)
            Store(*c.file);
        const frmRecallPath& d = Open();
        EXPECT_EQ(Stored(), c.file.value_or(QByteArray()));
        EXPECT_EQ(Items(d), c.items);
        EXPECT_TRUE(d.lstSavedPaths->selectedItems().isEmpty());
        EXPECT_FALSE(d.cmdRecall->isEnabled());
        if (c.items.isEmpty()) {
            EXPECT_EQ(ListColour(d), savedpaths::EmptyListColour()) << "an empty list looks greyed";
            EXPECT_NE(ListColour(d), kPaleCyan);
        } else {
            EXPECT_EQ(ListColour(d), kPaleCyan);
        }
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(RecallDialog, TextsFollowTheLanguageInForce) {
    for (const bool greek : {false, true}) {
        state.gLanguage = greek;
        const frmRecallPath& d = Open();
        const QStringList texts{d.windowTitle(), d.cmdCancel->text(), d.cmdEdit->text(), d.cmdRecall->text()};
        EXPECT_EQ(texts, greek ? QStringList({"Ανάκληση διαδρομής", "Άκυρο", "Επεξεργασία...", "Ανάκληση"})
                               : QStringList({"Recall path", "Cancel", "Edit...", "Recall"}));
    }
}

// Recall, and Enter with a line selected, hand back the line exactly; Esc cancels. Cancel, and Recall
// through the main window, are shown with the recall menu.
TEST_F(RecallDialog, RecallIsEnabledBySelectingAndHandsBackTheLineExactly) {
    enum class Press { Recall, Enter, Esc };
    const struct {
        const char* name;
        Press press;
        bool select;
        bool closes;
        QString recalled;
    } cases[] = {
        {"Recall", Press::Recall, true, true, "  /with blanks/  "},
        {"Enter with a line selected", Press::Enter, true, true, "  /with blanks/  "},
        {"Enter with nothing selected", Press::Enter, false, false, "left over"},
        {"Esc", Press::Esc, true, true, ""},
    };
    Store("/first\r\n  /with blanks/  \r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        state.gRecalledPath = QStringLiteral("left over");
        frmRecallPath& d = Open();
        d.lstSavedPaths->setCurrentRow(1);
        EXPECT_TRUE(d.cmdRecall->isEnabled());
        if (!c.select) {
            d.lstSavedPaths->clearSelection();
            EXPECT_FALSE(d.cmdRecall->isEnabled());
        }
        if (c.press == Press::Recall)
            d.cmdRecall->click();
        else
            QTest::keyClick(d.lstSavedPaths, c.press == Press::Enter ? Qt::Key_Return : Qt::Key_Escape);
        EXPECT_EQ(d.isVisible(), !c.closes);
        EXPECT_EQ(state.gRecalledPath, c.recalled);
    }
}

TEST_F(RecallDialog, ClosingFromTheFrameIsRefusedWithTheMessage) {
    Store("/a\r\n");
    frmRecallPath& d = Open();
    QCloseEvent fromFrame;
    QSpontaneKeyEvent::setSpontaneous(&fromFrame);
    ui.answer(MsgButton::Ok);
    static_cast<QObject&>(d).event(&fromFrame); // as the frame delivers it, spontaneous

    EXPECT_FALSE(fromFrame.isAccepted());
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].request.title, "Closing form");
    EXPECT_EQ(ui.messages[0].request.text,
              "For technical reasons, it is impossible to close the form, using the control menu.");
}

TEST_F(RecallDialog, EditWaitsForTheEditorThenReloadsTheList) {
    const QString editor = QStringLiteral("/usr/bin/gedit");
    enum class Edit { AddLine, Empty, Delete, NoEditor, Cancel };
    struct Case {
        const char* name;
        Edit edit;
        QStringList items;
    };
    const Case cases[] = {
        {"editor adds a line", Edit::AddLine, {"/new", "/a"}},
        {"editor empties the file", Edit::Empty, {}},
        {"editor deletes the file", Edit::Delete, {}},
        {"no editor found: nothing reported, list read again", Edit::NoEditor, {"/a"}},
        {"Cancel on the notice starts nothing", Edit::Cancel, {"/a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        ui.runs.clear();
        Store("/a\r\n");
        ui.executables.clear();
        if (c.edit != Edit::NoEditor)
            ui.executables = {{QStringLiteral("gedit"), editor}};
        ui.onRun = [&](const QString&, const QStringList&) {
            EXPECT_TRUE(ui.messages.size() == 1) << "the notice comes first";
            if (c.edit == Edit::AddLine)
                Store("/new\r\n/a\r\n");
            else if (c.edit == Edit::Empty)
                Store("");
            else if (c.edit == Edit::Delete)
                QFile::remove(state.gSavedPathsFile);
        };
        frmRecallPath& d = Open();
        d.lstSavedPaths->setCurrentRow(0);

        ui.answer(c.edit == Edit::Cancel ? MsgButton::Cancel : MsgButton::Ok);
        d.cmdEdit->click();

        ASSERT_EQ(ui.messages.size(), 1u);
        const MessageRequest& notice = ui.messages[0].request;
        EXPECT_EQ(notice.title, "Edit saved paths");
        EXPECT_EQ(notice.text, "The application is suspended for as long as you are editing the file '" +
                                   state.gSavedPathsFile + "'.");
        EXPECT_EQ(notice.buttons, MsgButtons::OkCancel);
        EXPECT_EQ(notice.defaultButton, MsgButton::Ok);

        if (c.edit == Edit::Cancel || c.edit == Edit::NoEditor) {
            EXPECT_TRUE(ui.runs.empty());
        } else {
            ASSERT_EQ(ui.runs.size(), 1u);
            EXPECT_EQ(ui.runs[0].program, editor);
            EXPECT_EQ(ui.runs[0].arguments, QStringList({"--wait", state.gSavedPathsFile}));
            EXPECT_TRUE(ui.runs[0].waited);
        }
        EXPECT_EQ(Items(d), c.items);
        EXPECT_TRUE(QFile::exists(state.gSavedPathsFile)) << "a deleted file is created anew, empty";
        // After Cancel the selection stands; after an edit the list is new and nothing is selected.
        EXPECT_EQ(d.cmdRecall->isEnabled(), c.edit == Edit::Cancel);
        EXPECT_EQ(d.lstSavedPaths->selectedItems().size(), c.edit == Edit::Cancel ? 1 : 0);
        EXPECT_EQ(ListColour(d), c.items.isEmpty() ? savedpaths::EmptyListColour() : kPaleCyan);
        EXPECT_TRUE(d.isVisible());
    }
}

TEST_F(RecallDialog, ItsControlsShowTheirTopicsOnARightClickAndInWhatsThisMode) {
    state.gCurrentHelpFile = folder.filePath(QStringLiteral("help.hlp"));
    test::WriteFile(state.gCurrentHelpFile,
                    "[20010]\nThe list.\n[20020]\nCancel.\n[20030]\nEdit.\n[20040]\nRecall.\n");

    frmRecallPath& d = Open();
    const std::pair<QWidget*, QString> rows[] = {{d.lstSavedPaths, "The list."},
                                                 {d.cmdCancel, "Cancel."},
                                                 {d.cmdEdit, "Edit."},
                                                 {d.cmdRecall, "Recall."}};
    for (const auto& [control, text] : rows) {
        EXPECT_EQ(control->whatsThis(), text);
        QWidget* target = control == d.lstSavedPaths ? d.lstSavedPaths->viewport() : control;
        for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::NoButton}) {
            SCOPED_TRACE(control->objectName().toStdString() + ", button " + std::to_string(button));
            ui.popups.clear();
            EXPECT_EQ(test::AskForHelp(target, button), "") << "at once, without a menu";
            ASSERT_EQ(ui.popups.size(), 1u);
            EXPECT_EQ(ui.popups[0].text, text);
        }
    }
    EXPECT_TRUE(d.isVisible());

    QApplication::setActiveWindow(&d);
    QTest::keyClick(&d, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode()) << "Shift+F1 enters What's This mode";
    QWhatsThis::leaveWhatsThisMode();
}

} // namespace
} // namespace vesmarin
