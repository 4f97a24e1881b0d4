#include "language/WhatsThisHelp.h"

#include "language/HelpFile.h"
#include "shell/MainForm.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::MainForm;

// The main window started in English, with the real help files beside it.
struct HelpForm {
    MainForm m;
    frmMain& f = *m.form;
    help::WhatsThisHelp* help = f.findChild<help::WhatsThisHelp*>();
    int aboutOpened = 0;

    explicit HelpForm(bool withGreekFile = true) {
        CopyHelpFile("TembrillUK.hlp");
        if (withGreekFile)
            CopyHelpFile("TembrillGR.hlp");
        m.loadWith("[General]\nInitialPath=/tmp\nLanguage=0\n");
        help->onNoticePress = [this] { ++aboutOpened; };
        f.show();
        f.grdControl->show(); // as it is once icons are placed
    }

    void CopyHelpFile(const char* name) {
        const QString target = m.folder.filePath(QLatin1String(name));
        QFile::remove(target);
        ASSERT_TRUE(QFile::copy(QStringLiteral(VESMARIN_HELP_SOURCE_DIR "/") + QLatin1String(name), target));
    }

    QString topic(int number) const { return help::TopicText(f.state, number); }
};

QWidget* Control(const frmMain& f, const char* name, int index) {
    for (QWidget* w : f.findChildren<QWidget*>(QString::fromLatin1(name)))
        if (index < 0 || w->property("Index").toInt() == index)
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

enum class Shows { RightAndMiddle, RightOnly, NoticeRule };

struct TopicRow {
    const char* control;
    int index;
    int topic;
    Shows shows;
    bool frame; // a frame is clicked on its own border, not on the controls inside it
};

const TopicRow kTopics[] = {
    {"tvwControl", -1, 10010, Shows::RightAndMiddle, false},
    {"lblCurrentPath", -1, 10020, Shows::RightAndMiddle, false},
    {"lblInfo", -1, 10030, Shows::RightAndMiddle, false},
    {"chkCaseSensitive", -1, 10040, Shows::RightAndMiddle, false},
    {"fraWhatToBrowse", -1, 10050, Shows::RightAndMiddle, true},
    {"chkWhatToBrowse", 0, 10060, Shows::RightAndMiddle, false},
    {"chkWhatToBrowse", 1, 10070, Shows::RightAndMiddle, false},
    {"fraLevels", -1, 10080, Shows::RightAndMiddle, true},
    {"cmdAll", -1, 10090, Shows::RightAndMiddle, false},
    {"updLevels", -1, 10100, Shows::RightAndMiddle, false},
    {"cmdHelp", -1, 10110, Shows::RightAndMiddle, false},
    {"cmdLanguage", 0, 10120, Shows::RightAndMiddle, false},
    {"cmdLanguage", 1, 10130, Shows::RightAndMiddle, false},
    {"picCopyright", -1, 10140, Shows::NoticeRule, false},
    {"lblCopyright", -1, 10150, Shows::NoticeRule, false},
    {"cmdRefresh", -1, 10160, Shows::RightAndMiddle, false},
    {"cmdUpOneLevel", -1, 10170, Shows::RightAndMiddle, false},
    {"cmdSavePath", -1, 10180, Shows::RightAndMiddle, false},
    {"cmdBrowse", -1, 10190, Shows::RightAndMiddle, false},
    {"cmdRecallPath", -1, 10200, Shows::RightAndMiddle, false},
    {"cmdEnd", -1, 10210, Shows::RightAndMiddle, false},
    {"grdControl", -1, 10220, Shows::RightOnly, false},
    {"cmdScan", -1, 10230, Shows::RightAndMiddle, false},
};

struct ButtonCase {
    Qt::MouseButton button;
    const char* name;
};

TEST(WhatsThis, EachControlShowsItsOwnTopicForTheRightButtons) {
    HelpForm h;
    for (const TopicRow& row : kTopics) {
        QWidget* control = Control(h.f, row.control, row.index);
        ASSERT_NE(control, nullptr) << row.control;
        const QString expected = h.topic(row.topic);
        ASSERT_TRUE(LookupHelpTopic(h.f.state.gCurrentHelpFile, row.topic, HelpLanguage::English).found());

        for (const ButtonCase b :
             {ButtonCase{Qt::RightButton, "right"}, ButtonCase{Qt::MiddleButton, "middle"},
              ButtonCase{Qt::LeftButton, "left"}}) {
            SCOPED_TRACE(std::string(row.control) + "(" + std::to_string(row.index) + "), " + b.name);
            QPoint pos = row.frame ? QPoint(3, control->height() - 3) : control->rect().center();
            QWidget* receiver = Receiver(control, pos);
            ASSERT_TRUE(row.frame ? receiver == control
                                  : receiver == control || control->isAncestorOf(receiver));
            h.m.ui.popups.clear();
            h.aboutOpened = 0;

            if (b.button == Qt::LeftButton && row.shows != Shows::NoticeRule)
                // A whole left click would run the control's own action (End, Help, a language...): the
                // release is what help reacts to.
                QTest::mouseRelease(receiver, b.button, {}, pos);
            else
                QTest::mouseClick(receiver, b.button, {}, pos);

            const bool shown = b.button == Qt::RightButton ||
                               (b.button == Qt::MiddleButton && row.shows == Shows::RightAndMiddle);
            if (shown) {
                ASSERT_EQ(h.m.ui.popups.size(), 1u);
                EXPECT_EQ(h.m.ui.popups[0].control, control);
                EXPECT_EQ(h.m.ui.popups[0].text, expected);
            } else {
                EXPECT_TRUE(h.m.ui.popups.empty());
            }
            const bool opensAbout = row.shows == Shows::NoticeRule && b.button != Qt::RightButton;
            EXPECT_EQ(h.aboutOpened, opensAbout ? 1 : 0);
        }
    }
    EXPECT_TRUE(h.m.ui.messages.empty());
}

TEST(WhatsThis, ControlsWithoutATopicShowNothing) {
    HelpForm h;
    // The levels box lies inside a frame that has a topic: the frame's must not show through it.
    for (QWidget* w : std::initializer_list<QWidget*>{h.f.txtLevels, &h.f}) {
        SCOPED_TRACE(w->objectName().toStdString());
        QTest::mouseClick(w, Qt::RightButton);
        QTest::mouseClick(w, Qt::MiddleButton);
    }
    EXPECT_TRUE(h.m.ui.popups.empty());
}

TEST(WhatsThis, HelpItemsShowTheTopicOfTheMenusOwner) {
    HelpForm h;
    const struct {
        QAction* item;
        QWidget* owner;
        int topic;
    } rows[] = {
        {h.f.mnuSavePathHelp, h.f.cmdSavePath, 10180},
        {h.f.mnuRecallPathHelp, h.f.cmdRecallPath, 10200},
        {h.f.mnuIconsHelp, h.f.grdControl, 10220},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.item->objectName().toStdString());
        h.m.ui.popups.clear();
        r.item->trigger();
        ASSERT_EQ(h.m.ui.popups.size(), 1u);
        EXPECT_EQ(h.m.ui.popups[0].control, r.owner);
        EXPECT_EQ(h.m.ui.popups[0].text, h.topic(r.topic));
    }
}

