#include "RichEditFixture.h"
#include "../formats/RtfTestSupport.h"
#include "editor/EditorLayout.h"
#include "formats/ParagraphFormat.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QInputMethodQueryEvent>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTest>
#include <QTextList>
#include <QTextTable>

namespace {

EditorLayout &layoutOf(TRxRichEdit &editor)
{
    return *static_cast<EditorLayout *>(editor.document()->documentLayout());
}

QString paragraphs(int count, int wordsEach)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        for (int w = 0; w < wordsEach; ++w)
            text += QStringLiteral("слово%1 ").arg((i * 7 + w) % 13);
        text += QLatin1Char('\n');
    }
    return text;
}

// Every paragraph laid out where the one before it ends, the document as high
// as its paragraphs, and the display lines counted as a plain walk counts them.
void expectInStep(TRxRichEdit &editor)
{
    QTextDocument *doc = editor.document();
    EditorLayout &layout = layoutOf(editor);
    layout.layoutAll();
    qreal bottom = doc->documentMargin();
    int line = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        // A table's cells stand side by side; what follows starts below it.
        QTextTable *table = QTextCursor(block).currentTable();
        const QRectF rect = layout.blockBoundingRect(block);
        if (!table) {
            ASSERT_DOUBLE_EQ(rect.top(), bottom) << "paragraph " << block.blockNumber();
        }
        // Each line starts where the one before it ends.
        int count = 0;
        EditorLayout::ShownLine last;
        for (EditorLayout::ShownLine shown = layout.lineOfParagraph(block, 0); shown.isValid();
             shown = layout.lineOfParagraph(block, ++count)) {
            ASSERT_EQ(shown.start(), last.isValid() ? last.end() : block.position()) << "line " << count;
            last = shown;
        }
        ASSERT_GT(count, 0);
        ASSERT_TRUE(last.last);
        ASSERT_DOUBLE_EQ(rect.bottom(), last.origin.y() + last.line.y() + last.line.height())
            << "paragraph " << block.blockNumber();
        ASSERT_EQ(layout.firstLineOfBlock(block.blockNumber()), line) << "paragraph " << block.blockNumber();
        bottom = table ? layout.frameBoundingRect(table).bottom() : rect.bottom();
        line += count;
    }
    EXPECT_DOUBLE_EQ(layout.documentSize().height(), bottom + doc->documentMargin());
    EXPECT_EQ(editor.LineCount(), line);
}

} // namespace

TEST_F(RichEditTest, LayoutStaysInStepThroughEditsAcrossManyParagraphs)
{
    // Enough paragraphs for many runs of them, edits that split, join and
    // delete across runs, and undo and redo of them.
    editor->setText(paragraphs(1500, 9));
    QRandomGenerator random(11);
    QTextDocument *doc = editor->document();
    for (int step = 0; step < 120; ++step) {
        QTextCursor cursor(doc);
        const int length = doc->characterCount() - 1;
        cursor.setPosition(random.bounded(length + 1));
        switch (step % 5) {
        case 0:
            cursor.insertText(QStringLiteral("новый\nabzac\nи ещё один длинный абзац, который переносится "
                                             "на несколько строк при узком окне редактора"));
            break;
        case 1: {
            const int end = std::min(length, cursor.position() + random.bounded(4000));
            cursor.setPosition(end, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            break;
        }
        case 2:
            cursor.insertText(QStringLiteral("x"));
            break;
        case 3:
            cursor.insertBlock();
            break;
        case 4:
            editor->Undo();
            break;
        }
        if (step % 20 == 19)
            expectInStep(*editor);
    }
    expectInStep(*editor);
    // A narrower window wraps anew.
    editor->resize(220, 300);
    expectInStep(*editor);
    editor->setWordWrap(false);
    expectInStep(*editor);
}

TEST_F(RichEditTest, WholeTextReplacedIsNotLaidOutAtOnce)
{
    editor->setText(paragraphs(20000, 12));
    EditorLayout &layout = layoutOf(*editor);
    EXPECT_GT(layout.blocksNotLaidOut(), 10000);
    // What is shown is laid out and painted.
    editor->viewport()->repaint();
    EXPECT_GT(editor->document()->firstBlock().layout()->lineCount(), 0);
    // The caret's line is exact: the paragraphs before it are laid out for it.
    editor->setSelectionStart(editor->document()->findBlockByNumber(3000).position());
    const int line = editor->LineFromChar(editor->SelectionStart());
    int walked = 0;
    for (QTextBlock block = editor->document()->begin(); block.blockNumber() < 3000; block = block.next()) {
        layout.blockBoundingRect(block); // the paragraph's own lines, which the measures must match
        walked += block.layout()->lineCount();
    }
    EXPECT_EQ(line, walked);
    // The background pass finishes the rest.
    for (int i = 0; i < 10000 && layout.blocksNotLaidOut() > 0; ++i)
        QApplication::processEvents();
    EXPECT_EQ(layout.blocksNotLaidOut(), 0);
    expectInStep(*editor);
}

TEST_F(RichEditTest, ClicksFindTheCharacterUnderThePointer)
{
    editor->setText(QStringLiteral("first line\nsecond line here\nthird"));
    EditorLayout &layout = layoutOf(*editor);
    const QTextBlock second = editor->document()->findBlockByNumber(1);
    const int at = second.position() + 7; // "l" of "line"
    QTextCursor cursor(editor->document());
    cursor.setPosition(at);
    const QRectF caret = editor->cursorRect(cursor).translated(editor->horizontalScrollBar()->value(),
                                                               editor->verticalScrollBar()->value());
    const QPointF onCharacter(caret.left() + 2, caret.center().y());
    EXPECT_EQ(layout.hitTest(onCharacter, Qt::ExactHit), at);
    EXPECT_EQ(layout.hitTest(QPointF(caret.left() - 1, caret.center().y()), Qt::FuzzyHit), at);
    // Past the end of a line: nothing exactly, the line's end otherwise.
    EXPECT_EQ(layout.hitTest(QPointF(390, caret.center().y()), Qt::ExactHit), -1);
    EXPECT_EQ(layout.hitTest(QPointF(390, caret.center().y()), Qt::FuzzyHit),
              second.position() + second.length() - 1);
    // Below the text: the last position.
    EXPECT_EQ(layout.hitTest(QPointF(390, 5000), Qt::FuzzyHit), editor->TextLength());
    EXPECT_EQ(layout.hitTest(QPointF(5, 5000), Qt::ExactHit), -1);
}

TEST_F(RichEditTest, PicturesTakeTheSizeTheirFormatGives)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    editor->document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:pic")), image);
    QTextImageFormat format;
    format.setName(QStringLiteral("mem:pic"));
    format.setWidth(80);
    format.setHeight(60);
    QTextCursor cursor(editor->document());
    cursor.insertImage(format);
    const QRectF rect = layoutOf(*editor).blockBoundingRect(editor->document()->firstBlock());
    EXPECT_GE(rect.height(), 60);
    EXPECT_LT(rect.height(), 90);
    // Painted, scaled to that size.
    QImage shot(editor->viewport()->size(), QImage::Format_RGB32);
    editor->viewport()->render(&shot);
    EXPECT_EQ(shot.pixelColor(int(rect.left()) + 60, int(rect.top()) + 40), QColor(Qt::red));
}

