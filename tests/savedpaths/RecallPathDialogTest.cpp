// The recall dialog on its own: shown without its modal loop, so each test can look at it between steps.

#include "savedpaths/RecallPathDialog.h"

#include "app/MainWindowRig.h"
#include "platform/QtInteraction.h"
#include "support/DarkDesktop.h"
#include "ui/Layout.h"

#include <QListWidget>
#include <QScrollBar>
#include <optional>

namespace vesmarin {
namespace {

class RecallDialog : public ::testing::Test {
protected:
    void SetUp() override { language.title = QStringLiteral("Vesmarin"); }
    RecallPathDialog& open(Interaction& desktop) {
        dialog = std::make_unique<RecallPathDialog>(desktop, language, savedPaths, nullptr);
        dialog->show();
        return *dialog;
    }
    QListWidget* list() const { return test::Control<QListWidget>(*dialog, "lstSavedPaths"); }
    QPushButton* button(const char* name) const { return test::Control<QPushButton>(*dialog, name); }
    QStringList items() const {
        QStringList items;
        for (int i = 0; i < list()->count(); ++i)
            items << list()->item(i)->text();
        return items;
    }
    QColor colour() const { return list()->palette().color(QPalette::Base); }

    QTemporaryDir folder;
    QString savedPaths = folder.filePath(QStringLiteral("SavedPaths.txt"));
    Language language;
    test::ScriptedInteraction ui;
    std::unique_ptr<RecallPathDialog> dialog;
};

// The lines that hold more than blanks, exactly, none selected; a missing file is created empty. Every line
// scrolls into view whole; the list is pale cyan with text that reads on it, also under a dark desktop
// palette, and looks greyed when empty.
TEST_F(RecallDialog, ListsTheLinesThatHoldMoreThanBlanksNoneSelected) {
    const QString lengthy = "/home/ann/" + QString(30, u'W') + "/Ελένη/" + QString(40, u'm');
    const struct {
        std::optional<QByteArray> file;
        QStringList items;
        bool dark;
    } cases[] = {
        {{}, {}, false},
        {"\r\n   \r\n\t\n", {}, true},
        {"  /a b  \r\n\r\n/c\n" + lengthy.toUtf8() + "\r\n/b\r\n", {"  /a b  ", "/c", lengthy, "/b"}, false},
        {"/a\r\n", {"/a"}, true}};
    for (const auto& c : cases) {
        std::optional<test::DarkDesktop> desktop;
        if (c.dark)
            desktop.emplace();
        QFile::remove(savedPaths);
        if (c.file)
            test::WriteFile(savedPaths, *c.file);
        open(ui);
        EXPECT_EQ(test::ReadFile(savedPaths), c.file.value_or(QByteArray()));
        EXPECT_EQ(items(), c.items);
        EXPECT_TRUE(list()->selectedItems().isEmpty());
        EXPECT_FALSE(button("cmdRecall")->isEnabled());
        QApplication::processEvents();
        for (const QString& item : c.items)
            EXPECT_GE(list()->horizontalScrollBar()->maximum() + list()->viewport()->width(),
                      list()->fontMetrics().horizontalAdvance(item));
        EXPECT_EQ(colour(), c.items.isEmpty() ? EmptyListColour() : kPaleCyan);
        EXPECT_GE(Contrast(list()->palette().color(QPalette::Text), colour()), 4.5);
    }
}

// Recall, and Enter with a line selected, hand back the line exactly; Esc cancels. A close from the
// window frame is refused with a message: only the dialog's own buttons end it.
TEST_F(RecallDialog, RecallIsEnabledBySelectingAndHandsBackTheLineExactly) {
    const std::tuple<Qt::Key, bool, std::optional<QString>> cases[] = {
        {Qt::Key_unknown, true, "  /with blanks/  "}, // the Recall button
        {Qt::Key_Return, true, "  /with blanks/  "},
        {Qt::Key_Return, false, std::nullopt},
        {Qt::Key_Escape, true, std::nullopt}};
    test::WriteFile(savedPaths, "/first\r\n  /with blanks/  \r\n");
    for (const auto& [key, select, recalled] : cases) {
        RecallPathDialog& d = open(ui);
        list()->setCurrentRow(1);
        EXPECT_TRUE(button("cmdRecall")->isEnabled());
        if (!select)
            list()->clearSelection();
        EXPECT_EQ(button("cmdRecall")->isEnabled(), select);
        if (key == Qt::Key_unknown)
            QTest::mouseClick(button("cmdRecall"), Qt::LeftButton);
        else
            QTest::keyClick(list(), key);
        EXPECT_EQ(d.isVisible(), !select) << key;
        EXPECT_EQ(d.chosenPath(), recalled) << key;
    }
    ui.answer(MsgButton::Ok);
    EXPECT_FALSE(test::CloseFromFrame(open(ui)));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ui.messages.at(0).request.title, "Closing form");
}

// A stand-in text editor, alone on the search path for the test's time: it writes down how it was
// started, waits a moment (so only a program that waits for it sees its change), then does its edit.
struct StandInEditor {
    QTemporaryDir bin;
    QByteArray savedPath = qgetenv("PATH");
    QString startedWith = bin.filePath(QStringLiteral("started-with"));

