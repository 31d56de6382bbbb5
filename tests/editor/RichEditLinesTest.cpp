#include "RichEditFixture.h"

#include "editor/Links.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

TEST_F(RichEditTest, LineCountLeavesOutALastEmptyLine)
{
    EXPECT_EQ(editor->Lines().Count(), 0);
    editor->setText("ab\r\ncd");
    EXPECT_EQ(editor->Lines().Count(), 2);
    editor->setText("ab\r\n");
    EXPECT_EQ(editor->Lines().Count(), 1);
    EXPECT_EQ(editor->Lines().Get(0), "ab");
}

TEST_F(RichEditTest, AddedLinesCannotBeUndoneAndSelectNothing)
{
    editor->setText("");
    editor->Lines().Add("first");
    editor->Lines().Add("second");
    EXPECT_EQ(editor->Text(), "first\r\nsecond\r\n");
    EXPECT_EQ(editor->SelectionLength(), 0);
    EXPECT_FALSE(editor->CanUndo());
    EXPECT_EQ(editor->Lines().Count(), 2);
    EXPECT_EQ(editor->Lines().Get(1), "second");
}

TEST_F(RichEditTest, AddingAfterATextWithoutFinalBreakStartsANewParagraph)
{
    editor->setText("ab");
    editor->Lines().Add("cd");
    EXPECT_EQ(editor->Text(), "ab\r\ncd");
    editor->Lines().Insert(0, "top");
    EXPECT_EQ(editor->Text(), "top\r\nab\r\ncd");
    editor->Lines().Delete(1);
    EXPECT_EQ(editor->Text(), "top\r\ncd");
    editor->Lines().Put(1, "CD");
    EXPECT_EQ(editor->Text(), "top\r\nCD");
}

TEST_F(RichEditTest, WrappedParagraphIsSeveralLinesOnlyWhileWordWrapIsOn)
{
    const QString paragraph = QString("word ").repeated(200).trimmed();
    editor->setText(paragraph + "\r\nend");
    QCoreApplication::processEvents();
    const int wrapped = editor->Lines().Count();
    EXPECT_GT(wrapped, 3);
    EXPECT_EQ(editor->LineFromChar(editor->TextLength()), wrapped - 1);
    const int secondLine = editor->LineIndex(1);
    EXPECT_GT(secondLine, 0);
    EXPECT_EQ(editor->LineFromChar(secondLine), 1);
    EXPECT_EQ(editor->Lines().Get(0).size(), secondLine); // a wrapped line has no break of its own
    editor->setWordWrap(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->Lines().Count(), 2);
    EXPECT_EQ(editor->Lines().Get(0), paragraph);
    EXPECT_EQ(editor->LineIndex(1), paragraph.size() + 1);
    EXPECT_EQ(editor->LineIndex(2), -1);
}

TEST_F(RichEditTest, SoftLineBreakStartsALine)
{
    editor->setText("ab\vcd");
    EXPECT_EQ(editor->Text(), "ab\vcd");
    EXPECT_EQ(editor->Lines().Count(), 2);
    EXPECT_EQ(editor->Lines().Get(0), "ab");
    EXPECT_EQ(editor->LineFromChar(3), 1);
}

TEST_F(RichEditTest, AddLinesRaisesNoSelectionChange)
{
    QSignalSpy selections(editor.get(), &TRxRichEdit::OnSelectionChange);
    QSignalSpy changes(editor.get(), &TRxRichEdit::OnChange);
    editor->Lines().AddLines({"a", "b", "c"});
    EXPECT_EQ(selections.count(), 0);
    EXPECT_GT(changes.count(), 0);
    EXPECT_EQ(editor->Lines().Count(), 3);
}

TEST(Links, OnlyAddressesAClickMayFollowAreLinks)
{
    const QString text = "telnet://host news:comp.lang gopher://x file:a.txt mailto:a@b.org www.x.org";
    QStringList found;
    for (const links::Link &link : links::find(text))
        found.append(text.mid(link.start, link.length));
    EXPECT_EQ(found, QStringList({"file:a.txt", "mailto:a@b.org", "www.x.org"}));
}

TEST_F(RichEditTest, LinksAreClickedByEitherButton)
{
    editor->setText("see https://example.org/page, then");
    QCoreApplication::processEvents();
    QSignalSpy clicks(editor.get(), &TRxRichEdit::OnURLClick);
    QTextCursor at(editor->document());
    at.setPosition(10);
    const QPoint point = editor->cursorRect(at).center();
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseClick(editor->viewport(), Qt::RightButton, Qt::NoModifier, point);
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks[0][0].toString(), "https://example.org/page");
    EXPECT_EQ(clicks[0][1].value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(clicks[1][1].value<Qt::MouseButton>(), Qt::RightButton);

    // Outside a link, or with detection off, a click is just a click.
    QTextCursor outside(editor->document());
    outside.setPosition(1);
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, editor->cursorRect(outside).center());
    editor->setAutoURLDetect(false);
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(clicks.count(), 2);
}
