#include "editor/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

TUpDown::TUpDown(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (bool up : {true, false}) {
        auto *button = new QToolButton(this);
        button->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setAccessibleName(up ? QStringLiteral("Up") : QStringLiteral("Down"));
        connect(button, &QToolButton::clicked, this, [this, up] { step(up); });
        layout->addWidget(button);
    }
}

void TUpDown::setPosition(int position)
{
    position_ = std::clamp(position, minimum_, maximum_);
}

void TUpDown::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    setPosition(position_);
}

void TUpDown::step(bool up)
{
    Q_EMIT changing(position_, up);
    setPosition(position_ + (up ? 1 : -1));
}
