#include "ui/PleaseWaitWindow.h"

#include "ui/basGlobal.h"

#include <QLabel>
#include <QPalette>

namespace vesmarin {

namespace {

QLabel* MakeLine(QWidget* parent, const char* name, int top, const QColor& text, const QColor& back) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(TwipsToPixels(120), TwipsToPixels(top), TwipsToPixels(4932), TwipsToPixels(372));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(ProgramFont(12));
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Window, back);
    label->setPalette(p);
    return label;
}

} // namespace

frmPleaseWait::frmPleaseWait(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), owner_(owner) {
    setObjectName(QStringLiteral("frmPleaseWait"));
    setFixedSize(TwipsToPixels(5172), TwipsToPixels(1224));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(255, 255, 192));
    setPalette(p);
    const QColor darkBlue(0, 0, 192);
    lblBrowsing = MakeLine(this, "lblBrowsing", 120, darkBlue, QColor(192, 255, 192));
    lblPleaseWait = MakeLine(this, "lblPleaseWait", 720, QColor(255, 255, 0), darkBlue);
}

void frmPleaseWait::ShowCentredOnOwner() {
    if (owner_) {
        const QRect area = owner_->isVisible() ? owner_->frameGeometry() : owner_->geometry();
        move(area.center() - rect().center());
    }
    show();
    raise();
}

} // namespace vesmarin
