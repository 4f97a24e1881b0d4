// The recall dialog on its own: shown without its modal loop, so each test can look at it between steps.

#include "savedpaths/RecallPathDialog.h"

#include "app/MainWindowRig.h"
#include "platform/QtInteraction.h"
#include "support/DarkDesktop.h"
#include "ui/Layout.h"

#include <QListWidget>
#include <QScrollBar>

namespace vesmarin {
namespace {

class RecallDialog : public ::testing::Test {
protected:
    void SetUp() override {
        language.helpFile = folder.filePath(QStringLiteral("help.hlp"));
        test::WriteFile(language.helpFile, "[20010]\nList.\n[20020]\nCancel.\n[20030]\nEdit.\n");
    }
    // Shows the dialog over the recent paths `file` holds.
    RecallPathDialog& open(Interaction& desktop, const QByteArray& file) {
        test::WriteFile(savedPaths, file);
        dialog = std::make_unique<RecallPathDialog>(desktop, language, savedPaths, nullptr);
        dialog->show();
        return *dialog;
    }
    QListWidget* list() const { return test::Control<QListWidget>(*dialog, "lstSavedPaths"); }
    QPushButton* button(const char* name) const { return test::Control<QPushButton>(*dialog, name); }
    // The lines listed, and whether one is selected, with Recall enabled; the list looks greyed when empty,
    // pale cyan otherwise.
    std::tuple<QStringList, bool, bool> shown() const {
        QStringList items;
        for (int i = 0; i < list()->count(); ++i)
            items << list()->item(i)->text();
        EXPECT_EQ(list()->palette().color(QPalette::Base), items.isEmpty() ? EmptyListColour() : kPaleCyan);
        return {items, !list()->selectedItems().isEmpty(), button("cmdRecall")->isEnabled()};
    }

    QTemporaryDir folder;
    QString savedPaths = folder.filePath(QStringLiteral("SavedPaths.txt"));
    Language language;
    test::ScriptedInteraction ui;
    std::unique_ptr<RecallPathDialog> dialog;
};

// The lines that hold more than blanks, exactly, none selected. Every line scrolls into view whole, and the
// text reads on the list's colour, even under a dark desktop palette. Recall, and Enter with a line
// selected, hand back the line exactly; Esc cancels. A close from the window
// frame is refused with a message: only the dialog's own buttons end it. Each control shows its help topic
// on request.
TEST_F(RecallDialog, ListsTheLinesThatHoldMoreThanBlanksAndHandsBackTheOneSelectedExactly) {
    const test::DarkDesktop dark;
    const QString lengthy = "/home/ann/" + QString(30, u'W') + "/Ελένη/" + QString(40, u'm');
    const QByteArray file = "  /a b  \r\n\r\n   \r\n/c\n\t\n" + lengthy.toUtf8() + "\r\n/b\r\n";
    const QStringList lines{"  /a b  ", "/c", lengthy, "/b"};
    open(ui, file);
    EXPECT_EQ(shown(), std::tuple(lines, false, false));
    QApplication::processEvents();
    for (const QString& item : lines)
        EXPECT_GE(list()->horizontalScrollBar()->maximum() + list()->viewport()->width(),
                  list()->fontMetrics().horizontalAdvance(item));
    EXPECT_GE(Contrast(list()->palette().color(QPalette::Text), list()->palette().color(QPalette::Base)),
              4.5);
    // The key pressed on a line selected (Space: on the Recall button), the path handed back.
    const std::pair<Qt::Key, std::optional<QString>> cases[] = {
        {Qt::Key_Space, "  /a b  "}, {Qt::Key_Return, "  /a b  "}, {Qt::Key_Escape, std::nullopt}};
    for (const auto& [key, recalled] : cases) {
        RecallPathDialog& d = open(ui, file);
        list()->setCurrentRow(0);
        EXPECT_TRUE(button("cmdRecall")->isEnabled());
        QTest::keyClick(key == Qt::Key_Space ? static_cast<QWidget*>(button("cmdRecall")) : list(), key);
        EXPECT_EQ(std::tuple(d.isVisible(), d.chosenPath()), std::tuple(false, recalled)) << key;
    }
    ui.answer(MsgButton::Ok);
    EXPECT_FALSE(test::CloseFromFrame(open(ui, file))); // the topics' check finds it still open
    EXPECT_EQ(ui.messages.at(0).request.title, "Closing form");
    test::ExpectTopicsOnRequest(ui, *dialog, {{list()->viewport(), "List."}, {button("cmdEdit"), "Edit."}});
}

// Edit... on the real desktop: the real message box, answered by mouse, and a real program that the dialog
// waits for before it reads the list again. The stand-in editor, alone on the search path, writes down how
// it was started and waits a moment (so only a program that waits for it sees its change) before its edit.
TEST_F(RecallDialog, EditWaitsForTheEditorThenReloadsTheList) {
    const QString asked = QStringLiteral("Edit saved paths | The application is suspended for as long as you "
                                         "are editing the file '%1'. | Information | [OK] Cancel")
                              .arg(savedPaths);
    const QString none =
        QStringLiteral("Edit saved paths | No text editor has been located on your computer. The "
                       "saved paths are kept in the file '%1', one path per line, which you may "
                       "edit with any text editor. | Information | [OK]")
            .arg(savedPaths);
    // The editor's edit (none: no editor at all), the answer, the box, the lines listed then.
    const std::tuple<const char*, QMessageBox::StandardButton, QString, QStringList> rows[] = {
        {R"(printf '/new\r\n/a\r\n' > "$2")", QMessageBox::Ok, asked, {"/new", "/a"}},
        {R"(/bin/rm "$2")", QMessageBox::Ok, asked, {}}, // the file is made anew, empty
        {R"(: > "$2")", QMessageBox::Cancel, asked, {"/a"}},
        {nullptr, QMessageBox::Ok, none, {"/a"}}};
    QtInteraction desktop;
    const QString editor = folder.filePath("gedit"), startedWith = folder.filePath("started-with");
    const QByteArray path = qgetenv("PATH");
    for (const auto& [edit, answer, box, lines] : rows) {
        QFile::remove(startedWith);
        qputenv("PATH", edit ? folder.path().toUtf8() : "/nowhere");
        test::WriteFile(editor, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + startedWith.toUtf8() +
                                    "'\n/bin/sleep 0.3\n" + edit + "\n");
        QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        open(desktop, "/a\r\n");
        list()->setCurrentRow(0);
        test::RealDialogs boxes{test::RealDialogs::Click(answer)};
        QTest::mouseClick(button("cmdEdit"), Qt::LeftButton);
        // After Cancel the selection stands; otherwise the list is new and nothing is selected.
        const bool cancelled = answer == QMessageBox::Cancel;
        const QByteArray started = edit && !cancelled ? "--wait\n" + savedPaths.toUtf8() + "\n" : "<none>";
        EXPECT_EQ(std::tuple(boxes.seen, test::ReadFile(startedWith), shown(), QFile::exists(savedPaths),
                             dialog->isVisible()),
                  std::tuple(QStringList{box}, started, std::tuple(lines, cancelled, cancelled), true, true));
    }
    qputenv("PATH", path);
}

} // namespace
} // namespace vesmarin
