#include "widgets/ColorBox.h"

#include <QPainter>
#include <QPixmap>

namespace {

struct RgbEntry {
    const char *name;
    QRgb rgb;
};

// The sixteen standard colours, then the four extended ones.
const RgbEntry kRgbColors[] = {
    {"Black", 0x000000}, {"Maroon", 0x800000}, {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},  {"Purple", 0x800080}, {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},   {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF}, {"White", 0xFFFFFF},
    {"Money Green", 0xC0DCC0}, {"Sky Blue", 0xA6CAF0}, {"Cream", 0xFFFBF0}, {"Medium Gray", 0xA4A0A0},
};

struct SystemEntry {
    const char *name;
    TColor::System which;
};

const SystemEntry kSystemColors[] = {
    {"Scroll Bar", TColor::System::ScrollBar},
    {"Background", TColor::System::Background},
    {"Active Caption", TColor::System::ActiveCaption},
    {"Inactive Caption", TColor::System::InactiveCaption},
    {"Menu", TColor::System::Menu},
    {"Window", TColor::System::Window},
    {"Window Frame", TColor::System::WindowFrame},
    {"Menu Text", TColor::System::MenuText},
    {"Window Text", TColor::System::WindowText},
    {"Caption Text", TColor::System::CaptionText},
    {"Active Border", TColor::System::ActiveBorder},
    {"Inactive Border", TColor::System::InactiveBorder},
    {"Application Workspace", TColor::System::AppWorkSpace},
    {"Highlight", TColor::System::Highlight},
    {"Highlight Text", TColor::System::HighlightText},
    {"Button Face", TColor::System::ButtonFace},
    {"Button Shadow", TColor::System::ButtonShadow},
    {"Gray Text", TColor::System::GrayText},
    {"Button Text", TColor::System::ButtonText},
    {"Inactive Caption Text", TColor::System::InactiveCaptionText},
    {"Button Highlight", TColor::System::ButtonHighlight},
    {"3D Dark Shadow", TColor::System::DarkShadow3D},
    {"3D Light", TColor::System::Light3D},
    {"Info Text", TColor::System::InfoText},
    {"Info Background", TColor::System::InfoBackground},
};

constexpr int kSwatchSize = 12; // pixels

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return QIcon(pixmap);
}

} // namespace

TColorBox::TColorBox(QWidget *parent) : QComboBox(parent)
{
    for (const RgbEntry &entry : kRgbColors) {
        const TColor color = TColor::fromRgb(entry.rgb);
        addItem(swatch(color.toQColor()), QString::fromLatin1(entry.name), QVariant::fromValue(color));
    }
    for (const SystemEntry &entry : kSystemColors) {
        const TColor color = TColor::system(entry.which);
        addItem(swatch(color.toQColor(palette())), QString::fromLatin1(entry.name), QVariant::fromValue(color));
    }
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) { Q_EMIT colorSelected(selected()); });
}

TColor TColorBox::selected() const
{
    return currentIndex() < 0 ? defaultColor_ : currentData().value<TColor>();
}

void TColorBox::setSelected(const TColor &color)
{
    for (int i = 0; i < count(); ++i) {
        if (itemData(i).value<TColor>() == color) {
            setCurrentIndex(i);
            return;
        }
    }
    setCurrentIndex(-1);
}
