#pragma once

// What's This help: releasing a mouse button other than the left one over a control shows the control's
// topic from the help file of the language in force, as a small pop-up at the control.

#include "base/Language.h"
#include "platform/Interaction.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <initializer_list>
#include <utility>

class QAction;
class QContextMenuEvent;
class QMouseEvent;
class QWidget;

namespace vesmarin {

// Which mouse buttons show a control's topic.
enum class ButtonRule {
    NotLeft,   // any button but the left, on release
    RightOnly, // the icon grid: its other buttons, and its menu key, act on the icon
    Notice,    // the notice label and picture: right release shows the topic, any other press opens About
};

// The text of `topic` in the help file of the language in force, or the help engine's own message naming
// the missing file or topic.
QString TopicText(const Language& language, int topic);

// Watches the mouse over the controls it is given and shows their topics.
class WhatsThisHelp : public QObject {
    Q_OBJECT

public:
    WhatsThisHelp(Interaction& ui, const Language& language, QObject* parent);

    // Gives `control` its topic. The parts of a composite control (the viewport of a tree or grid, the
    // arrows of an up-down) count as the control; a frame's children are controls of their own.
    void add(QWidget* control, int topic, ButtonRule rule = ButtonRule::NotLeft);

    // Gives each control of a dialog its topic, for a right click and for the question-mark button (or
    // Shift+F1), which shows the control's whatsThis text.
    void addDialogTopics(std::initializer_list<std::pair<QWidget*, int>> topics);

    // Gives an item of a pop-up menu its topic: releasing a button other than the left over it closes the
    // menu and shows the topic instead of choosing the item.
    void addMenuItem(QAction* item, int topic);

    // The topic of a control, or 0 when it has none.
    int topicOf(const QWidget* control) const;

    // Shows the topic of `control` at its centre (for the Help items of menus, which have no mouse
    // position). A missing file or topic shows the help engine's own message instead; topic 0 shows nothing.
    void showTopicOf(QWidget* control) const;

signals:
    // A press of any button but the right one on a control of the Notice rule.
    void noticePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool contextMenuShowsTopic(QObject* watched, const QContextMenuEvent* event) const;
    bool menuItemShowsTopic(QObject* watched, const QMouseEvent* event);
    void showTopic(QWidget* control, int topic, const QPoint& globalPos) const;

    struct Entry {
        QWidget* control;
        int topic;
        ButtonRule rule;
    };
    void watch(QWidget* widget, const Entry& entry);

    Interaction& ui_;
    const Language& language_;
    QHash<const QObject*, Entry> watched_;
    QHash<const QAction*, int> menuItems_;
};

} // namespace vesmarin
