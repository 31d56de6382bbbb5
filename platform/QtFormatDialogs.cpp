#include "platform/QtFormatDialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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

// Qt's dialog shows a family that is not installed as the font that stands in
// for it. Its family field shows the name asked for instead, until the user
// picks another family.
void showFamilyAsNamed(QFontDialog &fonts, const QString &named)
{
    const QString shown = fonts.currentFont().family();
    if (named.isEmpty() || named == shown)
        return;
    for (QLineEdit *field : fonts.findChildren<QLineEdit *>()) {
        if (field->isReadOnly() && field->text() == shown) {
            field->setText(named);
            field->setAccessibleName(QStringLiteral("Font"));
            return;
        }
    }
}

} // namespace

QFont keptUnlessChanged(const QFont &initial, const QFont &shown, const QFont &chosen)
{
    QFont kept = initial;
    if (chosen.family() != shown.family())
        kept.setFamilies({chosen.family()});
    if (chosen.pointSize() != shown.pointSize())
        kept.setPointSize(chosen.pointSize());
    if (chosen.bold() != shown.bold())
        kept.setBold(chosen.bold());
    if (chosen.italic() != shown.italic())
        kept.setItalic(chosen.italic());
    if (chosen.underline() != shown.underline())
        kept.setUnderline(chosen.underline());
    if (chosen.strikeOut() != shown.strikeOut())
        kept.setStrikeOut(chosen.strikeOut());
    return kept;
}

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
    const QFont shown = fonts->currentFont();
    showFamilyAsNamed(*fonts, initial.font.family());
    // The chooser is a dialog of its own, which Esc (and Return in its lists)
    // would close alone, leaving ours open around nothing.
    QObject::connect(fonts, &QDialog::rejected, &dialog, &QDialog::reject);
    QObject::connect(fonts, &QDialog::accepted, &dialog, &QDialog::accept);

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
    return FontChoice{keptUnlessChanged(initial.font, shown, fonts->currentFont()), color};
}

std::optional<QColor> QtFormatDialogs::askColor(QWidget *owner, const QColor &initial)
{
    const QColor picked = QColorDialog::getColor(initial, owner);
    if (!picked.isValid())
        return std::nullopt;
    return picked;
}

} // namespace platform
