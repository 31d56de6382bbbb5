#include "platform/QtFormatDialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

namespace {

void paintButton(QPushButton *button, const QColor &color)
{
    QPixmap swatch(32, 14);
    swatch.fill(color);
    button->setIcon(QIcon(swatch));
    button->setIconSize(swatch.size());
}

} // namespace

// Qt's font dialog has no colour: it sits in a dialog of ours with a colour
// button under it.
std::optional<FontChoice> QtFormatDialogs::askFont(QWidget *owner, const FontChoice &initial)
{
    QDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("Font"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *fonts = new QFontDialog(initial.font, &dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    layout->addWidget(fonts);

    QColor color = initial.color;
    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(QStringLiteral("Color:"), &dialog));
    auto *colorButton = new QPushButton(&dialog);
    colorButton->setAccessibleName(QStringLiteral("Color"));
    paintButton(colorButton, color);
    colorRow->addWidget(colorButton);
    colorRow->addStretch();
    layout->addLayout(colorRow);
    QObject::connect(colorButton, &QPushButton::clicked, &dialog, [&] {
        const QColor picked = QColorDialog::getColor(color, &dialog);
        if (picked.isValid()) {
            color = picked;
            paintButton(colorButton, color);
        }
    });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FontChoice{fonts->currentFont(), color};
}

std::optional<QColor> QtFormatDialogs::askColor(QWidget *owner, const QColor &initial)
{
    const QColor picked = QColorDialog::getColor(initial, owner);
    if (!picked.isValid())
        return std::nullopt;
    return picked;
}

} // namespace platform
