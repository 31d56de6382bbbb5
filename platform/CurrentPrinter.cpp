#include "platform/CurrentPrinter.h"

#include <QPrinter>

namespace platform {

namespace {

// The page setup dialog starts with 25 mm margins.
constexpr double kInitialMarginMm = 25.0;

} // namespace

CurrentPrinter::CurrentPrinter()
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      pageSetupMargins_(kInitialMarginMm, kInitialMarginMm, kInitialMarginMm, kInitialMarginMm)
{
    printer_->setCollateCopies(false); // the print dialog starts with collation off
}

CurrentPrinter::~CurrentPrinter() = default;

PrinterChoice CurrentPrinter::printerSetup() const
{
    const QPageLayout layout = printer_->pageLayout();
    return {printer_->printerName(), layout.pageSize(), layout.orientation()};
}

void CurrentPrinter::confirmPrinterSetup(const PrinterChoice &choice)
{
    // A new printer brings its own paper; the choice made for it comes after.
    if (!choice.printerName.isEmpty() && choice.printerName != printer_->printerName())
        printer_->setPrinterName(choice.printerName);
    printer_->setPageSize(choice.pageSize);
    printer_->setPageOrientation(choice.orientation);
}

QPageLayout CurrentPrinter::pageSetup() const
{
    const QPageLayout printerLayout = printer_->pageLayout();
    // No minimum of the dialog's own: the margins are the dialog's to keep
    // and are never printed with.
    return QPageLayout(printerLayout.pageSize(), printerLayout.orientation(), pageSetupMargins_,
                       QPageLayout::Millimeter);
}

void CurrentPrinter::confirmPageSetup(const QPageLayout &chosen)
{
    pageSetupMargins_ = chosen.margins(QPageLayout::Millimeter);
    printer_->setPageSize(chosen.pageSize());
    printer_->setPageOrientation(chosen.orientation());
}

} // namespace platform
