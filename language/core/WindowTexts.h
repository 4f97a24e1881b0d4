#pragma once

// The texts of the main window in both languages, as the language switch sets them, and the other texts
// that follow the language: the title, the notice and the text of the Help button.

#include <QDate>
#include <QString>
#include <vector>

namespace vesmarin {

enum class TextKind { ToolTip, Caption, MenuCaption };

// One language-dependent text of the main window: the control (by object name), which of its texts, and
// the text in each language. Blanks at either end belong to the text.
struct WindowText {
    const char* control;
    TextKind kind;
    QString english;
    QString greek;
};

// Every text the switch sets, in the order it sets them.
const std::vector<WindowText>& MainWindowTexts();

QString Title();       // the display title, the same in both languages
QString PictureName(); // the fixed tip of the notice picture
QString NoticeName(bool greek);
// The notice of lblCopyright in one language, naming `noticeName`, built from `today`.
QString NoticeText(bool greek, const QString& noticeName, const QDate& today);

// The Help button's text and title in one language.
QString HelpText(bool greek);
QString HelpTitle(bool greek);

} // namespace vesmarin
