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
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::RealDialogs;
using enum MsgButton;
using Step = RealDialogs::Step;

QtInteraction& Desktop() {
    static QtInteraction ui;
    return ui;
}

const Step kReturn = RealDialogs::Key(Qt::Key_Return), kEscape = RealDialogs::Key(Qt::Key_Escape);
const Step kFrame = [](QDialog& d) { // the close button of the window's frame
    QCloseEvent fromFrame;
    QSpontaneKeyEvent::setSpontaneous(&fromFrame);
    QApplication::sendEvent(&d, &fromFrame);
};
const Step kOk = RealDialogs::Click(QMessageBox::Ok), kCancel = RealDialogs::Click(QMessageBox::Cancel),
           kYes = RealDialogs::Click(QMessageBox::Yes), kNo = RealDialogs::Click(QMessageBox::No);

// Every set, every button by mouse, Return on either default, Escape and the frame's close button: the set,
// its default, what is pressed, the answer.
const std::tuple<MsgButtons, MsgButton, Step, MsgButton> kBoxes[] = {
    {MsgButtons::Ok, Ok, kOk, Ok},
    {MsgButtons::Ok, Ok, kReturn, Ok},
    {MsgButtons::Ok, Ok, kEscape, Ok},
    {MsgButtons::Ok, Ok, kFrame, Ok},
    {MsgButtons::OkCancel, Cancel, kOk, Ok},
    {MsgButtons::OkCancel, Ok, kCancel, Cancel},
    {MsgButtons::OkCancel, Ok, kReturn, Ok},
    {MsgButtons::OkCancel, Cancel, kReturn, Cancel},
    {MsgButtons::OkCancel, Ok, kEscape, Cancel},
    {MsgButtons::OkCancel, Ok, kFrame, Cancel},
    {MsgButtons::YesNo, No, kYes, Yes},
    {MsgButtons::YesNo, Yes, kNo, No},
    {MsgButtons::YesNo, Yes, kReturn, Yes},
    {MsgButtons::YesNo, No, kReturn, No},
    {MsgButtons::YesNo, Yes, kEscape, No},
    {MsgButtons::YesNo, Yes, kFrame, No},
};

// The buttons speak the language in force, and English again once it is chosen again. Quoted paths may
// look like markup: they are shown as they stand, and Windows line breaks become line breaks.
TEST(QtInteraction, EveryButtonOfEverySetAnswersAsPressedByMouseOrKeyInEitherLanguage) {
    const QStringList texts[2][3] = {{{"OK"}, {"OK", "Cancel"}, {"&Yes", "&No"}},
                                     {{"OK"}, {"OK", "Άκυρο"}, {"&Ναι", "Ό&χι"}}};
    MessageRequest request{QStringLiteral("Cannot read '/home/ann/<b>old</b> & new'.\r\n\r\nGo on?"),
                           QStringLiteral("Vesmarin"), MsgIcon::Question};
    for (const bool greek : {false, true, false}) {
        UseToolkitLanguage(greek);
        for (const auto& row : kBoxes) {
            SCOPED_TRACE(::testing::Message() << "Greek " << greek << ", row " << &row - kBoxes);
            const auto& [set, defaultButton, press, answer] = row;
            Qt::TextFormat format = Qt::AutoText;
            RealDialogs boxes{[&](QDialog& d) {
                format = static_cast<QMessageBox&>(d).textFormat();
                press(d);
            }};
            request.buttons = set;
            request.defaultButton = defaultButton;
            EXPECT_EQ(Desktop().messageBox(nullptr, request), answer);
            ASSERT_EQ(boxes.seen.size(), 1u);
            const test::SeenBox& seen = boxes.seen[0];
            const QStringList& buttons = texts[greek][int(set)];
            EXPECT_EQ(std::tuple(seen.buttons, seen.defaultButton),
                      std::tuple(buttons, buttons.value(defaultButton == Cancel || defaultButton == No)));
            EXPECT_EQ(std::tuple(seen.title, seen.text, seen.icon, format),
                      std::tuple(request.title,
                                 QStringLiteral("Cannot read '/home/ann/<b>old</b> & new'.\n\nGo on?"),
                                 QMessageBox::Question, Qt::PlainText));
        }
    }
    UseToolkitLanguage(false);
}

