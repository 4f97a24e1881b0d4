#include "ui/WhatsThisHelp.h"

#include "app/MainWindowRig.h"
#include "base/HelpFile.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

// The main window started in English, shown, with the help files beside it and the About dialog counted.
struct HelpWindow {
    test::MainWindowRig m;
    MainWindow& f = *m.window;
    int aboutOpened = 0;

    explicit HelpWindow(const char* greekFile = nullptr) {
        m.copyHelpFiles(QStringLiteral(VESMARIN_HELP_SOURCE_DIR));
        if (greekFile) {
            QFile::remove(m.folder.filePath(QStringLiteral("TembrillGR.hlp")));
            if (*greekFile) // "" leaves no Greek file at all
                test::WriteFile(m.folder.filePath(QStringLiteral("TembrillGR.hlp")), greekFile);
        }
        m.loadWith("[General]\nInitialPath=/tmp\nLanguage=0\n");
        // The notice counts its presses here instead of opening the About dialog.
        auto* help = f.findChild<WhatsThisHelp*>(QStringLiteral("WhatsThisHelp"));
        QObject::disconnect(help, &WhatsThisHelp::noticePressed, nullptr, nullptr);
        QObject::connect(help, &WhatsThisHelp::noticePressed, [this] { ++aboutOpened; });
        f.show();
        m.control<IconGrid>("grdControl")->show(); // as it is once icons are placed
    }
    const std::vector<test::ScriptedInteraction::Popup>& popups() const { return m.ui.popups; }
};

// Which buttons show the topic: the right and the middle one, the right one only, or none; a click on the
// notice opens the About dialog instead.
enum class Shows { Both, Right, Notice, Nothing };
using enum Shows;

struct TopicRow {
    const char* control;
    int index; // element of a control array, -1 otherwise
    int topic;
    Shows shows;
};

// The last row lies inside a frame that has a topic: the frame's topic must not show through it.
const TopicRow kTopics[] = {{"tvwControl", -1, 10010, Both},      {"lblCurrentPath", -1, 10020, Both},
                            {"lblInfo", -1, 10030, Both},         {"chkCaseSensitive", -1, 10040, Both},
                            {"fraWhatToBrowse", -1, 10050, Both}, {"chkWhatToBrowse", 0, 10060, Both},
                            {"chkWhatToBrowse", 1, 10070, Both},  {"fraLevels", -1, 10080, Both},
                            {"cmdAll", -1, 10090, Both},          {"updLevels", -1, 10100, Both},
                            {"cmdHelp", -1, 10110, Both},         {"cmdLanguage", 0, 10120, Both},
                            {"cmdLanguage", 1, 10130, Both},      {"picCopyright", -1, 10140, Notice},
                            {"lblCopyright", -1, 10150, Notice},  {"cmdRefresh", -1, 10160, Both},
                            {"cmdUpOneLevel", -1, 10170, Both},   {"cmdSavePath", -1, 10180, Both},
                            {"cmdBrowse", -1, 10190, Both},       {"cmdRecallPath", -1, 10200, Both},
                            {"cmdEnd", -1, 10210, Both},          {"grdControl", -1, 10220, Right},
                            {"cmdScan", -1, 10230, Both},         {"txtLevels", -1, 0, Nothing}};

QWidget* Control(const MainWindow& f, const TopicRow& row) {
    for (QWidget* w : f.findChildren<QWidget*>(QString::fromLatin1(row.control)))
        if (row.index < 0 || w->property("Index").toInt() == row.index)
            return w;
    return nullptr;
}

// Where the window system would deliver a mouse event at `pos` of `control`: its deepest child there.
QWidget* Receiver(QWidget* control, QPoint& pos) {
    QWidget* w = control;
    while (QWidget* child = w->childAt(pos)) {
        pos = child->mapFrom(w, pos);
        w = child;
    }
    return w;
}

