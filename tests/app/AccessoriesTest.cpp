#include "MainWindowFixture.h"
#include "support/TestHelpers.h"

#include "accessories/AboutWindow.h"
#include "accessories/CalculatorWindow.h"
#include "editor/TRxRichEdit.h"
#include "platform/QtPlatform.h"

#include <QAction>
#include <QCalendarWidget>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QTest>
#include <QToolButton>
#include <QUrl>

namespace {

int pdfPages(const QString &path)
{
    const QByteArray pdf = testhelpers::readFile(path);
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "));
}

// The size of the first page, in points.
QSizeF pdfPageSize(const QString &path)
{
    const QByteArray pdf = testhelpers::readFile(path);
    const qsizetype at = pdf.indexOf("/MediaBox [");
    if (at < 0)
        return {};
    const QList<QByteArray> numbers = pdf.mid(at + 11, 40).split(']').first().simplified().split(' ');
    return numbers.size() == 4 ? QSizeF(numbers[2].toDouble(), numbers[3].toDouble()) : QSizeF();
}

} // namespace

TEST_F(MainWindowTest, PrintingUsesTheWholePrintableAreaOnly)
{
    TForm1 &f = createForm();
    const QString pdf = dir.filePath("print.pdf");
    platform.printer.setOutputFile(pdf);
    toolButton(f, 6)->click(); // cancelled
    EXPECT_FALSE(QFileInfo::exists(pdf));

    platform.printer.printAnswer = true;
    RxRichEdit1(f)->setText("");
    QTest::keyClick(RxRichEdit1(f), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(pdfPages(pdf), 1); // an empty document is one blank page

    RxRichEdit1(f)->setText(QString("line of text\r\n").repeated(400));
    menuItem(f, "N66")->trigger();
    const int pages = pdfPages(pdf);
    EXPECT_GT(pages, 3);
    const QSizeF paper = platform.printer.currentPrinter().pageLayout().fullRectPoints().size();
    EXPECT_NEAR(pdfPageSize(pdf).width(), paper.width(), 1.0);
    EXPECT_NEAR(pdfPageSize(pdf).height(), paper.height(), 1.0);
    // Margins on the printer do not change the pages.
    platform.printer.currentPrinter().setPageMargins(QMarginsF(50, 50, 50, 50), QPageLayout::Millimeter);
    toolButton(f, 6)->click();
    EXPECT_EQ(pdfPages(pdf), pages);
    // Landscape paper prints landscape pages.
    platform.printer.currentPrinter().setPageOrientation(QPageLayout::Landscape);
    toolButton(f, 6)->click();
    EXPECT_GT(pdfPageSize(pdf).width(), pdfPageSize(pdf).height());
}

TEST_F(MainWindowTest, PaperAndOrientationFromEitherSetupReachThePrintoutButNoMargins)
{
    TForm1 &f = createForm();
    const QString pdf = dir.filePath("print.pdf");
    platform.printer.setOutputFile(pdf);
    platform.printer.currentPrinter().setPageSize(QPageSize(QPageSize::A4));
    platform.printer.printAnswer = true;
    RxRichEdit1(f)->setText(QString("line of text\r\n").repeated(400));
    toolButton(f, 6)->click();
    const int fullAreaPages = pdfPages(pdf);

    // Landscape A5 in printer setup, then a page setup that only widens a margin.
    platform.printer.printerSetupEdit = [](platform::PrinterChoice &choice) {
        choice.pageSize = QPageSize(QPageSize::A5);
        choice.orientation = QPageLayout::Landscape;
    };
    QTest::keyClick(RxRichEdit1(f), Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    platform.printer.pageSetupEdit = [](QPageLayout &layout) {
        layout.setMargins(QMarginsF(60, 25, 25, 25));
    };
    QTest::keyClick(RxRichEdit1(f), Qt::Key_Backspace, Qt::ShiftModifier | Qt::AltModifier);
    ASSERT_EQ(platform.printer.pageSetupsShown.size(), 1);
    EXPECT_EQ(platform.printer.pageSetupsShown[0].orientation(), QPageLayout::Landscape); // it read the printer
    toolButton(f, 6)->click();
    const QSizeF a5 = QPageSize(QPageSize::A5).size(QPageSize::Point);
    EXPECT_NEAR(pdfPageSize(pdf).width(), a5.height(), 1.0);
    EXPECT_NEAR(pdfPageSize(pdf).height(), a5.width(), 1.0);
    const int landscapeA5Pages = pdfPages(pdf);

    // Back to portrait A4 through page setup: the pages are those of the whole
    // area again, whatever margins either dialog holds.
    platform.printer.pageSetupEdit = [](QPageLayout &layout) {
        EXPECT_EQ(layout.margins(), QMarginsF(60, 25, 25, 25)); // kept for its next opening
        layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 50, 50, 50),
                             QPageLayout::Millimeter);
    };
    menuItem(f, "N48")->trigger();
    toolButton(f, 6)->click();
    EXPECT_LT(pdfPageSize(pdf).width(), pdfPageSize(pdf).height());
    EXPECT_EQ(pdfPages(pdf), fullAreaPages);
    EXPECT_GT(landscapeA5Pages, fullAreaPages);
}

