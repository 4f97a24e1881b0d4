#pragma once

// The language switch of the main window: the two flag buttons, the language in force, and every text of
// the window that depends on it.

#include "base/FileLocations.h"
#include "base/Language.h"
#include "platform/Interaction.h"

#include <QObject>
#include <array>

class QLabel;
class QPushButton;
class QWidget;

namespace vesmarin {

class LanguageSwitch : public QObject {
    Q_OBJECT

public:
    // `window` holds the controls the texts go to (found by name) and takes the title; `notice` shows the
    // notice; `flags` are the Greek and the English button. The settings file and the help files are those
    // of `files`.
    LanguageSwitch(QWidget& window, QLabel& notice, const std::array<QPushButton*, 2>& flags, Interaction& ui,
                   const ProgramFiles& files);

    // The language in force, for every window to read.
    const Language& language() const { return language_; }

    // Puts Greek (true) or English in force in the whole main window, the toolkit's own texts and the help,
    // and writes the choice to the settings file. Errors go to the error report.
    void switchTo(bool greek);

signals:
    // The switch has put a language in force, for the windows that keep texts of their own.
    void switched();

private:
    void applyTexts(bool greek);

    QWidget& window_;
    QLabel& notice_;
    Interaction& ui_;
    const ProgramFiles& files_;
    Language language_;
};

} // namespace vesmarin
