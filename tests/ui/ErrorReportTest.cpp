#include "ui/ErrorReport.h"

#include "support/ScriptedInteraction.h"
#include "ui/CloseRefusal.h"
#include "ui/PleaseWaitWindow.h"

#include <gtest/gtest.h>

namespace vesmarin {
namespace {

// Every kind of failure inside a trapped procedure ends the procedure and is reported with its number and
// the place in the title (even before the language gives a title); the report asks whether to end, No by
// default, in the language in force, and Yes ends at once.
TEST(ErrorTrap, ReportsWithTheNumberAndPlaceAndAsksWhetherToEnd) {
    const auto mismatch = [] { (void)ToInteger16OrRaise(QString()); };
    const Language english{false, "Vesmarin", {}}, greek{true, "Vesmarin", {}}, none;
    const std::tuple<std::function<void()>, Language, QString> cases[] = {
        {mismatch, english,
         "Error condition 13 with the description 'Type mismatch' has occured.\r\n\r\nThe application cannot "
         "perform the requested operation.\r\n\r\nDo you want to shut down the application and return to the "
         "Windows environment?"},
        {mismatch, greek, "Παρουσιάσθηκε το σφάλμα με αριθμό 13 και περιγραφή «Type mismatch»."},
        {mismatch, none, "Error condition 13 "},
        {[] { throw std::bad_alloc(); }, english, "Error condition 7 with the description 'Out of memory'"},
        {[] { throw std::runtime_error("no"); }, english, "Error condition 51 with the description 'no'"}};
    for (const auto& [fail, language, text] : cases) {
        test::ScriptedInteraction ui;
        ui.answer(MsgButton::Yes); // (No leaves the program running: the options' End test)
        EXPECT_FALSE(RunUnderErrorTrap(ErrorReport(ui, language, nullptr), Location::ShowNextSet, fail));
        const MessageRequest& r = ui.messages.at(0).request;
        EXPECT_TRUE(r.title == language.title + ", 202." && r.text.startsWith(text))
            << (r.title + u'|' + r.text).toStdString();
        EXPECT_EQ(std::tuple(r.icon, r.buttons, r.defaultButton, ui.ended),
                  std::tuple(MsgIcon::Question, MsgButtons::YesNo, MsgButton::No, 1));
    }
}

// Only a close from the window frame is refused, with a message in the language in force.
TEST(RefuseControlMenuClose, RefusesOnlyClosesFromTheFrameInTheLanguageInForce) {
    for (const bool greek : {false, true}) {
        test::ScriptedInteraction ui;
        EXPECT_FALSE(RefuseControlMenuClose(ui, {greek, {}, {}}, nullptr, false));
        ui.answer(MsgButton::Ok);
        EXPECT_TRUE(RefuseControlMenuClose(ui, {greek, {}, {}}, nullptr, true));
        const MessageRequest& r = ui.messages.at(0).request;
        EXPECT_EQ(std::tuple(r.icon, r.buttons), std::tuple(MsgIcon::Information, MsgButtons::Ok));
        EXPECT_EQ(r.text,
                  greek
                      ? "Για τεχνικούς λόγους, το κλείσιμο της φόρμας από το μενού ελέγχου, δεν επιτρέπεται."
                      : "For technical reasons, it is impossible to close the form, using the control menu.");
    }
}

// A borderless tool window (out of the task bar) centred on its owner where the owner stands now.
TEST(PleaseWait, IsABorderlessToolWindowCentredOnItsOwner) {
    QWidget owner;
    PleaseWaitWindow wait(&owner, QStringLiteral("Browsing Files"), QStringLiteral("Please Wait"));
    owner.move(300, 200);
    wait.showCentredOnOwner();
    EXPECT_LE((wait.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 1);
    EXPECT_EQ(wait.windowFlags() & (Qt::WindowType_Mask | Qt::FramelessWindowHint),
              Qt::Tool | Qt::FramelessWindowHint);
}

} // namespace
} // namespace vesmarin
