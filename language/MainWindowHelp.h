#pragma once

// The help of the main window: the topic of each of its controls (shown by a click of the right buttons),
// the Help items of its pop-up menus and the Help button. A press on the notice asks for the About dialog.

#include "base/Language.h"
#include "platform/Interaction.h"

class QWidget;

namespace vesmarin {

class WhatsThisHelp;

class MainWindowHelp {
public:
    // The controls are found in `window` by name; a control array's elements by their "Index" property.
    MainWindowHelp(QWidget& window, Interaction& ui, const Language& language);
    ~MainWindowHelp();
    MainWindowHelp(const MainWindowHelp&) = delete;
    MainWindowHelp& operator=(const MainWindowHelp&) = delete;

    // The watcher of the controls, a child of the window; its noticePressed() asks for the About dialog.
    WhatsThisHelp& whatsThis() const { return *help_; }

    // Shows the topic of `control`, as the Help item of the menu it owns does.
    void showTopicOf(QWidget* control) const;

    // The Help button: the help text in a message box.
    void showHelpText() const;

private:
    QWidget& window_;
    Interaction& ui_;
    const Language& language_;
    WhatsThisHelp* help_;
};

} // namespace vesmarin