TEST_F(RichEditTest, AddressesArePaintedAsLinksOnlyWhileDetectionIsOn)
{
    editor->setText(QStringLiteral("see http://example.com/page here"));
    const auto bluePixels = [this] {
        QImage shot(editor->viewport()->size(), QImage::Format_RGB32);
        editor->viewport()->render(&shot);
        int count = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                count += (c.blue() > 150 && c.red() < 100 && c.green() < 100) ? 1 : 0;
            }
        return count;
    };
    EXPECT_GT(bluePixels(), 20);
    editor->setAutoURLDetect(false);
    EXPECT_EQ(bluePixels(), 0);
    // Painting a link changes neither the text nor the modified flag.
    editor->setModified(false);
    editor->setAutoURLDetect(true);
    bluePixels();
    EXPECT_FALSE(editor->IsModified());
    editor->Undo(); // the one step there is sets the text: painting added none
    EXPECT_EQ(editor->Text(), "");
}

TEST_F(RichEditTest, ShapedGlyphsAreKeptForAFewScreensOnly)
{
    editor->setText(paragraphs(3000, 6));
    QScrollBar *bar = editor->verticalScrollBar();
    QImage shot(editor->viewport()->size(), QImage::Format_RGB32);
    for (int i = 0; i < 200 && bar->value() < bar->maximum(); ++i) {
        bar->setValue(bar->value() + editor->viewport()->height());
        editor->viewport()->render(&shot);
    }
    int kept = 0;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next())
        kept += block.layout()->cacheEnabled() ? 1 : 0;
    EXPECT_GT(kept, 0);
    EXPECT_LE(kept, 512);
    expectInStep(*editor);
}

// Formatted paragraphs of one line are measured from their fonts' advances
// without laying them out; laid out, they are just as tall.
TEST_F(RichEditTest, FormattedLinesMeasuredByTheirFontsAreAsTallAsLaidOut)
{
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f1 Courier New;}}";
    const char *const paragraphs[] = {
        "\\pard plain {\\b bold} {\\i italic}\\par", "\\pard\\fs16 small {\\fs48 large} {\\f1 mono}\\par",
        "\\pard\\sb120\\sa240\\li720\\fi-360\\sl360 spaced and indented\\par", "\\pard x{\\super 2} and a\\tab tab\\par",
        "\\pard\\qc centred {\\ul under} {\\cf0 colour}\\par"};
    for (int i = 0; i < 40; ++i)
        rtf += paragraphs[i % 5];
    rtf += "\\pard ";
    for (int i = 0; i < 60; ++i)
        rtf += "words that wrap ";
    rtf += "\\par}";
    editor->LoadContent(rtf, true);
    EditorLayout &layout = layoutOf(*editor);
    layout.layoutAll();
    const qreal measured = layout.documentSize().height();
    int unshaped = 0;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next())
        unshaped += block.layout()->lineCount() == 0 ? 1 : 0;
    EXPECT_GE(unshaped, 30) << "measured without a layout of their own";
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next())
        layout.blockBoundingRect(block); // each laid out for its lines
    EXPECT_DOUBLE_EQ(layout.documentSize().height(), measured);
}

