#include "widgets/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {
constexpr int kBarHeight = 19;
constexpr int kFontPixels = 11; // the classic window font's height, so the panel texts fit
}

StatusBar::StatusBar(int panelCount, QWidget *parent) : QFrame(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < panelCount; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        layout->addWidget(label, i == panelCount - 1 ? 1 : 0);
        panels_.append(label);
        widths_.append(0);
    }
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    setFixedHeight(kBarHeight);
    // A window narrower than the panels clips them instead of growing.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QString StatusBar::panelText(int index) const
{
    return panels_.at(index)->text();
}

void StatusBar::setPanelText(int index, const QString &text)
{
    panels_.at(index)->setText(text);
}

void StatusBar::setPanelAlignment(int index, Qt::Alignment alignment)
{
    panels_.at(index)->setAlignment(alignment | Qt::AlignVCenter);
}

void StatusBar::setPanelWidths(const QList<int> &widths)
{
    for (int i = 0; i < panels_.size() && i < widths.size(); ++i) {
        widths_[i] = widths.at(i);
        if (i != panels_.size() - 1) // the last one stretches
            panels_.at(i)->setFixedWidth(widths.at(i));
    }
}

int StatusBar::panelWidth(int index) const
{
    return widths_.at(index);
}
