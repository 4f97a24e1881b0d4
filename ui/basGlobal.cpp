#include "ui/basGlobal.h"

#include "base/NumberText.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QVariant>
#include <QWidget>

namespace vesmarin {

void ReportError(Interaction& ui, const SharedState& state, QWidget* parent, int number,
                 const QString& description, Location where) {
    MessageRequest r;
    r.text =
        Pick(
            state,
            QStringLiteral("Error condition %1 with the description '%2' has occured.\r\n\r\nThe application "
                           "cannot perform the requested operation.\r\n\r\nDo you want to shut down the "
                           "application and return to the Windows environment?"),
            QStringLiteral("Παρουσιάσθηκε το σφάλμα με αριθμό %1 και περιγραφή «%2».\r\n\r\nΗ εφαρμογή δεν "
                           "μπορεί να εκτελέσει την εργασία που ζητήσατε.\r\n\r\nΘέλετε να διακοπεί η "
                           "λειτουργία της εφαρμογής και να επιστρέψετε στο περιβάλλον των Windows;"))
            .arg(QString::number(number), description);
    r.title = state.gTitle + QStringLiteral(", ") + QString::number(static_cast<int>(where)) + u'.';
    r.icon = MsgIcon::Question;
    r.buttons = MsgButtons::YesNo;
    r.defaultButton = MsgButton::No;
    if (ui.messageBox(parent, r) == MsgButton::Yes)
        ui.endProgramNow();
}

bool RefuseControlMenuClose(Interaction& ui, const SharedState& state, QWidget* form, bool fromFrame) {
    if (!fromFrame)
        return false;
    MessageRequest r;
    r.text = Pick(
        state,
        QStringLiteral("For technical reasons, it is impossible to close the form, using the control menu."),
        QStringLiteral(
            "Για τεχνικούς λόγους, το κλείσιμο της φόρμας από το μενού ελέγχου, δεν επιτρέπεται."));
    r.title = Pick(state, QStringLiteral("Closing form"), QStringLiteral("Κλείσιμο φόρμας"));
    r.icon = MsgIcon::Information;
    r.buttons = MsgButtons::Ok;
    r.defaultButton = MsgButton::Ok;
    ui.messageBox(form, r);
    return true;
}

bool RefuseControlMenuClose(Interaction& ui, const SharedState& state, QWidget* form, QCloseEvent* event) {
    const bool refused = RefuseControlMenuClose(ui, state, form, event->spontaneous());
    if (refused)
        event->ignore();
    return refused;
}

QFont ProgramFont(qreal pointSize) {
    static const bool haveTahoma =
        QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
    QFont font =
        haveTahoma ? QFont(QStringLiteral("Tahoma")) : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (!haveTahoma)
        font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}

QString Tag(const QObject* control) {
    return control->property("Tag").toString();
}

void SetTag(QObject* control, const QString& tag) {
    control->setProperty("Tag", tag);
}

} // namespace vesmarin
