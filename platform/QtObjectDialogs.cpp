#include "platform/QtObjectDialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

namespace {

const char kPictureFilter[] = "Pictures (*.png *.jpg *.jpeg *.bmp *.gif);;All files (*)";

} // namespace

std::optional<InsertObjectChoice> QtObjectDialogs::askInsertObject(QWidget *owner)
{
    QDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("Insert Object"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Create from file:"), &dialog));
    auto *row = new QHBoxLayout;
    auto *fileName = new QLineEdit(&dialog);
    fileName->setAccessibleName(QStringLiteral("File"));
    auto *browse = new QPushButton(QStringLiteral("Browse..."), &dialog);
    row->addWidget(fileName, 1);
    row->addWidget(browse);
    layout->addLayout(row);
    auto *asIcon = new QCheckBox(QStringLiteral("Display As Icon"), &dialog);
    layout->addWidget(asIcon);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(false);

    QObject::connect(fileName, &QLineEdit::textChanged, &dialog, [buttons](const QString &text) {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!text.trimmed().isEmpty());
    });
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, fileName] {
        const QString chosen = QFileDialog::getOpenFileName(&dialog, QStringLiteral("Browse"), fileName->text(),
                                                            QString::fromLatin1(kPictureFilter));
        if (!chosen.isEmpty())
            fileName->setText(chosen);
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return InsertObjectChoice{fileName->text().trimmed(), asIcon->isChecked()};
}

void QtObjectDialogs::showObjectProperties(QWidget *owner, const QString &typeName, const QString &details)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("%1 Properties").arg(typeName), details,
                    QMessageBox::Ok, owner);
    box.exec();
}

} // namespace platform
