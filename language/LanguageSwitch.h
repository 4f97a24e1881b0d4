#pragma once

// The language switch of the main window and the texts it sets.

#include <QDate>
#include <QString>
#include <vector>

namespace vesmarin {
class frmMain;
}

namespace vesmarin::language {

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

// The Click of cmdLanguage: 0 switches the whole main window to Greek, any other index to English,
// and the choice is written to the settings file.
void cmdLanguage_Click(frmMain& form, int index);

} // namespace vesmarin::language
