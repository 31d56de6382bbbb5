#include "RichEditFixture.h"

#include "editor/EditorLayout.h"
#include "formats/CodePages.h"
#include "formats/ParagraphFormat.h"
#include "platform/VeltrixError.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kRtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}"
                        "\\pard\\b bold\\b0  plain\\par}";

} // namespace

TEST_F(RichEditTest, FileFormatFollowsTheExtensionThenTheMode)
{
    // .TXT in any case is plain text even in rich mode: the RTF shows as it is.
    editor->LoadFile(writeFile("a.TXT", kRtf));
    EXPECT_TRUE(editor->Text().startsWith("{\\rtf1"));
    // .rtf is RTF even in plain mode; the mode keeps only the characters.
    editor->setPlainTextMode(true);
    editor->LoadFile(writeFile("b.rtf", kRtf));
    EXPECT_EQ(editor->Text(), "bold plain");
    // Anything else follows the mode.
    editor->LoadFile(writeFile("c.ini", kRtf));
    EXPECT_TRUE(editor->Text().startsWith("{\\rtf1"));
    editor->setPlainTextMode(false);
    editor->LoadFile(writeFile("d.ini", kRtf));
    EXPECT_EQ(editor->Text(), "bold plain");
    select(0, 1);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
    EXPECT_EQ(editor->SelectionStart(), 0);
}

TEST_F(RichEditTest, PlainTextReadInRichModeIsUnformattedText)
{
    editor->LoadFile(writeFile("plain.rtf", "just text\nsecond"));
    EXPECT_EQ(editor->Text(), "just text\r\nsecond");
}

TEST_F(RichEditTest, EveryKindOfLineBreakLoadsOneParagraphPerLine)
{
    for (const QByteArray &content : {QByteArray("a\nb\nc"), QByteArray("a\rb\rc"), QByteArray("a\r\nb\r\nc")}) {
        editor->LoadFile(writeFile("breaks.txt", content));
        EXPECT_EQ(editor->document()->blockCount(), 3) << content.toStdString();
        EXPECT_EQ(editor->Text(), "a\r\nb\r\nc");
    }
}

TEST_F(RichEditTest, PlainTextFilesAreWrittenBackAsTheyWereRead)
{
    const QByteArray cyrillic1251 = codepage::encodeWindows1251(u"Привет, мир\r\nЁлка");
    const QByteArray utf8Lf = QString("Привет\nмир\n").toUtf8();
    for (const QByteArray &content : {cyrillic1251, utf8Lf, QByteArray("nul\0inside", 10)}) {
        const QString path = writeFile("round.txt", content);
        editor->LoadFile(path);
        editor->SaveFile(path);
        EXPECT_EQ(readFile(path), content);
    }
    // The whole file loads, past a NUL byte.
    editor->LoadFile(writeFile("nul.txt", QByteArray("before\0after", 12)));
    EXPECT_TRUE(editor->Text().endsWith("after"));
}

TEST_F(RichEditTest, ACharacterTheEncodingLacksTurnsTheFileIntoUtf8)
{
    const QString path = writeFile("lossless.txt", codepage::encodeWindows1251(u"Текст"));
    editor->LoadFile(path);
    editor->setSelectionStart(editor->TextLength());
    editor->setSelectedText(QString::fromUtf8("中"));
    editor->SaveFile(path);
    EXPECT_EQ(readFile(path), QByteArray("\xEF\xBB\xBF") + QString("Текст中").toUtf8());
}

