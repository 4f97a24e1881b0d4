#include "about/frmAbout.h"

#include "language/HelpFile.h"
#include "language/WhatsThisHelp.h"
#include "shell/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWhatsThis>
#include <gtest/gtest.h>
#include <set>

namespace vesmarin {
namespace {

using about::frmAbout;
using test::MainForm;

// The main window started in English, with the real help files beside it.
struct AboutForm {
    MainForm m;
    frmMain& f = *m.form;

    AboutForm() {
        for (const char* name : {"TembrillUK.hlp", "TembrillGR.hlp"})
            QFile::copy(QStringLiteral(VESMARIN_HELP_SOURCE_DIR "/") + QLatin1String(name),
                        m.folder.filePath(QLatin1String(name)));
        m.loadWith("[General]\nInitialPath=/tmp\nLanguage=0\n");
        f.setGeometry(260, 180, f.width(), f.height()); // away from the screen's top-left corner
        f.show();
    }
};

struct Seen {
    QString windowTitle, title, version, description, disclaimer, sysInfo, ok;
};

TEST(About, TheNoticeOpensTheDialogInTheLanguageInForceAndEscClosesIt) {
    for (const bool greek : {true, false}) {
        SCOPED_TRACE(greek ? "Greek" : "English");
        AboutForm a;
        a.f.cmdLanguage[greek ? 0 : 1]->click();
        std::optional<Seen> seen;
        bool centred = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            if (!d)
                return;
            seen = Seen{d->windowTitle(),          d->lblTitle->text(),      d->lblVersion->text(),
                        d->lblDescription->text(), d->lblDisclaimer->text(), d->cmdSysInfo->text(),
                        d->cmdOK->text()};
            // Within the frame, whose size is known only once the window is shown.
            centred = (d->frameGeometry().center() - a.f.frameGeometry().center()).manhattanLength() <= 4;
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QTest::mousePress(a.f.lblCopyright, Qt::LeftButton);
        QTest::mouseRelease(a.f.lblCopyright, Qt::LeftButton);

        ASSERT_TRUE(seen.has_value()) << "the dialog did not open modally";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "Esc closes it";
        EXPECT_TRUE(QTest::qWaitForWindowActive(&a.f, 500)) << "the main window takes the focus back";
        const AboutTexts texts = AboutTextsFor(greek);
        EXPECT_EQ(seen->windowTitle, greek ? QStringLiteral("Σχετικά") : QStringLiteral("About"));
        EXPECT_EQ(seen->title, QStringLiteral("Vesmarin"));
        EXPECT_EQ(seen->version, VersionLine(CurrentVersion(), greek));
        EXPECT_TRUE(seen->version.startsWith(greek ? QStringLiteral("Έκδοση ") : QStringLiteral("Version ")));
        EXPECT_EQ(seen->description, texts.description);
        EXPECT_EQ(seen->disclaimer, texts.disclaimer);
        EXPECT_EQ(seen->sysInfo,
                  greek ? QStringLiteral("Πληροφορίες συστήματος...") : QStringLiteral("System Info..."));
        EXPECT_EQ(seen->ok, QStringLiteral("OK"));
        EXPECT_TRUE(centred) << "centred on the main window where it stands";
        EXPECT_TRUE(a.m.ui.popups.empty()) << "a left click opens the dialog and shows no pop-up";
        EXPECT_TRUE(a.m.ui.messages.empty());
    }
}

TEST(About, IsAFixedDialogOwnedByTheMainWindowWithTheQuestionMark) {
    AboutForm a;
    frmAbout d(a.m.ui, a.f.state, &a.f);
    d.show();
    const Qt::WindowFlags flags = d.windowFlags();
    EXPECT_EQ(d.parentWidget(), &a.f) << "owned, so it stays out of the task bar";
    EXPECT_TRUE(flags & Qt::WindowContextHelpButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(d.minimumSize(), d.maximumSize()) << "cannot be resized";
    EXPECT_TRUE(d.cmdOK->isDefault());
    // No text is cut off: every label gets the room its text needs.
    for (QLabel* l : {d.lblTitle, d.lblVersion, d.lblDescription, d.lblDisclaimer}) {
        SCOPED_TRACE(l->objectName().toStdString());
        const int needed = l->wordWrap() ? l->heightForWidth(l->width()) : l->sizeHint().height();
        EXPECT_GE(l->height(), needed);
    }
}

TEST(About, EnterAndEscPressOkButEnterOnSystemInfoStartsTheTool) {
    const struct {
        const char* name;
        Qt::Key key;
        bool focusOnSysInfo;
        bool closes;
    } cases[] = {
        {"Esc", Qt::Key_Escape, false, true},
        {"Enter", Qt::Key_Return, false, true},
        {"keypad Enter", Qt::Key_Enter, false, true},
        {"Esc from System Info", Qt::Key_Escape, true, true},
        {"Enter on System Info", Qt::Key_Return, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AboutForm a;
        a.m.ui.executables = {{QStringLiteral("hardinfo"), QStringLiteral("/usr/local/bin/hardinfo")}};
        frmAbout d(a.m.ui, a.f.state, &a.f);
        d.show();
        QApplication::setActiveWindow(&d);
        (c.focusOnSysInfo ? d.cmdSysInfo : d.cmdOK)->setFocus();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &d, c.key);
        EXPECT_EQ(d.isVisible(), !c.closes);
        EXPECT_EQ(a.m.ui.runs.size(), c.closes ? 0u : 1u);
    }
}

TEST(About, AClosesFromTheFrameIsRefusedWithTheMessage) {
    AboutForm a;
    a.f.cmdLanguage[0]->click();
    frmAbout d(a.m.ui, a.f.state, &a.f);
    d.show();
    QCloseEvent fromFrame;
    QSpontaneKeyEvent::setSpontaneous(&fromFrame);
    a.m.ui.answer(MsgButton::Ok);
    static_cast<QObject&>(d).event(&fromFrame); // as the window system delivers it
    EXPECT_FALSE(fromFrame.isAccepted());
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(a.m.ui.messages.size(), 1u);
    EXPECT_EQ(a.m.ui.messages[0].request.title, QStringLiteral("Κλείσιμο φόρμας"));

    d.cmdOK->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(a.m.ui.messages.size(), 1u);
}

TEST(About, SystemInformationIsLookedUpInOrder) {
    struct Case {
        const char* name;
        std::vector<std::pair<QString, QString>> onPath;
        std::set<QString> files;
        bool startWorks;
        const char* started; // the program asked for, or nullptr
        bool message;
        bool fileTested;
    };
    const QString hardinfo2 = QStringLiteral("/opt/tools/hardinfo2");
    const Case cases[] = {
        {"first found: started without a file test",
         {{QStringLiteral("hardinfo2"), hardinfo2}},
         {},
         true,
         "/opt/tools/hardinfo2",
         false,
         false},
        {"first found but it will not start: the message, the second is not tried",
         {{QStringLiteral("hardinfo2"), hardinfo2}},
         {QStringLiteral("/usr/bin/hardinfo")},
         false,
         "/opt/tools/hardinfo2",
         true,
         false},
        {"first missing, the second's folder holds the tool",
         {},
         {QStringLiteral("/usr/bin/hardinfo")},
         true,
         "/usr/bin/hardinfo",
         false,
         true},
        {"first missing, the second's folder lacks the tool", {}, {}, true, nullptr, true, true},
    };
    for (const bool greek : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (greek ? ", Greek" : ", English"));
            AboutForm a;
            a.f.cmdLanguage[greek ? 0 : 1]->click();
            a.m.ui.executables = c.onPath;
            a.m.ui.runSucceeds = c.startWorks;
            frmAbout d(a.m.ui, a.f.state, &a.f);
            bool tested = false;
            d.lookups = PosixSysInfoLookups([&](const QString& n) { return a.m.ui.findExecutable(n); },
                                            [&](const QString& f) {
                                                tested = true;
                                                return c.files.count(f) > 0;
                                            });
            d.show();
            if (c.message)
                a.m.ui.answer(MsgButton::Ok);
            d.cmdSysInfo->click();

            if (c.started) {
                ASSERT_EQ(a.m.ui.runs.size(), 1u);
                EXPECT_EQ(a.m.ui.runs[0].program, QString::fromLatin1(c.started));
                EXPECT_FALSE(a.m.ui.runs[0].waited);
            } else {
                EXPECT_TRUE(a.m.ui.runs.empty());
            }
            EXPECT_EQ(tested, c.fileTested);
            ASSERT_EQ(a.m.ui.messages.size(), c.message ? 1u : 0u);
            if (c.message) {
                const MessageRequest& r = a.m.ui.messages[0].request;
                EXPECT_EQ(r.text, greek
                                      ? QStringLiteral("Οι Πληροφορίες Συστήματος δεν είναι διαθέσιμες αυτή "
                                                       "τη στιγμή.")
                                      : QStringLiteral("System Information is unavailable at this time."));
                EXPECT_EQ(r.title, greek ? QStringLiteral("Πληροφορίες συστήματος")
                                         : QStringLiteral("System information"));
                EXPECT_EQ(r.icon, MsgIcon::Information);
                EXPECT_EQ(r.buttons, MsgButtons::Ok);
            }
            EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
        }
    }
}

TEST(About, ItsControlsHaveTheirTopicsForTheRightButtonAndTheQuestionMark) {
    AboutForm a;
    a.f.cmdLanguage[0]->click();
    frmAbout d(a.m.ui, a.f.state, &a.f);
    d.show();
    const std::pair<QWidget*, int> rows[] = {
        {d.picIcon, 90010},       {d.lblTitle, 90020}, {d.lblVersion, 90030}, {d.lblDescription, 90040},
        {d.lblDisclaimer, 90050}, {d.cmdOK, 90060},    {d.cmdSysInfo, 90070},
    };
    for (const auto& [control, topic] : rows) {
        SCOPED_TRACE(control->objectName().toStdString());
        const HelpLookup expected = LookupHelpTopic(a.f.state.gHelpFileGreek, topic, HelpLanguage::Greek);
        ASSERT_TRUE(expected.found());
        EXPECT_EQ(control->whatsThis(), expected.text);
        a.m.ui.popups.clear();
        QTest::mouseClick(control, Qt::RightButton);
        ASSERT_EQ(a.m.ui.popups.size(), 1u);
        EXPECT_EQ(a.m.ui.popups[0].text, expected.text);
    }
    EXPECT_TRUE(d.isVisible());
    for (QWidget* line : d.Line1)
        EXPECT_TRUE(line->whatsThis().isEmpty());

    QApplication::setActiveWindow(&d);
    QTest::keyClick(&d, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode()) << "Shift+F1 enters What's This mode";
    QWhatsThis::leaveWhatsThisMode();
}

} // namespace
} // namespace vesmarin
