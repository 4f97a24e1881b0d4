#include "ui/WhatsThisHelp.h"

#include "app/MainWindowRig.h"
#include "base/HelpFile.h"
#include "language/core/WindowTexts.h"

#include <QGroupBox>
#include <QRegularExpression>

namespace vesmarin {
namespace {

// The main window started in English, shown, with the help files beside it (the Greek one replaced by
// `greekFile` when given; "" leaves none) and the About dialog counted instead of opened.
struct HelpWindow {
    test::MainWindowRig m;
    MainWindow& f = *m.window;
    int aboutOpened = 0;

    explicit HelpWindow(const char* greekFile = nullptr) {
        m.copyHelpFiles(QStringLiteral(VESMARIN_HELP_SOURCE_DIR));
        const QString greek = m.folder.filePath(QStringLiteral("TembrillGR.hlp"));
        if (greekFile && QFile::remove(greek) && *greekFile)
            test::WriteFile(greek, greekFile);
        m.loadWith("[General]\nInitialPath=/tmp\nLanguage=0\n");
        auto* help = f.findChild<WhatsThisHelp*>(QStringLiteral("WhatsThisHelp"));
        QObject::disconnect(help, &WhatsThisHelp::noticePressed, nullptr, nullptr);
        QObject::connect(help, &WhatsThisHelp::noticePressed, [this] { ++aboutOpened; });
        f.show();
        m.control<IconGrid>("grdControl")->show(); // as it is once icons are placed
    }
    const std::vector<test::ScriptedInteraction::Popup>& popups() const { return m.ui.popups; }
    QString topic(int number) const { return TopicText(f.language(), number); }
};

// Which buttons show the topic: the right and the middle one, the right one only, or none; a click on the
// notice opens the About dialog instead.
enum Shows { Both, Right, Notice, Nothing };

// Each control (with its index in a control array, or -1) and the buttons that show its topic; the topics
// are 10010, 10020... in the order of the rows. The last row, which has none, lies inside a frame that has
// one: the frame's topic must not show through it.
const std::tuple<const char*, int, Shows> kTopics[] = {
    {"tvwControl", -1, Both},       {"lblCurrentPath", -1, Both},  {"lblInfo", -1, Both},
    {"chkCaseSensitive", -1, Both}, {"fraWhatToBrowse", -1, Both}, {"chkWhatToBrowse", 0, Both},
    {"chkWhatToBrowse", 1, Both},   {"fraLevels", -1, Both},       {"cmdAll", -1, Both},
    {"updLevels", -1, Both},        {"cmdHelp", -1, Both},         {"cmdLanguage", 0, Both},
    {"cmdLanguage", 1, Both},       {"picCopyright", -1, Notice},  {"lblCopyright", -1, Notice},
    {"cmdRefresh", -1, Both},       {"cmdUpOneLevel", -1, Both},   {"cmdSavePath", -1, Both},
    {"cmdBrowse", -1, Both},        {"cmdRecallPath", -1, Both},   {"cmdEnd", -1, Both},
    {"grdControl", -1, Right},      {"cmdScan", -1, Both},         {"txtLevels", -1, Nothing}};

TEST(WhatsThis, EachControlAndMenuItemShowsItsOwnTopicForTheRightButtons) {
    HelpWindow h;
    int row = 0;
    for (const auto& [name, index, shows] : kTopics) {
        QWidget* control = h.m.control(name, index);
        ASSERT_TRUE(control);
        const int topic = 10010 + 10 * row++;
        for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton}) {
            // A frame is clicked on its border, every other control in its middle; the event goes to the
            // deepest child there, as the window system delivers it.
            QPoint pos = qobject_cast<QGroupBox*>(control) ? QPoint(3, control->height() - 3)
                                                           : control->rect().center();
            QWidget* receiver = control;
            while (QWidget* child = receiver->childAt(pos)) {
                pos = child->mapFrom(receiver, pos);
                receiver = child;
            }
            h.m.ui.popups.clear();
            h.aboutOpened = 0;
            // A whole left click runs the control's own action (End, Help, a language...); help reacts to
            // the release.
            if (button == Qt::LeftButton && shows != Notice)
                QTest::mouseRelease(receiver, button, {}, pos);
            else
                QTest::mouseClick(receiver, button, {}, pos);

            const bool shown = (button == Qt::RightButton && shows != Nothing) ||
                               (button == Qt::MiddleButton && shows == Both);
            ASSERT_EQ(h.popups().size(), shown ? 1u : 0u) << name << index << " " << button;
            if (shown) { // (that each topic is in the help files is the help files' own test)
                EXPECT_EQ(std::tuple(h.popups()[0].control, h.popups()[0].text),
                          std::tuple(control, h.topic(topic)));
            }
            EXPECT_EQ(h.aboutOpened, shows == Notice && button != Qt::RightButton ? 1 : 0);
        }
    }
    EXPECT_TRUE(h.m.ui.messages.empty());
    // The Help items show the topic of their menu's owner; the icon menu's items below its last line show
    // their own topics on a right click, instead of running.
    const std::tuple<const char*, const char*, int> helpItems[] = {
        {"mnuSavePathHelp", "cmdSavePath", 10180},
        {"mnuRecallPathHelp", "cmdRecallPath", 10200},
        {"mnuIconsHelp", "grdControl", 10220}};
    for (const auto& [item, owner, topic] : helpItems) {
        h.m.ui.popups.clear();
        h.m.control<QAction>(item)->trigger();
        ASSERT_EQ(h.popups().size(), 1u) << item;
        EXPECT_EQ(std::tuple(h.popups()[0].control, h.popups()[0].text),
                  std::tuple(h.m.control(owner), h.topic(topic)));
    }
    auto* menu = h.m.control<QMenu>("mnuIcons");
    int iconTopic = 10240; // then 10250... in this order
    for (const char* name : {"mnuIconsSavePng", "mnuIconsSaveIco", "mnuIconsSaveAll", "mnuIconsDetails"}) {
        QAction* item = h.m.control<QAction>(name);
        bool ran = false;
        const auto watch = QObject::connect(item, &QAction::triggered, [&ran] { ran = true; });
        h.m.ui.popups.clear();
        menu->popup(h.f.mapToGlobal(QPoint(20, 20)));
        QTest::mouseClick(menu, Qt::RightButton, {}, menu->actionGeometry(item).center());
        QObject::disconnect(watch);
        EXPECT_FALSE(ran || menu->isVisible()) << name;
        ASSERT_EQ(h.popups().size(), 1u) << name;
        EXPECT_EQ(h.popups()[0].text, h.topic(iconTopic)) << name;
        iconTopic += 10;
    }
}

