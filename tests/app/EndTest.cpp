#include "app/MainWindowRig.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

using test::MainWindowRig;

// Hands an event to a window without the dispatcher, which would clear its spontaneous flag: the way a
// close from the window frame arrives.
void DeliverAsIs(QObject* receiver, QEvent* event) {
    receiver->event(event);
}

class Ending : public ::testing::Test {
protected:
    void SetUp() override {
        m.loadWith("[General]\nInitialPath=/tmp\n[Options]\nLevels=5\n");
        m.window->show();
    }
    MainWindowRig m;
};

TEST_F(Ending, EndWritesTheLevelsAndClosesTheWindow) {
    m.control<QLineEdit>("txtLevels")->setText(QStringLiteral("12"));
    m.control<QPushButton>("cmdEnd")->click();
    EXPECT_NE(m.ini().find("Levels=12\n"), std::string::npos) << m.ini();
    EXPECT_FALSE(m.window->isVisible());
}

TEST_F(Ending, ClosingFromTheFrameWritesNothing) {
    const std::string before = m.ini();
    m.control<QLineEdit>("txtLevels")->setText(QStringLiteral("12"));
    QCloseEvent fromFrame;
    QSpontaneKeyEvent::setSpontaneous(&fromFrame);
    DeliverAsIs(m.window.get(), &fromFrame);
    EXPECT_TRUE(fromFrame.isAccepted());
    EXPECT_EQ(m.ini(), before);
}

TEST_F(Ending, AnEmptyLevelsBoxStopsTheEndWithReport193) {
    const std::string before = m.ini();
    m.control<QLineEdit>("txtLevels")->clear();
    m.ui.answer(MsgButton::No);
    m.control<QPushButton>("cmdEnd")->click();
    ASSERT_EQ(m.ui.messages.size(), 1u);
    EXPECT_EQ(m.ui.messages[0].request.title, QStringLiteral("Vesmarin, 193."));
    EXPECT_TRUE(m.ui.messages[0].request.text.startsWith(
        QStringLiteral("Error condition 13 with the description 'Type mismatch'")));
    EXPECT_EQ(m.ini(), before);
    EXPECT_TRUE(m.window->isVisible()) << "No leaves the program running";
    EXPECT_EQ(m.ui.ended, 0);

    m.ui.answer(MsgButton::Yes);
    m.control<QPushButton>("cmdEnd")->click();
    EXPECT_EQ(m.ui.ended, 1);
    EXPECT_EQ(m.ini(), before);
}

} // namespace
} // namespace vesmarin
