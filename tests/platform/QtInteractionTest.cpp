// The real desktop seam against the real widgets: what a person sees in its boxes, dialogs and menus, and
// what each answer returns.
#include "platform/QtInteraction.h"

#include "language/ToolkitTexts.h"
#include "support/RealDialogs.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWhatsThis>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::RealDialogs;
using test::SeenBox;

QtInteraction& Desktop() {
    static QtInteraction ui;
    return ui;
}

enum class Press { Click, Return, Escape, Frame };
using enum Press;
using enum MsgButton;

struct BoxRow {
    MsgButtons set;
    MsgButton defaultButton;
    Press press;
    MsgButton clicked; // the button a Click presses
    MsgButton answer;
};

// Every set, every button by mouse, Return on either default, Escape and the frame's close button.
const BoxRow kBoxes[] = {
    {MsgButtons::Ok, Ok, Click, Ok, Ok},
    {MsgButtons::Ok, Ok, Return, Ok, Ok},
    {MsgButtons::Ok, Ok, Escape, Ok, Ok},
    {MsgButtons::Ok, Ok, Frame, Ok, Ok},
    {MsgButtons::OkCancel, Cancel, Click, Ok, Ok},
    {MsgButtons::OkCancel, Ok, Click, Cancel, Cancel},
    {MsgButtons::OkCancel, Ok, Return, Ok, Ok},
    {MsgButtons::OkCancel, Cancel, Return, Ok, Cancel},
    {MsgButtons::OkCancel, Ok, Escape, Ok, Cancel},
    {MsgButtons::OkCancel, Ok, Frame, Ok, Cancel},
    {MsgButtons::YesNo, No, Click, Yes, Yes},
    {MsgButtons::YesNo, Yes, Click, No, No},
    {MsgButtons::YesNo, Yes, Return, Yes, Yes},
    {MsgButtons::YesNo, No, Return, Yes, No},
    {MsgButtons::YesNo, Yes, Escape, Yes, No},
    {MsgButtons::YesNo, Yes, Frame, Yes, No},
};

