#include "ui/PleaseWaitWindow.h"

#include "ui/Layout.h"

#include <QLabel>
#include <QPalette>

namespace vesmarin {

namespace {

QLabel* MakeLine(QWidget* parent, const char* name, const QString& text, int top, const QColor& colour,
                 const QColor& background) {
    auto* label = Named(new QLabel(text, parent), name);
    PlaceInTwips(label, 120, top, 4932, 372);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(ProgramFont(12));
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Window, background);
    label->setPalette(p);
    return label;
}

} // namespace

PleaseWaitWindow::PleaseWaitWindow(QWidget* owner, const QString& operation, const QString& pleaseWait)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), owner_(owner) {
    setObjectName(QStringLiteral("frmPleaseWait"));
    setFixedSize(TwipsToPixels(5172), TwipsToPixels(1224));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(255, 255, 192));
    setPalette(p);
    const QColor darkBlue(0, 0, 192);
    operation_ = MakeLine(this, "lblBrowsing", operation, 120, darkBlue, QColor(192, 255, 192));
    MakeLine(this, "lblPleaseWait", pleaseWait, 720, QColor(255, 255, 0), darkBlue);
}

void PleaseWaitWindow::showCentredOnOwner() {
    if (owner_) {
        const QRect area = owner_->isVisible() ? owner_->frameGeometry() : owner_->geometry();
        move(area.center() - rect().center());
    }
    show();
    raise();
}

void PleaseWaitWindow::setOperation(const QString& operation) {
    operation_->setText(operation);
}

} // namespace vesmarin
