#include "platform/QtObjectDialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
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

std::optional<TableSize> QtObjectDialogs::askTableSize(QWidget *owner, const TableSizeRequest &request)
{
    QDialog dialog(owner);
    dialog.setWindowTitle(request.title);
    auto *form = new QFormLayout(&dialog);
    const auto box = [&dialog](int value, int most) {
        auto *spin = new QSpinBox(&dialog);
        spin->setRange(1, std::max(1, most));
        spin->setValue(value);
        return spin;
    };
    QSpinBox *rows = box(request.rows, request.maxRows);
    QSpinBox *columns = box(request.columns, request.maxColumns);
    form->addRow(request.rowsLabel, rows);
    form->addRow(request.columnsLabel, columns);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(request.okCaption);
    buttons->button(QDialogButtonBox::Cancel)->setText(request.cancelCaption);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return TableSize{rows->value(), columns->value()};
}

void QtObjectDialogs::showObjectProperties(QWidget *owner, const QString &typeName, const QString &details)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("%1 Properties").arg(typeName), details,
                    QMessageBox::Ok, owner);
    box.exec();
}

} // namespace platform
