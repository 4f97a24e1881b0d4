#include "app/OptionsPanel.h"

#include "base/NumberText.h"
#include "base/Settings.h"
#include "ui/UpDown.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace vesmarin {

namespace {

// The character code a key press types, as the levels box filters it; -1 for keys that type nothing
// (moves, Delete, Tab) and for shortcuts such as Ctrl+V, which the box handles itself.
int TypedCharacter(const QKeyEvent& k) {
    if (k.modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))
        return -1;
    switch (k.key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    return k.text().isEmpty() ? -1 : k.text().front().unicode();
}

} // namespace

OptionsPanel::OptionsPanel(QWidget& window, const Controls& controls, Interaction& ui,
                           const Language& language, const ProgramFiles& files)
    : window_(window), controls_(controls), ui_(ui), language_(language), files_(files) {
    controls_.levels->installEventFilter(this);
    connect(controls_.levels, &QLineEdit::textChanged, this, &OptionsPanel::levelsEdited);
    connect(controls_.allLevels, &QPushButton::clicked, this,
            [this] { controls_.levels->setText(QStringLiteral("0")); });
    for (QCheckBox* kind : controls_.kinds)
        connect(kind, &QCheckBox::toggled, this, &OptionsPanel::kindOfFileToggled);
    connect(controls_.caseSensitive, &QCheckBox::toggled, this, &OptionsPanel::caseRuleToggled);
}

void OptionsPanel::setLevels(std::int16_t levels) {
    levels_ = levels;
    controls_.levels->setText(QString::number(levels));
}

void OptionsPanel::setCaseSensitive(bool caseSensitive) {
    caseSensitive_ = caseSensitive;
    // Setting the box here is not the user's change: its handler stays silent.
    const QSignalBlocker silent(controls_.caseSensitive);
    controls_.caseSensitive->setChecked(caseSensitive);
}

void OptionsPanel::setKindsOfFile(int stored) {
    const auto& [exe, dll] = controls_.kinds;
    exe->setChecked(stored != 2);
    dll->setChecked(stored != 1);
}

void OptionsPanel::storeLevels() {
    levels_ = ToInteger16OrRaise(controls_.levels->text());
    settings::Write(files_.iniFile, settings::Options, settings::Levels, levels_);
}

void OptionsPanel::levelsEdited() {
    QLineEdit* box = controls_.levels;
    if (box->text().isEmpty())
        return; // an emptied box keeps the last number
    int number = -1;
    const auto converted = ToInteger16(box->text());
    if (const auto* n = std::get_if<std::int16_t>(&converted))
        number = *n;
    if (number < 0 || number > kMaxLevels)
        box->setText(QStringLiteral("0")); // runs this handler again for the new text
    // The text is now a number from 0 to 9999, so the conversion cannot fail.
    const auto levels = RoundToInteger16(NumberPrefix(box->text()));
    if (const auto* n = std::get_if<std::int16_t>(&levels))
        levels_ = *n;
}

bool OptionsPanel::keepTypedCharacter(int character) {
    if (character == 8 || (character >= '0' && character <= '9'))
        return true;
    ui_.beep();
    return false;
}

bool OptionsPanel::eventFilter(QObject* watched, QEvent* event) {
    QLineEdit* box = controls_.levels;
    if (watched == box) {
        if (event->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(event);
            // The arrow keys work the attached up-down, as its arrows do.
            if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) {
                controls_.levelsUpDown->stepBy(k->key() == Qt::Key_Up ? 1 : -1);
                return true;
            }
            const int typed = TypedCharacter(*k);
            if (typed >= 0 && !keepTypedCharacter(typed))
                return true;
        } else if (event->type() == QEvent::FocusIn) {
            box->setSelection(0, static_cast<int>(box->text().size()));
        }
    }
    return QObject::eventFilter(watched, event);
}

