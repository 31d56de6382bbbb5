#include "platform/PrinterSetupDialog.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Waits for a modal dialog of type Dialog to open and hands it to `answer`,
// which closes it.
template <typename Dialog>
void whenDialogOpens(std::function<void(Dialog *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

bool isA5(const QPageLayout &layout)
{
    return layout.pageSize().isEquivalentTo(QPageSize(QPageSize::A5));
}

} // namespace

// Qt's own page setup dialog, driven as a user would: a margin changed there
// leaves the printer's paper and orientation, chosen in printer setup, alone.
TEST(QtPrinting, SetupDialogsShareOnePrinterButNotTheirMargins)
{
    QTemporaryDir dir;
    platform::QtPlatform desktop;
    platform::Printing &printing = desktop.printing();
    QPrinter &printer = printing.currentPrinter();
    printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));

    int marginFields = -1;
    whenDialogOpens<QDialog>([&](QDialog *dialog) {
        marginFields = int(dialog->findChildren<QDoubleSpinBox *>().size());
        auto *papers = dialog->findChild<QComboBox *>(QStringLiteral("papers"));
        papers->setCurrentIndex(papers->findText(QPageSize(QPageSize::A5).name()));
        dialog->findChild<QRadioButton *>(QStringLiteral("landscape"))->click();
        dialog->accept();
    });
    printing.askPrinterSetup(nullptr);
    EXPECT_EQ(marginFields, 0);
    EXPECT_TRUE(isA5(printer.pageLayout()));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);

    bool shownLandscape = false;
    whenDialogOpens<QPageSetupDialog>([&](QPageSetupDialog *dialog) {
        shownLandscape = dialog->findChild<QRadioButton *>(QStringLiteral("landscape"))->isChecked();
        dialog->findChild<QDoubleSpinBox *>(QStringLiteral("leftMargin"))->setValue(40);
        dialog->accept();
    });
    printing.askPageSetup(nullptr);
    EXPECT_TRUE(shownLandscape);
    EXPECT_TRUE(isA5(printer.pageLayout()));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_LT(printer.pageLayout().margins(QPageLayout::Millimeter).left(), 40);

    // The page setup keeps its margin for its next opening.
    double leftShown = 0;
    whenDialogOpens<QPageSetupDialog>([&](QPageSetupDialog *dialog) {
        leftShown = dialog->findChild<QDoubleSpinBox *>(QStringLiteral("leftMargin"))->value();
        dialog->reject();
    });
    printing.askPageSetup(nullptr);
    EXPECT_NEAR(leftShown, 40, 0.5);
}

TEST(QtPrinting, PrintDialogStartsWithCollationOff)
{
    platform::QtPlatform desktop;
    bool collateShown = true;
    bool found = false;
    whenDialogOpens<QDialog>([&](QDialog *dialog) {
        if (auto *collate = dialog->findChild<QCheckBox *>(QStringLiteral("collate"))) {
            found = true;
            collateShown = collate->isChecked();
        }
        dialog->reject();
    });
    EXPECT_FALSE(desktop.printing().askPrint(nullptr));
    ASSERT_TRUE(found);
    EXPECT_FALSE(collateShown);
    EXPECT_FALSE(desktop.printing().currentPrinter().collateCopies());
}
