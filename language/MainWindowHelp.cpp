#include "language/MainWindowHelp.h"

#include "base/HelpFile.h"
#include "language/core/WindowTexts.h"
#include "ui/WhatsThisHelp.h"

#include <QAction>
#include <QVariant>
#include <QWidget>

namespace vesmarin {

namespace {

// A control of the main window that has a topic: its name, its element for control arrays (-1
// otherwise), its topic and the buttons that show it.
struct ControlTopic {
    const char* control;
    int index;
    int topic;
    ButtonRule rule;
};

constexpr ControlTopic kTopics[] = {
    {"tvwControl", -1, TopicFolderTree, ButtonRule::NotLeft},
    {"lblCurrentPath", -1, TopicCurrentPath, ButtonRule::NotLeft},
    {"lblInfo", -1, TopicInfo, ButtonRule::NotLeft},
    {"chkCaseSensitive", -1, TopicCaseSensitive, ButtonRule::NotLeft},
    {"fraWhatToBrowse", -1, TopicWhatToBrowse, ButtonRule::NotLeft},
    {"chkWhatToBrowse", 0, TopicBrowseExe, ButtonRule::NotLeft},
    {"chkWhatToBrowse", 1, TopicBrowseDll, ButtonRule::NotLeft},
    {"fraLevels", -1, TopicLevels, ButtonRule::NotLeft},
    {"cmdAll", -1, TopicAllLevels, ButtonRule::NotLeft},
    {"updLevels", -1, TopicLevelsUpDown, ButtonRule::NotLeft},
    {"cmdHelp", -1, TopicHelp, ButtonRule::NotLeft},
    {"cmdLanguage", 0, TopicGreek, ButtonRule::NotLeft},
    {"cmdLanguage", 1, TopicEnglish, ButtonRule::NotLeft},
    {"picCopyright", -1, TopicNoticePicture, ButtonRule::Notice},
    {"lblCopyright", -1, TopicNotice, ButtonRule::Notice},
    {"cmdRefresh", -1, TopicRefresh, ButtonRule::NotLeft},
    {"cmdUpOneLevel", -1, TopicUpOneLevel, ButtonRule::NotLeft},
    {"cmdSavePath", -1, TopicSavePath, ButtonRule::NotLeft},
    {"cmdBrowse", -1, TopicBrowse, ButtonRule::NotLeft},
    {"cmdRecallPath", -1, TopicRecallPath, ButtonRule::NotLeft},
    {"cmdEnd", -1, TopicEnd, ButtonRule::NotLeft},
    {"grdControl", -1, TopicIconGrid, ButtonRule::RightOnly},
    {"cmdScan", -1, TopicNextSet, ButtonRule::NotLeft},
};

// The items of the pop-up menus that have topics of their own.
constexpr std::pair<const char*, int> kMenuItemTopics[] = {
    {"mnuIconsSavePng", TopicIconSavePng},
    {"mnuIconsSaveIco", TopicIconSaveIco},
    {"mnuIconsSaveAll", TopicIconSaveAll},
    {"mnuIconsDetails", TopicIconDetails},
};

} // namespace

MainWindowHelp::MainWindowHelp(QWidget& window, Interaction& ui, const Language& language)
    : window_(window), ui_(ui), language_(language), help_(new WhatsThisHelp(ui, language, &window)) {
    for (const ControlTopic& t : kTopics) {
        for (QWidget* w : window.findChildren<QWidget*>(QString::fromLatin1(t.control))) {
            const QVariant index = w->property("Index");
            if ((t.index < 0 && !index.isValid()) || (index.isValid() && index.toInt() == t.index))
                help_->add(w, t.topic, t.rule);
        }
    }
    for (const auto& [name, topic] : kMenuItemTopics)
        if (auto* item = window.findChild<QAction*>(QString::fromLatin1(name)))
            help_->addMenuItem(item, topic);
}

MainWindowHelp::~MainWindowHelp() {
    delete help_; // before the language it reads goes
}

void MainWindowHelp::showTopicOf(QWidget* control) const {
    help_->showTopicOf(control);
}

void MainWindowHelp::showHelpText() const {
    ShowMessage(ui_, &window_, HelpText(language_.greek), HelpTitle(language_.greek));
}

} // namespace vesmarin
