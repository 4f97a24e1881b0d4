#include "language/LanguageSwitch.h"

#include "base/Settings.h"
#include "language/ToolkitTexts.h"
#include "language/core/WindowTexts.h"
#include "ui/ErrorReport.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace vesmarin {

namespace {

void Apply(QWidget& window, const WindowText& t, const QString& text) {
    QObject* target = window.findChild<QObject*>(QString::fromLatin1(t.control));
    if (!target)
        throw RunTimeError(errors::ObjectNotSet,
                           QStringLiteral("Object variable or With block variable not set"));
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

LanguageSwitch::LanguageSwitch(QWidget& window, QLabel& notice, const std::array<QPushButton*, 2>& flags,
                               Interaction& ui, const ProgramFiles& files)
    : window_(window), notice_(notice), ui_(ui), files_(files) {
    connect(flags[0], &QPushButton::clicked, this, [this] { switchTo(true); });
    connect(flags[1], &QPushButton::clicked, this, [this] { switchTo(false); });
}

void LanguageSwitch::switchTo(bool greek) {
    const bool done = RunUnderErrorTrap(ErrorReport(ui_, language_, &window_), Location::SwitchLanguage, [&] {
        language_.greek = greek;
        language_.title = Title();
        language_.helpFile = greek ? files_.helpFileGreek : files_.helpFileEnglish;
        UseToolkitLanguage(greek);
        applyTexts(greek);
        settings::Write(files_.iniFile, settings::General, settings::Language, greek ? 1 : 0);
    });
    if (done)
        emit switched();
}

void LanguageSwitch::applyTexts(bool greek) {
    for (const WindowText& t : MainWindowTexts())
        Apply(window_, t, greek ? t.greek : t.english);
    window_.setWindowTitle(language_.title);
    notice_.setText(NoticeText(greek, NoticeName(greek), QDate::currentDate()));
}

} // namespace vesmarin
