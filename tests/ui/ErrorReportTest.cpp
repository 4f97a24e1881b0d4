#include "app/MainWindowRig.h"
#include "ui/PleaseWaitWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::MainForm;
using test::ScriptedInteraction;

TEST(ReportError, AsksWhetherToEndInTheLanguageInForce) {
    struct Case {
        bool greek;
        const char* title;
        QString text;
    };
    const Case cases[] = {
        {false, "Vesmarin",
         QStringLiteral("Error condition 13 with the description 'Type mismatch' has occured.\r\n\r\nThe "
                        "application cannot perform the requested operation.\r\n\r\nDo you want to "
                        "shut down the application and return to the Windows environment?")},
        {true, "Vesmarin",
         QStringLiteral("Παρουσιάσθηκε το σφάλμα με αριθμό 13 και περιγραφή «Type mismatch».\r\n\r\nΗ "
                        "εφαρμογή δεν μπορεί να εκτελέσει την εργασία που ζητήσατε.\r\n\r\nΘέλετε να "
                        "διακοπεί η λειτουργία της εφαρμογής και να επιστρέψετε στο περιβάλλον των "
                        "Windows;")},
    };
    for (const Case& c : cases) {
        ScriptedInteraction ui;
        SharedState state;
        state.gLanguage = c.greek;
        state.gTitle = QString::fromLatin1(c.title);
        ui.answer(MsgButton::No);
        ReportError(ui, state, nullptr, 13, QStringLiteral("Type mismatch"), Location::End);
        ASSERT_EQ(ui.messages.size(), 1u);
        const MessageRequest& r = ui.messages[0].request;
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.title, QStringLiteral("Vesmarin, 193."));
        EXPECT_EQ(r.icon, MsgIcon::Question);
        EXPECT_EQ(r.buttons, MsgButtons::YesNo);
        EXPECT_EQ(r.defaultButton, MsgButton::No);
        EXPECT_EQ(ui.ended, 0);
    }
}

TEST(ReportError, YesEndsAtOnceAndAnEmptyTitleStillNamesTheCode) {
    ScriptedInteraction ui;
    SharedState state; // before the language is applied the title is empty
    ui.answer(MsgButton::Yes);
    ReportError(ui, state, nullptr, 5, QStringLiteral("x"), Location::StartUp);
    EXPECT_EQ(ui.messages.at(0).request.title, QStringLiteral(", 181."));
    EXPECT_EQ(ui.ended, 1);
}

TEST(ErrorTrap, ReportsWithItsCodeAndEndsTheProcedure) {
    struct Case {
        std::function<void()> fail;
        int number;
        QString description;
    };
    const Case cases[] = {
        {[] { throw RunTimeError(6, QStringLiteral("Overflow")); }, 6, QStringLiteral("Overflow")},
        {[] { (void)ToInteger16OrRaise(QString()); }, 13, QStringLiteral("Type mismatch")},
        {[] { throw std::bad_alloc(); }, 7, QStringLiteral("Out of memory")},
        {[] { throw std::runtime_error("broken"); }, 51, QStringLiteral("broken")},
    };
    for (const Case& c : cases) {
        ScriptedInteraction ui;
        SharedState state;
        state.gTitle = QStringLiteral("Vesmarin");
        ui.answer(MsgButton::No);
        bool reachedTheEnd = false;
        const bool completed = RunUnderErrorTrap(ui, state, nullptr, Location::ShowNextSet, [&] {
            c.fail();
            reachedTheEnd = true;
        });
        EXPECT_FALSE(completed);
        EXPECT_FALSE(reachedTheEnd);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].request.title, QStringLiteral("Vesmarin, 202."));
        EXPECT_TRUE(ui.messages[0].request.text.startsWith(
            QStringLiteral("Error condition %1 with the description '%2'").arg(c.number).arg(c.description)));
    }
}