// Files of several megabytes are read, decoded and written a piece at a time:
// nothing may change where one piece ends and the next begins.
TEST_F(RichEditTest, LargeFilesLoadAndSaveWhole)
{
    constexpr int kLines = 48 * 1024; // past the first piece of bytes and of characters
    // UTF-8 letters of two bytes after one ASCII byte: a piece of bytes ends
    // inside a letter.
    const QString letters = QLatin1Char('a') + QString(62, QChar(0x0416)) + QLatin1Char('\n');
    // Windows-1251 whose first letter comes only after the first piece: read
    // as UTF-8 until then, and read again.
    const QString ascii = QString(62, QLatin1Char('x')) + QStringLiteral("\r\n");
    const QString late = ascii.repeated(kLines) + QStringLiteral("Ёлка");
    const QByteArray files[] = {letters.repeated(kLines).toUtf8(), codepage::encodeWindows1251(late)};
    for (const QByteArray &content : files) {
        const QString path = writeFile("large.txt", content);
        editor->LoadFile(path);
        editor->finishLoading();
        EXPECT_EQ(editor->document()->blockCount(), kLines + 1);
        editor->SaveFile(path);
        EXPECT_TRUE(readFile(path) == content);
    }
    EXPECT_TRUE(editor->Text() == late);

    // A character Windows-1251 lacks after the first piece written: the whole
    // file becomes UTF-8.
    editor->setSelectionStart(editor->TextLength());
    editor->setSelectedText(QString::fromUtf8("中"));
    const QString path = dir.filePath("lossless.txt");
    editor->SaveFile(path);
    EXPECT_TRUE(readFile(path) == QByteArray("\xEF\xBB\xBF") + (late + QString::fromUtf8("中")).toUtf8());
    // The same in the first half of a file that two threads write.
    editor->LoadFile(writeFile("late.txt", codepage::encodeWindows1251(late)));
    editor->finishLoading();
    editor->setSelectionStart(1);
    editor->setSelectedText(QString::fromUtf8("中"));
    editor->SaveFile(path);
    EXPECT_TRUE(readFile(path) == QByteArray("\xEF\xBB\xBF") + (late.first(1) + QString::fromUtf8("中") + late.sliced(1)).toUtf8());
}

