// The real desktop seam against the real widgets: what a person sees in its boxes, dialogs and menus, and
// what each answer returns.
#include "platform/QtInteraction.h"

#include "language/ToolkitTexts.h"
#include "support/RealDialogs.h"
#include "support/TestFiles.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QWhatsThis>

namespace vesmarin {
namespace {

using test::RealDialogs;
using enum MsgButton;
using Step = RealDialogs::Step;

QtInteraction desktop;
const Step kReturn = RealDialogs::Key(Qt::Key_Return), kEscape = RealDialogs::Key(Qt::Key_Escape);
const Step kFrame = [](QDialog& d) { d.close(); }; // as the close button of the window's frame does

// Each button by mouse (whatever the default), Return on a default that is not the first button, Escape
// and the frame's close button, which answer as the set's way out: the set, its default, the press, the
// answer.
const std::tuple<MsgButtons, MsgButton, Step, MsgButton> kBoxes[] = {
    {MsgButtons::Ok, Ok, kEscape, Ok},
    {MsgButtons::OkCancel, Cancel, RealDialogs::Click(QMessageBox::Ok), Ok},
    {MsgButtons::OkCancel, Cancel, kReturn, Cancel},
    {MsgButtons::OkCancel, Ok, kEscape, Cancel},
    {MsgButtons::YesNo, No, RealDialogs::Click(QMessageBox::Yes), Yes},
    {MsgButtons::YesNo, Yes, RealDialogs::Click(QMessageBox::No), No},
    {MsgButtons::YesNo, No, kReturn, No},
    {MsgButtons::YesNo, Yes, kFrame, No},
};

// The buttons speak the language in force, and English again once it is chosen again. Quoted paths may
// look like markup: they are shown as they stand (see the next test), and Windows line breaks become line
// breaks.
TEST(QtInteraction, EachButtonSetAnswersAsPressedByMouseOrKeyInEitherLanguage) {
    const QStringList texts[2][3] = {{{"OK"}, {"OK", "Cancel"}, {"&Yes", "&No"}},
                                     {{"OK"}, {"OK", "Άκυρο"}, {"&Ναι", "Ό&χι"}}};
    const QString text = QStringLiteral("Cannot read '/home/ann/<b>old</b> & new'.\r\n\r\nGo on?");
    const QString shown = "Vesmarin | Cannot read '/home/ann/<b>old</b> & new'.\n\nGo on? | Question | ";
    for (const bool greek : {false, true, false}) {
        UseToolkitLanguage(greek);
        for (const auto& [set, defaultButton, press, answer] : kBoxes) {
            SCOPED_TRACE(::testing::Message() << "Greek " << greek << ", answer " << int(answer));
            RealDialogs boxes{press};
            EXPECT_EQ(desktop.messageBox(nullptr, {text, "Vesmarin", MsgIcon::Question, set, defaultButton}),
                      answer);
            QStringList buttons = texts[greek][int(set)];
            buttons[int(defaultButton) % 2] = '[' + buttons[int(defaultButton) % 2] + ']'; // OK, Yes first
            EXPECT_EQ(boxes.seen, QStringList(shown + buttons.join(' ')));
        }
    }
    UseToolkitLanguage(false);
}

// A message from a dialog that is not shown yet belongs to the shown window that owns the dialog, so it
// appears over that window. An error report quoting a very long path is taller than the screen: the text
// scrolls inside the box, whole, and the box with its buttons stays on the screen.
TEST(QtInteraction, ABoxBelongsToTheShownOwnerAndATallTextScrollsSoTheButtonsStayOnTheScreen) {
    QWidget main;
    main.show();
    QDialog loading(&main);
    const MessageRequest request{
        QStringLiteral("Error condition 75 with the description 'Cannot write %1' has occured.\n")
            .arg(QStringLiteral("/folder").repeated(600))
            .repeated(3),
        QStringLiteral("Vesmarin, 201."), MsgIcon::Question, MsgButtons::YesNo, No};
    RealDialogs boxes{[&](QDialog& d) {
        const QRect available = d.screen()->availableGeometry();
        EXPECT_EQ(d.parentWidget(), &main);
        EXPECT_TRUE(available.contains(d.frameGeometry())) << "box " << d.frameGeometry().y();
        for (QAbstractButton* b : static_cast<QMessageBox&>(d).buttons())
            EXPECT_TRUE(available.contains(QRect(b->mapToGlobal(QPoint(0, 0)), b->size()))) << b->y();
        const auto* label = d.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        EXPECT_EQ(std::tuple(label->text(), label->isVisibleTo(&d), label->textFormat()),
                  std::tuple(request.text, true, Qt::PlainText));
        RealDialogs::Click(QMessageBox::Yes)(d);
    }};
    EXPECT_EQ(desktop.messageBox(&loading, request), Yes);
}

// Types `name` into the file dialog's name box and presses its Save or Open button; when the dialog stays
// open (it refused, or No was answered to its question), notes it in `stayed` and Cancel closes it.
Step Choose(const QString& name, bool* stayed = nullptr) {
    return [=](QDialog& d) {
        EXPECT_TRUE(static_cast<QFileDialog&>(d).testOption(QFileDialog::DontUseNativeDialog));
        d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        auto* buttons = d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QTest::mouseClick(buttons->buttons().first(), Qt::LeftButton); // Save or Open, the accepting button
        if (stayed && (*stayed = d.isVisible()))
            buttons->button(QDialogButtonBox::Cancel)->click();
    };
}

// The dialog is the toolkit's own, not the desktop's (which would not take the program's translation), so
// its refusal speaks the language in force. (NewUser.sh saves through it, with the extension added.)
TEST(QtInteraction, FileDialogsAskBeforeReplacingAndRefuseAFolderThatDoesNotExist) {
    // Save or open, ask before replacing, what is typed, the answer to the dialog's own message box (OK:
    // to its refusal, in Greek), the name chosen (%1 the folder).
    const std::tuple<bool, bool, QString, std::optional<QMessageBox::StandardButton>, std::optional<QString>>
        rows[] = {
            {true, true, "old.bmp", QMessageBox::Yes, "%1/old.bmp"},
            {true, true, "old.bmp", QMessageBox::No, std::nullopt}, // the dialog stays open
            {true, false, "old.bmp", {}, "%1/old.bmp"},             // no question asked for
            {false, false, "do not alter this text", {}, "%1/do not alter this text.bmp"},
            {true, true, "gone/mine", QMessageBox::Ok, std::nullopt},
        };
    QTemporaryDir dir;
    test::WriteFile(dir.filePath(QStringLiteral("old.bmp")), "old");
    FileDialogRequest request{QStringLiteral("Save icon as..."), dir.filePath(QStringLiteral("I0000005")),
                              QStringLiteral("Pictures (*.bmp)"), QStringLiteral("bmp")};
    const QString question = "old.bmp already exists.\nDo you want to replace it?";
    const QString missing =
        dir.path() + "/gone\nΟ φάκελλος δεν εντοπίσθηκε.\nΒεβαιωθείτε ότι δώσατε το σωστό όνομα φακέλλου.";
    for (const auto& [save, confirmOverwrite, typed, answer, chosen] : rows) {
        SCOPED_TRACE(typed.toStdString());
        const bool refused = answer == QMessageBox::Ok;
        UseToolkitLanguage(refused);
        request.confirmOverwrite = confirmOverwrite;
        bool stayed = false;
        RealDialogs dialogs{Choose(typed, &stayed)};
        if (answer)
            dialogs.then(RealDialogs::Click(*answer));
        const auto result =
            save ? desktop.saveFileName(nullptr, request) : desktop.openFileName(nullptr, request);
        UseToolkitLanguage(false);
        EXPECT_EQ(result, chosen ? std::optional(chosen->arg(dir.path())) : std::nullopt);
        EXPECT_EQ(stayed, !chosen);
        EXPECT_EQ(dialogs.seen.value(0).section(" | ", 1, 1), !answer ? "" : refused ? missing : question);
    }
    EXPECT_EQ(test::ReadFile(dir.filePath(QStringLiteral("old.bmp"))), "old") << "the dialogs write nothing";
}

// The folder chooser offers its choices under the folders and hands back the folder and the choice.
TEST(QtInteraction, AFolderIsChosenWithTheChoiceBelowIt) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("icons"));
    const FolderDialogRequest request{QStringLiteral("Save all icons of this set"), dir.path(),
                                      QStringLiteral("Save as:"), QStringList{"PNG", "ICO"}, 0};
    QString label;
    RealDialogs dialogs{[&](QDialog& d) {
        auto* choices = d.findChild<QComboBox*>(QStringLiteral("choices"));
        for (const QLabel* l : d.findChildren<QLabel*>())
            label += l->buddy() == choices ? l->text() : QString();
        QTest::keyClick(choices, Qt::Key_Down); // the second choice, by the keyboard
        Choose(QStringLiteral("icons"))(d);
    }};
    EXPECT_EQ(std::tuple(desktop.chooseFolder(nullptr, request), label),
              std::tuple(std::optional(FolderChoice{dir.filePath(QStringLiteral("icons")), 1}), "Save as:"));
}

