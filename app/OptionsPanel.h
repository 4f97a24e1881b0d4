#pragma once

// The options of the main window that govern browsing: the case rule (for the next start), the kinds of
// file and the number of folder levels. They live here, and each change of the user is written to the
// settings file at once (the levels when the program ends).

#include "base/FileLocations.h"
#include "base/Language.h"
#include "platform/Interaction.h"
#include "ui/ErrorReport.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vesmarin {

class UpDown;

class OptionsPanel : public QObject {
    Q_OBJECT

public:
    static inline const QString ExePatterns =
        QStringLiteral("*.EXE;*.EXe;*.ExE;*.Exe;*.eXE;*.eXe;*.exE;*.exe");
    static inline const QString DllPatterns =
        QStringLiteral("*.DLL;*.DLl;*.DlL;*.Dll;*.dLL;*.dLl;*.dlL;*.dll");
    static constexpr int kMaxLevels = 9999;

    // The controls it drives, made and placed by the window.
    struct Controls {
        QCheckBox* caseSensitive;
        std::array<QCheckBox*, 2> kinds; // EXE, DLL
        QPushButton* allLevels;
        QLineEdit* levels;
        UpDown* levelsUpDown;
    };

    OptionsPanel(QWidget& window, const Controls& controls, Interaction& ui, const Language& language,
                 const ProgramFiles& files);

    // The stored values at start-up. The case rule sets its box without a word; the kinds of file tick their
    // boxes as the user would, and so are written back.
    void setLevels(std::int16_t levels);
    void setCaseSensitive(bool caseSensitive);
    void setKindsOfFile(int stored); // 1 EXE, 2 DLL, anything else both

    // Folder levels a Browse searches (0: every level).
    std::int16_t levels() const { return levels_; }
    // The case rule the program started with; the box changes only the settings file, for the next start.
    bool caseSensitive() const { return caseSensitive_; }
    // The patterns of the kinds of file ticked, as the file search takes them.
    const QString& patternList() const { return patternList_; }

    // At the end of the program: the levels box taken as a whole number and written to the settings file.
    // An empty or unreadable box raises Type mismatch (or Overflow), which stops the ending.
    void storeLevels();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void levelsEdited();
    bool keepTypedCharacter(int character);
    void kindOfFileToggled();
    void caseRuleToggled();
    ErrorReport errors() const { return {ui_, language_, &window_}; }

    QWidget& window_;
    Controls controls_;
    Interaction& ui_;
    const Language& language_;
    const ProgramFiles& files_;
    std::int16_t levels_ = 0;
    bool caseSensitive_ = false;
    QString patternList_;
};

} // namespace vesmarin