    explicit StandInEditor(const char* edit) {
        qputenv("PATH", bin.path().toUtf8());
        if (!edit)
            return;
        const QString script = bin.filePath(QStringLiteral("gedit"));
        test::WriteFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + startedWith.toUtf8() +
                                    "'\n/bin/sleep 0.3\nfor file; do :; done\n" + edit + "\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~StandInEditor() { qputenv("PATH", savedPath); }
};

// Edit... on the real desktop: the real message box, answered by mouse, and a real program that the dialog
// waits for before it reads the list again.
TEST_F(RecallDialog, EditWaitsForTheEditorThenReloadsTheList) {
    const struct {
        const char* edit; // the stand-in editor's shell command on "$file"; nullptr: no editor at all
        QMessageBox::StandardButton answer;
        QStringList items;
    } rows[] = {{R"(printf '/new\r\n/a\r\n' > "$file")", QMessageBox::Ok, {"/new", "/a"}},
                {R"(/bin/rm "$file")", QMessageBox::Ok, {}}, // the file is made anew
                {R"(: > "$file")", QMessageBox::Cancel, {"/a"}},
                {nullptr, QMessageBox::Ok, {"/a"}}};
    QtInteraction desktop;
    for (const auto& row : rows) {
        test::WriteFile(savedPaths, "/a\r\n");
        StandInEditor editor(row.edit);
        open(desktop);
        list()->setCurrentRow(0);
        test::RealDialogs boxes{test::RealDialogs::Click(row.answer)};
        QTest::mouseClick(button("cmdEdit"), Qt::LeftButton);

        const test::SeenBox& shown = boxes.seen.at(0);
        EXPECT_EQ(shown.title, "Edit saved paths");
        EXPECT_EQ(shown.text, row.edit
                                  ? "The application is suspended for as long as you are editing the file '" +
                                        savedPaths + "'."
                                  : "No text editor has been located on your computer. The saved paths are "
                                    "kept in the file '" +
                                        savedPaths +
                                        "', one path per line, which you may edit with any text editor.");
        EXPECT_EQ(shown.buttons, row.edit ? QStringList({"OK", "Cancel"}) : QStringList({"OK"}));
        EXPECT_EQ(std::tuple(shown.defaultButton, shown.icon),
                  std::tuple(QString("OK"), QMessageBox::Information));
        const bool cancelled = row.answer == QMessageBox::Cancel;
        EXPECT_EQ(test::ReadFile(editor.startedWith),
                  row.edit && !cancelled ? "--wait\n" + savedPaths.toUtf8() + "\n" : QByteArray("<none>"));
        EXPECT_EQ(items(), row.items);
        EXPECT_TRUE(QFile::exists(savedPaths));
        // After Cancel the selection stands; otherwise the list is new and nothing is selected.
        EXPECT_EQ(button("cmdRecall")->isEnabled(), cancelled);
        EXPECT_EQ(list()->selectedItems().size(), cancelled ? 1 : 0);
        EXPECT_EQ(colour(), row.items.isEmpty() ? EmptyListColour() : kPaleCyan);
        EXPECT_TRUE(dialog->isVisible());
    }
}

TEST_F(RecallDialog, ItsControlsShowTheirTopicsOnRequest) {
    language.helpFile = folder.filePath(QStringLiteral("help.hlp"));
    test::WriteFile(language.helpFile,
                    "[20010]\nThe list.\n[20020]\nCancel.\n[20030]\nEdit.\n[20040]\nRecall.\n");
    RecallPathDialog& d = open(ui);
    test::ExpectTopicsOnRequest(ui, d,
                                {{list()->viewport(), "The list."},
                                 {button("cmdCancel"), "Cancel."},
                                 {button("cmdEdit"), "Edit."},
                                 {button("cmdRecall"), "Recall."}});
}

} // namespace
} // namespace vesmarin
