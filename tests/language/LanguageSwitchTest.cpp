#include "app/MainWindowRig.h"
#include "language/core/WindowTexts.h"

#include <QGroupBox>

namespace vesmarin {
namespace {

// The text `t` names as the control shows it: its tool tip, a frame's title, or its caption.
QString Shown(const MainWindow& form, const WindowText& t) {
    const QObject* o = form.findChild<QObject*>(QString::fromLatin1(t.control));
    const char* property = t.kind == TextKind::ToolTip         ? "toolTip"
                           : qobject_cast<const QGroupBox*>(o) ? "title"
                                                               : "text";
    return o ? o->property(property).toString() : QStringLiteral("<no control>");
}

// Start-up sets every text of the main window in the stored language, and a language button sets them all
// in its language; pressing the language in force still rewrites the setting. The information line is left
// as other parts set it.
TEST(LanguageSwitch, SetsEveryTextOfTheMainWindowAtStartAndBothWays) {
    for (const auto& [stored, pressed] :
         {std::pair{0, 0}, {1, 1}, {1, 0}, {0, 1}}) { // stored 1, button 0: Greek
        test::MainWindowRig m;
        MainWindow& f = m.loadWith("[General]\nInitialPath=/tmp\nLanguage=" + std::to_string(stored) + "\n");
        for (const bool greek : {stored == 1, pressed == 0}) {
            for (const WindowText& t : MainWindowTexts())
                EXPECT_EQ(Shown(f, t), greek ? t.greek : t.english) << t.control << " " << stored << pressed;
            EXPECT_EQ(std::tuple(f.language().greek, f.language().helpFile),
                      std::tuple(greek, m.folder.filePath(greek ? "TembrillGR.hlp" : "TembrillUK.hlp")));
            EXPECT_EQ(m.control<QLabel>("lblCopyright")->text(),
                      NoticeText(greek, NoticeName(greek), QDate::currentDate()));
            test::WriteFile(m.iniFile(), "[General]\nInitialPath=/tmp\nLanguage=7\n");
            m.control<QLabel>("lblInfo")->setText(QStringLiteral("No files found."));
            m.control<QPushButton>("cmdLanguage", pressed)->click();
        }
        EXPECT_EQ(m.iniValue("Language"), pressed == 0 ? "1" : "0");
        EXPECT_EQ(m.control<QLabel>("lblInfo")->text(), QStringLiteral("No files found."));
    }
}

} // namespace
} // namespace vesmarin
