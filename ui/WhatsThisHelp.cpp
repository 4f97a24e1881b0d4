#include "ui/WhatsThisHelp.h"

#include "base/HelpFile.h"

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

namespace vesmarin {

QString TopicText(const Language& language, int topic) {
    const HelpLanguage helpLanguage = language.greek ? HelpLanguage::Greek : HelpLanguage::English;
    return LookupHelpTopic(language.helpFile, topic, helpLanguage).text;
}

WhatsThisHelp::WhatsThisHelp(Interaction& ui, const Language& language, QObject* parent)
    : QObject(parent), ui_(ui), language_(language) {
    setObjectName(QStringLiteral("WhatsThisHelp"));
}

void WhatsThisHelp::addDialogTopics(std::initializer_list<std::pair<QWidget*, int>> topics) {
    for (const auto& [control, topic] : topics) {
        add(control, topic);
        control->setWhatsThis(TopicText(language_, topic));
    }
}

void WhatsThisHelp::add(QWidget* control, int topic, ButtonRule rule) {
    const Entry entry{control, topic, rule};
    watch(control, entry);
    if (qobject_cast<QGroupBox*>(control))
        return; // the controls in a frame have topics of their own, or none
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
        // The mouse reaches a tree or a grid through its viewport.
        watch(area->viewport(), entry);
        return;
    }
    for (QWidget* part : control->findChildren<QWidget*>())
        watch(part, entry);
}

void WhatsThisHelp::watch(QWidget* widget, const Entry& entry) {
    if (!watched_.contains(widget)) {
        widget->installEventFilter(this);
        connect(widget, &QObject::destroyed, this, [this](QObject* gone) { watched_.remove(gone); });
    }
    watched_.insert(widget, entry);
}

void WhatsThisHelp::addMenuItem(QAction* item, int topic) {
    auto* menu = qobject_cast<QMenu*>(item->parent());
    if (!menu)
        return;
    menu->installEventFilter(this); // once, however many of its items have topics
    menuItems_.insert(item, topic);
}

int WhatsThisHelp::topicOf(const QWidget* control) const {
    const auto it = watched_.constFind(control);
    return it == watched_.constEnd() ? 0 : it->topic;
}

void WhatsThisHelp::showTopic(QWidget* control, int topic, const QPoint& globalPos) const {
    if (topic == 0)
        return;
    ui_.showWhatsThis(control, globalPos, TopicText(language_, topic));
}

void WhatsThisHelp::showTopicOf(QWidget* control) const {
    showTopic(control, topicOf(control), control->mapToGlobal(control->rect().center()));
}

bool WhatsThisHelp::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ContextMenu)
        return contextMenuShowsTopic(watched, static_cast<QContextMenuEvent*>(event));
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return false;
    if (type == QEvent::MouseButtonRelease && qobject_cast<QMenu*>(watched))
        return menuItemShowsTopic(watched, static_cast<QMouseEvent*>(event));
    const auto it = watched_.constFind(watched);
    if (it == watched_.constEnd())
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // A child that does not take the event passes it to its parent: it belongs to the child, which is a
    // part of the same control or a control of its own (or one without help, such as the levels box).
    if (static_cast<QWidget*>(watched)->childAt(mouse->position().toPoint()))
        return false;

    const Entry entry = *it;
    const Qt::MouseButton button = mouse->button();
    if (type == QEvent::MouseButtonPress) {
        if (entry.rule == ButtonRule::Notice && button != Qt::RightButton)
            emit noticePressed();
        return false;
    }
    const bool show =
        entry.rule == ButtonRule::NotLeft ? button != Qt::LeftButton : button == Qt::RightButton;
    if (show)
        showTopic(entry.control, entry.topic, mouse->globalPosition().toPoint());
    return false;
}

bool WhatsThisHelp::menuItemShowsTopic(QObject* watched, const QMouseEvent* event) {
    auto* menu = static_cast<QMenu*>(watched);
    const QAction* item = menu->actionAt(event->position().toPoint());
    const auto it = item ? menuItems_.constFind(item) : menuItems_.constEnd();
    if (it == menuItems_.constEnd() || event->button() == Qt::LeftButton)
        return false;
    const int topic = *it;
    const QPoint at = event->globalPosition().toPoint();
    menu->close(); // the topic takes the menu's place, as the Help item's does
    showTopic(menu, topic, at);
    return true;
}

bool WhatsThisHelp::contextMenuShowsTopic(QObject* watched, const QContextMenuEvent* event) const {
    // A dialog answers the request for a context menu over a control that has a whatsThis text with the
    // toolkit's own "What's This?" menu. Help needs no menu: the right button's release shows the topic,
    // and the menu key shows it at once. The request is taken here so that no menu opens.
    const auto it = watched_.constFind(watched);
    if (it == watched_.constEnd())
        return false;
    if (event->reason() != QContextMenuEvent::Mouse) {
        // The icon grid's menu key opens the icon menu: its request is the grid's own.
        if (it->rule == ButtonRule::RightOnly)
            return false;
        showTopicOf(it->control);
    }
    return true;
}

} // namespace vesmarin