// After a switch to Greek the next pop-up comes from the Greek file; when that file or its topic is
// missing, the engine's message naming both takes its place, and nothing else happens. The Help button
// shows the help text of the language in force, with Windows line breaks only, whatever the help files.
TEST(WhatsThis, TheNextPopupComesFromTheNewLanguagesFileOrNamesWhatIsMissing) {
    for (const char* greekFile : {static_cast<const char*>(nullptr), "", "[10180]\nΑποθήκευση.\n"}) {
        HelpWindow h(greekFile);
        for (const int language : {-1, 0, 1}) { // as started, then Greek, then English
            if (language >= 0)
                h.m.control<QPushButton>("cmdLanguage", language)->click();
            QTest::mouseClick(h.m.control("cmdBrowse"), Qt::RightButton);
            h.m.ui.answer(MsgButton::Ok);
            QTest::mouseClick(h.m.control("cmdHelp"), Qt::LeftButton);
            const MessageRequest& r = h.m.ui.messages.back().request;
            const bool greek = language == 0;
            EXPECT_EQ(std::tuple(r.title, r.icon, r.buttons, r.text.count(QStringLiteral("\r\n"))),
                      std::tuple(greek ? QStringLiteral("Βοήθεια") : QStringLiteral("Help"),
                                 MsgIcon::Information, MsgButtons::Ok, 10));
            EXPECT_TRUE(r.text.startsWith(greek ? QStringLiteral("Για να λάβουμε άμεση βοήθεια")
                                                : QStringLiteral("If we click the RIGHT mouse button")));
            EXPECT_FALSE(r.text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))))
                << "a bare line feed";
        }
        const HelpLookup english = LookupHelpTopic(h.f.files().helpFileEnglish, 10190, HelpLanguage::English);
        const HelpLookup greek = LookupHelpTopic(h.f.files().helpFileGreek, 10190, HelpLanguage::Greek);
        ASSERT_EQ(h.popups().size(), 3u);
        EXPECT_EQ(QStringList({h.popups()[0].text, h.popups()[1].text, h.popups()[2].text}),
                  QStringList({english.text, greek.text, english.text}));
        EXPECT_NE(greek.text, english.text);
        EXPECT_EQ(greek.found(), !greekFile);
        EXPECT_TRUE(!greekFile ||
                    (greek.text.contains(h.f.files().helpFileGreek) && greek.text.contains(u"10190")))
            << greek.text.toStdString();
        EXPECT_EQ(h.m.ui.messages.size(), 3u);
    }
}

} // namespace
} // namespace vesmarin
