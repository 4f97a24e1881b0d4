#include "ui/WhatsThisHelp.h"

#include "about/AboutDialog.h"
#include "app/MainWindow.h"
#include "base/HelpFile.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVariant>
#include <QWidget>

namespace vesmarin::help {

QString TopicText(const SharedState& state, int topic) {
    const HelpLanguage language = state.gLanguage ? HelpLanguage::Greek : HelpLanguage::English;
    return LookupHelpTopic(state.gCurrentHelpFile, topic, language).text;
}

void ShowTopic(Interaction& ui, const SharedState& state, QWidget* control, int topic,
               const QPoint& globalPos) {
    if (topic == 0)
        return;
    ui.showWhatsThis(control, globalPos, TopicText(state, topic));
}

WhatsThisHelp::WhatsThisHelp(Interaction& ui, const SharedState& state, QObject* parent)
    : QObject(parent), ui_(ui), state_(state) {}

void AddDialogTopics(WhatsThisHelp& help, const SharedState& state,
                     std::initializer_list<std::pair<QWidget*, int>> topics) {
    for (const auto& [control, topic] : topics) {
        help.add(control, topic);
        control->setWhatsThis(TopicText(state, topic));
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

int WhatsThisHelp::topicOf(const QWidget* control) const {
    const auto it = watched_.constFind(control);
    return it == watched_.constEnd() ? 0 : it->topic;
}

void WhatsThisHelp::showTopicOf(QWidget* control) const {
    ShowTopic(ui_, state_, control, topicOf(control), control->mapToGlobal(control->rect().center()));
}

bool WhatsThisHelp::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ContextMenu)
        return ContextMenuShowsTopic(watched, static_cast<QContextMenuEvent*>(event));
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return false;
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
        if (entry.rule == ButtonRule::Notice && button != Qt::RightButton && onNoticePress)
            onNoticePress();
        return false;
    }
    const bool show =
        entry.rule == ButtonRule::NotLeft ? button != Qt::LeftButton : button == Qt::RightButton;
    if (show)
        ShowTopic(ui_, state_, entry.control, entry.topic, mouse->globalPosition().toPoint());
    return false;
}

bool WhatsThisHelp::ContextMenuShowsTopic(QObject* watched, const QContextMenuEvent* event) const {
    // A dialog answers the request for a context menu over a control that has a whatsThis text with the
    // toolkit's own "What's This?" menu. Help needs no menu: the right button's release shows the topic,
    // and the menu key shows it at once. The request is taken here so that no menu opens.
    const auto it = watched_.constFind(watched);
    if (it == watched_.constEnd())
        return false;
    if (event->reason() != QContextMenuEvent::Mouse)
        showTopicOf(it->control);
    return true;
}

const std::vector<ControlTopic>& MainWindowTopics() {
    static const std::vector<ControlTopic> topics{
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
    return topics;
}

WhatsThisHelp* InstallMainWindowHelp(frmMain& form) {
    auto* help = new WhatsThisHelp(form.ui, form.state, &form);
    help->setObjectName(QStringLiteral("WhatsThisHelp"));
    for (const ControlTopic& t : MainWindowTopics()) {
        for (QWidget* w : form.findChildren<QWidget*>(QString::fromLatin1(t.control))) {
            const QVariant index = w->property("Index");
            if ((t.index < 0 && !index.isValid()) || (index.isValid() && index.toInt() == t.index))
                help->add(w, t.topic, t.rule);
        }
    }

    // Each Help item acts as a right-button release on the control that owns its menu.
    QObject::connect(form.mnuSavePathHelp, &QAction::triggered, help,
                     [help, &form] { help->showTopicOf(form.cmdSavePath); });
    QObject::connect(form.mnuRecallPathHelp, &QAction::triggered, help,
                     [help, &form] { help->showTopicOf(form.cmdRecallPath); });
    QObject::connect(form.mnuIconsHelp, &QAction::triggered, help,
                     [help, &form] { help->showTopicOf(form.grdControl); });

    QObject::connect(form.cmdHelp, &QPushButton::clicked, help,
                     [&form] { cmdHelp_Click(form.ui, form.state, &form); });

    help->onNoticePress = [&form] { about::ShowAbout(form.ui, form.state, &form); };
    return help;
}

QString HelpText(bool greek) {
    if (greek)
        return QStringLiteral(
            "Για να λάβουμε άμεση βοήθεια, αρκεί να πατήσουμε το ΔΕΞΙΟ κουμπί του ποντικιού, στα "
            "διάφορα χειριστήρια της εφαρμογής. Επιπλέον, αν στη γραμμή τίτλου ενός παραθύρου υπάρχει "
            "ένα ερωτηματικό, μπορούμε να πατήσουμε το ΑΡΙΣΤΕΡΟ κουμπί του ποντικιού στο ερωτηματικό "
            "και κατόπιν, στο στοιχείο για το οποίο θέλουμε να λάβουμε άμεση βοήθεια.\r\n\r\n"
            "Αν αφήσουμε για λίγο το δείκτη του ποντικιού επάνω στα κουμπιά με τα εικονίδια, θα δούμε "
            "μία συνοπτική περιγραφή της εργασίας που επιτελεί το κάθε κουμπί.\r\n\r\n"
            "Ο όρος ΣΤΟΙΧΕΙΟ, αναλόγως με το κείμενο στο οποίο αναφέρεται, μπορεί να αντιπροσωπεύει "
            "(είτε ρητώς ή με οποιοδήποτε συνδυασμό) τα εξής:\r\n"
            "1) Ένα δίσκο ή/και το γράμμα ενός δίσκου.\r\n"
            "2) Ένα φάκελλο ή/και το όνομα ενός φακέλλου.\r\n"
            "3) Έναν υποφάκελλο ή/και το όνομα ενός υποφακέλλου.\r\n"
            "4) Ένα αρχείο ή/και το όνομα ενός αρχείου.\r\n\r\n"
            "Ο όρος ΣΤΟΙΧΕΙΟ ΕΚΚΙΝΗΣΕΩΣ, αντιπροσωπεύει το φάκελλο από τον οποίο θέλουμε να αρχίσει ο "
            "έλεγχος των αρχείων των οποίων τα εικονίδια θα φυλλομετρηθούν.");
    return QStringLiteral(
        "If we click the RIGHT mouse button on the various elements of the application, we shall "
        "get on-line help. Furthermore, if a question-mark appears in the title bar of a window, "
        "we can click the LEFT mouse button on the question-mark and then on the item for which we "
        "want to get on-line help.\r\n\r\n"
        "If we hover the mouse pointer over the buttons with the icons, we shall see a concise "
        "description of what each button does.\r\n\r\n"
        "The term ITEM, depending on the context in which it is referenced, may represent (either "
        "explicitly or in any combination) the following:\r\n"
        "1) A drive and/or a drive letter.\r\n"
        "2) A folder and/or a folder name.\r\n"
        "3) A subfolder and/or a subfolder name.\r\n"
        "4) A file and/or a file name.\r\n\r\n"
        "The term STARTING ITEM, represents the folder from which the browsing process will "
        "commence.");
}

QString HelpTitle(bool greek) {
    return greek ? QStringLiteral("Βοήθεια") : QStringLiteral("Help");
}

void cmdHelp_Click(Interaction& ui, const SharedState& state, QWidget* parent) {
    ShowMessage(ui, parent, HelpText(state.gLanguage), HelpTitle(state.gLanguage));
}

} // namespace vesmarin::help
