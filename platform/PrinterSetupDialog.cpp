#include "platform/PrinterSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace platform {

namespace {

// Offered when the printer names no sizes of its own (no printer at all, or a
// driver that does not say).
const QPageSize::PageSizeId kCommonPapers[] = {QPageSize::A3,     QPageSize::A4,    QPageSize::A5,
                                               QPageSize::B5,     QPageSize::Letter, QPageSize::Legal,
                                               QPageSize::Executive, QPageSize::Tabloid};

QList<QPageSize> papersOf(const QString &printerName)
{
    QList<QPageSize> sizes;
    if (!printerName.isEmpty())
        sizes = QPrinterInfo::printerInfo(printerName).supportedPageSizes();
    if (sizes.isEmpty()) {
        for (QPageSize::PageSizeId id : kCommonPapers)
            sizes.append(QPageSize(id));
    }
    return sizes;
}

} // namespace

PrinterSetupDialog::PrinterSetupDialog(const PrinterChoice &initial, QWidget *parent)
    : QDialog(parent),
      printers_(new QComboBox),
      papers_(new QComboBox),
      portrait_(new QRadioButton(QStringLiteral("&Portrait"))),
      landscape_(new QRadioButton(QStringLiteral("&Landscape")))
{
    setWindowTitle(QStringLiteral("Print Setup"));
    printers_->setObjectName(QStringLiteral("printers"));
    papers_->setObjectName(QStringLiteral("papers"));
    portrait_->setObjectName(QStringLiteral("portrait"));
    landscape_->setObjectName(QStringLiteral("landscape"));

    printerNames_ = QPrinterInfo::availablePrinterNames();
    if (!initial.printerName.isEmpty() && !printerNames_.contains(initial.printerName))
        printerNames_.prepend(initial.printerName);
    printers_->addItems(printerNames_);
    if (printerNames_.isEmpty())
        printers_->addItem(QStringLiteral("No printer installed"));
    printers_->setCurrentIndex(std::max(0, int(printerNames_.indexOf(initial.printerName))));
    printers_->setEnabled(printerNames_.size() > 1);
    fillPapers(initial.printerName, initial.pageSize);
    (initial.orientation == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);
    connect(printers_, &QComboBox::currentIndexChanged, this,
            [this] { fillPapers(choice().printerName, choice().pageSize); });

    auto *printerBox = new QGroupBox(QStringLiteral("Printer"));
    auto *printerForm = new QFormLayout(printerBox);
    printerForm->addRow(QStringLiteral("&Name:"), printers_);
    auto *paperBox = new QGroupBox(QStringLiteral("Paper"));
    auto *paperForm = new QFormLayout(paperBox);
    paperForm->addRow(QStringLiteral("Si&ze:"), papers_);
    auto *orientationBox = new QGroupBox(QStringLiteral("Orientation"));
    auto *orientationLayout = new QVBoxLayout(orientationBox);
    orientationLayout->addWidget(portrait_);
    orientationLayout->addWidget(landscape_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    layout->addWidget(paperBox);
    layout->addWidget(orientationBox);
    layout->addWidget(buttons);
}

void PrinterSetupDialog::fillPapers(const QString &printerName, const QPageSize &wanted)
{
    paperSizes_ = papersOf(printerName);
    qsizetype current = -1;
    for (qsizetype i = 0; i < paperSizes_.size() && current < 0; ++i) {
        if (paperSizes_.at(i).isEquivalentTo(wanted))
            current = i;
    }
    // The paper in use stays choosable even when the list does not name it.
    if (current < 0 && wanted.isValid()) {
        paperSizes_.prepend(wanted);
        current = 0;
    }
    papers_->clear();
    for (const QPageSize &size : std::as_const(paperSizes_))
        papers_->addItem(size.name());
    papers_->setCurrentIndex(int(std::max<qsizetype>(current, 0)));
}

PrinterChoice PrinterSetupDialog::choice() const
{
    PrinterChoice chosen;
    chosen.printerName = printerNames_.value(printers_->currentIndex());
    const int paper = papers_->currentIndex();
    if (paper >= 0 && paper < paperSizes_.size())
        chosen.pageSize = paperSizes_.at(paper);
    chosen.orientation = landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return chosen;
}

} // namespace platform
