#include "ui/CloseRefusal.h"

#include <QCloseEvent>

namespace vesmarin {

bool RefuseControlMenuClose(Interaction& ui, const Language& language, QWidget* window, bool fromFrame) {
    if (!fromFrame)
        return false;
    ShowMessage(
        ui, window,
        language.pick(
            QStringLiteral(
                "For technical reasons, it is impossible to close the form, using the control menu."),
            QStringLiteral(
                "Για τεχνικούς λόγους, το κλείσιμο της φόρμας από το μενού ελέγχου, δεν επιτρέπεται.")),
        language.pick(QStringLiteral("Closing form"), QStringLiteral("Κλείσιμο φόρμας")));
    return true;
}

bool RefuseControlMenuClose(Interaction& ui, const Language& language, QWidget* window, QCloseEvent* event) {
    const bool refused = RefuseControlMenuClose(ui, language, window, event->spontaneous());
    if (refused)
        event->ignore();
    return refused;
}

} // namespace vesmarin