// A large file is shown once its start is in and takes keys while the rest
// comes in: what is typed stays where it was typed, the file's text is not
// the user's change, and whatever writes the document first takes in the rest.
TEST_F(RichEditTest, ALargeFileTakesKeysWhileItsRestComesIn)
{
    constexpr int kLines = 20000;
    const QString text = QStringLiteral("Строка текста, line of text\r\n").repeated(kLines);
    const QByteArray content = codepage::encodeWindows1251(text);
    const QString path = writeFile("big.txt", content);
    editor->setCharactersBeforeShown(1000);
    const auto loadAndWait = [&](const QString &typed) {
        editor->LoadFile(path);
        editor->setModified(false);
        EXPECT_TRUE(editor->isLoading());
        EXPECT_LT(editor->document()->blockCount(), kLines);
        if (!typed.isEmpty()) {
            editor->setSelectionStart(0);
            QTest::keyClicks(editor.get(), typed);
        }
        EXPECT_FALSE(editor->CanUndo()); // nothing before the whole file is in
        QDeadlineTimer deadline(60000);
        while (editor->isLoading() && !deadline.hasExpired())
            QApplication::processEvents();
        EXPECT_FALSE(editor->isLoading());
    };

    loadAndWait(QString());
    EXPECT_FALSE(editor->IsModified());
    EXPECT_TRUE(editor->Text() == text);

    loadAndWait(QStringLiteral("Hi "));
    EXPECT_TRUE(editor->IsModified());
    EXPECT_TRUE(editor->Text().startsWith(QStringLiteral("Hi Строка текста, line of text\r\nСтрока")));
    QTest::keyClicks(editor.get(), QStringLiteral("x"));
    EXPECT_TRUE(editor->CanUndo()); // the document keeps undo steps again
    editor->Undo();
    editor->SaveFile(path);
    EXPECT_TRUE(readFile(path) == codepage::encodeWindows1251(QStringLiteral("Hi ") + text));

    // Saved, printed or replaced at once: the whole file first.
    testhelpers::writeFile(path, content);
    editor->LoadFile(path);
    ASSERT_TRUE(editor->isLoading());
    const QString copy = dir.filePath("copy.txt");
    editor->SaveFile(copy);
    EXPECT_FALSE(editor->isLoading());
    EXPECT_TRUE(readFile(copy) == content);

    // Ctrl+End goes to the end of the file, not of what came in so far.
    editor->LoadFile(path);
    ASSERT_TRUE(editor->isLoading());
    QTest::keyClick(editor.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_FALSE(editor->isLoading());
    QTest::keyClicks(editor.get(), "Z");
    EXPECT_TRUE(editor->Text() == text + QStringLiteral("Z"));

    // Another file opened, or the editor closed, while one loads: its reading stops.
    editor->LoadFile(path);
    ASSERT_TRUE(editor->isLoading());
    editor->LoadFile(writeFile("small.txt", "small"));
    EXPECT_FALSE(editor->isLoading());
    EXPECT_EQ(editor->Text(), "small");
    editor->LoadFile(path);
    ASSERT_TRUE(editor->isLoading());
    editor.reset();
}

// Lines of megabytes, which come in whole once shown, keep their place and text.
TEST_F(RichEditTest, VeryLongLinesComeInWhole)
{
    const QByteArray content = QByteArray(300000, 'x') + "\nshort\n" + QByteArray(200000, 'y') + "\n" +
                               QByteArray(150000, 'z');
    editor->setCharactersBeforeShown(1000);
    const QString path = writeFile("long.txt", content);
    editor->LoadFile(path);
    ASSERT_TRUE(editor->isLoading());
    editor->finishLoading();
    EXPECT_EQ(editor->document()->blockCount(), 4);
    editor->SaveFile(path);
    EXPECT_TRUE(readFile(path) == content);
}

// The lines of a file counted as it comes in are the lines it shows.
TEST_F(RichEditTest, AFileCountsTheLinesItShowsWhileItComesIn)
{
    // Short lines, lines that wrap, tabs, empty lines: many in each step.
    const QString shapes = QStringLiteral("short\n") + QString(300, QLatin1Char('w')) +
                           QStringLiteral("\n\ttab\tbed\n\n") + QStringLiteral("two words ").repeated(40) +
                           QStringLiteral("\n");
    editor->setCharactersBeforeShown(1000);
    editor->LoadFile(writeFile("shapes.txt", shapes.repeated(3000).toUtf8()));
    editor->finishLoading();
    const int counted = editor->LineCount();
    editor->setWordWrap(false);
    editor->setWordWrap(true); // every paragraph measured anew from the document
    EXPECT_EQ(editor->LineCount(), counted);
    EXPECT_GT(counted, 6 * 3000);
}

TEST_F(RichEditTest, RtfRoundTripKeepsTextAndFormats)
{
    editor->setText("Заголовок\r\nitem");
    select(0, 9);
    editor->SelectionFormat().setStyle(FontStyle::Bold | FontStyle::Italic);
    editor->SelectionFormat().setColor(TColor::fromRgb(0x800000));
    editor->SelectionFormat().setSize(18);
    editor->ParagraphFormat().setAlignment(TAlignment::Center);
    editor->setSelectionStart(11);
    editor->ParagraphFormat().setListStyle(paraformat::ListStyle::UpCaseRoman);
    const QString path = dir.filePath("doc.rtf");
    editor->SaveFile(path);

    TRxRichEdit other;
    other.LoadFile(path);
    EXPECT_EQ(other.Text(), editor->Text());
    other.setSelectionStart(0);
    other.setSelectionLength(9);
    EXPECT_EQ(other.SelectionFormat().Style(), FontStyle::Bold | FontStyle::Italic);
    EXPECT_EQ(other.SelectionFormat().Color(), TColor::fromRgb(0x800000));
    EXPECT_EQ(other.SelectionFormat().Size(), 18);
    EXPECT_EQ(other.ParagraphFormat().Alignment(), TAlignment::Center);
    other.setSelectionStart(11);
    EXPECT_EQ(other.ParagraphFormat().ListStyle(), paraformat::ListStyle::UpCaseRoman);
    EXPECT_EQ(other.ParagraphFormat().OtherLinesIndent(), 10);
}

TEST_F(RichEditTest, AFailedSaveNamesThePathAndTouchesNothing)
{
    const QString path = writeFile("keep.txt", "old content");
    const QString unwritable = dir.filePath("keep.txt/inside.txt"); // its folder is a file
    editor->setText("new");
    try {
        editor->SaveFile(unwritable);
        FAIL() << "no error";
    } catch (const VeltrixError &error) {
        EXPECT_TRUE(error.message().contains(QFileInfo(unwritable).fileName()));
    }
    EXPECT_EQ(readFile(path), "old content");
}

// Saving over another user's file (as root, or over a group's file) keeps
// who owns it and who may read it.
TEST_F(RichEditTest, SavingKeepsTheFilesPermissionsAndOwner)
{
    const QString path = writeFile("shared.rtf", kRtf);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 4321, 4321), 0);
    }
    editor->setText("new");
    editor->SaveFile(path);
    struct stat saved {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 0777, 0640u);
    if (root) {
        EXPECT_EQ(saved.st_uid, 4321u);
        EXPECT_EQ(saved.st_gid, 4321u);
    }
    EXPECT_TRUE(readFile(path).contains("new"));
}