TEST_F(RichEditTest, TableCellsStandSideBySideAtTheirWidthsAndRowsAsTallAsTheirTallestCell)
{
    editor->setText(QStringLiteral("before\nafter"));
    QTextCursor cursor(editor->document()->findBlockByNumber(1));
    QTextTableFormat format;
    format.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100),
                                      QTextLength(QTextLength::FixedLength, 150),
                                      QTextLength(QTextLength::FixedLength, 200)});
    format.setCellPadding(4);
    QTextTable *table = cursor.insertTable(2, 3, format);
    table->cellAt(0, 1).firstCursorPosition().insertText(QString(60, QLatin1Char('w')).replace(QLatin1String("ww"), QLatin1String("w ")));
    table->cellAt(1, 2).firstCursorPosition().insertText(QStringLiteral("last"));
    EditorLayout &layout = layoutOf(*editor);
    const auto rectOf = [&](int row, int column) {
        return layout.blockBoundingRect(table->cellAt(row, column).firstCursorPosition().block());
    };
    const qreal m = editor->document()->documentMargin();
    EXPECT_DOUBLE_EQ(rectOf(0, 0).left(), m + 4);
    EXPECT_DOUBLE_EQ(rectOf(0, 1).left(), m + 104);
    EXPECT_DOUBLE_EQ(rectOf(0, 2).left(), m + 254);
    EXPECT_DOUBLE_EQ(rectOf(0, 1).width(), 142);
    EXPECT_DOUBLE_EQ(rectOf(0, 0).top(), rectOf(0, 2).top());
    EXPECT_GT(rectOf(0, 1).height(), 2 * rectOf(0, 0).height()) << "the long cell wraps";
    EXPECT_DOUBLE_EQ(rectOf(1, 0).top(), rectOf(0, 1).bottom() + 8) << "padding below and above";
    const QRectF after = layout.blockBoundingRect(editor->document()->lastBlock());
    EXPECT_DOUBLE_EQ(after.top(), rectOf(1, 0).bottom() + 4);
    EXPECT_EQ(layout.frameBoundingRect(table).bottom(), after.top());
    // A click finds the cell's text; typing and Enter stay in the cell.
    const int hit = layout.hitTest(rectOf(1, 2).center(), Qt::FuzzyHit);
    EXPECT_EQ(table->cellAt(hit).column(), 2);
    editor->setTextCursor(table->cellAt(1, 0).firstCursorPosition());
    QTest::keyClicks(editor.get(), QStringLiteral("typed"));
    QTest::keyClick(editor.get(), Qt::Key_Return);
    QTest::keyClicks(editor.get(), QStringLiteral("more"));
    EXPECT_EQ(rtftest::cellText(table->cellAt(1, 0)), QStringLiteral("typed/more"));
    EXPECT_DOUBLE_EQ(rectOf(1, 2).top(), rectOf(1, 0).top());
    expectInStep(*editor);
    QImage shot(editor->viewport()->size(), QImage::Format_RGB32);
    editor->viewport()->render(&shot);
    editor->SelectWholeText();
    editor->Clear();
    expectInStep(*editor);
}

TEST_F(RichEditTest, TableRowsMeasuredWithoutShapingStandWhereTheirLaidOutRowsDo)
{
    // Rows of short words, a cell that wraps, an empty one, a cell merged
    // across two columns and one down three rows.
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\pard before\\par";
    for (int row = 0; row < 40; ++row) {
        const bool merged = row >= 10 && row < 13;
        rtf += "\\trowd\\trgaph108";
        rtf += merged ? (row == 10 ? "\\clvmgf" : "\\clvmrg") : "";
        rtf += "\\cellx2000";
        rtf += row == 20 ? "\\cellx6000" : "\\cellx4000\\cellx6000";
        rtf += "\\pard\\intbl " + QByteArray(merged && row > 10 ? "" : "first") + QByteArray::number(row) + "\\cell";
        if (row == 20) {
            rtf += "\\pard\\intbl across\\cell";
        } else {
            rtf += "\\pard\\intbl {\\b " + QByteArray(row == 30 ? "many words in a narrow cell that wrap" : "w") +
                   "}\\cell\\pard\\intbl " + QByteArray(row == 5 ? "" : "z") + "\\cell";
        }
        rtf += "\\row";
    }
    rtf += "\\pard after\\par}";
    editor->LoadContent(rtf, true);
    QTextTable *table = qobject_cast<QTextTable *>(editor->document()->rootFrame()->childFrames().value(0));
    ASSERT_TRUE(table);
    EditorLayout &layout = layoutOf(*editor);
    layout.layoutAll();
    const qreal measured = layout.documentSize().height();
    const int lines = editor->LineCount();
    int unshaped = 0;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next())
        unshaped += block.layout()->lineCount() == 0 ? 1 : 0;
    EXPECT_GE(unshaped, 100) << "measured without lines of their own";
    // Each row asked for is laid out with lines, where it was measured to be.
    const auto rectOf = [&](int row, int column) {
        return layout.blockBoundingRect(table->cellAt(row, column).firstCursorPosition().block());
    };
    EXPECT_DOUBLE_EQ(rectOf(11, 0).top(), rectOf(10, 1).top()) << "the merged cell is the first row's";
    EXPECT_GE(rectOf(13, 0).top(), rectOf(12, 2).bottom());
    EXPECT_GT(rectOf(30, 1).height(), 2 * rectOf(30, 2).height()) << "the long cell wraps";
    EXPECT_DOUBLE_EQ(rectOf(20, 1).width(), rectOf(21, 1).width() + rectOf(21, 2).width() + 2 * 7.2);
    EXPECT_DOUBLE_EQ(layout.documentSize().height(), measured);
    expectInStep(*editor);
    EXPECT_EQ(editor->LineCount(), lines);
    // Typing in a cell of a measured row and adding a row keep the rest in step.
    editor->setTextCursor(table->cellAt(35, 2).firstCursorPosition());
    QTest::keyClicks(editor.get(), QStringLiteral("typed"));
    editor->setTextCursor(table->cellAt(39, 2).lastCursorPosition());
    QTest::keyClick(editor.get(), Qt::Key_Tab);
    QTest::keyClicks(editor.get(), QStringLiteral("new"));
    EXPECT_EQ(table->rows(), 41);
    EXPECT_EQ(rtftest::cellText(table->cellAt(40, 0)), QStringLiteral("new"));
    expectInStep(*editor);
    QImage shot(editor->viewport()->size(), QImage::Format_RGB32);
    editor->viewport()->render(&shot);
}

