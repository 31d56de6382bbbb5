#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <memory>

class QPrinter;

namespace platform {

// What the printer setup dialog shows and returns.
struct PrinterChoice {
    QString printerName; // empty: no printer to choose from
    QPageSize pageSize;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// The program-wide printer, which all three printing dialogs read when they
// open and change when confirmed, and the margins the page setup dialog keeps
// for itself: they are shown again at its next opening and never reach the
// printer, whose pages are always laid out in the whole printable area.
class CurrentPrinter {
public:
    CurrentPrinter();
    ~CurrentPrinter();
    CurrentPrinter(const CurrentPrinter &) = delete;
    CurrentPrinter &operator=(const CurrentPrinter &) = delete;

    QPrinter &printer() { return *printer_; }

    PrinterChoice printerSetup() const;
    void confirmPrinterSetup(const PrinterChoice &choice);

    // The printer's paper and orientation with the dialog's own margins.
    QPageLayout pageSetup() const;
    // Paper and orientation go to the printer; the margins stay here.
    void confirmPageSetup(const QPageLayout &chosen);

private:
    std::unique_ptr<QPrinter> printer_;
    QMarginsF pageSetupMargins_; // millimetres
};

} // namespace platform