TEST(WhatsThis, EachControlShowsItsOwnTopicForTheRightButtons) {
    HelpWindow h;
    for (const TopicRow& row : kTopics) {
        QWidget* control = Control(h.f, row);
        ASSERT_NE(control, nullptr) << row.control;
        for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton}) {
            SCOPED_TRACE(std::string(row.control) + "(" + std::to_string(row.index) + "), button " +
                         std::to_string(button));
            // A frame is clicked on its border, every other control in its middle.
            QPoint pos = qobject_cast<QGroupBox*>(control) ? QPoint(3, control->height() - 3)
                                                           : control->rect().center();
            QWidget* receiver = Receiver(control, pos);
            h.m.ui.popups.clear();
            h.aboutOpened = 0;
            if (button == Qt::LeftButton && row.shows != Shows::Notice)
                // A whole left click runs the control's own action (End, Help, a language...); help reacts
                // to the release.
                QTest::mouseRelease(receiver, button, {}, pos);
            else
                QTest::mouseClick(receiver, button, {}, pos);

            const bool shown = (button == Qt::RightButton && row.shows != Shows::Nothing) ||
                               (button == Qt::MiddleButton && row.shows == Both);
            ASSERT_EQ(h.popups().size(), shown ? 1u : 0u);
            if (shown) {
                EXPECT_EQ(h.popups()[0].control, control);
                EXPECT_EQ(
                    h.popups()[0].text,
                    LookupHelpTopic(h.f.files().helpFileEnglish, row.topic, HelpLanguage::English).text);
            }
            EXPECT_EQ(h.aboutOpened, row.shows == Shows::Notice && button != Qt::RightButton ? 1 : 0);
        }
    }
    EXPECT_TRUE(h.m.ui.messages.empty());
}

TEST(WhatsThis, HelpItemsShowTheTopicOfTheMenusOwner) {
    HelpWindow h;
    const std::tuple<QAction*, QWidget*, int> rows[] = {
        {h.m.control<QAction>("mnuSavePathHelp"), h.m.control<QPushButton>("cmdSavePath"), 10180},
        {h.m.control<QAction>("mnuRecallPathHelp"), h.m.control<QPushButton>("cmdRecallPath"), 10200},
        {h.m.control<QAction>("mnuIconsHelp"), h.m.control<IconGrid>("grdControl"), 10220},
    };
    for (const auto& [item, owner, topic] : rows) {
        SCOPED_TRACE(topic);
        h.m.ui.popups.clear();
        item->trigger();
        ASSERT_EQ(h.popups().size(), 1u);
        EXPECT_EQ(h.popups()[0].control, owner);
        EXPECT_EQ(h.popups()[0].text, TopicText(h.f.language(), topic));
    }
}

// The icon menu's items below its last line show their own topics on a right click, instead of running.
TEST(WhatsThis, TheIconMenusLastItemsShowTheirTopicsInsteadOfRunning) {
    HelpWindow h;
    auto* menu = h.m.control<QMenu>("mnuIcons");
    const std::pair<const char*, int> rows[] = {{"mnuIconsSavePng", 10240},
                                                {"mnuIconsSaveIco", 10250},
                                                {"mnuIconsSaveAll", 10260},
                                                {"mnuIconsDetails", 10270}};
    for (const auto& [name, topic] : rows) {
        SCOPED_TRACE(name);
        QAction* item = h.m.control<QAction>(name);
        bool ran = false;
        const auto watch = QObject::connect(item, &QAction::triggered, [&ran] { ran = true; });
        h.m.ui.popups.clear();
        menu->popup(h.f.mapToGlobal(QPoint(20, 20)));
        QTest::mouseClick(menu, Qt::RightButton, {}, menu->actionGeometry(item).center());
        QObject::disconnect(watch);
        EXPECT_FALSE(ran);
        EXPECT_FALSE(menu->isVisible());
        ASSERT_EQ(h.popups().size(), 1u);
        EXPECT_EQ(h.popups()[0].text, TopicText(h.f.language(), topic));
    }
}