// A pop-up menu returns the item chosen by mouse or key, once its action has run, or nothing on Escape. The
// help pop-up is the toolkit's own What's This window, shown at once beside the control.
TEST(QtInteraction, APopupMenuReturnsTheItemChosenByMouseOrKeyAndHelpShowsBesideTheControl) {
    QWidget owner;
    owner.setGeometry(100, 100, 300, 200);
    owner.show();
    QMenu menu(&owner);
    QAction* first = menu.addAction(QStringLiteral("Save"));
    QAction* second = menu.addAction(QStringLiteral("Copy"));
    QAction* triggered = nullptr;
    QObject::connect(&menu, &QMenu::triggered, [&](QAction* a) { triggered = a; });
    const std::pair<std::vector<Qt::Key>, QAction*> rows[] = {
        {{}, second}, {{Qt::Key_Down, Qt::Key_Return}, first}, {{Qt::Key_Escape}, nullptr}};
    for (const auto& [keys, chosen] : rows) {
        triggered = nullptr;
        QTimer::singleShot(0, [&] {
            ASSERT_EQ(QApplication::activePopupWidget(), &menu);
            if (keys.empty()) // a click on the second item
                QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(second).center());
            for (const Qt::Key key : keys)
                QTest::keyClick(&menu, key);
        });
        EXPECT_EQ(desktop.popupMenu(&menu, owner.mapToGlobal(QPoint(20, 20))), chosen);
        EXPECT_EQ(std::tuple(triggered, menu.isVisible()), std::tuple(chosen, false))
            << "the item's action ran";
    }
    const QPoint at = owner.mapToGlobal(QPoint(10, 10));
    desktop.showWhatsThis(&owner, at, QStringLiteral("The folder tree."));
    int shown = 0;
    for (const QWidget* w : QApplication::topLevelWidgets())
        shown += w->isVisible() && w->inherits("QWhatsThat") &&
                 w->geometry().adjusted(-30, -30, 30, 30).contains(at);
    EXPECT_EQ(shown, 1);
    QWhatsThis::hideText();
}

} // namespace
} // namespace vesmarin
