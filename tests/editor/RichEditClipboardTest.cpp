// Cut, copy, paste and drop of whole lines: a selection's last paragraph end
// travels with it through every clipboard format, ours or another program's.

#include "RichEditFixture.h"
#include "../formats/RtfTestSupport.h"
#include "formats/RtfWriter.h"
#include "formats/TableFormat.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTest>
#include <QTextTable>

namespace {

const QString kFormats[] = {QStringLiteral("text/rtf"), QStringLiteral("text/html"), QStringLiteral("text/plain")};

// One format of what the editor put on the clipboard, as a program that
// offers only that format would.
QMimeData *onlyFormat(const QString &format)
{
    auto *data = new QMimeData;
    data->setData(format, QApplication::clipboard()->mimeData()->data(format));
    return data;
}

// Drags the data over the editor and drops it at a point of its viewport.
bool dropAt(TRxRichEdit &editor, QPoint at, const QMimeData &data)
{
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &move);
    QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor.viewport(), &drop);
    return drop.isAccepted();
}

// A picture as a data: address, as HTML carries one.
QString dataAddress(const QImage &picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

QMimeData *plainText(const QString &text)
{
    auto *data = new QMimeData;
    data->setText(text);
    return data;
}

} // namespace

TEST_F(RichEditTest, CutWholeLinePastedAtALineStartStaysALine)
{
    for (const bool plain : {false, true}) {
        SCOPED_TRACE(plain ? "plain text mode" : "rich text mode");
        editor->setPlainTextMode(plain);
        editor->setText("one\ntwo\nthree");
        select(0, 4); // "one" and its paragraph end, as Home, Shift+Down
        editor->Cut();
        editor->setSelectionStart(4);
        editor->Paste();
        EXPECT_EQ(editor->Text(), "two\r\none\r\nthree");
        EXPECT_EQ(editor->SelectionStart(), 8) << "the caret stays before the line it was at";
        editor->Undo();
        EXPECT_EQ(editor->Text(), "two\r\nthree") << "one step";
    }
}

TEST_F(RichEditTest, PastedLineAndTheLineAfterItKeepTheirFormats)
{
    editor->setText("one\ntwo\nthree");
    select(0, 3);
    editor->SelectionFormat().setStyle(FontStyle::Bold);
    editor->ParagraphFormat().setAlignment(TAlignment::Center);
    select(8, 0);
    editor->ParagraphFormat().setAlignment(TAlignment::RightJustify);
    select(0, 4);
    editor->Cut();
    editor->setSelectionStart(4);
    editor->Paste();
    ASSERT_EQ(editor->Text(), "two\r\none\r\nthree");
    select(0, 3);
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::LeftJustify);
    select(4, 3);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::Center);
    select(8, 5);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles());
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::RightJustify);
}

TEST_F(RichEditTest, EachClipboardFormatAloneCarriesTheParagraphEnd)
{
    for (const QString &format : kFormats) {
        SCOPED_TRACE(format.toStdString());
        editor->setText("one\ntwo\nthree");
        select(8, 0);
        editor->ParagraphFormat().setAlignment(TAlignment::RightJustify);
        select(0, 4);
        editor->Copy();
        QApplication::clipboard()->setMimeData(onlyFormat(format));
        editor->setSelectionStart(8);
        editor->Paste();
        EXPECT_EQ(editor->Text(), "one\r\ntwo\r\none\r\nthree");
        EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::RightJustify) << "the line the caret is on";
    }
    // Other programs: a final line break in text, a final \par in RTF.
    auto *wordPad = new QMimeData;
    wordPad->setData("text/rtf", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0 new\\par\r\n}\r\n");
    for (QMimeData *data : {plainText("new\n"), plainText("new\r\n"), wordPad}) {
        SCOPED_TRACE(data->formats().join(' ').toStdString());
        editor->setText("one\ntwo");
        editor->setSelectionStart(4);
        QApplication::clipboard()->setMimeData(data);
        editor->Paste();
        EXPECT_EQ(editor->Text(), "one\r\nnew\r\ntwo");
    }
}