TEST_F(RichEditTest, LoadingAMissingFileRaisesAnError)
{
    editor->setText("kept");
    EXPECT_THROW(editor->LoadFile(dir.filePath("missing.rtf")), VeltrixError);
    EXPECT_EQ(editor->Text(), "kept");
}

TEST_F(RichEditTest, CopyCarriesRtfAndPasteKeepsTheFormat)
{
    editor->setText("bold rest");
    select(0, 4);
    editor->SelectionFormat().setStyle(FontStyle::Bold);
    editor->Copy();
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(copied);
    EXPECT_TRUE(copied->hasFormat("text/rtf"));
    EXPECT_EQ(copied->text(), "bold");

    editor->setSelectionStart(editor->TextLength());
    editor->Paste();
    EXPECT_EQ(editor->Text(), "bold restbold");
    select(9, 4);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
}

TEST_F(RichEditTest, PrintingFillsAPdfPage)
{
    editor->setText(QString("line\r\n").repeated(200));
    const QString pdf = dir.filePath("out.pdf");
    platform.printer.setOutputFile(pdf);
    editor->PrintDocument("Document");
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    EXPECT_TRUE(readFile(pdf).contains("/Type /Page"));
}

TEST_F(RichEditTest, PrintJobThatCannotStartIsAnErrorAndLeavesThePrinterAsItWas)
{
    editor->setText("text");
    QPrinter &printer = platform.printer.currentPrinter();
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    const QPageLayout chosen = printer.pageLayout();
    const QString pdf = dir.filePath("missing/out.pdf"); // its folder does not exist
    platform.printer.setOutputFile(pdf);
    try {
        editor->PrintDocument("Document");
        ADD_FAILURE() << "a job that could not start was taken for printed";
    } catch (const VeltrixError &e) {
        EXPECT_EQ(e.message(), "Unable to print to " + pdf);
    }
    EXPECT_TRUE(printer.pageLayout().isEquivalentTo(chosen));
    // Once the file can be created, the same printer prints.
    ASSERT_TRUE(QDir(dir.path()).mkdir("missing"));
    editor->PrintDocument("Document");
    EXPECT_TRUE(readFile(pdf).contains("/Type /Page"));
}

