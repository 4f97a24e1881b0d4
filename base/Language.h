#pragma once

// The language the windows speak. The language switch owns it; every window reads it through a const
// reference, so a switch shows wherever it is read next.

#include <QString>

namespace vesmarin {

struct Language {
    bool greek = false;
    QString title;    // the program's title as the windows show it; empty until a language is first applied
    QString helpFile; // the help file of the language in force

    // The text of the language in force.
    QString pick(const QString& english, const QString& greekText) const {
        return greek ? greekText : english;
    }
};

} // namespace vesmarin
