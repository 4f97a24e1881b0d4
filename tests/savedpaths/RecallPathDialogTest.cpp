// The recall dialog on its own: shown without its modal loop, so each test can look at it between steps.

#include "savedpaths/RecallPathDialog.h"

#include "platform/QtInteraction.h"
#include "support/Controls.h"
#include "support/DarkDesktop.h"
#include "support/RealDialogs.h"
#include "support/ScriptedInteraction.h"
#include "support/TestFiles.h"
#include "ui/Layout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWhatsThis>
#include <QtTest/QTest>
#include <QtTest/qtestspontaneevent.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace vesmarin {
namespace {

const QString kLong =
    QStringLiteral("/home/ann/") + QString(30, u'W') + QStringLiteral("/Ελένη/") + QString(40, u'm');

class RecallDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        language.title = QStringLiteral("Vesmarin");
    }

    void Store(const QByteArray& bytes) { test::WriteFile(savedPaths, bytes); }
    QByteArray Stored() const { return test::ReadFile(savedPaths); }

    RecallPathDialog& Open() {
        dialog = std::make_unique<RecallPathDialog>(ui, language, savedPaths, nullptr);
        dialog->show();
        return *dialog;
    }

    static QListWidget* List(const RecallPathDialog& d) {
        return test::Control<QListWidget>(d, "lstSavedPaths");
    }
    static QPushButton* Button(const RecallPathDialog& d, const char* name) {
        return test::Control<QPushButton>(d, name);
    }
    static QStringList Items(const RecallPathDialog& d) {
        QStringList items;
        for (int i = 0; i < List(d)->count(); ++i)
            items << List(d)->item(i)->text();
        return items;
    }
    static QColor ListColour(const RecallPathDialog& d) { return List(d)->palette().color(QPalette::Base); }

    QTemporaryDir folder;
    QString savedPaths = folder.filePath(QStringLiteral("SavedPaths.txt"));
    Language language;
    test::ScriptedInteraction ui;
    std::unique_ptr<RecallPathDialog> dialog;
};