TEST_F(RichEditTest, SelectionWithoutAParagraphEndPastesNone)
{
    for (const QString &format : kFormats) {
        SCOPED_TRACE(format.toStdString());
        editor->setText("one\ntwo");
        select(1, 2);
        editor->Copy();
        QApplication::clipboard()->setMimeData(onlyFormat(format));
        editor->setSelectionStart(4);
        editor->Paste();
        EXPECT_EQ(editor->Text(), "one\r\nnetwo");
        // The whole text ends without a paragraph end of its own.
        editor->SelectWholeText();
        editor->Copy();
        QApplication::clipboard()->setMimeData(onlyFormat(format));
        editor->setSelectionStart(editor->TextLength());
        editor->Paste();
        EXPECT_EQ(editor->Text(), "one\r\nnetwoone\r\nnetwo");
    }
}

TEST_F(RichEditTest, DroppedWholeLinesKeepTheirParagraphEnd)
{
    for (const bool plain : {false, true}) {
        SCOPED_TRACE(plain ? "plain text mode" : "rich text mode");
        editor->setPlainTextMode(plain);
        editor->setText("one\ntwo\nthree");
        select(4, 4); // "two" and its paragraph end
        editor->Copy(); // what a drag of the selection carries
        const QMimeData *copied = QApplication::clipboard()->mimeData();
        auto dragged = std::make_unique<QMimeData>();
        for (const QString &format : copied->formats())
            dragged->setData(format, copied->data(format));
        editor->Clear(); // a move takes the lines away first
        const QRect firstLine = editor->cursorRect(QTextCursor(editor->document()->begin()));
        EXPECT_TRUE(dropAt(*editor, QPoint(1, firstLine.center().y()), *dragged));
        EXPECT_EQ(editor->Text(), "two\r\none\r\nthree");
    }
}

// A screenshot pasted is a picture; files dropped from a file manager are
// objects (an image file its picture, any other file an icon with its name),
// never their addresses as text.
TEST_F(RichEditTest, PicturesAndFilesPastedOrDroppedBecomeObjects)
{
    editor->setText("ab");
    QImage shot(20, 10, QImage::Format_RGB32);
    shot.fill(Qt::red);
    auto *screenshot = new QMimeData;
    screenshot->setImageData(shot);
    QApplication::clipboard()->setMimeData(screenshot);
    select(1, 0);
    editor->Paste();
    const QTextImageFormat pasted = editor->selectedObject();
    ASSERT_TRUE(pasted.isValid());
    EXPECT_EQ(TRxRichEdit::objectTypeName(pasted), "Bitmap Image");
    EXPECT_EQ(pasted.width(), 20);

    const QString picture = dir.filePath("photo.png");
    ASSERT_TRUE(shot.save(picture));
    const QString notes = writeFile("notes.txt", "text");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(picture), QUrl::fromLocalFile(notes)});
    files.setText(QUrl::fromLocalFile(picture).toString()); // as file managers add
    editor->setText("ab");
    EXPECT_TRUE(dropAt(*editor, editor->cursorRect(QTextCursor(editor->document()->begin())).center(), files));
    EXPECT_FALSE(editor->Text().contains("file:"));
    EXPECT_EQ(editor->TextLength(), 4);
    QStringList types;
    for (int position = 0; position < 4; ++position) {
        select(position, 1);
        const QTextImageFormat object = editor->selectedObject();
        if (object.isValid())
            types << TRxRichEdit::objectTypeName(object);
    }
    EXPECT_EQ(types, QStringList({"PNG Image", "Package"}));
    editor->Undo();
    EXPECT_EQ(editor->Text(), "ab"); // one step
}

