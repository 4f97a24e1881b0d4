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

// Every kind of failure inside a trapped procedure ends the procedure and is reported with its number and
// the place in the title (even before the language gives a title); the report asks whether to end, No by
// default, in the language in force, and Yes ends at once.
TEST(ErrorTrap, ReportsWithTheNumberAndPlaceAndAsksWhetherToEnd) {
    const auto mismatch = [] { (void)ToInteger16OrRaise(QString()); };
    const Language english{false, "Vesmarin", {}}, greek{true, "Vesmarin", {}}, none;
    const std::tuple<std::function<void()>, Language, MsgButton, QString, QString> cases[] = {
        {mismatch, english, MsgButton::No, "Vesmarin, 202.",
         "Error condition 13 with the description 'Type mismatch' has occured.\r\n\r\nThe application cannot "
         "perform the requested operation.\r\n\r\nDo you want to shut down the application and return to the "
         "Windows environment?"},
        {mismatch, greek, MsgButton::No, "Vesmarin, 202.",
         "Παρουσιάσθηκε το σφάλμα με αριθμό 13 και περιγραφή «Type mismatch»."},
        {mismatch, none, MsgButton::Yes, ", 202.", "Error condition 13 "},
        {[] { throw RunTimeError(6, QStringLiteral("Overflow")); }, english, MsgButton::No, "Vesmarin, 202.",
         "Error condition 6 with the description 'Overflow'"},
        {[] { throw std::bad_alloc(); }, english, MsgButton::No, "Vesmarin, 202.",
         "Error condition 7 with the description 'Out of memory'"},
        {[] { throw std::runtime_error("broken"); }, english, MsgButton::No, "Vesmarin, 202.",
         "Error condition 51 with the description 'broken'"}};
    for (const auto& [fail, language, answer, title, text] : cases) {
        ScriptedInteraction ui;
        ui.answer(answer);
        EXPECT_FALSE(RunUnderErrorTrap(ErrorReport(ui, language, nullptr), Location::ShowNextSet, fail));
        const MessageRequest& r = ui.messages.at(0).request;
        EXPECT_TRUE(text.endsWith(u'?') ? r.text == text : r.text.startsWith(text)) << r.text.toStdString();
        EXPECT_EQ(std::tuple(r.title, r.icon, r.buttons, r.defaultButton),
                  std::tuple(title, MsgIcon::Question, MsgButtons::YesNo, MsgButton::No));
        EXPECT_EQ(ui.ended, answer == MsgButton::Yes ? 1 : 0);
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
    EXPECT_EQ(wait.windowFlags() & (Qt::WindowType_Mask | Qt::FramelessWindowHint),
              Qt::Tool | Qt::FramelessWindowHint);
}

} // namespace
} // namespace vesmarin
