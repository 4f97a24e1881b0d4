#include "about/AboutDialog.h"

#include "app/MainWindowRig.h"
#include "base/HelpFile.h"
#include "support/RealDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWhatsThis>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

// The main window shown away from the screen's top-left corner, in the language asked for.
struct AboutWindow {
    test::MainWindowRig m;
    MainWindow& f = *m.window;

    explicit AboutWindow(bool greek = false) {
        m.copyHelpFiles(QStringLiteral(VESMARIN_HELP_SOURCE_DIR));
        m.loadWith("[General]\nInitialPath=/tmp\nLanguage=0\n");
        m.control<QPushButton>("cmdLanguage", greek ? 0 : 1)->click();
        f.setGeometry(260, 180, f.width(), f.height());
        f.show();
    }
};

TEST(About, TheNoticeOpensItModallyInTheLanguageInForceCentredOnTheMainWindow) {
    for (const bool greek : {true, false}) {
        SCOPED_TRACE(greek ? "Greek" : "English");
        AboutWindow a(greek);
        QStringList seen;
        QPoint offCentre;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            seen = {d->windowTitle(),
                    test::Control<QLabel>(*d, "lblTitle")->text(),
                    test::Control<QLabel>(*d, "lblVersion")->text(),
                    test::Control<QLabel>(*d, "lblDescription")->text(),
                    test::Control<QLabel>(*d, "lblDisclaimer")->text(),
                    test::Control<QPushButton>(*d, "cmdSysInfo")->text(),
                    test::Control<QPushButton>(*d, "cmdOK")->text()};
            offCentre = d->frameGeometry().center() - a.f.frameGeometry().center();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QTest::mouseClick(a.m.control<QLabel>("lblCopyright"), Qt::LeftButton);

        const AboutTexts t = AboutTextsFor(greek);
        EXPECT_EQ(seen, QStringList({greek ? QStringLiteral("Σχετικά") : QStringLiteral("About"),
                                     QStringLiteral("Vesmarin"), VersionLine(CurrentVersion(), greek),
                                     t.description, t.disclaimer,
                                     greek ? QStringLiteral("Πληροφορίες συστήματος...")
                                           : QStringLiteral("System Info..."),
                                     QStringLiteral("OK")}));
        // Within the frame, whose size is known only once the window is shown.
        EXPECT_LE(offCentre.manhattanLength(), 4) << "centred on the main window where it stands";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "Esc closes it";
        EXPECT_TRUE(QTest::qWaitForWindowActive(&a.f, 500)) << "the main window takes the focus back";
        EXPECT_TRUE(a.m.ui.popups.empty() && a.m.ui.messages.empty());
    }
}

TEST(About, EnterAndEscPressOkButEnterOnSystemInfoStartsTheTool) {
    const struct {
        Qt::Key key;
        bool onSysInfo;
        bool closes;
    } cases[] = {{Qt::Key_Escape, false, true},
                 {Qt::Key_Return, false, true},
                 {Qt::Key_Escape, true, true},
                 {Qt::Key_Return, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + (c.onSysInfo ? " on System Info" : ""));
        AboutWindow a;
        a.m.ui.executables = {{QStringLiteral("hardinfo"), QStringLiteral("/usr/local/bin/hardinfo")}};
        AboutDialog d(a.m.ui, a.f.language(), &a.f);
        d.show();
        QApplication::setActiveWindow(&d);
        QPushButton* focus = c.onSysInfo ? test::Control<QPushButton>(d, "cmdSysInfo")
                                         : test::Control<QPushButton>(d, "cmdOK");
        focus->setFocus();
        QTest::keyClick(focus, c.key);
        EXPECT_EQ(d.isVisible(), !c.closes);
        EXPECT_EQ(a.m.ui.runs.size(), c.closes ? 0u : 1u);
    }
}