TEST_F(RichEditTest, WhatTypingInACellPaintsIsWhatTheWholeViewShows)
{
    // A key that makes a row taller moves every row below it; one that does
    // not changes its cell alone. The screen after each is the view anew.
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\pard before\\par";
    for (int row = 0; row < 30; ++row) {
        rtf += "\\trowd\\trgaph108\\clbrdrb\\brdrs\\brdrw15\\cellx1500\\clbrdrl\\brdrs\\brdrw15\\cellx3000";
        rtf += "\\pard\\intbl r" + QByteArray::number(row) + "\\cell\\pard\\intbl x\\cell\\row";
    }
    rtf += "\\pard after\\par}";
    editor->resize(300, 300);
    editor->LoadContent(rtf, true);
    auto *table = qobject_cast<QTextTable *>(editor->document()->rootFrame()->childFrames().value(0));
    ASSERT_TRUE(table);
    editor->setTextCursor(table->cellAt(3, 0).lastCursorPosition());
    QWidget *window = editor->window();
    const auto shown = [&] {
        QApplication::processEvents();
        return window->screen()->grabWindow(window->winId()).toImage();
    };
    shown();
    for (const QString &typed : {QStringLiteral(" a"), QStringLiteral(" and more words that wrap")}) {
        QTest::keyClicks(editor.get(), typed);
        const QImage partly = shown();
        editor->viewport()->repaint();
        EXPECT_EQ(partly, shown()) << typed.toStdString();
    }
}

TEST_F(RichEditTest, CellsLetTheirLinesGoOnceScrolledFarAwayAndAreShownWholeAgain)
{
    // More cells on one screen than keep their lines at once.
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\pard before\\par";
    for (int row = 0; row < 1500; ++row) {
        rtf += "\\trowd";
        for (int column = 1; column <= 10; ++column)
            rtf += "\\clbrdrb\\brdrs\\brdrw15\\cellx" + QByteArray::number(column * 500);
        for (int column = 0; column < 10; ++column)
            rtf += "\\pard\\intbl " + QByteArray::number(row % 97 + column) + "\\cell";
        rtf += "\\row";
    }
    rtf += "\\pard after\\par}";
    editor->resize(400, 3000);
    editor->LoadContent(rtf, true);
    QScrollBar *bar = editor->verticalScrollBar();
    QWidget *window = editor->window();
    const auto shown = [&] {
        QApplication::processEvents();
        return window->screen()->grabWindow(window->winId()).toImage();
    };
    // Far down and back, and down by little steps: every cell shown is drawn.
    const int step = editor->viewport()->height() / 8;
    std::vector<int> values{bar->maximum(), 0};
    for (int k = 1; k <= 24; ++k)
        values.push_back(k * step);
    for (int value : values) {
        bar->setValue(value);
        const QImage scrolled = shown();
        editor->viewport()->repaint();
        ASSERT_EQ(scrolled, window->screen()->grabWindow(window->winId()).toImage()) << "at " << value;
        // Each paragraph painted had lines to paint.
        const QTextBlock last = editor->cursorForPosition(QPoint(0, editor->viewport()->height() - 30)).block();
        for (QTextBlock block = editor->cursorForPosition(QPoint(0, 30)).block(); block.isValid() && block != last;
             block = block.next())
            ASSERT_GT(block.layout()->lineCount(), 0) << "at " << value << ", paragraph " << block.blockNumber();
    }
    int withLines = 0;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next())
        withLines += block.layout()->lineCount() > 0 ? 1 : 0;
    EXPECT_LT(withLines, 5000) << "of 15,000 cells";
    expectInStep(*editor);
}

TEST_F(RichEditTest, TableInACellIsLaidOutInsideItAndTheRowGrowsToHoldIt)
{
    editor->setText(QStringLiteral("before\nafter"));
    QTextCursor cursor(editor->document()->findBlockByNumber(1));
    QTextTableFormat format;
    format.setColumnWidthConstraints(
        {QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::FixedLength, 300)});
    format.setCellPadding(4);
    QTextTable *outer = cursor.insertTable(1, 2, format);
    outer->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("left"));
    QTextTableFormat innerFormat;
    // Wider than its cell: it is narrowed to fit.
    innerFormat.setColumnWidthConstraints(
        {QTextLength(QTextLength::FixedLength, 200), QTextLength(QTextLength::FixedLength, 200)});
    innerFormat.setCellPadding(2);
    QTextTable *inner = outer->cellAt(0, 1).firstCursorPosition().insertTable(3, 2, innerFormat);
    for (int row = 0; row < 3; ++row)
        inner->cellAt(row, 1).firstCursorPosition().insertText(QStringLiteral("in%1").arg(row));
    QTextCursor(editor->document()->findBlock(inner->lastPosition() + 1)).insertText(QStringLiteral("below"));
    EditorLayout &layout = layoutOf(*editor);
    const auto rectOf = [&](const QTextTableCell &cell) {
        return layout.blockBoundingRect(cell.firstCursorPosition().block());
    };
    const QRectF outerCell = rectOf(outer->cellAt(0, 1));
    const QRectF first = rectOf(inner->cellAt(0, 1));
    const QRectF last = rectOf(inner->cellAt(2, 1));
    EXPECT_GT(first.left(), rectOf(inner->cellAt(0, 0)).left());
    EXPECT_LE(last.right(), outerCell.left() + 292 + 0.5) << "inside the outer cell";
    EXPECT_LT(first.top(), last.top());
    const QRectF below = layout.blockBoundingRect(editor->document()->findBlock(inner->lastPosition() + 1));
    EXPECT_GE(below.top(), last.bottom());
    const QRectF after = layout.blockBoundingRect(editor->document()->lastBlock());
    EXPECT_GE(after.top(), below.bottom()) << "the row holds the table and the text below it";
    // A click in an inner cell finds it; Tab there goes on within the inner table.
    const int hit = layout.hitTest(last.center(), Qt::FuzzyHit);
    EXPECT_EQ(QTextCursor(editor->document()).currentTable(), nullptr);
    QTextCursor at(editor->document());
    at.setPosition(hit);
    EXPECT_EQ(at.currentTable(), inner);
    EXPECT_EQ(inner->cellAt(hit).row(), 2);
    editor->setTextCursor(inner->cellAt(0, 0).firstCursorPosition());
    QTest::keyClick(editor.get(), Qt::Key_Tab);
    QTest::keyClicks(editor.get(), QStringLiteral("x"));
    EXPECT_EQ(rtftest::cellText(inner->cellAt(0, 1)), QStringLiteral("xin0"));
    expectInStep(*editor);
    QImage shot(editor->viewport()->size(), QImage::Format_RGB32);
    editor->viewport()->render(&shot);
}