// After a switch to Greek the next pop-up comes from the Greek file; when that file or its topic is
// missing, the engine's message naming both takes its place, and nothing else happens.
TEST(WhatsThis, TheNextPopupComesFromTheNewLanguagesFileOrNamesWhatIsMissing) {
    for (const char* greekFile : {static_cast<const char*>(nullptr), "", "[10180]\nΑποθήκευση.\n"}) {
        SCOPED_TRACE(greekFile ? greekFile : "real file");
        HelpWindow h(greekFile);
        QTest::mouseClick(h.m.control<QPushButton>("cmdBrowse"), Qt::RightButton);
        h.m.control<QPushButton>("cmdLanguage", 0)->click();
        QTest::mouseClick(h.m.control<QPushButton>("cmdBrowse"), Qt::RightButton);
        h.m.control<QPushButton>("cmdLanguage", 1)->click();
        QTest::mouseClick(h.m.control<QPushButton>("cmdBrowse"), Qt::RightButton);

        const HelpLookup english = LookupHelpTopic(h.f.files().helpFileEnglish, 10190, HelpLanguage::English);
        const HelpLookup greek = LookupHelpTopic(h.f.files().helpFileGreek, 10190, HelpLanguage::Greek);
        ASSERT_EQ(h.popups().size(), 3u);
        EXPECT_EQ(h.popups()[0].text, english.text);
        EXPECT_EQ(h.popups()[1].text, greek.text);
        EXPECT_NE(greek.text, english.text);
        EXPECT_EQ(h.popups()[2].text, english.text);
        if (greekFile) {
            EXPECT_FALSE(greek.found());
            EXPECT_TRUE(greek.text.contains(h.f.files().helpFileGreek) && greek.text.contains(u"10190"))
                << greek.text.toStdString();
        }
        EXPECT_TRUE(h.m.ui.messages.empty());
    }
}

TEST(HelpButton, ShowsTheHelpTextTitledHelpInTheLanguageInForce) {
    const struct {
        int languageButton;
        const char* title;
        const char* begins;
        const char* ends;
    } cases[] = {
        {1, "Help", "If we click the RIGHT mouse button on the various elements of the application, ",
         "file name.\r\n\r\nThe term STARTING ITEM, represents the folder from which the browsing process "
         "will "
         "commence."},
        {0, "Βοήθεια", "Για να λάβουμε άμεση βοήθεια, αρκεί να πατήσουμε το ΔΕΞΙΟ κουμπί του ποντικιού, ",
         "αρχείου.\r\n\r\nΟ όρος ΣΤΟΙΧΕΙΟ ΕΚΚΙΝΗΣΕΩΣ, αντιπροσωπεύει το φάκελλο από τον οποίο θέλουμε να "
         "αρχίσει ο έλεγχος των αρχείων των οποίων τα εικονίδια θα φυλλομετρηθούν."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        HelpWindow h;
        h.m.control<QPushButton>("cmdLanguage", c.languageButton)->click();
        h.m.ui.answer(MsgButton::Ok);
        QTest::mouseClick(h.m.control<QPushButton>("cmdHelp"), Qt::LeftButton);
        ASSERT_EQ(h.m.ui.messages.size(), 1u);
        const MessageRequest& r = h.m.ui.messages[0].request;
        EXPECT_EQ(r.title, QString::fromUtf8(c.title));
        EXPECT_EQ(r.icon, MsgIcon::Information);
        EXPECT_EQ(r.buttons, MsgButtons::Ok);
        EXPECT_TRUE(r.text.startsWith(QString::fromUtf8(c.begins))) << r.text.toStdString();
        EXPECT_TRUE(r.text.endsWith(QString::fromUtf8(c.ends))) << r.text.toStdString();
        EXPECT_EQ(r.text.count(QStringLiteral("\r\n")), 10);
        EXPECT_FALSE(r.text.contains(QRegularExpression(QStringLiteral("[^\r]\n")))) << "a bare line feed";
        EXPECT_TRUE(h.popups().empty());
    }
}

} // namespace
} // namespace vesmarin
