#include "widgets/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
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
        button->setObjectName(up ? QStringLiteral("up") : QStringLiteral("down"));
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

void TUpDown::setBuddy(QLineEdit *buddy)
{
    buddy_ = buddy;
    buddy_->installEventFilter(this);
}

void TUpDown::step(bool up)
{
    if (buddy_) {
        bool ok = false;
        const int typed = buddy_->text().trimmed().toInt(&ok);
        if (ok)
            setPosition(typed);
    }
    Q_EMIT changing(up);
    setPosition(position_ + (up ? 1 : -1));
    if (buddy_)
        buddy_->setText(QString::number(position_));
}

bool TUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