TEST_F(RichEditTest, TabGoesFromCellToCellAndAddsARowAfterTheLastOneUndoneInOneStep)
{
    editor->setText(QStringLiteral("before\nafter"));
    QTextCursor cursor(editor->document()->findBlockByNumber(1));
    QTextTable *table = cursor.insertTable(2, 2);
    table->mergeCells(0, 0, 2, 1); // the first column is one cell
    editor->setTextCursor(table->cellAt(0, 1).firstCursorPosition());
    const auto caretCell = [&] {
        const QTextTableCell cell = table->cellAt(editor->textCursor().position());
        return std::make_pair(cell.row(), cell.column());
    };
    QTest::keyClick(editor.get(), Qt::Key_Tab);
    EXPECT_EQ(caretCell(), std::make_pair(1, 1)) << "past the merged cell";
    QTest::keyClick(editor.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(caretCell(), std::make_pair(0, 1));
    QTest::keyClick(editor.get(), Qt::Key_Tab);
    QTest::keyClick(editor.get(), Qt::Key_Tab);
    EXPECT_EQ(table->rows(), 3);
    EXPECT_EQ(caretCell(), std::make_pair(2, 0));
    EXPECT_EQ(table->cellAt(2, 0).rowSpan(), 1) << "the new row's cells span nothing";
    QTest::keyClicks(editor.get(), QStringLiteral("x"));
    editor->Undo();
    editor->Undo();
    EXPECT_EQ(table->rows(), 2);
    EXPECT_FALSE(editor->document()->toRawText().contains(QLatin1Char('\t'))) << "no tab typed";
    expectInStep(*editor);
}

TEST_F(RichEditTest, LineSpacingOfPastedParagraphsIsKept)
{
    editor->setText(QStringLiteral("single\ndouble"));
    QTextCursor cursor(editor->document()->findBlockByNumber(1));
    QTextBlockFormat format;
    format.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
    cursor.mergeBlockFormat(format);
    EditorLayout &layout = layoutOf(*editor);
    const qreal single = layout.blockBoundingRect(editor->document()->findBlockByNumber(0)).height();
    const qreal twice = layout.blockBoundingRect(editor->document()->findBlockByNumber(1)).height();
    EXPECT_NEAR(twice, 2 * single, 0.5);
}

TEST_F(RichEditTest, ShownTextStaysPutWhileTheRestIsLaidOut)
{
    // Straight to the end of a new long text: the paragraphs above are laid
    // out for it, so the background pass moves nothing that is shown.
    editor->setText(paragraphs(20000, 12));
    editor->moveCursor(QTextCursor::End);
    editor->viewport()->repaint();
    const QRect caret = editor->cursorRect();
    const int scrolled = editor->verticalScrollBar()->value();
    EditorLayout &layout = layoutOf(*editor);
    for (int i = 0; i < 10000 && layout.blocksNotLaidOut() > 0; ++i)
        QApplication::processEvents();
    EXPECT_EQ(layout.blocksNotLaidOut(), 0);
    EXPECT_EQ(editor->cursorRect(), caret);
    EXPECT_EQ(editor->verticalScrollBar()->value(), scrolled);
}

TEST_F(RichEditTest, ScrollRangeWithoutWrapGrowsInStepsAndWrapNeedsNone)
{
    editor->setText(QStringLiteral("a fairly long line of text ").repeated(12));
    EXPECT_EQ(editor->horizontalScrollBar()->maximum(), 0);
    editor->setWordWrap(false);
    editor->moveCursor(QTextCursor::End);
    QApplication::processEvents();
    QList<int> ranges{editor->horizontalScrollBar()->maximum()};
    // Fewer letters than fill one 128-pixel step, whatever the font.
    const int letters = std::max(2, 120 / QFontMetrics(editor->currentFont()).horizontalAdvance(QLatin1Char('w')));
    for (int i = 0; i < letters; ++i) {
        QTest::keyClick(editor.get(), Qt::Key_W);
        QApplication::processEvents();
        if (editor->horizontalScrollBar()->maximum() != ranges.last())
            ranges.append(editor->horizontalScrollBar()->maximum());
    }
    EXPECT_GT(ranges.first(), 0);
    EXPECT_LE(ranges.size(), 2); // less than a step's letters cross at most one step
    // The caret stays in view at the end of the line.
    EXPECT_TRUE(editor->viewport()->rect().contains(editor->cursorRect().center()));
}

TEST_F(RichEditTest, WrappedTextNeverNeedsAHorizontalScrollBar)
{
    // Lines that fill their width to a fraction of a pixel must not widen
    // the text past the window.
    QRandomGenerator random(1);
    const char *const words[] = {"Привет", "мир", "документ", "Текст", "Veltrix", "editor", "строка", "Format", "пример", "абзац"};
    QString text;
    for (int i = 0; i < 3000; ++i) {
        const int count = random.bounded(3, 41);
        for (int w = 0; w < count; ++w)
            text += QString::fromUtf8(words[random.bounded(10)]) + QLatin1Char(' ');
        text += QStringLiteral("line %1\n").arg(i);
    }
    editor->resize(700, 400);
    editor->setText(text);
    layoutOf(*editor).layoutAll();
    QApplication::processEvents();
    EXPECT_EQ(editor->horizontalScrollBar()->maximum(), 0);
}

TEST_F(RichEditTest, ListMarkersArePaintedBesideTheirParagraphs)
{
    editor->setText(QStringLiteral("one\ntwo\nthree"));
    const auto inkLeftOfText = [this] {
        QImage shot(editor->viewport()->size(), QImage::Format_RGB32);
        editor->viewport()->render(&shot);
        const QTextBlock first = editor->document()->firstBlock();
        const QRectF rect = layoutOf(*editor).blockBoundingRect(first);
        const int textLeft = int(rect.left() + first.layout()->lineAt(0).x());
        int ink = 0;
        for (int y = int(rect.top()); y < int(rect.bottom()); ++y)
            for (int x = 0; x < textLeft - 1; ++x)
                ink += qGray(shot.pixel(x, y)) < 128 ? 1 : 0;
        return ink;
    };
    editor->SelectWholeText();
    editor->ParagraphFormat().setFirstLineIndent(30); // room for the markers
    EXPECT_EQ(inkLeftOfText(), 0);
    editor->applyListStyle(paraformat::ListStyle::Bullet);
    EXPECT_GT(inkLeftOfText(), 5);
    editor->applyListStyle(paraformat::ListStyle::ArabicNumbers);
    EXPECT_GT(inkLeftOfText(), 5);
    editor->applyListStyle(paraformat::ListStyle::None);
    EXPECT_EQ(inkLeftOfText(), 0);
}

TEST_F(RichEditTest, PageDownAndUpMoveByAScreenOfLines)
{
    editor->setText(paragraphs(400, 3));
    editor->moveCursor(QTextCursor::Start);
    QApplication::processEvents();
    QTest::keyClick(editor.get(), Qt::Key_PageDown);
    const int afterDown = editor->LineFromChar(editor->SelectionStart());
    const int screenLines = int(editor->viewport()->height() / QFontMetricsF(editor->font()).lineSpacing());
    EXPECT_GE(afterDown, screenLines - 3);
    EXPECT_LE(afterDown, screenLines + 3);
    QTest::keyClick(editor.get(), Qt::Key_PageDown);
    EXPECT_GT(editor->LineFromChar(editor->SelectionStart()), afterDown + screenLines - 4);
    QTest::keyClick(editor.get(), Qt::Key_PageUp);
    QTest::keyClick(editor.get(), Qt::Key_PageUp);
    EXPECT_EQ(editor->LineFromChar(editor->SelectionStart()), 0);
}

TEST_F(RichEditTest, LinesAskedForBeforeTheBackgroundPassAreTheLaidOutOnes)
{
    // Wide and narrow letters: the estimated line counts of a new text are
    // off both ways, and a line must be found where the laid-out text has it.
    QString text;
    for (int i = 0; i < 3000; ++i) {
        const QString word = i % 3 == 0 ? QStringLiteral("WWWW ") : i % 3 == 1 ? QStringLiteral("iiii ") : QString();
        text += word.repeated(i % 3 == 0 ? 30 : 40) + QStringLiteral("x\n");
    }
    editor->setText(text);
    EditorLayout &layout = layoutOf(*editor);
    ASSERT_GT(layout.blocksNotLaidOut(), 1000);
    const int asked[] = {9000, 40000, 4000, 1, 0, 2999, 7000, 100, 6001};
    std::vector<int> found;
    for (const int line : asked)
        found.push_back(editor->LineIndex(line));

    layout.layoutAll();
    std::vector<int> expected(std::size(asked), -1);
    int first = 0;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next()) {
        layout.blockBoundingRect(block);
        const QTextLayout *lines = block.layout();
        for (std::size_t k = 0; k < std::size(asked); ++k) {
            if (asked[k] >= first && asked[k] < first + lines->lineCount())
                expected[k] = block.position() + lines->lineAt(asked[k] - first).textStart();
        }
        first += lines->lineCount();
    }
    ASSERT_GT(first, 9000);
    ASSERT_LT(first, 40000);
    EXPECT_EQ(found, expected);
}

