#pragma once

// The state every part of the program shares for the whole run, and the shared error report.

#include "platform/Interaction.h"

#include <QString>
#include <cstdint>
#include <stdexcept>

namespace vesmarin {

struct SharedState {
    // Files beside the program (or in the user's configuration folder when that one cannot be written).
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

// A run-time error with a number and a description, as the error report shows them.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

} // namespace vesmarin
