#include "ui/WhatsThisHelp.h"

#include "app/MainWindowRig.h"
#include "base/HelpFile.h"
#include "language/core/WindowTexts.h"

#include <QGroupBox>

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
};

// One control of each kind (an element of a control array with its index, else -1) and its topic; the box of
// levels has none, and lies inside a frame that has one, which must not show through it. The right and the
// middle button show the topic, but the middle one not on the icon grid, and on the notice any but the right
// one opens the About dialog instead.
const std::tuple<const char*, int, int> kTopics[] = {
    {"tvwControl", -1, 10010},         {"fraLevels", -1, 10080},          {"chkWhatToBrowse", 1, 10070},
    {"lblCopyright", -1, TopicNotice}, {"grdControl", -1, TopicIconGrid}, {"txtLevels", -1, 0}};

TEST(WhatsThis, EachKindOfControlAndMenuItemShowsItsTopicForTheRightButtons) {
    HelpWindow h;
    for (const auto& [name, index, topic] : kTopics) {
        QWidget* control = h.m.control(name, index);
        const bool notice = topic == TopicNotice;
        for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton}) {
            // A frame is clicked on its border, every other control in its middle; the event goes to the
            // deepest child there, as the window system delivers it.
            QPoint pos = qobject_cast<QGroupBox*>(control) ? QPoint(3, control->height() - 3)
                                                           : control->rect().center();
            QWidget* receiver = control;
            while (QWidget* child = receiver->childAt(pos))
                pos = child->mapFrom(std::exchange(receiver, child), pos);
            h.m.ui.popups.clear();
            h.aboutOpened = 0;
            // A whole left click runs the control's own action; help reacts to the release.
            if (button == Qt::LeftButton && !notice)
                QTest::mouseRelease(receiver, button, {}, pos);
            else
                QTest::mouseClick(receiver, button, {}, pos);
            const bool shown = topic && (button == Qt::RightButton ||
                                         (button == Qt::MiddleButton && !notice && topic != TopicIconGrid));
            ASSERT_EQ(h.m.ui.popups.size(), shown ? 1u : 0u) << name << index << " " << button;
            EXPECT_TRUE(!shown || std::tuple(h.m.ui.popups[0].control, h.m.ui.popups[0].text) ==
                                      std::tuple(control, TopicText(h.f.language(), topic)));
            EXPECT_EQ(h.aboutOpened, notice && button != Qt::RightButton ? 1 : 0);
        }
    }
    // The Help item of the icon menu shows the grid's topic; the items below the menu's last line show their
    // own topics on a right click, instead of running.
    h.m.control<QAction>("mnuIconsHelp")->trigger();
    auto* menu = h.m.control<QMenu>("mnuIcons");
    QAction* item = h.m.control<QAction>("mnuIconsDetails");
    bool ran = false;
    QObject::connect(item, &QAction::triggered, [&ran] { ran = true; });
    menu->popup(h.f.mapToGlobal(QPoint(20, 20)));
    QTest::mouseClick(menu, Qt::RightButton, {}, menu->actionGeometry(item).center());
    EXPECT_FALSE(ran || menu->isVisible());
    ASSERT_EQ(std::tuple(h.m.ui.popups.size(), h.m.ui.messages.size()), std::tuple(2u, 0u)); // no click ran
    EXPECT_EQ(std::tuple(h.m.ui.popups[0].control, h.m.ui.popups[0].text, h.m.ui.popups[1].text),
              std::tuple(h.m.control("grdControl"), TopicText(h.f.language(), TopicIconGrid),
                         TopicText(h.f.language(), TopicIconDetails)));
}

// After a switch to Greek the next pop-up comes from the Greek file; when that file or its topic is
// missing, the engine's message naming both takes its place, and nothing else happens. The Help button
// shows the help text of the language in force, whatever the help files.
TEST(WhatsThis, TheNextPopupComesFromTheNewLanguagesFileOrNamesWhatIsMissing) {
    for (const char* greekFile : {static_cast<const char*>(nullptr), "", "[10180]\nΑποθήκευση.\n"}) {
        HelpWindow h(greekFile);
        for (const int language : {-1, 0, 1}) { // as started, then Greek, then English
            if (language >= 0)
                QTest::mouseClick(h.m.control("cmdLanguage", language), Qt::LeftButton);
            QTest::mouseClick(h.m.control("cmdBrowse"), Qt::RightButton);
            h.m.ui.answer(MsgButton::Ok);
            QTest::mouseClick(h.m.control("cmdHelp"), Qt::LeftButton);
            const MessageRequest& r = h.m.ui.messages.back().request;
            EXPECT_EQ(std::tuple(r.title, r.icon, r.text.left(14)),
                      std::tuple(language ? "Help" : "Βοήθεια", MsgIcon::Information,
                                 language ? "If we click th" : "Για να λάβουμε"));
        }
        const HelpLookup english = LookupHelpTopic(h.f.files().helpFileEnglish, 10190, HelpLanguage::English);
        const HelpLookup greek = LookupHelpTopic(h.f.files().helpFileGreek, 10190, HelpLanguage::Greek);
        ASSERT_EQ(h.m.ui.popups.size(), 3u);
        EXPECT_EQ(QStringList({h.m.ui.popups[0].text, h.m.ui.popups[1].text, h.m.ui.popups[2].text}),
                  QStringList({english.text, greek.text, english.text}));
        EXPECT_EQ(greek.found(), !greekFile); // (what the engine says instead is its own test)
        EXPECT_EQ(h.m.ui.messages.size(), 3u);
    }
}

} // namespace
} // namespace vesmarin