// At the default hang, "VIII." or "12." is wider than the room left of the
// text: the text moves right, and the whole number stays on the page.
TEST_F(RichEditTest, ListNumbersAreWhollyVisibleLeftOfTheirText)
{
    editor->resize(500, 600);
    QStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines << QStringLiteral("text %1").arg(i);
    for (const paraformat::ListStyle style : {paraformat::ListStyle::UpCaseRoman, paraformat::ListStyle::ArabicNumbers,
                                              paraformat::ListStyle::UpCaseLetter}) {
        editor->setText(lines.join(QStringLiteral("\r\n")));
        editor->SelectWholeText();
        editor->SelectionFormat().setSize(14);
        editor->ParagraphFormat().setListStyle(style);
        QImage shot(editor->viewport()->size(), QImage::Format_RGB32);
        editor->viewport()->render(&shot);
        for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next()) {
            QTextCursor start(block);
            const QRect caret = editor->cursorRect(start);
            const QString number = block.textList()->itemText(block);
            int inkFrom = caret.left();
            for (int x = caret.left() - 1; x >= 0; --x) {
                for (int y = caret.top(); y < caret.bottom(); ++y) {
                    if (qGray(shot.pixel(x, y)) < 128)
                        inkFrom = x;
                }
            }
            const qreal width = QFontMetricsF(start.charFormat().font()).horizontalAdvance(number);
            EXPECT_GT(inkFrom, 0) << number.toStdString();
            EXPECT_GE(caret.left() - inkFrom, width - 2) << number.toStdString();
        }
    }
}