TEST(WhatsThis, TheNextPopupAfterASwitchComesFromTheNewLanguagesFile) {
    HelpForm h;
    QTest::mouseClick(h.f.cmdBrowse, Qt::RightButton);
    h.f.cmdLanguage[0]->click();
    QTest::mouseClick(h.f.cmdBrowse, Qt::RightButton);
    h.f.cmdLanguage[1]->click();
    QTest::mouseClick(h.f.cmdBrowse, Qt::RightButton);

    const QString english = LookupHelpTopic(h.f.state.gHelpFileEnglish, 10190, HelpLanguage::English).text;
    const QString greek = LookupHelpTopic(h.f.state.gHelpFileGreek, 10190, HelpLanguage::Greek).text;
    ASSERT_NE(english, greek);
    ASSERT_EQ(h.m.ui.popups.size(), 3u);
    EXPECT_EQ(h.m.ui.popups[0].text, english);
    EXPECT_EQ(h.m.ui.popups[1].text, greek);
    EXPECT_EQ(h.m.ui.popups[2].text, english);
}

TEST(WhatsThis, AMissingFileOrTopicShowsTheEnginesMessageAndTheProgramGoesOn) {
    struct Case {
        const char* name;
        const char* greekFile; // nullptr: no Greek help file at all
        const char* mentions;  // besides the file's path
    };
    const Case cases[] = {
        {"no file", nullptr, "10190"},
        {"topic missing", "[10180]\nΑποθήκευση.\n", "10190"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HelpForm h(false);
        if (c.greekFile) {
            QFile file(h.m.folder.filePath(QStringLiteral("TembrillGR.hlp")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.greekFile);
        }
        h.f.cmdLanguage[0]->click();
        QTest::mouseClick(h.f.cmdBrowse, Qt::RightButton);
        ASSERT_EQ(h.m.ui.popups.size(), 1u);
        const QString shown = h.m.ui.popups[0].text;
        EXPECT_EQ(shown, LookupHelpTopic(h.f.state.gHelpFileGreek, 10190, HelpLanguage::Greek).text);
        EXPECT_TRUE(shown.contains(h.f.state.gHelpFileGreek)) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QLatin1String(c.mentions))) << shown.toStdString();
        EXPECT_TRUE(h.m.ui.messages.empty());

        // Nothing else changed: the next pop-up in English works again.
        h.f.cmdLanguage[1]->click();
        QTest::mouseClick(h.f.cmdBrowse, Qt::RightButton);
        ASSERT_EQ(h.m.ui.popups.size(), 2u);
        EXPECT_EQ(h.m.ui.popups[1].text, h.topic(10190));
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
         "\r\n\r\nThe term STARTING ITEM, represents the folder from which the browsing process will "
         "commence."},
        {0, "Βοήθεια", "Για να λάβουμε άμεση βοήθεια, αρκεί να πατήσουμε το ΔΕΞΙΟ κουμπί του ποντικιού, ",
         "4) Ένα αρχείο ή/και το όνομα ενός αρχείου.\r\n\r\nΟ όρος ΣΤΟΙΧΕΙΟ ΕΚΚΙΝΗΣΕΩΣ, αντιπροσωπεύει το "
         "φάκελλο από τον οποίο θέλουμε να αρχίσει ο έλεγχος των αρχείων των οποίων τα εικονίδια θα "
         "φυλλομετρηθούν."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        HelpForm h;
        h.f.cmdLanguage[static_cast<std::size_t>(c.languageButton)]->click();
        h.m.ui.answer(MsgButton::Ok);
        QTest::mouseClick(h.f.cmdHelp, Qt::LeftButton);
        ASSERT_EQ(h.m.ui.messages.size(), 1u);
        const MessageRequest& r = h.m.ui.messages[0].request;
        EXPECT_EQ(r.title, QString::fromUtf8(c.title));
        EXPECT_EQ(r.icon, MsgIcon::Information);
        EXPECT_EQ(r.buttons, MsgButtons::Ok);
        EXPECT_TRUE(r.text.startsWith(QString::fromUtf8(c.begins))) << r.text.toStdString();
        EXPECT_TRUE(r.text.endsWith(QString::fromUtf8(c.ends))) << r.text.toStdString();
        EXPECT_EQ(r.text.count(QStringLiteral("\r\n")), 10);
        EXPECT_FALSE(r.text.contains(QRegularExpression(QStringLiteral("[^\r]\n")))) << "bare line feed";
        EXPECT_TRUE(h.m.ui.popups.empty());
    }
}

} // namespace
} // namespace vesmarin