TEST_F(RecallDialog, ListsTheLinesThatHoldMoreThanBlanksNoneSelected) {
    struct Case {
        const char* name;
        std::optional<QByteArray> file; // none: no file
        QStringList items;
        bool darkDesktop = false; // the lines read on the pale cyan under a dark palette too
    };
    const Case cases[] = {
        {"no file: created empty", std::nullopt, {}},
        {"only blank lines", "\r\n   \r\n\t\n", {}},
        {"lines kept exactly, blank ones left out", "  /a b  \r\n\r\n/c\n", {"  /a b  ", "/c"}},
        {"a long line among short ones", "/a\r\n" + kLong.toUtf8() + "\r\n/b\r\n", {"/a", kLong, "/b"}},
        {"a dark desktop", "/a\r\n", {"/a"}, true},
        {"an empty list on a dark desktop", "", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<test::DarkDesktop> desktop;
        if (c.darkDesktop)
            desktop.emplace();
        QFile::remove(savedPaths);
        if (c.file)
            Store(*c.file);
        const RecallPathDialog& d = Open();
        EXPECT_EQ(Stored(), c.file.value_or(QByteArray()));
        EXPECT_EQ(Items(d), c.items);
        EXPECT_TRUE(List(d)->selectedItems().isEmpty());
        EXPECT_FALSE(Button(d, "cmdRecall")->isEnabled());
        // Every line scrolls into view whole, however long and wherever it stands.
        QApplication::processEvents();
        int widest = 0;
        for (const QString& item : c.items)
            widest = std::max(widest, List(d)->fontMetrics().horizontalAdvance(item));
        EXPECT_GE(List(d)->horizontalScrollBar()->maximum() + List(d)->viewport()->width(), widest);
        if (c.items.isEmpty()) {
            EXPECT_EQ(ListColour(d), EmptyListColour()) << "an empty list looks greyed";
            EXPECT_NE(ListColour(d), kPaleCyan);
        } else {
            EXPECT_EQ(ListColour(d), kPaleCyan);
            EXPECT_GE(Contrast(List(d)->palette().color(QPalette::Text), kPaleCyan), 4.5);
        }
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(RecallDialog, TextsFollowTheLanguageInForce) {
    for (const bool greek : {false, true}) {
        language.greek = greek;
        const RecallPathDialog& d = Open();
        const QStringList texts{d.windowTitle(), Button(d, "cmdCancel")->text(), Button(d, "cmdEdit")->text(),
                                Button(d, "cmdRecall")->text()};
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
        std::optional<QString> recalled;
    } cases[] = {
        {"Recall", Press::Recall, true, true, "  /with blanks/  "},
        {"Enter with a line selected", Press::Enter, true, true, "  /with blanks/  "},
        {"Enter with nothing selected", Press::Enter, false, false, std::nullopt},
        {"Esc", Press::Esc, true, true, std::nullopt},
    };
    Store("/first\r\n  /with blanks/  \r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecallPathDialog& d = Open();
        List(d)->setCurrentRow(1);
        EXPECT_TRUE(Button(d, "cmdRecall")->isEnabled());
        if (!c.select) {
            List(d)->clearSelection();
            EXPECT_FALSE(Button(d, "cmdRecall")->isEnabled());
        }
        if (c.press == Press::Recall)
            Button(d, "cmdRecall")->click();
        else
            QTest::keyClick(List(d), c.press == Press::Enter ? Qt::Key_Return : Qt::Key_Escape);
        EXPECT_EQ(d.isVisible(), !c.closes);
        EXPECT_EQ(d.chosenPath(), c.recalled);
    }
}

TEST_F(RecallDialog, ClosingFromTheFrameIsRefusedWithTheMessage) {
    Store("/a\r\n");
    RecallPathDialog& d = Open();
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

// A stand-in text editor, alone on the search path for the test's time: it writes down how it was
// started, waits a moment (so only a program that waits for it sees its change), then does its edit.
struct StandInEditor {
    QTemporaryDir bin;
    QByteArray savedPath = qgetenv("PATH");
    QString startedWith = bin.filePath(QStringLiteral("started-with"));

    explicit StandInEditor(const char* edit) {
        const QString script = bin.filePath(QStringLiteral("gedit"));
        test::WriteFile(script, QByteArray("#!/bin/sh\nprintf '%s\\n' \"$@\" > '") + startedWith.toUtf8() +
                                    "'\n/bin/sleep 0.3\nfor file; do :; done\n" + edit + "\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin.path().toUtf8());
    }
    ~StandInEditor() { qputenv("PATH", savedPath); }
};

// Edit on the real desktop: the real message boxes, answered by mouse or key, and a real program.
TEST_F(RecallDialog, EditWaitsForTheEditorThenReloadsTheList) {
    using test::RealDialogs;
    const struct {
        const char* name;
        const char* edit; // the stand-in editor's shell command on "$file"; nullptr: no editor at all
        bool greek;
        RealDialogs::Step answer;
        QStringList items;
    } rows[] = {
        {"OK: the editor adds a line",
         R"(printf '/new\r\n/a\r\n' > "$file")",
         false,
         RealDialogs::Click(QMessageBox::Ok),
         {"/new", "/a"}},
        {"OK by Return: the editor empties the file",
         R"(: > "$file")",
         false,
         RealDialogs::Key(Qt::Key_Return),
         {}},
        {"OK: the editor deletes the file, which is made anew",
         R"(/bin/rm "$file")",
         false,
         RealDialogs::Click(QMessageBox::Ok),
         {}},
        {"Cancel starts nothing", R"(: > "$file")", false, RealDialogs::Click(QMessageBox::Cancel), {"/a"}},
        {"no editor: the user is told where the file is",
         nullptr,
         false,
         RealDialogs::Key(Qt::Key_Return),
         {"/a"}},
        {"the same in Greek", nullptr, true, RealDialogs::Click(QMessageBox::Ok), {"/a"}},
    };
    QtInteraction desktop;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Store("/a\r\n");
        language.greek = row.greek;
        StandInEditor editor(row.edit ? row.edit : "");
        if (!row.edit)
            QFile::remove(editor.bin.filePath(QStringLiteral("gedit")));
        RecallPathDialog d(desktop, language, savedPaths, nullptr);
        d.show();
        List(d)->setCurrentRow(0);
        RealDialogs boxes{row.answer};
        QTest::mouseClick(Button(d, "cmdEdit"), Qt::LeftButton);

        ASSERT_EQ(boxes.seen.size(), 1u);
        const test::SeenBox& shown = boxes.seen[0];
        const QString& file = savedPaths;
        if (row.greek) {
            EXPECT_EQ(shown.title, "Επεξεργασία αποθηκευμένων διαδρομών");
            EXPECT_EQ(shown.text, "Δεν εντοπίσθηκε κάποιος επεξεργαστής κειμένου στον υπολογιστή σας. Οι "
                                  "αποθηκευμένες διαδρομές φυλάσσονται στο αρχείο «" +
                                      file +
                                      "», μία διαδρομή ανά γραμμή, το οποίο μπορείτε να επεξεργασθείτε με "
                                      "οποιονδήποτε επεξεργαστή κειμένου.");
        } else {
            EXPECT_EQ(shown.title, "Edit saved paths");
            EXPECT_EQ(shown.text,
                      row.edit
                          ? "The application is suspended for as long as you are editing the file '" + file +
                                "'."
                          : "No text editor has been located on your computer. The saved paths are kept in "
                            "the file '" +
                                file + "', one path per line, which you may edit with any text editor.");
        }
        EXPECT_EQ(shown.buttons, row.edit ? QStringList({"OK", "Cancel"}) : QStringList({"OK"}));
        EXPECT_EQ(shown.defaultButton, "OK");
        EXPECT_EQ(shown.icon, QMessageBox::Information);

        const bool edited = row.edit && row.items != QStringList{"/a"}; // each edit changes the list
        const bool cancelled = row.edit && !edited;
        EXPECT_EQ(test::ReadFile(editor.startedWith),
                  edited ? "--wait\n" + file.toUtf8() + "\n" : QByteArray("<none>"));
        EXPECT_EQ(Items(d), row.items);
        EXPECT_TRUE(QFile::exists(file)) << "a deleted file is created anew, empty";
        // After Cancel the selection stands; otherwise the list is new and nothing is selected.
        EXPECT_EQ(Button(d, "cmdRecall")->isEnabled(), cancelled);
        EXPECT_EQ(List(d)->selectedItems().size(), cancelled ? 1 : 0);
        EXPECT_EQ(ListColour(d), row.items.isEmpty() ? EmptyListColour() : kPaleCyan);
        EXPECT_TRUE(d.isVisible());
    }
}

TEST_F(RecallDialog, ItsControlsShowTheirTopicsOnARightClickAndInWhatsThisMode) {
    language.helpFile = folder.filePath(QStringLiteral("help.hlp"));
    test::WriteFile(language.helpFile,
                    "[20010]\nThe list.\n[20020]\nCancel.\n[20030]\nEdit.\n[20040]\nRecall.\n");

    RecallPathDialog& d = Open();
    const std::pair<QWidget*, QString> rows[] = {{List(d), "The list."},
                                                 {Button(d, "cmdCancel"), "Cancel."},
                                                 {Button(d, "cmdEdit"), "Edit."},
                                                 {Button(d, "cmdRecall"), "Recall."}};
    for (const auto& [control, text] : rows) {
        EXPECT_EQ(control->whatsThis(), text);
        QWidget* target = control == List(d) ? List(d)->viewport() : control;
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
