#include "about/AboutDialog.h"

#include "app/MainWindowRig.h"
#include "ui/WhatsThisHelp.h"

namespace vesmarin {
namespace {

// The main window, shown away from the screen's top-left corner, in Greek, and its About dialog.
class About : public ::testing::Test {
protected:
    void SetUp() override {
        m.copyHelpFiles(QStringLiteral(VESMARIN_HELP_SOURCE_DIR));
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
// stands, owned by it (so out of the task bar) and of a fixed size; Esc closes it and the main window takes
// the focus back.
TEST_F(About, TheNoticeOpensItModallyCentredOnTheMainWindow) {
    QStringList seen;
    QPoint offCentre;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
        if (!d)
            return;
        seen = {d->windowTitle(), test::Control<QLabel>(*d, "lblVersion")->text()};
        offCentre = d->frameGeometry().center() - f.frameGeometry().center();
        EXPECT_EQ(std::tuple(d->parentWidget(), d->minimumSize(),
                             d->windowFlags() & Qt::WindowContextHelpButtonHint),
                  std::tuple(&f, d->maximumSize(), Qt::WindowContextHelpButtonHint));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QTest::mouseClick(m.control<QLabel>("lblCopyright"), Qt::LeftButton);
    EXPECT_EQ(seen, QStringList({"Σχετικά", VersionLine(CurrentVersion(), true)}));
    EXPECT_LE(offCentre.manhattanLength(), 4);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&f, 500));
}

// Enter and Esc press OK, the default and the cancel button, but Enter on System Info starts the tool; OK
// closes; a close from the window frame is refused with the message. Each control shows its help topic.
TEST_F(About, KeysPressOkButEnterOnSystemInfoStartsTheToolAndTheFrameCannotClose) {
    m.ui.executables = {{"hardinfo", "/usr/local/bin/hardinfo"}};
    const std::tuple<Qt::Key, const char*, bool> cases[] = {{Qt::Key_Escape, "cmdOK", true},
                                                            {Qt::Key_Return, "cmdOK", true},
                                                            {Qt::Key_Escape, "cmdSysInfo", true},
                                                            {Qt::Key_Return, "cmdSysInfo", false}};
    for (const auto& [key, focus, closes] : cases) {
        const std::size_t runs = m.ui.runs.size();
        AboutDialog& d = open();
        QApplication::setActiveWindow(&d);
        button(focus)->setFocus();
        QTest::keyClick(button(focus), key);
        EXPECT_EQ(std::tuple(d.isVisible(), m.ui.runs.size()), std::tuple(!closes, runs + (closes ? 0 : 1)))
            << focus << key;
    }
    m.ui.answer(MsgButton::Ok);
    EXPECT_FALSE(test::CloseFromFrame(*dialog)); // the topics' check finds it still open
    EXPECT_EQ(m.ui.messages.at(0).request.title, QStringLiteral("Κλείσιμο φόρμας"));
    std::vector<std::pair<QWidget*, QString>> topics; // 90010, 90020... in this order
    for (const char* name :
         {"picIcon", "lblTitle", "lblVersion", "lblDescription", "lblDisclaimer", "cmdOK", "cmdSysInfo"})
        topics.emplace_back(test::Control(*dialog, name),
                            TopicText(f.language(), 90010 + 10 * int(topics.size())));
    test::ExpectTopicsOnRequest(m.ui, *dialog, topics);
    QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
}

// The order of the look-ups is the core's test; here, what the button does with what they find: a tool
// found that will not start is not looked for again, and the user is told in either case.
TEST_F(About, SystemInformationStartsTheToolFoundOrSaysItIsUnavailable) {
    const std::pair<bool, bool> cases[] = {{true, true}, {true, false}, {false, true}}; // found, starts
    for (const auto& [found, starts] : cases) {
        m.ui.runs.clear();
        m.ui.executables = {{"hardinfo2", found ? "/opt/tools/hardinfo2" : ""}};
        m.ui.runSucceeds = starts;
        AboutDialog& d = open();
        bool fileTried = false;
        d.setSysInfoLookups(
            PosixSysInfoLookups([&](const QString& name) { return m.ui.findExecutable(name); },
                                [&](const QString&) { return fileTried = true, false; }));
        if (!found || !starts)
            m.ui.answer(MsgButton::Ok);
        const std::size_t told = m.ui.messages.size();
        QTest::mouseClick(button("cmdSysInfo"), Qt::LeftButton);
        EXPECT_EQ(std::tuple(m.ui.runs.size(), fileTried, m.ui.messages.size() - told, d.isVisible()),
                  std::tuple(found ? 1u : 0u, !found, found && starts ? 0u : 1u, true));
        EXPECT_TRUE(!found || m.ui.runs.at(0).program == "/opt/tools/hardinfo2");
        EXPECT_TRUE((found && starts) || m.ui.messages.back().request.title == "Πληροφορίες συστήματος");
    }
}

} // namespace
} // namespace vesmarin
