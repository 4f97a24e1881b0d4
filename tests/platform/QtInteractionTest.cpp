// The real desktop seam: what a person sees in its message boxes.
#include "platform/QtInteraction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace vesmarin {
namespace {

// Paths and names quoted in a message may look like markup; the box shows them as they stand.
TEST(QtInteraction, MessageBoxShowsMarkupLikeNamesAsPlainText) {
    QtInteraction ui;
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        format = box->textFormat();
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    MessageRequest request;
    request.text = QStringLiteral("Cannot read '/home/ann/<b>old</b> & new'.");
    request.title = QStringLiteral("Vesmarin");
    EXPECT_EQ(ui.messageBox(nullptr, request), MsgButton::Ok);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, request.text);
}

// A message from a dialog that is not shown yet belongs to the shown window that owns the dialog, so it
// appears over that window rather than in a corner of the screen.
TEST(QtInteraction, MessageBoxOfAWindowNotYetShownBelongsToItsShownOwner) {
    QtInteraction ui;
    QWidget main;
    main.setGeometry(300, 200, 400, 300);
    main.show();
    QDialog loading(&main);
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        owner = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
    MessageRequest request;
    request.text = QStringLiteral("Path/File access error");
    ui.messageBox(&loading, request);
    EXPECT_EQ(owner, &main);
}

} // namespace
} // namespace vesmarin