TEST_F(MainWindowTest, PrintJobThatCannotStartShowsTheErrorBox)
{
    TForm1 &f = createForm();
    const QString pdf = dir.filePath("missing/print.pdf");
    platform.printer.setOutputFile(pdf);
    platform.printer.printAnswer = true;
    toolButton(f, 6)->click();
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_EQ(platform.boxes.messages.first().icon, platform::MessageIcon::Error);
    EXPECT_EQ(platform.boxes.messages.first().text, "Unable to print to " + pdf + ".");
}

TEST_F(MainWindowTest, SetupDialogsOpenFromTheirButtonsItemsAndKeys)
{
    TForm1 &f = createForm();
    QTest::keyClick(RxRichEdit1(f), Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    menuItem(f, "N65")->trigger();
    EXPECT_EQ(platform.printer.printerSetupAsked, 2);
    QTest::keyClick(RxRichEdit1(f), Qt::Key_Backspace, Qt::ShiftModifier | Qt::AltModifier);
    menuItem(f, "N48")->trigger();
    EXPECT_EQ(platform.printer.pageSetupAsked, 2);
}

TEST_F(MainWindowTest, AboutWindowFollowsTheLanguageAndItsLinksRunTheActions)
{
    TForm1 &f = createForm();
    QStringList texts;
    platform.modal.inspect = [&](QDialog &window) {
        for (QLabel *label : window.findChildren<QLabel *>())
            texts.append(label->text());
        EXPECT_EQ(window.geometry(), QRect(400, 300, 428, 238));
        QLabel *site = window.findChild<QLabel *>("SiteLabel");
        QTest::mouseClick(site, Qt::LeftButton);
        QTest::mouseClick(window.findChild<QLabel *>("MailLabel"), Qt::LeftButton);
    };
    QTest::keyClick(RxRichEdit1(f), Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(platform.modal.titles, QStringList{"Veltrix 3.0"});
    EXPECT_TRUE(texts.contains("Developer*s web-site"));
    EXPECT_TRUE(texts.contains("Date of release"));
    EXPECT_TRUE(texts.contains("16.02.2003"));
    ASSERT_EQ(platform.shellOpen.opened.size(), 2);
    EXPECT_TRUE(texts.contains(platform.shellOpen.opened[0])); // the site shown is the site opened
    EXPECT_TRUE(platform.shellOpen.opened[1].startsWith("mailto:"));

    texts.clear();
    platform.modal.inspect = [&](QDialog &window) {
        for (QLabel *label : window.findChildren<QLabel *>())
            texts.append(label->text());
    };
    useLanguage(f, false);
    menuItem(f, "N102")->trigger();
    EXPECT_TRUE(texts.contains("Сайт автора"));
    EXPECT_EQ(texts.count("Veltrix"), 1); // a new window: nothing accumulated
}

TEST_F(MainWindowTest, CalendarShowsTheCurrentMonth)
{
    TForm1 &f = createForm();
    QDate shown;
    platform.modal.inspect = [&](QDialog &window) {
        EXPECT_EQ(window.geometry(), QRect(300, 200, 200, 200));
        shown = window.findChild<QCalendarWidget *>()->selectedDate();
    };
    QTest::keyClick(RxRichEdit1(f), Qt::Key_F12);
    EXPECT_EQ(platform.modal.titles, QStringList{"Calendar"});
    EXPECT_EQ(shown, QDate::currentDate());
}

TEST_F(MainWindowTest, MailHelpAndLinksGoToTheDesktop)
{
    TForm1 &f = createForm();
    f.show();
    RxRichEdit1(f)->setText("a & b");
    QTest::keyClick(RxRichEdit1(f), Qt::Key_J, Qt::ControlModifier);
    QTest::keyClick(RxRichEdit1(f), Qt::Key_F1);
    ASSERT_EQ(platform.shellOpen.opened.size(), 2);
    EXPECT_TRUE(platform.shellOpen.opened[0].endsWith("&Body=%20a%20%26%20b"));
    EXPECT_EQ(platform.shellOpen.opened[1], "HELP.chm");

    RxRichEdit1(f)->setText("see www.example.org now");
    QCoreApplication::processEvents();
    QTextCursor at(RxRichEdit1(f)->document());
    at.setPosition(6);
    QTest::mouseClick(RxRichEdit1(f)->viewport(), Qt::RightButton, Qt::NoModifier, RxRichEdit1(f)->cursorRect(at).center());
    EXPECT_EQ(platform.shellOpen.opened.last(), "http://www.example.org");
}

// A relative "file:" link names a file beside the document, which opens only
// when the user agrees.
TEST_F(MainWindowTest, AFileLinkIsFoundBesideTheDocumentAndAskedAbout)
{
    TForm1 &f = createForm();
    f.show();
    const QString document = dir.filePath("letter.txt");
    const QString notes = dir.filePath("notes.txt");
    ASSERT_TRUE(testhelpers::writeFile(document, "see file:notes.txt now"));
    ASSERT_TRUE(testhelpers::writeFile(notes, "notes"));
    platform.files.answers = {document};
    QTest::keyClick(RxRichEdit1(f), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(f.document().currentFileName(), document);
    QCoreApplication::processEvents();
    platform.boxes.answers = {platform::Answer::Yes};
    QTextCursor at(RxRichEdit1(f)->document());
    at.setPosition(8);
    QTest::mouseClick(RxRichEdit1(f)->viewport(), Qt::LeftButton, Qt::NoModifier, RxRichEdit1(f)->cursorRect(at).center());
    ASSERT_EQ(platform.boxes.questions.size(), 1);
    EXPECT_TRUE(platform.boxes.questions[0].text.contains(notes));
    EXPECT_EQ(platform.shellOpen.opened, QStringList{notes});
}

TEST(ShellTarget, RelativeNamesAreFilesInTheCurrentFolderAndAddressesStayAddresses)
{
    EXPECT_EQ(platform::shellTarget("HELP.chm"), QUrl::fromLocalFile(QDir::current().absoluteFilePath("HELP.chm")));
    EXPECT_EQ(platform::shellTarget("www.example.org").toString(), "http://www.example.org");
    EXPECT_EQ(platform::shellTarget("https://example.org/a?b=c").toString(), "https://example.org/a?b=c");
    EXPECT_EQ(platform::shellTarget("mailto:x@example.org?Body=%26").scheme(), "mailto");
}

TEST_F(MainWindowTest, CalculatorOpensFromItsButtonItemsAndKey)
{
    TForm1 &f = createForm();
    TForm2 calculator(*RxRichEdit1(f), [](const QString &) {});
    f.setCalculator(&calculator);
    EXPECT_FALSE(calculator.isVisible());
    QTest::keyClick(RxRichEdit1(f), Qt::Key_F1, Qt::ControlModifier);
    EXPECT_TRUE(calculator.isVisible());
    calculator.close(); // closing only hides it
    menuItem(f, "N98")->trigger();
    EXPECT_TRUE(calculator.isVisible());
}
