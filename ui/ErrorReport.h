#pragma once

// The error report every window shares, and the error trap each operation a user starts runs under.

#include "base/Language.h"
#include "base/RunTimeError.h"
#include "platform/Interaction.h"

#include <new>
#include <stdexcept>

class QWidget;

namespace vesmarin {

// Where a window reports its errors: through the desktop, in the language in force, over the window.
class ErrorReport {
public:
    ErrorReport(Interaction& ui, const Language& language, QWidget* parent)
        : ui_(ui), language_(language), parent_(parent) {}

    // Tells the user which error arose where and asks whether to end the program. Yes ends it at once
    // (through the seam, so with the test double the call returns and the caller must return too); No
    // returns to the caller.
    void show(int number, const QString& description, Location where) const;

private:
    Interaction& ui_;
    const Language& language_;
    QWidget* parent_;
};

// The error trap of an operation: runs `body`; a run-time error (or any other exception) inside it is
// reported with the operation's location code and ends the body. Returns true when the body ran to its end.
template <class Body> bool RunUnderErrorTrap(const ErrorReport& report, Location where, Body&& body) {
    try {
        body();
        return true;
    } catch (const RunTimeError& e) {
        report.show(e.number(), e.description(), where);
    } catch (const std::bad_alloc&) {
        report.show(errors::OutOfMemory, QStringLiteral("Out of memory"), where);
    } catch (const std::exception& e) {
        report.show(errors::Internal, QString::fromLocal8Bit(e.what()), where);
    }
    return false;
}

} // namespace vesmarin
