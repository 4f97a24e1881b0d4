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
    void SetUp() override {
        language.title = QStringLiteral("Vesmarin");
        language.helpFile = folder.filePath(QStringLiteral("help.hlp"));
        test::WriteFile(language.helpFile,
                        "[20010]\nList.\n[20020]\nCancel.\n[20030]\nEdit.\n[20040]\nRecall.\n");
    }
    RecallPathDialog& open(Interaction& desktop) {
        dialog = std::make_unique<RecallPathDialog>(desktop, language, savedPaths, nullptr);
        dialog->show();
        return *dialog;
    }
    QListWidget* list() const { return test::Control<QListWidget>(*dialog, "lstSavedPaths"); }
    QPushButton* button(const char* name) const { return test::Control<QPushButton>(*dialog, name); }
    // The lines listed; the list looks greyed when empty, pale cyan otherwise.
    QStringList items() const {
        QStringList items;
        for (int i = 0; i < list()->count(); ++i)
            items << list()->item(i)->text();
        EXPECT_EQ(list()->palette().color(QPalette::Base), items.isEmpty() ? EmptyListColour() : kPaleCyan);
        return items;
    }

    QTemporaryDir folder;
    QString savedPaths = folder.filePath(QStringLiteral("SavedPaths.txt"));
    Language language;
    test::ScriptedInteraction ui;
    std::unique_ptr<RecallPathDialog> dialog;
};

// The lines that hold more than blanks, exactly, none selected; a missing file is created empty. Every line
// scrolls into view whole, and the text reads on the list's colour, also under a dark desktop palette.
TEST_F(RecallDialog, ListsTheLinesThatHoldMoreThanBlanksNoneSelected) {
    const QString lengthy = "/home/ann/" + QString(30, u'W') + "/Ελένη/" + QString(40, u'm');
    const std::tuple<std::optional<QByteArray>, QStringList, bool> cases[] = {
        {{}, {}, false},
        {"\r\n   \r\n\t\n", {}, true},
        {"  /a b  \r\n\r\n/c\n" + lengthy.toUtf8() + "\r\n/b\r\n", {"  /a b  ", "/c", lengthy, "/b"}, false},
        {"/a\r\n", {"/a"}, true}};
    for (const auto& [file, lines, dark] : cases) {
        std::optional<test::DarkDesktop> desktop;
        if (dark)
            desktop.emplace();
        if (QFile::remove(savedPaths); file)
            test::WriteFile(savedPaths, *file);
        open(ui);
        EXPECT_EQ(test::ReadFile(savedPaths), file.value_or(QByteArray()));
        EXPECT_EQ(items(), lines);
        EXPECT_TRUE(list()->selectedItems().isEmpty() && !button("cmdRecall")->isEnabled());
        QApplication::processEvents();
        for (const QString& item : lines)
            EXPECT_GE(list()->horizontalScrollBar()->maximum() + list()->viewport()->width(),
                      list()->fontMetrics().horizontalAdvance(item));
        EXPECT_GE(Contrast(list()->palette().color(QPalette::Text), list()->palette().color(QPalette::Base)),
                  4.5);
    }
}

// Recall, and Enter with a line selected, hand back the line exactly; Esc cancels. A close from the
// window frame is refused with a message: only the dialog's own buttons end it. Each control shows its
// help topic on request.
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
        EXPECT_EQ(std::tuple(d.isVisible(), d.chosenPath()), std::tuple(!select, recalled)) << key;
    }
    ui.answer(MsgButton::Ok);
    EXPECT_FALSE(test::CloseFromFrame(open(ui))); // the topics' check finds it still open
    EXPECT_EQ(ui.messages.at(0).request.title, "Closing form");
    test::ExpectTopicsOnRequest(ui, *dialog,
                                {{list()->viewport(), "List."},
                                 {button("cmdCancel"), "Cancel."},
                                 {button("cmdEdit"), "Edit."},
                                 {button("cmdRecall"), "Recall."}});
}

// Edit... on the real desktop: the real message box, answered by mouse, and a real program that the dialog
// waits for before it reads the list again. The stand-in editor, alone on the search path, writes down how
// it was started and waits a moment (so only a program that waits for it sees its change) before its edit.
TEST_F(RecallDialog, EditWaitsForTheEditorThenReloadsTheList) {
    const std::tuple<const char*, QMessageBox::StandardButton, QStringList> rows[] = {
        {R"(printf '/new\r\n/a\r\n' > "$2")", QMessageBox::Ok, {"/new", "/a"}},
        {R"(/bin/rm "$2")", QMessageBox::Ok, {}}, // the file is made anew
        {R"(: > "$2")", QMessageBox::Cancel, {"/a"}},
        {nullptr, QMessageBox::Ok, {"/a"}}}; // no editor at all
    QtInteraction desktop;
    const QByteArray path = qgetenv("PATH");
    for (const auto& [edit, answer, lines] : rows) {
        QTemporaryDir bin;
        const QString startedWith = bin.filePath(QStringLiteral("started-with"));
        qputenv("PATH", bin.path().toUtf8());
        if (edit) {
            test::WriteFile(bin.filePath("gedit"), "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" +
                                                       startedWith.toUtf8() + "'\n/bin/sleep 0.3\n" + edit +
                                                       "\n");
            QFile::setPermissions(bin.filePath("gedit"), QFile::ReadOwner | QFile::ExeOwner);
        }
        test::WriteFile(savedPaths, "/a\r\n");
        open(desktop);
        list()->setCurrentRow(0);
        test::RealDialogs boxes{test::RealDialogs::Click(answer)};
        QTest::mouseClick(button("cmdEdit"), Qt::LeftButton);
        qputenv("PATH", path);

        const test::SeenBox& shown = boxes.seen.at(0);
        EXPECT_EQ(shown.title, "Edit saved paths");
        EXPECT_EQ(
            shown.text,
            edit
                ? "The application is suspended for as long as you are editing the file '" + savedPaths + "'."
                : "No text editor has been located on your computer. The saved paths are kept in the file '" +
                      savedPaths + "', one path per line, which you may edit with any text editor.");
        EXPECT_EQ(std::tuple(shown.buttons, shown.defaultButton, shown.icon),
                  std::tuple(edit ? QStringList({"OK", "Cancel"}) : QStringList({"OK"}), QString("OK"),
                             QMessageBox::Information));
        const bool cancelled = answer == QMessageBox::Cancel;
        EXPECT_EQ(test::ReadFile(startedWith),
                  edit && !cancelled ? "--wait\n" + savedPaths.toUtf8() + "\n" : QByteArray("<none>"));
        EXPECT_EQ(items(), lines);
        // After Cancel the selection stands; otherwise the list is new and nothing is selected.
        EXPECT_EQ(std::tuple(button("cmdRecall")->isEnabled(), list()->selectedItems().size()),
                  std::tuple(cancelled, cancelled ? 1 : 0));
        EXPECT_TRUE(QFile::exists(savedPaths) && dialog->isVisible());
    }
}

} // namespace
} // namespace vesmarin
