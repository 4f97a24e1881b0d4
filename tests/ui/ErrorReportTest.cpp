#include "ui/ErrorReport.h"

#include "support/Controls.h"
#include "support/ScriptedInteraction.h"
#include "ui/CloseRefusal.h"
#include "ui/PleaseWaitWindow.h"

#include <QLabel>
#include <functional>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

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
        const Language language{c.greek, QString::fromLatin1(c.title), {}};
        ui.answer(MsgButton::No);
        ErrorReport(ui, language, nullptr).show(13, QStringLiteral("Type mismatch"), Location::End);
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
    const Language language; // before the language is applied the title is empty
    ui.answer(MsgButton::Yes);
    ErrorReport(ui, language, nullptr).show(5, QStringLiteral("x"), Location::StartUp);
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
        const Language language{false, QStringLiteral("Vesmarin"), {}};
        ui.answer(MsgButton::No);
        bool reachedTheEnd = false;
        const bool completed =
            RunUnderErrorTrap(ErrorReport(ui, language, nullptr), Location::ShowNextSet, [&] {
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
        const Language language{c.greek, {}, {}};
        EXPECT_FALSE(RefuseControlMenuClose(ui, language, nullptr, false));
        EXPECT_TRUE(ui.messages.empty());

        ui.answer(MsgButton::Ok);
        EXPECT_TRUE(RefuseControlMenuClose(ui, language, nullptr, true));
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
    PleaseWaitWindow wait(&owner, QStringLiteral("Browsing Files"), QStringLiteral("Please Wait"));
    wait.showCentredOnOwner();
    EXPECT_EQ(test::Control<QLabel>(wait, "lblBrowsing")->text(), QStringLiteral("Browsing Files"));
    EXPECT_EQ(test::Control<QLabel>(wait, "lblPleaseWait")->text(), QStringLiteral("Please Wait"));

    EXPECT_TRUE(wait.isVisible());
    EXPECT_TRUE(wait.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(wait.windowFlags() & Qt::WindowType_Mask, Qt::Tool)
        << "a tool window stays out of the task bar";
    EXPECT_LE((wait.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 1);

    owner.move(300, 200);
    wait.showCentredOnOwner();
    EXPECT_LE((wait.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 1)
        << "it follows its owner to where it stands now";
}

} // namespace
} // namespace vesmarin
