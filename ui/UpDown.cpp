#include "ui/UpDown.h"

#include "base/NumberText.h"

#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace vesmarin {

namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

UpDown::UpDown(QWidget* parent, QLineEdit* buddy, int minimum, int maximum)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum), value_(minimum),
      up_(MakeArrow(this, Qt::UpArrow)), down_(MakeArrow(this, Qt::DownArrow)) {
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDown::stepBy(int steps) {
    int current = value_;
    const auto read = ToInteger16(buddy_->text());
    if (const auto* n = std::get_if<std::int16_t>(&read))
        current = *n;
    value_ = std::clamp(current + steps, minimum_, maximum_);
    buddy_->setText(QString::number(value_));
}

void UpDown::resizeEvent(QResizeEvent*) {
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}

} // namespace vesmarin