QMessageBox::StandardButton ToQt(MsgButton b) {
    switch (b) {
    case Ok:
        return QMessageBox::Ok;
    case Cancel:
        return QMessageBox::Cancel;
    case Yes:
        return QMessageBox::Yes;
    case No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

// The buttons' texts as they stand, left to right, in English or in Greek.
QStringList ButtonTexts(MsgButtons set, bool greek) {
    switch (set) {
    case MsgButtons::Ok:
        return {"OK"};
    case MsgButtons::OkCancel:
        return greek ? QStringList{"OK", "Άκυρο"} : QStringList{"OK", "Cancel"};
    case MsgButtons::YesNo:
        return greek ? QStringList{"&Ναι", "Ό&χι"} : QStringList{"&Yes", "&No"};
    }
    return {};
}

RealDialogs::Step PressOn(const BoxRow& row) {
    switch (row.press) {
    case Click:
        return RealDialogs::Click(ToQt(row.clicked));
    case Return:
        return RealDialogs::Key(Qt::Key_Return);
    case Escape:
        return RealDialogs::Key(Qt::Key_Escape);
    case Frame:
        return [](QDialog& d) {
            QCloseEvent fromFrame;
            QSpontaneKeyEvent::setSpontaneous(&fromFrame);
            QApplication::sendEvent(&d, &fromFrame);
        };
    }
    return {};
}

// The buttons speak the language in force, and English again once it is chosen again.
TEST(QtInteraction, EveryButtonOfEverySetAnswersAsPressedByMouseOrKeyInEitherLanguage) {
    MessageRequest request;
    request.title = QStringLiteral("Vesmarin");
    // Quoted paths and names may look like markup; they are shown as they stand, and Windows line breaks
    // become line breaks.
    request.text = QStringLiteral("Cannot read '/home/ann/<b>old</b> & new'.\r\n\r\nGo on?");
    request.icon = MsgIcon::Question;
    for (const bool greek : {false, true, false}) {
        UseToolkitLanguage(greek);
        for (const BoxRow& row : kBoxes) {
            SCOPED_TRACE(::testing::Message() << (greek ? "Greek" : "English") << ", set " << int(row.set)
                                              << ", default " << int(row.defaultButton) << ", press "
                                              << int(row.press) << " " << int(row.clicked));
            RealDialogs boxes{PressOn(row)};
            request.buttons = row.set;
            request.defaultButton = row.defaultButton;
            EXPECT_EQ(Desktop().messageBox(nullptr, request), row.answer);

            ASSERT_EQ(boxes.seen.size(), 1u);
            const SeenBox& seen = boxes.seen[0];
            EXPECT_EQ(seen.buttons, ButtonTexts(row.set, greek));
            // The second button of a set is Cancel or No.
            const bool second = row.defaultButton == Cancel || row.defaultButton == No;
            EXPECT_EQ(seen.defaultButton, ButtonTexts(row.set, greek).value(second ? 1 : 0));
            EXPECT_EQ(seen.title, request.title);
            EXPECT_EQ(seen.text, QStringLiteral("Cannot read '/home/ann/<b>old</b> & new'.\n\nGo on?"));
            EXPECT_EQ(seen.icon, QMessageBox::Question);
        }
    }
    UseToolkitLanguage(false);
}

// A message from a dialog that is not shown yet belongs to the shown window that owns the dialog, so it
// appears over that window rather than in a corner of the screen. Plain text, whatever it looks like.
TEST(QtInteraction, MessageBoxOfAWindowNotYetShownBelongsToItsShownOwnerAndShowsPlainText) {
    QWidget main;
    main.setGeometry(300, 200, 400, 300);
    main.show();
    QDialog loading(&main);
    QWidget* owner = nullptr;
    Qt::TextFormat format = Qt::AutoText;
    RealDialogs boxes{[&](QDialog& d) {
        owner = d.parentWidget();
        format = static_cast<QMessageBox&>(d).textFormat();
        d.accept();
    }};
    MessageRequest request;
    request.text = QStringLiteral("Path/File access error");
    Desktop().messageBox(&loading, request);
    EXPECT_EQ(owner, &main);
    EXPECT_EQ(format, Qt::PlainText);
}

// An error report quoting a very long path is taller than the screen: the text scrolls inside the box,
// whole, and the box with its buttons stays on the screen.
TEST(QtInteraction, ATextTallerThanTheScreenScrollsSoTheButtonsStayOnIt) {
    QString path;
    while (path.size() < 4000)
        path += QStringLiteral("/folder");
    MessageRequest request;
    request.title = QStringLiteral("Vesmarin, 201.");
    request.text = QStringLiteral("Error condition 75 with the description 'Cannot write %1' has occured.\n")
                       .arg(path)
                       .repeated(3);
    request.icon = MsgIcon::Question;
    request.buttons = MsgButtons::YesNo;
    request.defaultButton = No;
    QRect available, box;
    std::vector<QRect> buttons;
    QString shown;
    RealDialogs boxes{[&](QDialog& d) {
        available = d.screen()->availableGeometry();
        box = d.frameGeometry();
        for (QAbstractButton* b : static_cast<QMessageBox&>(d).buttons())
            buttons.push_back(QRect(b->mapToGlobal(QPoint(0, 0)), b->size()));
        for (const QLabel* label : d.findChildren<QLabel*>())
            if (label->text().size() > shown.size() && label->isVisibleTo(&d))
                shown = label->text();
        QTest::mouseClick(static_cast<QMessageBox&>(d).button(QMessageBox::Yes), Qt::LeftButton);
    }};
    EXPECT_EQ(Desktop().messageBox(nullptr, request), Yes);
    EXPECT_EQ(shown, request.text) << "the whole text";
    EXPECT_TRUE(available.contains(box)) << "box " << box.y() << "+" << box.height();
    EXPECT_GT(box.height(), available.height() / 2) << "the text has the room the screen gives";
    ASSERT_EQ(buttons.size(), 2u);
    for (const QRect& b : buttons)
        EXPECT_TRUE(available.contains(b)) << "button at " << b.y();
}

// A folder with a file that exists, for the file dialogs.
struct Folder {
    QTemporaryDir dir;
    QString path = dir.path();
    Folder() { test::WriteFile(path + QStringLiteral("/old.bmp"), "old"); }
};

// Types a name into the dialog's name box and presses its Save or Open button.
void TypeAndAccept(QDialog& d, const QString& name) {
    auto* edit = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_TRUE(edit && buttons);
    edit->setText(name);
    for (QAbstractButton* b : buttons->buttons())
        if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole)
            QTest::mouseClick(b, Qt::LeftButton);
}

// The name box holds `name`, the Save or Open button is pressed; when the dialog stays open (it refused,
// or No was answered to its question) Cancel closes it.
RealDialogs::Step Choose(const QString& name, bool* stayed = nullptr) {
    return [name, stayed](QDialog& d) {
        TypeAndAccept(d, name);
        if (stayed)
            *stayed = d.isVisible();
        if (d.isVisible())
            d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))
                ->button(QDialogButtonBox::Cancel)
                ->click();
    };
}