// The recall and About dialogs call the close-event form; their own tests close them from the frame.
TEST(RefuseControlMenuClose, RefusesOnlyClosesFromTheFrameInTheLanguageInForce) {
    const struct {
        bool greek;
        const char* text;
        const char* title;
    } cases[] = {
        {true, "Για τεχνικούς λόγους, το κλείσιμο της φόρμας από το μενού ελέγχου, δεν επιτρέπεται.",
         "Κλείσιμο φόρμας"},
        {false, "For technical reasons, it is impossible to close the form, using the control menu.",
         "Closing form"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        ScriptedInteraction ui;
        SharedState state;
        state.gLanguage = c.greek;
        EXPECT_FALSE(RefuseControlMenuClose(ui, state, nullptr, false));
        EXPECT_TRUE(ui.messages.empty());

        ui.answer(MsgButton::Ok);
        EXPECT_TRUE(RefuseControlMenuClose(ui, state, nullptr, true));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].request.text, QString::fromUtf8(c.text));
        EXPECT_EQ(ui.messages[0].request.title, QString::fromUtf8(c.title));
        EXPECT_EQ(ui.messages[0].request.icon, MsgIcon::Information);
        EXPECT_EQ(ui.messages[0].request.buttons, MsgButtons::Ok);
    }
}

TEST(PleaseWait, IsABorderlessToolWindowCentredOnItsOwner) {
    QWidget owner;
    owner.setGeometry(100, 100, 641, 465);
    owner.show();
    frmPleaseWait wait(&owner);
    wait.lblBrowsing->setText(QStringLiteral("Browsing Files"));
    wait.lblPleaseWait->setText(QStringLiteral("Please Wait"));
    wait.ShowCentredOnOwner();

    EXPECT_TRUE(wait.isVisible());
    EXPECT_TRUE(wait.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(wait.windowFlags() & Qt::WindowType_Mask, Qt::Tool)
        << "a tool window stays out of the task bar";
    EXPECT_LE((wait.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 1);

    owner.move(300, 200);
    wait.ShowCentredOnOwner();
    EXPECT_LE((wait.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 1)
        << "it follows its owner to where it stands now";
}

// Hands an event to a window without the dispatcher, which would clear its spontaneous flag: the way a
// close from the window frame arrives.
void DeliverAsIs(QObject* receiver, QEvent* event) {
    receiver->event(event);
}

class Ending : public ::testing::Test {
protected:
    void SetUp() override {
        m.loadWith("[General]\nInitialPath=/tmp\n[Options]\nLevels=5\n");
        m.form->show();
    }
    MainForm m;
};

TEST_F(Ending, EndWritesTheLevelsAndClosesTheWindow) {
    m.form->txtLevels->setText(QStringLiteral("12"));
    m.form->cmdEnd->click();
    EXPECT_NE(m.ini().find("Levels=12\n"), std::string::npos) << m.ini();
    EXPECT_FALSE(m.form->isVisible());
}

TEST_F(Ending, ClosingFromTheFrameWritesNothing) {
    const std::string before = m.ini();
    m.form->txtLevels->setText(QStringLiteral("12"));
    QCloseEvent fromFrame;
    QSpontaneKeyEvent::setSpontaneous(&fromFrame);
    DeliverAsIs(m.form.get(), &fromFrame);
    EXPECT_TRUE(fromFrame.isAccepted());
    EXPECT_EQ(m.ini(), before);
}

TEST_F(Ending, AnEmptyLevelsBoxStopsTheEndWithReport193) {
    const std::string before = m.ini();
    m.form->txtLevels->clear();
    m.ui.answer(MsgButton::No);
    m.form->cmdEnd->click();
    ASSERT_EQ(m.ui.messages.size(), 1u);
    EXPECT_EQ(m.ui.messages[0].request.title, QStringLiteral("Vesmarin, 193."));
    EXPECT_TRUE(m.ui.messages[0].request.text.startsWith(
        QStringLiteral("Error condition 13 with the description 'Type mismatch'")));
    EXPECT_EQ(m.ini(), before);
    EXPECT_TRUE(m.form->isVisible()) << "No leaves the program running";
    EXPECT_EQ(m.ui.ended, 0);

    m.ui.answer(MsgButton::Yes);
    m.form->cmdEnd->click();
    EXPECT_EQ(m.ui.ended, 1);
    EXPECT_EQ(m.ini(), before);
}

} // namespace
} // namespace vesmarin