// Objects with no file of their own are opened from copies that nobody else
// can read or swap, and that go with the editor.
TEST_F(RichEditTest, OpenedObjectsAreCopiedIntoAPrivateFolderOfTheRun)
{
    const QString temp = dir.filePath("tmp");
    ASSERT_TRUE(QDir().mkpath(temp));
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp));
    QList<QTextImageFormat> objects;
    for (const QColor color : {QColor(Qt::red), QColor(Qt::blue)}) {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(color);
        const QString file = dir.filePath(QStringLiteral("pic%1.png").arg(objects.size()));
        ASSERT_TRUE(picture.save(file));
        platform.objects.choice = platform::InsertObjectChoice{file, false};
        editor->setSelectionStart(editor->TextLength());
        ASSERT_TRUE(editor->InsertObjectByDialog());
        objects.append(editor->selectedObject());
        ASSERT_TRUE(QFile::remove(file)); // as a picture read from a document: no file
    }
    // A link planted where copies used to go is not followed.
    const QString target = dir.filePath("target.txt");
    for (const QTextImageFormat &object : objects)
        ASSERT_TRUE(QFile::link(target, QDir(temp).filePath(QStringLiteral("veltrix-object-%1.png").arg(qHash(object.name())))));

    for (const QTextImageFormat &object : objects)
        editor->openObject(object);
    qputenv("TMPDIR", oldTemp);
    EXPECT_FALSE(QFileInfo::exists(target));
    ASSERT_EQ(platform.shellOpen.opened.size(), 2);
    const QFileInfo first(platform.shellOpen.opened[0]);
    const QFileInfo second(platform.shellOpen.opened[1]);
    EXPECT_NE(first.filePath(), second.filePath());
    EXPECT_EQ(first.absolutePath(), second.absolutePath());
    EXPECT_EQ(QFileInfo(first.absolutePath()).absolutePath(), QFileInfo(temp).absoluteFilePath());
    EXPECT_EQ(QImage(first.filePath()).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(QImage(second.filePath()).pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(QFileInfo(first.absolutePath()).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(first.permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);

    editor.reset();
    EXPECT_FALSE(QFileInfo::exists(first.absolutePath()));
}

TEST_F(RichEditTest, InsertedPictureIsSelectedAndCancelInsertsNothing)
{
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString file = dir.filePath("pic.png");
    ASSERT_TRUE(picture.save(file));
    editor->setText("ab");
    editor->setSelectionStart(1);

    EXPECT_FALSE(editor->InsertObjectByDialog()); // cancelled
    EXPECT_EQ(editor->Text(), "ab");
    // Nothing selected, or a letter, is no object.
    EXPECT_FALSE(editor->selectedObject().isValid());
    select(0, 1);
    EXPECT_FALSE(editor->selectedObject().isValid());
    editor->setSelectionStart(1);

    platform.objects.choice = platform::InsertObjectChoice{file, false};
    EXPECT_TRUE(editor->InsertObjectByDialog());
    EXPECT_EQ(editor->TextLength(), 3);
    EXPECT_EQ(editor->SelectionStart(), 1);
    EXPECT_EQ(editor->SelectionLength(), 1);
    const QTextImageFormat object = editor->selectedObject();
    ASSERT_TRUE(object.isValid());
    EXPECT_EQ(TRxRichEdit::objectTypeName(object), "PNG Image");
    EXPECT_TRUE(editor->objectDetails(object).contains("20 x 10"));
    editor->openObject(object);
    EXPECT_EQ(platform.shellOpen.opened, QStringList{QFileInfo(file).absoluteFilePath()});

    // Any other file, and any file shown as an icon, goes in as its icon; a
    // picture so shown keeps its type.
    const auto insertedType = [&](const QString &path, bool asIcon) {
        platform.objects.choice = platform::InsertObjectChoice{path, asIcon};
        editor->setSelectionStart(editor->TextLength());
        return editor->InsertObjectByDialog() ? TRxRichEdit::objectTypeName(editor->selectedObject()) : QString();
    };
    EXPECT_EQ(insertedType(writeFile("report.pdf", "%PDF-1.4 not a picture"), false), "Package");
    EXPECT_EQ(insertedType(writeFile("bad.png", "not a picture"), false), "Package");
    EXPECT_EQ(insertedType(file, true), "PNG Image");
    EXPECT_NE(editor->selectedObject().width(), 20); // the icon, not the picture
    EXPECT_EQ(editor->TextLength(), 6);
    // A launcher inserted as an object is shown in the file manager, not started.
    const QString launcher = writeFile("run.desktop", "[Desktop Entry]\nExec=touch pwned\n");
    EXPECT_EQ(insertedType(launcher, false), "Package");
    editor->openObject(editor->selectedObject());
    EXPECT_EQ(platform.shellOpen.shownInFileManager, QStringList{launcher});
    EXPECT_EQ(platform.shellOpen.opened.size(), 1);
    editor->Undo();

    // Only what cannot be read is refused, and nothing goes in.
    EXPECT_THROW(insertedType(dir.filePath("missing.pdf"), true), VeltrixError);
    EXPECT_THROW(insertedType(dir.path(), false), VeltrixError);
    EXPECT_EQ(editor->TextLength(), 6);
}

// Printing lays the document out with Qt's own layout, which numbers every
// list from 1 and puts the number left of the text, off the page when it is
// wide: the copy printed carries each number as the editor shows it, where it
// shows it.
TEST_F(RichEditTest, PrintedListsShowTheNumbersAndPlacesOfTheScreen)
{
    editor->setText("one\r\nsub\r\ntwo\r\nthree");
    QTextDocument *document = editor->document();
    QTextList *outer = nullptr;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        const bool sub = block.text() == "sub";
        paraformat::setIndents(format, {sub ? 20 : 0, 10, 0}, true);
        cursor.setBlockFormat(format);
        if (sub)
            cursor.createList(paraformat::listFormat(paraformat::ListStyle::LoCaseLetter, 1));
        else if (outer)
            outer->add(block);
        else
            outer = cursor.createList(paraformat::listFormat(paraformat::ListStyle::UpCaseRoman, 0, 7));
    }

    std::unique_ptr<QTextDocument> copy(document->clone());
    static_cast<EditorLayout *>(document->documentLayout())->writeListMarkersInto(*copy);
    copy->setPageSize(QSizeF(600, 800));
    copy->documentLayout()->documentSize();
    QStringList texts;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        texts << block.text();
        EXPECT_FALSE(block.textList());
        const QTextBlock shown = document->findBlockByNumber(block.blockNumber());
        document->documentLayout()->blockBoundingRect(shown); // laid out now
        const QTextLine printed = block.layout()->lineAt(0);
        EXPECT_GE(printed.x(), 0) << block.text().toStdString();
        const int marker = int(block.text().indexOf('\t'));
        EXPECT_NEAR(printed.cursorToX(marker + 1), shown.layout()->lineAt(0).cursorToX(0), 1.5)
            << block.text().toStdString();
    }
    EXPECT_EQ(texts, (QStringList{"VII.\tone", "a.\tsub", "VIII.\ttwo", "IX.\tthree"}));
}