TEST(QtInteraction, FileDialogsAskBeforeReplacingAndRefuseAFolderThatDoesNotExist) {
    const struct {
        const char* name;
        bool save;
        bool confirmOverwrite;
        QString typed;
        std::optional<QMessageBox::StandardButton> answer; // to the dialog's own message box
        QString message;                                   // its text, %1 the folder
        std::optional<QString> chosen;                     // %1 the folder
    } rows[] = {
        {"a new name takes the extension", true, true, "mine", {}, {}, "%1/mine.bmp"},
        {"replacing: Yes", true, true, "old.bmp", QMessageBox::Yes,
         "old.bmp already exists.\nDo you want to replace it?", "%1/old.bmp"},
        {"replacing: No keeps the dialog open", true, true, "old.bmp", QMessageBox::No,
         "old.bmp already exists.\nDo you want to replace it?", std::nullopt},
        {"no question when none is asked for", true, false, "old.bmp", {}, {}, "%1/old.bmp"},
        {"save into a missing folder: refused", true, true, "gone/mine", QMessageBox::Ok,
         "%1/gone\nDirectory not found.\nPlease verify the correct directory name was given.", std::nullopt},
        {"open: a new name", false, false, "do not alter this text", {}, {}, "%1/do not alter this text.bmp"},
        {"open in a missing folder: refused", false, false, "gone/do not alter this text", QMessageBox::Ok,
         "%1/gone\nDirectory not found.\nPlease verify the correct directory name was given.", std::nullopt},
        {"cancelled", true, true, "", {}, {}, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Folder folder;
        FileDialogRequest request;
        request.title = QStringLiteral("Save icon as...");
        request.initialPath = folder.path + QStringLiteral("/I0000005");
        request.filter = QStringLiteral("Pictures (*.bmp)");
        request.defaultSuffix = QStringLiteral("bmp");
        request.confirmOverwrite = row.confirmOverwrite;
        request.pathMustExist = true;
        bool stayed = false;
        RealDialogs dialogs;
        if (row.typed.isEmpty())
            dialogs.then([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
        else
            dialogs.then(Choose(row.typed, &stayed));
        if (row.answer)
            dialogs.then(RealDialogs::Click(*row.answer));

        const std::optional<QString> chosen =
            row.save ? Desktop().saveFileName(nullptr, request) : Desktop().openFileName(nullptr, request);

        EXPECT_EQ(chosen, row.chosen ? std::optional(row.chosen->arg(folder.path)) : std::nullopt);
        EXPECT_EQ(stayed, !row.chosen && row.answer.has_value());
        ASSERT_EQ(dialogs.seen.size(), row.answer ? 1u : 0u);
        if (row.answer) {
            EXPECT_EQ(dialogs.seen[0].text, QString(row.message).replace(QStringLiteral("%1"), folder.path));
            EXPECT_EQ(dialogs.seen[0].title, request.title);
        }
        EXPECT_EQ(test::ReadFile(folder.path + QStringLiteral("/old.bmp")), "old")
            << "the dialog writes nothing";
    }
}

// The file dialog is the toolkit's own, so it speaks the language in force; so does its refusal.
TEST(QtInteraction, FileDialogsSpeakTheLanguageInForce) {
    for (const bool greek : {true, false}) {
        SCOPED_TRACE(greek ? "Greek" : "English");
        UseToolkitLanguage(greek);
        Folder folder;
        QStringList labels;
        RealDialogs dialogs{
            [&](QDialog& d) {
                // The desktop's own dialog would not take the program's translation.
                EXPECT_TRUE(static_cast<QFileDialog&>(d).testOption(QFileDialog::DontUseNativeDialog));
                for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
                    labels << d.findChild<QLabel*>(QString::fromLatin1(name))->text();
                for (QAbstractButton* b :
                     d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->buttons())
                    labels << b->text();
                Choose(QStringLiteral("gone/x"))(d);
            },
            RealDialogs::Key(Qt::Key_Return)};
        FileDialogRequest request;
        request.initialPath = folder.path;
        EXPECT_EQ(Desktop().saveFileName(nullptr, request), std::nullopt);
        EXPECT_EQ(
            labels,
            greek ? QStringList({"Αναζήτηση σε:", "Όνομα &αρχείου:", "Αρχεία τύπου:", "Απο&θήκευση", "Άκυρο"})
                  : QStringList({"Look in:", "File &name:", "Files of type:", "&Save", "Cancel"}));
        ASSERT_EQ(dialogs.seen.size(), 1u);
        EXPECT_TRUE(
            dialogs.seen[0].text.endsWith(greek ? "Βεβαιωθείτε ότι δώσατε το σωστό όνομα φακέλλου."
                                                : "Please verify the correct directory name was given."));
    }
}

// The folder chooser offers its choices under the folders and hands back the folder and the choice.
TEST(QtInteraction, AFolderIsChosenWithTheChoiceBelowItOrNothingOnCancel) {
    Folder folder;
    QDir(folder.path).mkdir(QStringLiteral("icons"));
    FolderDialogRequest request{QStringLiteral("Save all icons of this set"),
                                folder.path,
                                QStringLiteral("Save as:"),
                                {QStringLiteral("PNG"), QStringLiteral("ICO")},
                                0};
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "chosen");
        QString label;
        RealDialogs dialogs{[&](QDialog& d) {
            auto* choices = d.findChild<QComboBox*>(QStringLiteral("choices"));
            ASSERT_NE(choices, nullptr);
            for (const QLabel* l : d.findChildren<QLabel*>())
                if (l->buddy() == choices)
                    label = l->text();
            QTest::keyClick(choices, Qt::Key_Down); // the second choice, by the keyboard
            if (cancel)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                Choose(QStringLiteral("icons"))(d);
        }};
        const auto chosen = Desktop().chooseFolder(nullptr, request);
        EXPECT_EQ(chosen, cancel ? std::nullopt
                                 : std::optional(FolderChoice{folder.path + QStringLiteral("/icons"), 1}));
        EXPECT_EQ(label, QStringLiteral("Save as:"));
    }
}

// One offer holds the picture and, beside it, the PNG with its alpha: a paste takes the form it knows.
TEST(QtInteraction, TheClipboardOffersThePictureAndThePngInOneGo) {
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QByteArray png("\x89PNG the same picture with its alpha");
    Desktop().setClipboardImage(picture, png);
    const QMimeData* offered = QApplication::clipboard()->mimeData();
    ASSERT_NE(offered, nullptr);
    EXPECT_EQ(qvariant_cast<QImage>(offered->imageData()).convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(offered->data(QStringLiteral("image/png")), png);
}

TEST(QtInteraction, APopupMenuRunsAndReturnsTheItemChosenByMouseOrKeyOrNothing) {
    QWidget owner;
    owner.setGeometry(100, 100, 300, 200);
    owner.show();
    QMenu menu(&owner);
    QAction* first = menu.addAction(QStringLiteral("Save"));
    menu.addSeparator();
    QAction* second = menu.addAction(QStringLiteral("Copy"));
    QAction* triggered = nullptr;
    QObject::connect(&menu, &QMenu::triggered, [&](QAction* a) { triggered = a; });
    const struct {
        const char* name;
        std::function<void(QMenu&)> choose;
        QAction* chosen;
    } rows[] = {
        {"a click on an item",
         [&](QMenu& m) { QTest::mouseClick(&m, Qt::LeftButton, {}, m.actionGeometry(second).center()); },
         second},
        {"Down and Return",
         [](QMenu& m) {
             QTest::keyClick(&m, Qt::Key_Down);
             QTest::keyClick(&m, Qt::Key_Return);
         },
         first},
        {"Escape", [](QMenu& m) { QTest::keyClick(&m, Qt::Key_Escape); }, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        triggered = nullptr;
        QTimer::singleShot(0, [&] {
            auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_EQ(open, &menu);
            row.choose(*open);
        });
        EXPECT_EQ(Desktop().popupMenu(&menu, owner.mapToGlobal(QPoint(20, 20))), row.chosen);
        EXPECT_EQ(triggered, row.chosen) << "the item's action has run";
        EXPECT_FALSE(menu.isVisible());
    }
}

// The help pop-up is the toolkit's own What's This window, shown at once beside the control.
TEST(QtInteraction, AHelpTopicShowsInTheToolkitsWhatsThisWindow) {
    QWidget control;
    control.setGeometry(100, 100, 200, 100);
    control.show();
    Desktop().showWhatsThis(&control, control.mapToGlobal(QPoint(10, 10)),
                            QStringLiteral("The folder tree."));
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && QByteArray(w->metaObject()->className()) == "QWhatsThat")
            shown = w;
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->geometry().adjusted(-30, -30, 30, 30).contains(control.mapToGlobal(QPoint(10, 10))));
    QWhatsThis::hideText();
}

} // namespace
} // namespace vesmarin
