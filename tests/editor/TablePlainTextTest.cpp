// A table in plain text: a row is a line, its cells apart by tabs and a
// cell's paragraphs apart by spaces, wherever the document becomes plain
// text (the whole text, a selection, a .txt file, the clipboard, the
// plain-text mode), each position keeping its one character.

#include "RichEditFixture.h"
#include "editor/TablePlainText.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace {

// "before", a table of two rows and three columns (B2 holds two
// paragraphs), "after".
QTextTable *putTable(QTextDocument &document)
{
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("before"));
    QTextTable *table = cursor.insertTable(2, 3);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            QTextCursor cell = table->cellAt(row, column).firstCursorPosition();
            cell.insertText(QChar(u'A' + column) + QString::number(row + 1));
            if (row == 1 && column == 1) {
                cell.insertBlock();
                cell.insertText(QStringLiteral("x"));
            }
        }
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("after"));
    return table;
}

TEST(TablePlainTextTest, RowsAreLinesOfCellsApartByTabs)
{
    QTextDocument document;
    QTextTable *table = putTable(document);
    const QString text = tableplaintext::rawText(document);
    EXPECT_EQ(text, QString::fromUtf16(u"before\u2029A1\tB1\tC1\u2029A2\tB2 x\tC2\u2029after"));
    EXPECT_EQ(text.size(), document.toRawText().size()) << "a character a position";

    // A selection from outside into the table takes the whole table (Qt's cursor).
    QTextCursor selection(&document);
    selection.setPosition(2);
    selection.setPosition(text.indexOf(u'x'), QTextCursor::KeepAnchor);
    EXPECT_EQ(tableplaintext::selectedText(selection), QString::fromUtf16(u"fore\u2029A1\tB1\tC1\u2029A2\tB2 x\tC2\u2029"));
    // One from a cell into another is a block of cells.
    selection.setPosition(text.indexOf(u'A'));
    selection.setPosition(text.indexOf(u'x'), QTextCursor::KeepAnchor);
    EXPECT_EQ(tableplaintext::selectedText(selection), QString::fromUtf16(u"A1\tB1\u2029A2\tB2 x"));

    // A cell merged down is text of its first row only; one merged across is one field.
    table->mergeCells(0, 0, 2, 1);
    table->mergeCells(1, 1, 1, 2);
    EXPECT_EQ(tableplaintext::rawText(document), QString::fromUtf16(u"before\u2029A1 A2\tB1\tC1\u2029B2 x C2\u2029after"));

    QTextDocument plain;
    plain.setPlainText(QStringLiteral("one\ntwo"));
    EXPECT_TRUE(tableplaintext::TableBreaks(plain).empty());
    EXPECT_EQ(tableplaintext::rawText(plain), plain.toRawText());
}

TEST(TablePlainTextTest, TableInsideACellIsTextOfThatCell)
{
    QTextDocument document;
    QTextTable *outer = putTable(document);
    QTextCursor cell = outer->cellAt(0, 1).lastCursorPosition();
    QTextTable *inner = cell.insertTable(1, 2);
    inner->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("i1"));
    inner->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("i2"));
    EXPECT_EQ(tableplaintext::rawText(document), QString::fromUtf16(u"before\u2029A1\tB1 i1 i2 \tC1\u2029A2\tB2 x\tC2\u2029after"));
}

TEST_F(RichEditTest, TableRowsAreLinesInTextFilesClipboardAndPlainMode)
{
    putTable(*editor->document());
    const QString lines = QStringLiteral("before\r\nA1\tB1\tC1\r\nA2\tB2 x\tC2\r\nafter");
    EXPECT_EQ(editor->Text(), lines);

    const QString path = dir.filePath(QStringLiteral("table.txt"));
    editor->SaveFile(path);
    EXPECT_EQ(QString::fromUtf8(readFile(path)).remove(u'\r'), QString(lines).remove(u'\r'));

    select(editor->FindInText(QStringLiteral("B1"), 0, editor->TextLength()), 10); // B1 to B2
    EXPECT_EQ(editor->SelectedText(), QStringLiteral("B1\rB2 x"));
    editor->Copy();
    EXPECT_EQ(QApplication::clipboard()->mimeData()->text(), QStringLiteral("B1\nB2 x"));

    editor->setPlainTextMode(true);
    EXPECT_TRUE(editor->document()->rootFrame()->childFrames().isEmpty());
    EXPECT_EQ(editor->Text(), lines);
}

// The case tools replace a block of selected cells by itself and then by its
// converted text: each cell keeps its own text and paragraphs.
TEST_F(RichEditTest, TextToolsChangeSelectedCellsInTheirPlaces)
{
    putTable(*editor->document());
    const int blocks = editor->document()->blockCount();
    select(editor->FindInText(QStringLiteral("B1"), 0, editor->TextLength()), 10); // B1 to B2
    editor->setSelectedText(editor->SelectedText());
    editor->setSelectedText(editor->SelectedText().toLower());
    EXPECT_EQ(editor->Text(), QStringLiteral("before\r\nA1\tb1\tC1\r\nA2\tb2 x\tC2\r\nafter"));
    EXPECT_EQ(editor->document()->blockCount(), blocks) << "B2 keeps its two paragraphs";
    EXPECT_EQ(editor->SelectedText(), QStringLiteral("b1\rb2 x")) << "the cells stay selected";

    // Text of another length: a cell's part becomes its one paragraph.
    editor->setSelectedText(QStringLiteral("one\rtwo three"));
    EXPECT_EQ(editor->Text(), QStringLiteral("before\r\nA1\tone\tC1\r\nA2\ttwo three\tC2\r\nafter"));
    editor->Undo();
    EXPECT_EQ(editor->Text(), QStringLiteral("before\r\nA1\tb1\tC1\r\nA2\tb2 x\tC2\r\nafter")) << "one undo step";
}

} // namespace