// The strip left of the text selects lines and paragraphs; a drag that
// leaves the word it started in takes whole words.
TEST_F(RichEditTest, SelectionBarTakesLinesAndDragsTakeWholeWords)
{
    editor->setText(QStringLiteral("alpha beta gamma\nsecond line\nthird"));
    QWidget *viewport = editor->viewport();
    const auto pointAt = [&](int position) {
        QTextCursor cursor(editor->document());
        cursor.setPosition(position);
        const QRect caret = editor->cursorRect(cursor);
        return QPoint(caret.left() + 2, caret.center().y());
    };
    const auto selected = [&] { return std::pair(editor->SelectionStart(), editor->SelectionLength()); };
    const int second = 17, third = 29;

    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(1, pointAt(second).y()));
    EXPECT_EQ(selected(), std::pair(second, 12)); // the line and its paragraph end
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(1, pointAt(0).y()));
    EXPECT_EQ(selected(), std::pair(0, 17));
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(1, pointAt(third).y()));
    QTest::mouseMove(viewport, QPoint(1, pointAt(second).y()));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(1, pointAt(second).y()));
    EXPECT_EQ(selected(), std::pair(second, editor->TextLength() - second));

    QTest::mousePress(viewport, Qt::LeftButton, {}, pointAt(2));
    QTest::mouseMove(viewport, pointAt(4));
    EXPECT_EQ(selected(), std::pair(2, 2)); // within the word: as dragged
    QTest::mouseMove(viewport, pointAt(13));
    EXPECT_EQ(selected(), std::pair(0, 16));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, pointAt(13));
}

TEST_F(RichEditTest, LongParagraphsBreakWhereQtBreaksThemAndRunsWithoutBreaksAtTheWidth)
{
    // Words, a long run without a break opportunity (minified data), words.
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QStringLiteral("слово%1 ").arg(i % 17);
    QString run;
    for (int i = 0; i < 6000; ++i)
        run += QChar(u'a' + (i * 7) % 26);
    text += run + QStringLiteral(" tail") + QStringLiteral(" end").repeated(200);
    editor->setText(text);
    const QTextBlock block = editor->document()->firstBlock();
    // A paragraph this long is laid out in pieces: its lines, read across
    // them, are the lines Qt breaks.
    EditorLayout &layout = layoutOf(*editor);
    ASSERT_TRUE(layout.isPieced(block));
    std::vector<EditorLayout::ShownLine> shown;
    for (EditorLayout::ShownLine line = layout.lineOfParagraph(block, 0); line.isValid();
         line = layout.lineOfParagraph(block, static_cast<int>(shown.size())))
        shown.push_back(line);
    ASSERT_GT(shown.size(), 60u);
    EXPECT_EQ(static_cast<int>(shown.size()), layout.lineCount());

    // Qt's own wrap of the same text at the same widths.
    QTextLayout reference(block.text(), editor->document()->defaultFont());
    reference.setTextOption(editor->document()->defaultTextOption());
    reference.beginLayout();
    for (const EditorLayout::ShownLine &line : shown) {
        QTextLine next = reference.createLine();
        if (!next.isValid())
            break;
        next.setLineWidth(line.line.width());
    }
    reference.endLayout();
    ASSERT_EQ(reference.lineCount(), static_cast<int>(shown.size()));
    const int runStart = static_cast<int>(text.indexOf(run));
    int fullRunLines = 0;
    for (int i = 0; i < reference.lineCount(); ++i) {
        const QTextLine line = shown[std::size_t(i)].line;
        const int start = shown[std::size_t(i)].start();
        ASSERT_EQ(start, reference.lineAt(i).textStart()) << "line " << i;
        EXPECT_EQ(shown[std::size_t(i)].number, i);
        const bool insideRun = start >= runStart && start + line.textLength() < runStart + 6000;
        if (insideRun) {
            ++fullRunLines;
            EXPECT_LE(line.naturalTextWidth(), line.width());
            EXPECT_GT(line.naturalTextWidth(), line.width() - 2 * QFontMetricsF(editor->font()).maxWidth());
        }
    }
    EXPECT_GT(fullRunLines, 10);
}

