#include "RichEditFixture.h"

#include "editor/RichEditAccessible.h"

#include <QScrollBar>
#include <QTextCursor>

namespace {

// The cache owns the interfaces Qt makes; a test owns its own.
class OwnedAccessible : public RichEditAccessible {
public:
    using RichEditAccessible::RichEditAccessible;
    ~OwnedAccessible() override = default;
};

} // namespace

class RichEditAccessibleTest : public RichEditTest {
protected:
    // Where the editor paints the caret before `position`, on the screen.
    QRect caretAt(int position) const
    {
        QTextCursor cursor(editor->document());
        cursor.setPosition(position);
        const QRect caret = editor->cursorRect(cursor);
        return caret.translated(editor->viewport()->mapToGlobal(QPoint(0, 0)));
    }

    // The character is in its painted line, starts where the caret before
    // it is painted, and is the one found at its middle.
    void expectPlacedAsPainted(OwnedAccessible &access, int position)
    {
        const QRect rect = access.characterRect(position);
        const QRect caret = caretAt(position);
        EXPECT_NEAR(rect.left(), caret.left(), 1) << position;
        EXPECT_GE(rect.top(), caret.top() - 1) << position;
        EXPECT_LE(rect.bottom(), caret.bottom() + 1) << position;
        EXPECT_GT(rect.width(), 0) << position;
        EXPECT_EQ(access.offsetAtPoint(rect.center()), position) << position;
    }
};

TEST_F(RichEditAccessibleTest, CharactersArePlacedOnTheirOwnLinesScrolledOrNot)
{
    const QString wrapped = QString("word ").repeated(60).trimmed();
    editor->setText("first\r\nsecond\r\nthird\r\n" + wrapped + QString("\r\nmore").repeated(40));
    QCoreApplication::processEvents();
    OwnedAccessible access(editor.get());

    const int lineTwo = editor->LineIndex(1) + 2;
    const int lineThree = editor->LineIndex(2) + 2;
    const QRect one = access.characterRect(2);
    const QRect two = access.characterRect(lineTwo);
    const QRect three = access.characterRect(lineThree);
    EXPECT_GT(two.top(), one.top());
    EXPECT_EQ(three.top() - two.top(), two.top() - one.top()); // a line height each
    ASSERT_GT(editor->LineIndex(4), editor->LineIndex(3) + 1); // the long paragraph wraps
    const int wrappedLine = editor->LineIndex(4);
    EXPECT_NEAR(access.characterRect(wrappedLine).left(), access.characterRect(editor->LineIndex(3)).left(), 1);
    EXPECT_EQ(access.characterRect(wrappedLine).top() - access.characterRect(lineThree).top(), 2 * (two.top() - one.top()));
    for (const int position : {2, lineTwo, lineThree, editor->LineIndex(3) + 3, wrappedLine})
        expectPlacedAsPainted(access, position);

    editor->verticalScrollBar()->setValue(editor->verticalScrollBar()->maximum() / 2);
    const int shown = access.offsetAtPoint(editor->viewport()->mapToGlobal(QPoint(20, 40)));
    ASSERT_GT(shown, editor->LineIndex(5));
    expectPlacedAsPainted(access, shown);
    EXPECT_GT(three.top(), access.characterRect(lineThree).top()); // moved up with the text
    EXPECT_EQ(access.offsetAtPoint(editor->mapToGlobal(QPoint(-5, -5))), -1);

    access.scrollToSubstring(lineThree, lineThree + 3);
    const QRect shownAgain = access.characterRect(lineThree);
    EXPECT_TRUE(QRect(editor->viewport()->mapToGlobal(QPoint(0, 0)), editor->viewport()->size()).contains(shownAgain));
}

