#pragma once

// What's This help: releasing a mouse button other than the left one over a control shows the control's
// topic from the help file of the language in force, as a small pop-up at the control. The Help items of
// the pop-up menus show the topic of the control that owns the menu, and the Help button shows the help
// text in a message box.

#include "ui/basGlobal.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

class QContextMenuEvent;
class QWidget;

namespace vesmarin {
class frmMain;
}

namespace vesmarin::help {

// Which mouse buttons show a control's topic.
enum class ButtonRule {
    NotLeft,   // any button but the left, on release
    RightOnly, // the icon grid: its other buttons act on the icon under the mouse
    Notice,    // the notice label and picture: right release shows the topic, any other press opens About
};

// Shows `topic` of the current help file at `globalPos` beside `control`. A missing file or topic shows
// the help engine's own message instead; topic 0 shows nothing.
void ShowTopic(Interaction& ui, const SharedState& state, QWidget* control, int topic,
               const QPoint& globalPos);
// The text ShowTopic would show.
QString TopicText(const SharedState& state, int topic);

// Watches the mouse over the controls it is given and shows their topics.
class WhatsThisHelp : public QObject {
    Q_OBJECT

public:
    WhatsThisHelp(Interaction& ui, const SharedState& state, QObject* parent);

    // Gives `control` its topic. The parts of a composite control (the viewport of a tree or grid, the
    // arrows of an up-down) count as the control; a frame's children are controls of their own.
    void add(QWidget* control, int topic, ButtonRule rule = ButtonRule::NotLeft);

    // The topic of a control, or 0 when it has none.
    int topicOf(const QWidget* control) const;

    // Shows the topic of `control` at its centre (for the Help items, which have no mouse position).
    void showTopicOf(QWidget* control) const;

    // What a press of any button but the right one on the notice does (opens the About dialog).
    std::function<void()> onNoticePress;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ContextMenuShowsTopic(QObject* watched, const QContextMenuEvent* event) const;

    struct Entry {
        QWidget* control;
        int topic;
        ButtonRule rule;
    };
    void watch(QWidget* widget, const Entry& entry);

    Interaction& ui_;
    const SharedState& state_;
    QHash<const QObject*, Entry> watched_;
};

// Gives each control of a dialog its topic, for a right click and for the question-mark button (or
// Shift+F1), which shows the control's whatsThis text.
void AddDialogTopics(WhatsThisHelp& help, const SharedState& state,
                     std::initializer_list<std::pair<QWidget*, int>> topics);

// Every control of the main window that has a topic: the control's name, its element for control
// arrays (-1 otherwise), its topic and the buttons that show it.
struct ControlTopic {
    const char* control;
    int index;
    int topic;
    ButtonRule rule;
};
const std::vector<ControlTopic>& MainWindowTopics();

// Connects the main window's help: the topics of its controls, the Help items of its three pop-up menus,
// the Help button and the notice, which opens the About dialog. The controls are found by name, so a
// control created later is given its topic with add() on the object returned (a child of the form).
WhatsThisHelp* InstallMainWindowHelp(frmMain& form);

// The Help button's text and title in one language.
QString HelpText(bool greek);
QString HelpTitle(bool greek);
// The Click of cmdHelp: the help text in a message box.
void cmdHelp_Click(Interaction& ui, const SharedState& state, QWidget* parent);

} // namespace vesmarin::help