TEST_F(RichEditTest, KeysInALongLineEditAndMoveByTheLinesShown)
{
    // Base64 without a break opportunity, between short paragraphs.
    QString run;
    for (int i = 0; i < 60000; ++i)
        run += QChar(u'A' + (i * 7) % 26);
    editor->setText(QStringLiteral("first\n") + run + QStringLiteral("\nlast"));
    EditorLayout &layout = layoutOf(*editor);
    const QTextBlock block = editor->document()->findBlockByNumber(1);
    ASSERT_TRUE(layout.isPieced(block));
    const int middle = block.position() + 30000;
    editor->setSelectionStart(middle);

    // A run of keys is one undo step; keys taken out are another.
    QTest::keyClicks(editor.get(), QStringLiteral("xyz").repeated(100));
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(editor.get(), Qt::Key_Backspace);
    QTest::keyClick(editor.get(), Qt::Key_Delete);
    QString expected = run;
    expected.insert(30000, QStringLiteral("xyz").repeated(100).chopped(10));
    expected.remove(30290, 1);
    EXPECT_TRUE(editor->document()->findBlockByNumber(1).text() == expected);
    EXPECT_EQ(editor->SelectionStart(), middle + 290);
    expectInStep(*editor);
    editor->Undo();
    editor->Undo();
    EXPECT_TRUE(editor->document()->findBlockByNumber(1).text() == run);

    // Down and Up go a display line and come back; Home and End stay on it.
    editor->setSelectionStart(middle);
    const EditorLayout::ShownLine line = layout.lineAt(middle);
    QTest::keyClick(editor.get(), Qt::Key_Down);
    const int below = editor->SelectionStart();
    EXPECT_EQ(layout.lineAt(below).number, line.number + 1);
    EXPECT_NEAR(layout.caretRect(below).left(), layout.caretRect(middle).left(),
                QFontMetricsF(editor->font()).maxWidth());
    QTest::keyClick(editor.get(), Qt::Key_Up);
    EXPECT_EQ(editor->SelectionStart(), middle);
    QTest::keyClick(editor.get(), Qt::Key_Home);
    EXPECT_EQ(editor->SelectionStart(), line.start());
    QTest::keyClick(editor.get(), Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(editor->SelectionLength(), line.end() - line.start());

    // The caret deep in the paragraph is shown, not the paragraph's top.
    editor->setSelectionStart(block.position() + 50000);
    QTest::keyClick(editor.get(), Qt::Key_Down);
    QApplication::processEvents();
    const QRectF caret = layout.caretRect(editor->SelectionStart());
    const int top = editor->verticalScrollBar()->value();
    EXPECT_GE(caret.top(), top);
    EXPECT_LE(caret.bottom(), top + editor->viewport()->height());

    // An input method is told where the caret is and the text around it, not the paragraph.
    QInputMethodQueryEvent query(Qt::ImCursorRectangle | Qt::ImSurroundingText | Qt::ImCursorPosition);
    QApplication::sendEvent(editor.get(), &query);
    EXPECT_EQ(query.value(Qt::ImCursorRectangle).toRect().top(), qRound(caret.top()) - top);
    const QString around = query.value(Qt::ImSurroundingText).toString();
    EXPECT_LT(around.size(), 1000);
    EXPECT_EQ(around.left(query.value(Qt::ImCursorPosition).toInt()),
              editor->document()->findBlockByNumber(1).text().left(editor->SelectionStart() - block.position()).right(
                  query.value(Qt::ImCursorPosition).toInt()));
}

TEST_F(RichEditTest, TheFirstLineIsFoundWithoutLayingOutTheParagraphsAfterIt)
{
    editor->setText(paragraphs(5000, 12));
    EditorLayout &layout = layoutOf(*editor);
    EXPECT_EQ(editor->LineIndex(0), 0);
    const int before = layout.blocksNotLaidOut();
    // The second paragraph's first line: that paragraph is the first one
    // still estimated.
    const QTextBlock second = editor->document()->findBlockByNumber(1);
    EXPECT_EQ(editor->LineIndex(editor->document()->firstBlock().layout()->lineCount()), second.position());
    EXPECT_GT(layout.blocksNotLaidOut(), before - 4);
}

TEST_F(RichEditTest, ParagraphsMeasuredWithoutALayoutTakeTheHeightAndLinesOfTheirLayout)
{
    // Short lines of letters, digits and tabs, lines that wrap, and lines with
    // characters of other fonts and directions.
    QString text;
    for (int i = 0; i < 600; ++i) {
        switch (i % 6) {
        case 0: text += QStringLiteral("Съешь же ещё\tэтих мягких %1\n").arg(i); break;
        case 1: text += QStringLiteral("WWW iii ").repeated(i % 11) + QStringLiteral("\n"); break;
        case 2: text += QStringLiteral("\n"); break;
        case 3: text += QStringLiteral("漢字 %1 😀\n").arg(i); break;
        case 4: text += QStringLiteral("שלום עולם %1\n").arg(i); break;
        default: text += QStringLiteral("x\ty\tz\t\t%1 AVAVAVAV\n").arg(i); break;
        }
    }
    editor->setText(text);
    EditorLayout &layout = layoutOf(*editor);
    layout.layoutAll();
    const qreal height = layout.documentSize().height();
    const int lines = editor->LineCount();
    qreal laidOut = 2 * editor->document()->documentMargin();
    int laidOutLines = 0;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next()) {
        laidOut += layout.blockBoundingRect(block).height(); // the paragraph's own layout
        laidOutLines += block.layout()->lineCount();
    }
    EXPECT_DOUBLE_EQ(height, laidOut);
    EXPECT_EQ(lines, laidOutLines);
    EXPECT_DOUBLE_EQ(layout.documentSize().height(), laidOut);
}