TEST_F(RichEditTest, ParagraphsWithFontsAndTabStopsOfTheirOwnKeepThemThroughSaving)
{
    constexpr int kParagraphs = 300;
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i < kParagraphs; ++i)
        rtf += "{\\f" + QByteArray::number(i) + " Family " + QByteArray::number(i) + ";}";
    rtf += "}";
    for (int i = 0; i < kParagraphs; ++i)
        rtf += "\\pard\\tx" + QByteArray::number(150 + 15 * i) + "{\\f" + QByteArray::number(i) + " w\\tab x}\\par";
    rtf += "}";
    const auto expectOwn = [this](const char *when) {
        QTextBlock block = editor->document()->begin();
        for (int i = 0; i < kParagraphs; ++i, block = block.next()) {
            ASSERT_TRUE(block.isValid()) << when;
            const QList<QTextOption::Tab> tabs = block.blockFormat().tabPositions();
            ASSERT_EQ(tabs.size(), 1) << when << " paragraph " << i;
            EXPECT_DOUBLE_EQ(tabs.first().position, 10 + i) << when << " paragraph " << i;
            EXPECT_EQ(block.begin().fragment().charFormat().fontFamilies().toStringList(),
                      QStringList{QStringLiteral("Family %1").arg(i)})
                << when << " paragraph " << i;
        }
    };
    editor->LoadFile(writeFile("own.rtf", rtf));
    expectOwn("read");
    const QString saved = dir.filePath(QStringLiteral("saved.rtf"));
    editor->SaveFile(saved);
    editor->LoadFile(saved);
    expectOwn("saved");
}
