#include "app/Hints.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QPalette>
#include <QToolTip>

namespace {
constexpr int kHintFontPoints = 10;
}

void applyHintStyle()
{
    QFont font(QStringLiteral("Courier New"), kHintFontPoints);
    font.setUnderline(true);
    QToolTip::setFont(font);
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, QApplication::palette().color(QPalette::ToolTipBase));
    QToolTip::setPalette(palette);
}

HintWatcher::HintWatcher(std::function<void()> aboutToShow) : aboutToShow_(std::move(aboutToShow))
{
    qApp->installEventFilter(this);
}

HintWatcher::~HintWatcher()
{
    qApp->removeEventFilter(this);
}

bool HintWatcher::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        aboutToShow_();
    return false;
}
