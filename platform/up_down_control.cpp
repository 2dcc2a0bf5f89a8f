#include "platform/up_down_control.h"

#include <QToolButton>

namespace sordanel {

namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType direction) {
    auto* arrow = new QToolButton(parent);
    arrow->setArrowType(direction);
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    return arrow;
}

}  // namespace

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent),
      upArrow_(MakeArrow(this, Qt::UpArrow)),
      downArrow_(MakeArrow(this, Qt::DownArrow)) {
    connect(upArrow_, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(downArrow_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

void UpDownControl::resizeEvent(QResizeEvent*) {
    const int upperHalf = height() / 2;
    upArrow_->setGeometry(0, 0, width(), upperHalf);
    downArrow_->setGeometry(0, upperHalf, width(), height() - upperHalf);
}

}  // namespace sordanel
