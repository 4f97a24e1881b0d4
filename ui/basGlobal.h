#pragma once

// The state every part of the program shares for the whole run, and the shared error report.

#include "base/FileLocations.h"
#include "base/RunTimeError.h"
#include "platform/Interaction.h"

#include <QFont>
#include <QString>
#include <cstdint>
#include <new>
#include <stdexcept>

class QCloseEvent;
class QObject;
class QWidget;

namespace vesmarin {

struct SharedState {
    // The program's files, set once at start-up: beside the program, or where FileLocations.h says.
    QString gIniFile;
    QString gHelpFileGreek;
    QString gHelpFileEnglish;
    QString gSavedPathsFile;
    QString gCurrentHelpFile; // the help file of the language in force

    bool gLanguage = false; // true = Greek
    QString gTitle;         // empty until the language is first applied
    QString gNoticeName;

    std::int16_t gLevels = 0; // 0 = all levels
    bool gCaseSensitive = false;
    QString gInitialPath;
    QString gIconSavePath; // ends with the separator
    QString gRecalledPath;
    std::uint32_t gBackColor = 0xFFFFC0; // red in the low byte: pale cyan
};

// Picks the text of the language in force.
inline const QString& Pick(const SharedState& s, const QString& english, const QString& greek) {
    return s.gLanguage ? greek : english;
}

// The shared error report: tells the user which error arose where and asks whether to end the program.
// Yes ends it at once (through the seam, so with the test double the call returns and the caller must
// return too); No returns to the caller.
void ReportError(Interaction& ui, const SharedState& state, QWidget* parent, int number,
                 const QString& description, Location where);

// The error trap of a procedure: runs `body`; a run-time error (or any other exception) inside it is
// reported with the procedure's location code and ends the body. Returns true when the body ran to its end.
template <class Body>
bool RunUnderErrorTrap(Interaction& ui, const SharedState& state, QWidget* parent, Location where,
                       Body&& body) {
    try {
        body();
        return true;
    } catch (const RunTimeError& e) {
        ReportError(ui, state, parent, e.number(), e.description(), where);
    } catch (const std::bad_alloc&) {
        ReportError(ui, state, parent, errors::OutOfMemory, QStringLiteral("Out of memory"), where);
    } catch (const std::exception& e) {
        ReportError(ui, state, parent, errors::Internal, QString::fromLocal8Bit(e.what()), where);
    }
    return false;
}

// The close refusal of the dialogs: a close asked for from the window frame (close button, window menu,
// Alt+F4) is refused with a message and the function returns true; any other close returns false.
bool RefuseControlMenuClose(Interaction& ui, const SharedState& state, QWidget* form, bool fromFrame);
// The same for a close event: the frame's closes arrive as spontaneous events. A refused event is ignored.
bool RefuseControlMenuClose(Interaction& ui, const SharedState& state, QWidget* form, QCloseEvent* event);

// Window sizes are designed in twips, 15 to a pixel.
constexpr int TwipsToPixels(int twips) {
    return (twips + 7) / 15;
}

// The program's font at `pointSize`: Tahoma where installed, otherwise the default sans-serif.
QFont ProgramFont(qreal pointSize);

// The Tag of a control: a text it carries for the program's own use.
QString Tag(const QObject* control);
void SetTag(QObject* control, const QString& tag);

} // namespace vesmarin
