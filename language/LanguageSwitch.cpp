#include "language/LanguageSwitch.h"

#include "app/MainWindow.h"
#include "base/Settings.h"
#include "language/ToolkitTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>

namespace vesmarin::language {

namespace {

constexpr int kObjectNotSet = 91; // a control the switch cannot find

void Apply(frmMain& form, const WindowText& t, const QString& text) {
    QObject* target = form.findChild<QObject*>(QString::fromLatin1(t.control));
    if (!target)
        throw RunTimeError(kObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
    if (t.kind == TextKind::ToolTip) {
        if (auto* w = qobject_cast<QWidget*>(target))
            w->setToolTip(text);
    } else if (auto* a = qobject_cast<QAction*>(target)) {
        a->setText(text);
    } else if (auto* g = qobject_cast<QGroupBox*>(target)) {
        g->setTitle(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(target)) {
        b->setText(text);
    } else if (auto* l = qobject_cast<QLabel*>(target)) {
        l->setText(text);
    }
}

} // namespace

const std::vector<WindowText>& MainWindowTexts() {
    using K = TextKind;
    static const std::vector<WindowText> texts = {
        {"picCopyright", K::ToolTip, PictureName(), PictureName()},
        {"lblCopyright", K::ToolTip, QStringLiteral("Copyright notice"),
         QStringLiteral("Πνευματικά δικαιώματα")},
        {"cmdHelp", K::ToolTip, QStringLiteral("Help"), QStringLiteral("Βοήθεια")},
        {"cmdEnd", K::ToolTip, QStringLiteral("Exit"), QStringLiteral("Έξοδος")},
        {"cmdSavePath", K::ToolTip, QStringLiteral("Save path"), QStringLiteral("Αποθήκευση διαδρομής")},
        {"mnuSavePathRecent", K::MenuCaption, QStringLiteral("Recent..."), QStringLiteral("Πρόσφατες...")},
        {"mnuSavePathInitial", K::MenuCaption, QStringLiteral("Initial..."), QStringLiteral("Αρχική...")},
        {"mnuSavePathIcons", K::MenuCaption, QStringLiteral("Icons..."), QStringLiteral("Εικονιδίων...")},
        {"mnuSavePathHelp", K::MenuCaption, QStringLiteral("Help"), QStringLiteral("Βοήθεια")},
        {"mnuSavePathCancel", K::MenuCaption, QStringLiteral("Cancel"), QStringLiteral("Άκυρο")},
        {"cmdRecallPath", K::ToolTip, QStringLiteral("Recall path"), QStringLiteral("Ανάκληση διαδρομής")},
        {"mnuRecallPathRecent", K::MenuCaption, QStringLiteral("Recent..."), QStringLiteral("Πρόσφατες...")},
        {"mnuRecallPathInitial", K::MenuCaption, QStringLiteral("Initial"), QStringLiteral("Αρχική")},
        {"mnuRecallPathHelp", K::MenuCaption, QStringLiteral("Help"), QStringLiteral("Βοήθεια")},
        {"mnuRecallPathCancel", K::MenuCaption, QStringLiteral("Cancel"), QStringLiteral("Άκυρο")},
        {"mnuIconsSave", K::MenuCaption, QStringLiteral("Save"), QStringLiteral("Αποθήκευση")},
        {"mnuIconsSaveAs", K::MenuCaption, QStringLiteral("Save as..."), QStringLiteral("Αποθήκευση ως...")},
        {"mnuIconsCopy", K::MenuCaption, QStringLiteral("Copy"), QStringLiteral("Αντιγραφή")},
        {"mnuIconsHelp", K::MenuCaption, QStringLiteral("Help"), QStringLiteral("Βοήθεια")},
        {"mnuIconsCancel", K::MenuCaption, QStringLiteral("Cancel"), QStringLiteral("Άκυρο")},
        {"cmdRefresh", K::ToolTip, QStringLiteral("Refresh path"), QStringLiteral("Ανανέωση διαδρομής")},
        {"cmdUpOneLevel", K::ToolTip, QStringLiteral("Up one level"), QStringLiteral("Ένα επίπεδο επάνω")},
        {"cmdBrowse", K::ToolTip, QStringLiteral("Icon browsing"), QStringLiteral("Φυλλομέτρηση εικονιδίων")},
        {"fraLevels", K::Caption, QStringLiteral(" Levels "), QStringLiteral(" Επίπεδα ")},
        {"cmdAll", K::Caption, QStringLiteral("All"), QStringLiteral(" Ολα ")},
        {"fraWhatToBrowse", K::Caption, QStringLiteral(" What to browse "), QStringLiteral(" Φυλλομέτρηση ")},
        {"chkCaseSensitive", K::Caption, QStringLiteral("Distinguish between upper-lower case"),
         QStringLiteral("Διαχωρισμός πεζών-κεφαλαίων")},
        {"cmdScan", K::Caption, QStringLiteral("Display next set of icons"),
         QStringLiteral("Εμφάνιση επόμενης ομάδας εικονιδίων")},
    };
    return texts;
}

QString Title() {
    return QStringLiteral("Vesmarin");
}

QString PictureName() {
    return QStringLiteral("Vesmarin");
}

QString NoticeName(bool greek) {
    return greek ? QStringLiteral("Ομάδα Vesmarin") : QStringLiteral("The Vesmarin team");
}

QString NoticeText(bool greek, const QString& noticeName, const QDate& today) {
    const QString year = QString::number(today.year());
    return greek ? QStringLiteral("© %1 %2.\nΜε επιφύλαξη κάθε δικαιώματος.").arg(year, noticeName)
                 : QStringLiteral("© %1 %2.\nAll rights reserved.").arg(year, noticeName);
}

void cmdLanguage_Click(frmMain& form, int index) {
    SharedState& g = form.state;
    RunUnderErrorTrap(form.ui, g, &form, Location::SwitchLanguage, [&] {
        const bool greek = index == 0;
        g.gLanguage = greek;
        g.gTitle = Title();
        g.gCurrentHelpFile = greek ? g.gHelpFileGreek : g.gHelpFileEnglish;
        g.gNoticeName = NoticeName(greek);
        UseToolkitLanguage(greek);
        for (const WindowText& t : MainWindowTexts())
            Apply(form, t, greek ? t.greek : t.english);
        form.setWindowTitle(g.gTitle);
        form.lblCopyright->setText(NoticeText(greek, g.gNoticeName, QDate::currentDate()));
        settings::Write(g.gIniFile, settings::General, settings::Language, greek ? 1 : 0);
    });
}

} // namespace vesmarin::language
