#include "about/AboutDialog.h"

#include "app/MainWindowRig.h"
#include "ui/WhatsThisHelp.h"

namespace vesmarin {

// The main window, shown away from the screen's top-left corner, in Greek, and its About dialog.
class About : public ::testing::Test {
protected:
    void SetUp() override {
        m.loadWith("[General]\nInitialPath=/tmp\nLanguage=1\n");
        f.setGeometry(260, 180, f.width(), f.height());
        f.show();
    }
    AboutDialog& open() {
        dialog = std::make_unique<AboutDialog>(m.ui, f.language(), &f);
        dialog->show();
        return *dialog;
    }
    QPushButton* button(const char* name) const { return test::Control<QPushButton>(*dialog, name); }

    test::MainWindowRig m;
    MainWindow& f = *m.window;
    std::unique_ptr<AboutDialog> dialog;
};

// A click on the notice opens it modally in the language in force, centred on the main window where it
// stands and owned by it (so out of the task bar); Esc closes it and the main window takes the focus back.
TEST_F(About, TheNoticeOpensItModallyCentredOnTheMainWindow) {
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(d);
        const QPoint offCentre = d->frameGeometry().center() - f.frameGeometry().center();
        seen = {d->windowTitle(), test::Control<QLabel>(*d, "lblVersion")->text()};
        EXPECT_TRUE(d->parentWidget() == &f && offCentre.manhattanLength() <= 4);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QTest::mouseClick(m.control<QLabel>("lblCopyright"), Qt::LeftButton);
    EXPECT_EQ(seen, QStringList({"Σχετικά", VersionLine(CurrentVersion(), true)}));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&f, 500));
}

// Enter on System Info (OK is the default button) starts the tool the look-ups find; their order is the
// core's test. A tool found that will not start is not looked for again, and the user is told in either case.
TEST_F(About, SystemInformationStartsTheToolFoundOrSaysItIsUnavailableAndOnlyOkCloses) {
    for (const auto& [found, starts] : {std::pair{true, true}, {true, false}, {false, true}}) {
        m.ui.runs.clear();
        m.ui.messages.clear();
        m.ui.executables = {{"hardinfo2", found ? "/opt/tools/hardinfo2" : ""}};
        m.ui.runSucceeds = starts;
        AboutDialog& d = open();
        bool fileTried = false;
        d.setSysInfoLookups(
            PosixSysInfoLookups([&](const QString& name) { return m.ui.findExecutable(name); },
                                [&](const QString&) { return fileTried = true, false; }));
        if (!found || !starts)
            m.ui.answer(MsgButton::Ok);
        QTest::keyClick(button("cmdSysInfo"), Qt::Key_Return);
        EXPECT_EQ(std::tuple(m.ui.runs.empty() ? "none" : m.ui.runs[0].program, fileTried, d.isVisible(),
                             m.ui.messages.empty() ? "none" : m.ui.messages[0].request.title),
                  std::tuple(found ? "/opt/tools/hardinfo2" : "none", !found, true,
                             found && starts ? "none" : "Πληροφορίες συστήματος"));
    }
    // Still open: a close from the window frame is refused with the message; a control shows its help topic
    // (90030, 90070); OK closes.
    m.ui.answer(MsgButton::Ok);
    EXPECT_FALSE(test::CloseFromFrame(*dialog));
    EXPECT_EQ(m.ui.messages.back().request.title, QStringLiteral("Κλείσιμο φόρμας"));
    test::ExpectTopicsOnRequest(m.ui, *dialog,
                                {{test::Control(*dialog, "lblVersion"), TopicText(f.language(), 90030)},
                                 {button("cmdSysInfo"), TopicText(f.language(), 90070)}});
    QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
}

} // namespace vesmarin