void OptionsPanel::kindOfFileToggled() {
    RunUnderErrorTrap(errors(), Location::ChooseKindsOfFile, [this] {
        const auto& [exeBox, dllBox] = controls_.kinds;
        const bool exe = exeBox->isChecked();
        const bool dll = dllBox->isChecked();
        // The only ticked box is disabled, so at least one kind always stays ticked.
        if (exe != dll)
            (exe ? exeBox : dllBox)->setEnabled(false);
        else if (exe)
            for (QCheckBox* box : controls_.kinds)
                box->setEnabled(true);
        if (!exe && !dll)
            return;
        patternList_ = exe && dll ? ExePatterns + u';' + DllPatterns : exe ? ExePatterns : DllPatterns;
        settings::Write(files_.iniFile, settings::Options, settings::WhatToBrowse,
                        (exe ? 1 : 0) + (dll ? 2 : 0));
    });
}

void OptionsPanel::caseRuleToggled() {
    RunUnderErrorTrap(errors(), Location::ChangeCaseRule, [this] {
        const bool on = controls_.caseSensitive->isChecked();
        const QString text =
            on ? language_.pick(
                     QStringLiteral(
                         "You decided to instruct this application to distinguish between upper and lower "
                         "case letters in item names.\r\n\r\nMake CERTAIN that the operating system "
                         "which hosts this application, ALSO distinguishes between upper and lower case "
                         "letters in item names.\r\n\r\nCAUTION: You must shut down and restart this "
                         "application for this change to take effect."),
                     QStringLiteral(
                         "Αποφασίσατε να ενεργοποιήσετε το διαχωρισμό ανάμεσα στα πεζά και κεφαλαία "
                         "γράμματα των ονομάτων των στοιχείων.\r\n\r\nΒΕΒΑΙΩΘΕΙΤΕ ότι ΚΑΙ το λειτουργικό "
                         "σύστημα στο οποίο εκτελείται αυτή η εφαρμογή, υποστηρίζει το διαχωρισμό "
                         "ανάμεσα στα πεζά και κεφαλαία γράμματα των ονομάτων των στοιχείων.\r\n\r\n"
                         "ΠΡΟΣΟΧΗ: Πρέπει να κλείσετε και να επανεκκινήσετε αυτή την εφαρμογή για να "
                         "ισχύσει η νέα ρύθμιση."))
               : language_.pick(
                     // The first "ΝΟΤ" is spelt with Greek capitals, as the message has always read.
                     QStringLiteral(
                         "You decided to instruct this application ΝΟΤ to distinguish between upper and "
                         "lower case letters in item names.\r\n\r\nMake certain that the operating "
                         "system which hosts this application, ALSO does NOT distinguish between upper "
                         "and lower case letters in item names.\r\n\r\nCAUTION: You must shut down and "
                         "restart this application for this change to take effect."),
                     QStringLiteral(
                         "Αποφασίσατε να ακυρώσετε το διαχωρισμό ανάμεσα στα πεζά και κεφαλαία γράμματα "
                         "των ονομάτων των στοιχείων.\r\n\r\nΒεβαιωθείτε ότι ΚΑΙ το λειτουργικό σύστημα "
                         "στο οποίο εκτελείται αυτή η εφαρμογή, ΔΕΝ υποστηρίζει το διαχωρισμό ανάμεσα "
                         "στα πεζά και κεφαλαία γράμματα των ονομάτων των στοιχείων.\r\n\r\nΠΡΟΣΟΧΗ: "
                         "Πρέπει να κλείσετε και να επανεκκινήσετε αυτή την εφαρμογή για να ισχύσει η "
                         "νέα ρύθμιση."));
        ShowMessage(ui_, &window_, text,
                    language_.pick(QStringLiteral("Distinguish between upper-lower case"),
                                   QStringLiteral("Διαχωρισμός πεζών-κεφαλαίων")));
        // Only the file changes: the running program keeps the case rule it started with.
        settings::Write(files_.iniFile, settings::Options, settings::CaseSensitive, on ? 1 : 0);
    });
}

} // namespace vesmarin
