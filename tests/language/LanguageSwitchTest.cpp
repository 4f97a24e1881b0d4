#include "app/MainWindowRig.h"
#include "language/core/WindowTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::MainWindowRig;

QString Shown(const MainWindow& form, const WindowText& t) {
    const QObject* o = form.findChild<QObject*>(QString::fromLatin1(t.control));
    if (!o)
        return QStringLiteral("<no control>");
    if (t.kind == TextKind::ToolTip)
        return qobject_cast<const QWidget*>(o)->toolTip();
    if (const auto* a = qobject_cast<const QAction*>(o))
        return a->text();
    if (const auto* g = qobject_cast<const QGroupBox*>(o))
        return g->title();
    if (const auto* b = qobject_cast<const QAbstractButton*>(o))
        return b->text();
    return QStringLiteral("<no text>");
}

// Pressing the language in force still rewrites the setting; the information line is left as other parts
// set it.
TEST(LanguageSwitch, SetsEveryTextOfTheMainWindowBothWays) {
    const struct {
        const char* name;
        int from; // the stored language: 1 Greek, 0 English
        int pressed;
        bool greek;
    } cases[] = {{"English to Greek", 0, 0, true},
                 {"Greek to English", 1, 1, false},
                 {"Greek again", 1, 0, true},
                 {"English again", 0, 1, false}};
    for (const auto& s : cases) {
        SCOPED_TRACE(s.name);
        MainWindowRig m;
        MainWindow& f = m.loadWith("[General]\nInitialPath=/tmp\nLanguage=" + std::to_string(s.from) + "\n");
        m.storeIni("[General]\nInitialPath=/tmp\nLanguage=7\n");
        m.control<QLabel>("lblInfo")->setText(QStringLiteral("No files found."));
        m.control<QPushButton>("cmdLanguage", s.pressed)->click();

        for (const WindowText& t : MainWindowTexts()) {
            SCOPED_TRACE(t.control);
            EXPECT_EQ(Shown(f, t), s.greek ? t.greek : t.english);
        }
        EXPECT_EQ(f.language().greek, s.greek);
        EXPECT_EQ(f.language().title, QStringLiteral("Vesmarin"));
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Vesmarin"));
        EXPECT_EQ(f.language().helpFile, m.folder.filePath(s.greek ? "TembrillGR.hlp" : "TembrillUK.hlp"));
        EXPECT_EQ(m.control<QLabel>("lblCopyright")->text(),
                  NoticeText(s.greek, NoticeName(s.greek), QDate::currentDate()));
        EXPECT_EQ(m.control<QLabel>("lblInfo")->text(), QStringLiteral("No files found."));
        EXPECT_EQ(m.iniValue("Language"), s.greek ? "1" : "0");
        // The toolkit's own buttons too, in every box and dialog from now on.
        const QDialogButtonBox standard(QDialogButtonBox::Cancel);
        EXPECT_EQ(standard.button(QDialogButtonBox::Cancel)->text(), s.greek ? "Άκυρο" : "Cancel");
        // The language buttons name both languages whichever is in force.
        EXPECT_EQ(m.control<QPushButton>("cmdLanguage", 0)->toolTip(), QStringLiteral("Ελληνικά / Greek"));
        EXPECT_EQ(m.control<QPushButton>("cmdLanguage", 1)->toolTip(), QStringLiteral("English / Αγγλικά"));
        EXPECT_TRUE(m.ui.messages.empty());
    }
}

TEST(LanguageSwitchTable, StartUpReplacesEveryPlaceholder) {
    MainWindowRig m;
    const std::vector<QString> before = [&] {
        std::vector<QString> texts;
        for (const WindowText& t : MainWindowTexts())
            texts.push_back(Shown(*m.window, t));
        return texts;
    }();
    EXPECT_EQ(m.control<QGroupBox>("fraLevels")->title(), QStringLiteral("fraLevels"));
    m.loadWith("[General]\nInitialPath=/tmp\n");
    const auto& table = MainWindowTexts();
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(Shown(*m.window, table[i]), table[i].english)
            << table[i].control << " was " << before[i].toStdString();
    EXPECT_EQ(m.control<QCheckBox>("chkWhatToBrowse", 0)->text(), QStringLiteral("EXE"));
    EXPECT_EQ(m.control<QCheckBox>("chkWhatToBrowse", 1)->text(), QStringLiteral("DLL"));
}

} // namespace
} // namespace vesmarin
