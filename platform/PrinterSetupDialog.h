#pragma once

#include "platform/CurrentPrinter.h"

#include <QDialog>
#include <QList>
#include <QStringList>

class QComboBox;
class QRadioButton;

namespace platform {

// The printer setup dialog: the printer, its paper and the orientation, and
// nothing else. Qt's page setup and print dialogs both carry margin fields,
// which this dialog must not offer.
class PrinterSetupDialog : public QDialog {
public:
    explicit PrinterSetupDialog(const PrinterChoice &initial, QWidget *parent = nullptr);

    PrinterChoice choice() const;

private:
    void fillPapers(const QString &printerName, const QPageSize &wanted);

    QComboBox *printers_;
    QComboBox *papers_;
    QRadioButton *portrait_;
    QRadioButton *landscape_;
    QStringList printerNames_;    // one per entry of printers_; none without printers
    QList<QPageSize> paperSizes_; // one per entry of papers_
};

} // namespace platform
