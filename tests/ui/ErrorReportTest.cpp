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

// The report names the error and the place in the title (even before the language gives a title) and asks
// whether to end, No by default, in the language in force; Yes ends at once.
TEST(ReportError, AsksWhetherToEndInTheLanguageInForce) {
    const std::tuple<Language, MsgButton, QString, QString> cases[] = {
        {{false, "Vesmarin", {}},
         MsgButton::No,
         "Vesmarin, 193.",
         "Error condition 13 with the description 'Type mismatch' has occured.\r\n\r\nThe application cannot "
         "perform the requested operation.\r\n\r\nDo you want to shut down the application and return to the "
         "Windows environment?"},
        {{true, "Vesmarin", {}},
         MsgButton::No,
         "Vesmarin, 193.",
         "Παρουσιάσθηκε το σφάλμα με αριθμό 13 και περιγραφή «Type mismatch»."},
        {{}, MsgButton::Yes, ", 193.", "Error condition 13"}};
    for (const auto& [language, answer, title, text] : cases) {
        ScriptedInteraction ui;
        ui.answer(answer);
        ErrorReport(ui, language, nullptr).show(13, QStringLiteral("Type mismatch"), Location::End);
        const MessageRequest& r = ui.messages.at(0).request;
        EXPECT_TRUE(r.text.startsWith(text)) << r.text.toStdString();
        EXPECT_EQ(r.title, title);
        EXPECT_EQ(std::tuple(r.icon, r.buttons, r.defaultButton),
                  std::tuple(MsgIcon::Question, MsgButtons::YesNo, MsgButton::No));
        EXPECT_EQ(ui.ended, answer == MsgButton::Yes ? 1 : 0);
    }
}

// Every kind of failure inside a trapped procedure is reported with its number and ends the procedure.
TEST(ErrorTrap, ReportsWithItsCodeAndEndsTheProcedure) {
    const std::pair<std::function<void()>, QString> cases[] = {
        {[] { throw RunTimeError(6, QStringLiteral("Overflow")); }, "6 with the description 'Overflow'"},
        {[] { (void)ToInteger16OrRaise(QString()); }, "13 with the description 'Type mismatch'"},
        {[] { throw std::bad_alloc(); }, "7 with the description 'Out of memory'"},
        {[] { throw std::runtime_error("broken"); }, "51 with the description 'broken'"}};
    for (const auto& [fail, reported] : cases) {
        ScriptedInteraction ui;
        const Language language{false, QStringLiteral("Vesmarin"), {}};
        ui.answer(MsgButton::No);
        bool reachedTheEnd = false;
        EXPECT_FALSE(RunUnderErrorTrap(ErrorReport(ui, language, nullptr), Location::ShowNextSet, [&] {
            fail();
            reachedTheEnd = true;
        }));
        EXPECT_FALSE(reachedTheEnd);
        EXPECT_EQ(ui.messages.at(0).request.title, QStringLiteral("Vesmarin, 202."));
        EXPECT_TRUE(ui.messages.at(0).request.text.startsWith("Error condition " + reported));
    }
}

// Only a close from the window frame is refused, with a message in the language in force.
TEST(RefuseControlMenuClose, RefusesOnlyClosesFromTheFrameInTheLanguageInForce) {
    const std::tuple<bool, QString, QString> cases[] = {
        {false, "Closing form",
         "For technical reasons, it is impossible to close the form, using the control menu."},
        {true, "Κλείσιμο φόρμας",
         "Για τεχνικούς λόγους, το κλείσιμο της φόρμας από το μενού ελέγχου, δεν επιτρέπεται."}};
    for (const auto& [greek, title, text] : cases) {
        ScriptedInteraction ui;
        const Language language{greek, {}, {}};
        EXPECT_FALSE(RefuseControlMenuClose(ui, language, nullptr, false));
        ui.answer(MsgButton::Ok);
        EXPECT_TRUE(RefuseControlMenuClose(ui, language, nullptr, true));
        const MessageRequest& r = ui.messages.at(0).request;
        EXPECT_EQ(std::tuple(r.title, r.text, r.icon, r.buttons),
                  std::tuple(title, text, MsgIcon::Information, MsgButtons::Ok));
    }
}

// A borderless tool window (out of the task bar) centred on its owner where the owner stands now.
TEST(PleaseWait, IsABorderlessToolWindowCentredOnItsOwner) {
    QWidget owner;
    owner.setGeometry(100, 100, 641, 465);
    owner.show();
    PleaseWaitWindow wait(&owner, QStringLiteral("Browsing Files"), QStringLiteral("Please Wait"));
    for (const QPoint at : {QPoint(100, 100), QPoint(300, 200)}) {
        owner.move(at);
        wait.showCentredOnOwner();
        EXPECT_TRUE(wait.isVisible());
        EXPECT_LE((wait.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 1);
    }
    EXPECT_EQ(test::Control<QLabel>(wait, "lblBrowsing")->text(), QStringLiteral("Browsing Files"));
    EXPECT_EQ(test::Control<QLabel>(wait, "lblPleaseWait")->text(), QStringLiteral("Please Wait"));
    EXPECT_TRUE(wait.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(wait.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
}

} // namespace
} // namespace vesmarin