// Pictures of pasted or dropped HTML are never fetched by their addresses: a
// device that never ends, a file of the user's beside the test, given as an
// address, a path or a relative name. The text around them stays; no box
// stands for them.
TEST_F(RichEditTest, PastedHtmlNeverReadsTheFilesItsPicturesName)
{
    QImage secret(7, 5, QImage::Format_RGB32);
    secret.fill(Qt::green);
    const QString path = dir.filePath("secret.png");
    ASSERT_TRUE(secret.save(path));
    const QString html = QStringLiteral("a<img src=\"file:///dev/zero\">b<img src=\"%1\"><img src=\"%2\">"
                                        "<img src=\"secret.png\">c")
                             .arg(QUrl::fromLocalFile(path).toString(), path);
    for (const QString &format : {QStringLiteral("text/html"), QStringLiteral("application/x-qrichtext")}) {
        SCOPED_TRACE(format.toStdString());
        auto *data = new QMimeData;
        data->setData(format, html.toUtf8());
        QApplication::clipboard()->setMimeData(data);
        editor->setText("[]");
        select(1, 0);
        editor->Paste();
        EXPECT_EQ(editor->Text(), "[abc]");
        EXPECT_FALSE(editor->document()->resource(QTextDocument::ImageResource, QUrl::fromLocalFile(path)).isValid());

        editor->setText("[]");
        QMimeData dropped;
        dropped.setData(format, html.toUtf8());
        EXPECT_TRUE(dropAt(*editor, editor->cursorRect(QTextCursor(editor->document()->begin())).center(), dropped));
        EXPECT_EQ(editor->Text(), "abc[]");
    }
}

// A picture HTML holds itself, as a data: address, is a picture object; one
// whose size is absurd is left out before it is decoded. A picture the HTML
// only names gives way to the picture the clipboard holds beside it.
TEST_F(RichEditTest, PastedHtmlPicturesComeFromTheDataItself)
{
    QImage small(3, 2, QImage::Format_RGB32);
    small.fill(Qt::blue);
    QImage huge(8192, 8192, QImage::Format_Mono);
    huge.fill(0);
    auto *html = new QMimeData;
    html->setHtml(QStringLiteral("x<img src=\"%1\">y<img src=\"%2\">z").arg(dataAddress(small), dataAddress(huge)));
    QApplication::clipboard()->setMimeData(html);
    editor->setText("");
    editor->Paste();
    ASSERT_EQ(editor->TextLength(), 4);
    select(1, 1);
    const QTextImageFormat object = editor->selectedObject();
    ASSERT_TRUE(object.isValid());
    const QImage shown = editor->document()->resource(QTextDocument::ImageResource, QUrl(object.name())).value<QImage>();
    EXPECT_EQ(shown.size(), QSize(3, 2));
    EXPECT_EQ(shown.pixel(0, 0), small.pixel(0, 0));
    EXPECT_EQ(editor->Text().remove(QChar::ObjectReplacementCharacter), "xyz");

    // A browser's copied picture: its address in HTML, its pixels beside.
    auto *copied = new QMimeData;
    copied->setHtml(QStringLiteral("<img src=\"https://example.org/photo.png\">"));
    copied->setImageData(small);
    QApplication::clipboard()->setMimeData(copied);
    editor->setText("");
    editor->Paste();
    ASSERT_EQ(editor->TextLength(), 1);
    select(0, 1);
    EXPECT_EQ(TRxRichEdit::objectTypeName(editor->selectedObject()), "Bitmap Image");
}

