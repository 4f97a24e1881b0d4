#include "ui/ErrorReport.h"

namespace vesmarin {

void ErrorReport::show(int number, const QString& description, Location where) const {
    MessageRequest r;
    r.text =
        language_
            .pick(
                QStringLiteral("Error condition %1 with the description '%2' has occured.\r\n\r\nThe "
                               "application cannot perform the requested operation.\r\n\r\nDo you want to "
                               "shut down the application and return to the Windows environment?"),
                QStringLiteral("Παρουσιάσθηκε το σφάλμα με αριθμό %1 και περιγραφή «%2».\r\n\r\nΗ εφαρμογή "
                               "δεν μπορεί να εκτελέσει την εργασία που ζητήσατε.\r\n\r\nΘέλετε να διακοπεί "
                               "η λειτουργία της εφαρμογής και να επιστρέψετε στο περιβάλλον των Windows;"))
            .arg(QString::number(number), description);
    r.title = language_.title + QStringLiteral(", ") + QString::number(static_cast<int>(where)) + u'.';
    r.icon = MsgIcon::Question;
    r.buttons = MsgButtons::YesNo;
    r.defaultButton = MsgButton::No;
    if (ui_.messageBox(parent_, r) == MsgButton::Yes)
        ui_.endProgramNow();
}

} // namespace vesmarin