TEST_F(RichEditAccessibleTest, LinesWordsAndParagraphsTakeInTheirParagraphEnd)
{
    editor->setText("one two\r\n\r\nthree");
    OwnedAccessible access(editor.get());
    EXPECT_EQ(access.characterCount(), 14);
    EXPECT_EQ(access.text(0, 14), "one two\n\nthree");
    EXPECT_EQ(access.text(5, 10), "wo\n\nt");

    int start = -1, end = -1;
    const auto at = [&](int offset, QAccessible::TextBoundaryType type) {
        const QString text = access.textAtOffset(offset, type, &start, &end);
        return text + QString(" %1-%2").arg(start).arg(end);
    };
    EXPECT_EQ(at(7, QAccessible::LineBoundary), "one two\n 0-8");
    EXPECT_EQ(at(8, QAccessible::LineBoundary), "\n 8-9");
    EXPECT_EQ(at(14, QAccessible::LineBoundary), "three 9-14"); // the caret at the end
    EXPECT_EQ(at(2, QAccessible::ParagraphBoundary), "one two\n 0-8");
    EXPECT_EQ(at(5, QAccessible::WordBoundary), "two 4-7");
    EXPECT_EQ(at(3, QAccessible::WordBoundary), "  3-4");
    EXPECT_EQ(at(7, QAccessible::WordBoundary), "\n 7-8");
    EXPECT_EQ(access.textAfterOffset(0, QAccessible::LineBoundary, &start, &end), "\n");
    EXPECT_EQ(access.textBeforeOffset(9, QAccessible::LineBoundary, &start, &end), "\n");
    EXPECT_EQ(access.textBeforeOffset(10, QAccessible::WordBoundary, &start, &end), "\n");
    EXPECT_EQ(start, 8);

    // A wrapped paragraph: the display lines the editor shows.
    editor->setText(QString("word ").repeated(60).trimmed() + "\r\nend");
    QCoreApplication::processEvents();
    ASSERT_GT(editor->LineCount(), 3);
    EXPECT_EQ(access.textAtOffset(editor->LineIndex(1) + 1, QAccessible::LineBoundary, &start, &end),
              editor->Lines().Get(1));
    EXPECT_EQ(start, editor->LineIndex(1));
    const int last = editor->LineCount() - 2; // the wrapped paragraph's last line
    EXPECT_EQ(access.textAtOffset(editor->LineIndex(last), QAccessible::LineBoundary, &start, &end),
              editor->Lines().Get(last) + "\n");
}

TEST_F(RichEditAccessibleTest, AnEditIsOneUndoStepAndAttributesAreTheRunsOwn)
{
    editor->LoadContent(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 plain {\b bold} end\par})", true);
    OwnedAccessible access(editor.get());
    int start = -1, end = -1;
    const QString bold = access.attributes(7, &start, &end);
    EXPECT_TRUE(bold.contains("font-weight:bold;")) << bold.toStdString();
    EXPECT_TRUE(bold.contains("font-size:10pt;")) << bold.toStdString();
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 10);
    EXPECT_TRUE(access.attributes(2, &start, &end).contains("font-weight:normal;"));

    editor->setText("one two");
    access.replaceText(4, 7, "2\nlines");
    EXPECT_EQ(editor->Text(), "one 2\r\nlines");
    access.insertText(0, "A ");
    EXPECT_EQ(editor->Text(), "A one 2\r\nlines");
    editor->Undo();
    EXPECT_EQ(editor->Text(), "one 2\r\nlines");
    editor->Undo();
    EXPECT_EQ(editor->Text(), "one two");
    editor->setReadOnly(true);
    access.deleteText(0, 3);
    EXPECT_EQ(editor->Text(), "one two");
    EXPECT_TRUE(access.state().readOnly);
}

TEST_F(RichEditAccessibleTest, QuestionsWhileALargeFileComesInLeaveTheRestOut)
{
    constexpr int kLines = 20000;
    const QString line = QStringLiteral("line of the large file\r\n");
    const QString path = writeFile("big.txt", line.repeated(kLines).toUtf8());
    editor->setCharactersBeforeShown(1000);
    editor->LoadFile(path);
    ASSERT_TRUE(editor->isLoading());
    OwnedAccessible access(editor.get());
    const int count = access.characterCount();
    EXPECT_LT(count, kLines * (line.size() - 1)); // a paragraph end is one position

    int start = -1, end = -1;
    EXPECT_EQ(access.text(0, 24), "line of the large file\nl");
    EXPECT_EQ(access.textAtOffset(0, QAccessible::LineBoundary, &start, &end), "line of the large file\n");
    EXPECT_TRUE(access.characterRect(30).isValid());
    EXPECT_TRUE(access.attributes(3, &start, &end).contains("font-family"));
    EXPECT_LE(access.text(QAccessible::Value).size(), 4096);
    EXPECT_TRUE(editor->isLoading());
    EXPECT_EQ(access.characterCount(), count);

    // Replacing the whole text means the whole file, not what came in so far.
    access.replaceText(0, access.characterCount(), "new");
    EXPECT_FALSE(editor->isLoading());
    EXPECT_EQ(editor->Text(), "new");
}