TEST_F(RichEditTest, CellsCopiedAcrossATableAreATableOfThoseCellsInEveryRichFormat)
{
    editor->setText(QStringLiteral("before\nafter"));
    QTextCursor cursor(editor->document()->findBlockByNumber(1));
    QTextTable *table = cursor.insertTable(3, 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            table->cellAt(r, c).firstCursorPosition().insertText(QStringLiteral("%1%2").arg(r).arg(c));
    QTextCursor cells = table->cellAt(1, 1).firstCursorPosition();
    cells.setPosition(table->cellAt(2, 2).lastCursorPosition().position(), QTextCursor::KeepAnchor);
    ASSERT_TRUE(cells.hasComplexSelection());
    editor->setTextCursor(cells);
    editor->copy();
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    const QByteArray rtf = copied->data(QStringLiteral("text/rtf"));
    const QByteArray html = copied->data(QStringLiteral("text/html"));
    for (const QString &format : {QStringLiteral("text/rtf"), QStringLiteral("text/html")}) {
        auto *data = new QMimeData;
        data->setData(format, format.endsWith(QLatin1String("rtf")) ? rtf : html);
        QApplication::clipboard()->setMimeData(data);
        editor->setText(QStringLiteral("x"));
        editor->paste();
        const std::vector<QStringList> pasted = rtftest::tables(*editor->document());
        ASSERT_EQ(pasted.size(), 1u) << format.toStdString();
        EXPECT_EQ(pasted[0], (QStringList{"11|12", "21|22"})) << format.toStdString();
    }
}

TEST_F(RichEditTest, CellsOfATableReadFromAFileKeepTheirBordersInCopiesBoldAndNewRows)
{
    // Most cells of a column share a format; one cell has a border and no
    // background of its own.
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green255\\blue0;}";
    for (int row = 0; row < 6; ++row) {
        rtf += "\\trowd\\trgaph100\\clbrdrl\\brdrs\\brdrw20\\cellx2000";
        rtf += row == 3 ? "\\clbrdrb\\brdrs\\brdrw40\\cellx4000" : "\\clcbpat1\\cellx4000";
        rtf += "\\clbrdrt\\brdrs\\brdrw10\\cellx6000";
        for (int column = 0; column < 3; ++column)
            rtf += "\\pard\\intbl c" + QByteArray::number(row) + QByteArray::number(column) + "\\cell";
        rtf += "\\row";
    }
    rtf += "\\pard after\\par}";
    editor->LoadContent(rtf, true);
    auto *table = qobject_cast<QTextTable *>(editor->document()->rootFrame()->childFrames().value(0));
    ASSERT_TRUE(table);
    // What another program reads of a cell: its borders and background in the HTML.
    const auto pastedCells = [&](const QByteArray &copied, const QString &type) {
        auto *data = new QMimeData;
        data->setData(type, copied);
        QApplication::clipboard()->setMimeData(data);
        TRxRichEdit into;
        into.paste();
        auto *pasted = qobject_cast<QTextTable *>(into.document()->rootFrame()->childFrames().value(0));
        std::vector<QTextTableCellFormat> formats;
        if (!pasted)
            return formats;
        const tableformat::ColumnCellFormats columns(pasted->format(), pasted->columns());
        for (int r = 0; r < pasted->rows(); ++r)
            for (int c = 0; c < pasted->columns(); ++c)
                formats.push_back(columns.of(pasted->cellAt(r, c).format(), c));
        return formats;
    };
    QTextCursor cells = table->cellAt(2, 1).firstCursorPosition();
    cells.setPosition(table->cellAt(3, 2).lastCursorPosition().position(), QTextCursor::KeepAnchor);
    editor->setTextCursor(cells);
    editor->copy();
    const QByteArray html = QApplication::clipboard()->mimeData()->data(QStringLiteral("text/html"));
    const QByteArray copiedRtf = QApplication::clipboard()->mimeData()->data(QStringLiteral("text/rtf"));
    for (const QString &type : {QStringLiteral("text/html"), QStringLiteral("text/rtf")}) {
        const std::vector<QTextTableCellFormat> formats = pastedCells(type.endsWith(QLatin1String("rtf")) ? copiedRtf : html, type);
        ASSERT_EQ(formats.size(), 4u) << type.toStdString();
        EXPECT_GT(formats[2].bottomBorder(), formats[0].bottomBorder()) << type.toStdString();
        EXPECT_GT(formats[1].topBorder(), 0) << type.toStdString();
        EXPECT_EQ(formats[0].background().color(), QColor(Qt::yellow)) << type.toStdString();
        EXPECT_EQ(formats[2].background().style(), Qt::NoBrush) << type.toStdString();
    }
    // Bold across the whole text, then a row added with Tab: saved, every
    // cell keeps what its column has.
    editor->SelectWholeText();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    editor->textCursor().mergeCharFormat(bold);
    editor->setTextCursor(table->cellAt(5, 2).lastCursorPosition());
    QTest::keyClick(editor.get(), Qt::Key_Tab);
    const QByteArray saved = rtf::write(*editor->document());
    EXPECT_EQ(saved.count("\\clbrdrb\\brdrs\\brdrw40"), 1) << saved.constData();
    EXPECT_EQ(saved.count("\\clbrdrt\\brdrs\\brdrw10"), 7) << saved.constData();
    EXPECT_EQ(saved.count("\\clcbpat"), 6) << saved.constData();
}