// A message from a dialog that is not shown yet belongs to the shown window that owns the dialog, so it
// appears over that window. An error report quoting a very long path is taller than the screen: the text
// scrolls inside the box, whole, and the box with its buttons stays on the screen.
TEST(QtInteraction, ABoxBelongsToTheShownOwnerAndATallTextScrollsSoTheButtonsStayOnTheScreen) {
    QWidget main;
    main.setGeometry(300, 200, 400, 300);
    main.show();
    QDialog loading(&main);
    const MessageRequest request{
        QStringLiteral("Error condition 75 with the description 'Cannot write %1' has occured.\n")
            .arg(QStringLiteral("/folder").repeated(600))
            .repeated(3),
        QStringLiteral("Vesmarin, 201."), MsgIcon::Question, MsgButtons::YesNo, No};
    RealDialogs boxes{[&](QDialog& d) {
        auto& box = static_cast<QMessageBox&>(d);
        const QRect available = d.screen()->availableGeometry();
        EXPECT_EQ(d.parentWidget(), &main);
        EXPECT_TRUE(available.contains(d.frameGeometry()))
            << "box " << d.frameGeometry().y() << "+" << d.height();
        EXPECT_GT(d.frameGeometry().height(), available.height() / 2)
            << "the text has the room the screen gives";
        EXPECT_EQ(box.buttons().size(), 2);
        for (QAbstractButton* b : box.buttons())
            EXPECT_TRUE(available.contains(QRect(b->mapToGlobal(QPoint(0, 0)), b->size())))
                << "button at " << b->y();
        QString shown;
        for (const QLabel* label : d.findChildren<QLabel*>())
            if (label->text().size() > shown.size() && label->isVisibleTo(&d))
                shown = label->text();
        EXPECT_EQ(shown, request.text) << "the whole text";
        QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
    }};
    EXPECT_EQ(Desktop().messageBox(&loading, request), Yes);
}

// Reads the file dialog's name label and buttons into `labels`, types `name` into its name box and presses
// its Save or Open button; when the dialog stays open (it refused, or No was answered to its question),
// Cancel closes it.
Step Choose(const QString& name, bool* stayed = nullptr, QStringList* labels = nullptr) {
    return [=](QDialog& d) {
        EXPECT_TRUE(static_cast<QFileDialog&>(d).testOption(QFileDialog::DontUseNativeDialog));
        d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        auto* buttons = d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (labels) {
            for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
                *labels << d.findChild<QLabel*>(QString::fromLatin1(label))->text();
            for (QAbstractButton* b : buttons->buttons())
                *labels << b->text();
        }
        for (QAbstractButton* b : buttons->buttons())
            if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole)
                QTest::mouseClick(b, Qt::LeftButton);
        if (stayed)
            *stayed = d.isVisible();
        if (d.isVisible())
            buttons->button(QDialogButtonBox::Cancel)->click();
    };
}

