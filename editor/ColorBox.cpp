#include "editor/ColorBox.h"

#include <QPainter>
#include <QPixmap>

namespace {

struct NamedColor {
    const char *name;
    QRgb rgb;
};

// The sixteen standard colours.
const NamedColor kStandardColors[] = {
    {"Black", 0x000000}, {"Maroon", 0x800000}, {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},  {"Purple", 0x800080}, {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},   {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF}, {"White", 0xFFFFFF},
};

constexpr int kSwatchSize = 12;

QPixmap swatch(const QColor &color)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return pixmap;
}

} // namespace

TColorBox::TColorBox(QWidget *parent) : QComboBox(parent)
{
    for (const NamedColor &entry : kStandardColors) {
        const QColor color = QColor::fromRgb(entry.rgb);
        addItem(QIcon(swatch(color)), QString::fromLatin1(entry.name), color);
    }
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) { Q_EMIT colorSelected(selected()); });
}

QColor TColorBox::selected() const
{
    return currentIndex() < 0 ? QColor() : currentData().value<QColor>();
}

void TColorBox::setSelected(const QColor &color)
{
    setCurrentIndex(findData(color));
}