TEST(About, IsAFixedDialogWhoseFrameCannotCloseIt) {
    AboutWindow a(true);
    AboutDialog d(a.m.ui, a.f.language(), &a.f);
    d.show();
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_TRUE(d.windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(d.parentWidget(), &a.f) << "owned, so it stays out of the task bar";

    QCloseEvent fromFrame;
    QSpontaneKeyEvent::setSpontaneous(&fromFrame);
    a.m.ui.answer(MsgButton::Ok);
    static_cast<QObject&>(d).event(&fromFrame); // as the window system delivers it
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(a.m.ui.messages.size(), 1u);
    EXPECT_EQ(a.m.ui.messages[0].request.title, QStringLiteral("Κλείσιμο φόρμας"));

    test::Control<QPushButton>(d, "cmdOK")->click();
    EXPECT_FALSE(d.isVisible());
}

// The order of the look-ups is the core's test; here, what the button does with what they find.
TEST(About, SystemInformationStartsTheToolFoundOrSaysItIsUnavailable) {
    const QString onPath = QStringLiteral("/opt/tools/hardinfo2");
    const struct {
        const char* name;
        bool found;
        bool startWorks;
    } cases[] = {{"found and started", true, true},
                 {"found but will not start: the second look-up is not tried", true, false},
                 {"found nowhere", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AboutWindow a(true);
        if (c.found)
            a.m.ui.executables = {{QStringLiteral("hardinfo2"), onPath}};
        a.m.ui.runSucceeds = c.startWorks;
        AboutDialog d(a.m.ui, a.f.language(), &a.f);
        bool tested = false;
        d.setSysInfoLookups(
            PosixSysInfoLookups([&](const QString& name) { return a.m.ui.findExecutable(name); },
                                [&](const QString&) {
                                    tested = true;
                                    return false;
                                }));
        d.show();
        const bool message = !c.found || !c.startWorks;
        if (message)
            a.m.ui.answer(MsgButton::Ok);
        test::Control<QPushButton>(d, "cmdSysInfo")->click();

        ASSERT_EQ(a.m.ui.runs.size(), c.found ? 1u : 0u);
        if (c.found) {
            EXPECT_EQ(a.m.ui.runs[0].program, onPath);
        }
        EXPECT_EQ(tested, !c.found);
        ASSERT_EQ(a.m.ui.messages.size(), message ? 1u : 0u);
        if (message) {
            EXPECT_EQ(a.m.ui.messages[0].request.text, SysInfoUnavailableText(true));
            EXPECT_EQ(a.m.ui.messages[0].request.title, QStringLiteral("Πληροφορίες συστήματος"));
        }
        EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
    }
}

// A right or middle click, or the menu key, shows the topic at once; the question mark and Shift+F1 too.
TEST(About, ItsControlsShowTheirTopicsOnARightClickAndInWhatsThisMode) {
    AboutWindow a(true);
    AboutDialog d(a.m.ui, a.f.language(), &a.f);
    d.show();
    const std::pair<QWidget*, int> rows[] = {
        {test::Control<QLabel>(d, "picIcon"), 90010},
        {test::Control<QLabel>(d, "lblTitle"), 90020},
        {test::Control<QLabel>(d, "lblVersion"), 90030},
        {test::Control<QLabel>(d, "lblDescription"), 90040},
        {test::Control<QLabel>(d, "lblDisclaimer"), 90050},
        {test::Control<QPushButton>(d, "cmdOK"), 90060},
        {test::Control<QPushButton>(d, "cmdSysInfo"), 90070},
    };
    for (const auto& [control, topic] : rows) {
        const HelpLookup expected = LookupHelpTopic(a.f.files().helpFileGreek, topic, HelpLanguage::Greek);
        ASSERT_TRUE(expected.found());
        EXPECT_EQ(control->whatsThis(), expected.text);
        for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::NoButton}) {
            SCOPED_TRACE(::testing::Message() << topic << ", button " << button);
            a.m.ui.popups.clear();
            EXPECT_EQ(test::AskForHelp(control, button), "") << "at once, without a menu";
            ASSERT_EQ(a.m.ui.popups.size(), 1u);
            EXPECT_EQ(a.m.ui.popups[0].text, expected.text);
        }
    }
    EXPECT_TRUE(d.isVisible());

    QApplication::setActiveWindow(&d);
    QTest::keyClick(&d, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode()) << "Shift+F1 enters What's This mode";
    QWhatsThis::leaveWhatsThisMode();
}

} // namespace
} // namespace vesmarin