// The dialog is the toolkit's own, not the desktop's (which would not take the program's translation), so
// it and its refusal speak the language in force. (NewUser.sh saves through it, with the extension added.)
TEST(QtInteraction, FileDialogsAskBeforeReplacingAndRefuseAFolderThatDoesNotExist) {
    const QString replace = QStringLiteral("old.bmp already exists.\nDo you want to replace it?");
    const QString missing =
        QStringLiteral("%1/gone\nDirectory not found.\nPlease verify the correct directory name was given.");
    const QStringList kLabels[] = {
        {"Look in:", "File &name:", "Files of type:", "&Save", "Cancel"},
        {"Αναζήτηση σε:", "Όνομα &αρχείου:", "Αρχεία τύπου:", "Απο&θήκευση", "Άκυρο"}};
    // Save or open, ask before replacing, what is typed (empty: Escape), the answer to the dialog's own
    // message box and its text (%1 the folder), the name chosen (%1 the folder), in Greek.
    const std::tuple<bool, bool, QString, std::optional<QMessageBox::StandardButton>, QString,
                     std::optional<QString>, bool>
        rows[] = {
            {true, true, "old.bmp", QMessageBox::Yes, replace, "%1/old.bmp", false},
            {true, true, "old.bmp", QMessageBox::No, replace, std::nullopt, false}, // the dialog stays open
            {true, false, "old.bmp", {}, {}, "%1/old.bmp", false},                  // no question asked for
            {false, false, "do not alter this text", {}, {}, "%1/do not alter this text.bmp", false},
            {false, false, "gone/do not alter this text", QMessageBox::Ok, missing, std::nullopt, false},
            {true, true, "", {}, {}, std::nullopt, false},
            {true, true, "gone/mine", QMessageBox::Ok,
             "%1/gone\nΟ φάκελλος δεν εντοπίσθηκε.\nΒεβαιωθείτε ότι δώσατε το σωστό όνομα φακέλλου.",
             std::nullopt, true},
        };
    QTemporaryDir dir;
    test::WriteFile(dir.filePath(QStringLiteral("old.bmp")), "old");
    FileDialogRequest request{QStringLiteral("Save icon as..."), dir.filePath(QStringLiteral("I0000005")),
                              QStringLiteral("Pictures (*.bmp)"), QStringLiteral("bmp")};
    for (const auto& [save, confirmOverwrite, typed, answer, message, chosen, greek] : rows) {
        SCOPED_TRACE(typed.toStdString());
        UseToolkitLanguage(greek);
        request.confirmOverwrite = confirmOverwrite;
        bool stayed = false;
        QStringList labels;
        RealDialogs dialogs{typed.isEmpty() ? kEscape : Choose(typed, &stayed, save ? &labels : nullptr)};
        if (answer)
            dialogs.then(RealDialogs::Click(*answer));
        const auto result =
            save ? Desktop().saveFileName(nullptr, request) : Desktop().openFileName(nullptr, request);
        UseToolkitLanguage(false);
        EXPECT_EQ(result, chosen ? std::optional(chosen->arg(dir.path())) : std::nullopt);
        EXPECT_EQ(stayed, !chosen && answer.has_value());
        EXPECT_EQ(labels, save && !typed.isEmpty() ? kLabels[greek] : QStringList());
        ASSERT_EQ(dialogs.seen.size(), answer ? 1u : 0u);
        for (const test::SeenBox& box : dialogs.seen)
            EXPECT_EQ(std::tuple(box.title, box.text),
                      std::tuple(request.title, QString(message).replace(QStringLiteral("%1"), dir.path())));
    }
    EXPECT_EQ(test::ReadFile(dir.filePath(QStringLiteral("old.bmp"))), "old") << "the dialogs write nothing";
}

// The folder chooser offers its choices under the folders and hands back the folder and the choice.
TEST(QtInteraction, AFolderIsChosenWithTheChoiceBelowItOrNothingOnCancel) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("icons"));
    const FolderDialogRequest request{QStringLiteral("Save all icons of this set"), dir.path(),
                                      QStringLiteral("Save as:"), QStringList{"PNG", "ICO"}, 0};
    for (const bool cancel : {false, true}) {
        QString label;
        RealDialogs dialogs{[&](QDialog& d) {
            auto* choices = d.findChild<QComboBox*>(QStringLiteral("choices"));
            ASSERT_NE(choices, nullptr);
            for (const QLabel* l : d.findChildren<QLabel*>())
                if (l->buddy() == choices)
                    label = l->text();
            QTest::keyClick(choices, Qt::Key_Down); // the second choice, by the keyboard
            (cancel ? kEscape : Choose(QStringLiteral("icons")))(d);
        }};
        EXPECT_EQ(Desktop().chooseFolder(nullptr, request),
                  cancel ? std::nullopt
                         : std::optional(FolderChoice{dir.filePath(QStringLiteral("icons")), 1}));
        EXPECT_EQ(label, QStringLiteral("Save as:"));
    }
}

// A pop-up menu returns the item chosen by mouse or key, once its action has run, or nothing on Escape. The
// help pop-up is the toolkit's own What's This window, shown at once beside the control.
TEST(QtInteraction, APopupMenuReturnsTheItemChosenByMouseOrKeyAndHelpShowsBesideTheControl) {
    QWidget owner;
    owner.setGeometry(100, 100, 300, 200);
    owner.show();
    QMenu menu(&owner);
    QAction* first = menu.addAction(QStringLiteral("Save"));
    menu.addSeparator();
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
        EXPECT_EQ(Desktop().popupMenu(&menu, owner.mapToGlobal(QPoint(20, 20))), chosen);
        EXPECT_EQ(triggered, chosen) << "the item's action has run";
        EXPECT_FALSE(menu.isVisible());
    }
    const QPoint at = owner.mapToGlobal(QPoint(10, 10));
    Desktop().showWhatsThis(&owner, at, QStringLiteral("The folder tree."));
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && QByteArray(w->metaObject()->className()) == "QWhatsThat")
            shown = w;
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->geometry().adjusted(-30, -30, 30, 30).contains(at));
    QWhatsThis::hideText();
}

} // namespace
} // namespace vesmarin
