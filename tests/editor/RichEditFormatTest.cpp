#include "RichEditFixture.h"

#include "formats/ParagraphFormat.h"

#include <QTextBlock>
#include <QTextList>

using paraformat::ListStyle;

TEST_F(RichEditTest, CharacterWritesChangeOnlyTheirProperty)
{
    editor->setText("sample text");
    select(0, 6);
    editor->SelectionFormat().setStyle(FontStyle::Bold | FontStyle::Underline);
    editor->SelectionFormat().setSize(20);
    editor->SelectionFormat().setName("DejaVu Sans");
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyle::Bold | FontStyle::Underline);
    EXPECT_EQ(editor->SelectionFormat().Size(), 20);
    EXPECT_EQ(editor->SelectionFormat().Name(), "DejaVu Sans");
    // Style writes all four effects together.
    editor->SelectionFormat().setStyle(FontStyle::Italic);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Italic));
    EXPECT_EQ(editor->SelectionFormat().Size(), 20);
    // The text after the selection kept the control's font.
    select(7, 4);
    EXPECT_EQ(editor->SelectionFormat().Size(), 14);
    EXPECT_EQ(editor->SelectionFormat().Name(), "Times New Roman");
}

TEST_F(RichEditTest, FormatIsReadAtTheStartOfTheSelection)
{
    editor->setText("ab");
    select(0, 1);
    editor->SelectionFormat().setSize(30);
    select(0, 2);
    EXPECT_EQ(editor->SelectionFormat().Size(), 30);
    select(1, 1);
    EXPECT_EQ(editor->SelectionFormat().Size(), 14);
}

TEST_F(RichEditTest, FaceNamesAreCutToThirtyOneCharacters)
{
    editor->setText("x");
    select(0, 1);
    editor->SelectionFormat().setName(QString(40, QLatin1Char('F')));
    EXPECT_EQ(editor->SelectionFormat().Name(), QString(31, QLatin1Char('F')));
}

TEST_F(RichEditTest, WindowTextColourMeansTheAutomaticColour)
{
    editor->setText("colour");
    select(0, 6);
    EXPECT_EQ(editor->SelectionFormat().Color(), TColor::windowText());
    editor->SelectionFormat().setColor(TColor::fromRgb(0x00ff00));
    EXPECT_EQ(editor->SelectionFormat().Color(), TColor::fromRgb(0x00ff00));
    editor->SelectionFormat().setColor(TColor::windowText());
    EXPECT_EQ(editor->SelectionFormat().Color(), TColor::windowText());
    QTextCursor probe(editor->document());
    probe.setPosition(3);
    EXPECT_FALSE(probe.charFormat().hasProperty(QTextFormat::ForegroundBrush));
    // Another system colour is written as its current RGB value.
    editor->SelectionFormat().setColor(TColor::system(TColor::System::Highlight));
    EXPECT_FALSE(editor->SelectionFormat().Color().isSystem());
}

TEST_F(RichEditTest, IndentsApplyToEveryTouchedParagraphAndKeepNegativeValues)
{
    editor->setText("one\r\ntwo\r\nthree");
    select(2, 5); // "e", break, "tw"
    editor->ParagraphFormat().setFirstLineIndent(20);
    editor->ParagraphFormat().setOtherLinesIndent(-40);
    editor->ParagraphFormat().setRightEdgeIndent(7);
    for (int position : {0, 4}) {
        editor->setSelectionStart(position);
        EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), 20);
        EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), -40);
        EXPECT_EQ(editor->ParagraphFormat().RightEdgeIndent(), 7);
    }
    editor->setSelectionStart(8);
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), 0);
    // Qt cannot lay a line out left of the edge: the margins stay in the page.
    const QTextBlockFormat first = editor->document()->firstBlock().blockFormat();
    EXPECT_GE(first.leftMargin(), 0);
    EXPECT_GE(first.leftMargin() + first.textIndent(), 0);
}

TEST_F(RichEditTest, ListStyleSetsTheFollowingLinesIndent)
{
    editor->setText("item");
    editor->ParagraphFormat().setOtherLinesIndent(4);
    editor->ParagraphFormat().setListStyle(ListStyle::ArabicNumbers);
    EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), 10);
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::ArabicNumbers);
    editor->ParagraphFormat().setOtherLinesIndent(25);
    editor->ParagraphFormat().setListStyle(ListStyle::Bullet);
    EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), 25); // only raised, never lowered
    editor->ParagraphFormat().setListStyle(ListStyle::None);
    EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), 0);
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::None);
    EXPECT_EQ(editor->document()->firstBlock().textList(), nullptr);
}

TEST_F(RichEditTest, EverySixListStylesReadBack)
{
    editor->setText("x");
    for (ListStyle style : {ListStyle::Bullet, ListStyle::ArabicNumbers, ListStyle::LoCaseLetter,
                            ListStyle::UpCaseLetter, ListStyle::LoCaseRoman, ListStyle::UpCaseRoman}) {
        editor->ParagraphFormat().setListStyle(style);
        EXPECT_EQ(editor->ParagraphFormat().ListStyle(), style);
    }
}

TEST_F(RichEditTest, RestylingPartOfAListKeepsOneListPerRun)
{
    editor->setText("1\r\n2\r\n3\r\n4\r\n5");
    editor->SelectWholeText();
    editor->ParagraphFormat().setListStyle(ListStyle::ArabicNumbers);
    select(4, 3); // paragraphs 3 and 4
    editor->ParagraphFormat().setListStyle(ListStyle::LoCaseLetter);
    QList<const QTextList *> lists;
    QList<int> indexes;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next()) {
        ASSERT_TRUE(block.textList());
        lists.append(block.textList());
        indexes.append(block.textList()->itemNumber(block));
    }
    EXPECT_EQ(lists[0], lists[1]);
    EXPECT_NE(lists[1], lists[2]);
    EXPECT_EQ(lists[2], lists[3]);
    EXPECT_NE(lists[3], lists[4]);
    EXPECT_EQ(indexes, QList<int>({0, 1, 0, 1, 0})); // the last paragraph starts again at 1
}

// A list elsewhere keeps its levels, its start and its continuation over a
// plain paragraph when a style is given to other paragraphs.
TEST_F(RichEditTest, ListStyleLeavesOtherListsNumberedAsTheyWere)
{
    editor->LoadContent("{\\rtf1{\\*\\listtable{\\list\\listid1"
                        "{\\listlevel\\levelnfc0\\levelstartat5{\\leveltext\\'02\\'00.;}}"
                        "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'02\\'01.;}}}}"
                        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                        "\\pard\\ls1 one\\par\\pard\\ls1\\ilvl1 sub\\par\\pard\\ls1 two\\par"
                        "\\pard plain\\par\\pard\\ls1 three\\par\\pard last\\par}",
                        true);
    const auto shown = [this] {
        QStringList numbers;
        for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next())
            numbers << (block.textList() ? paraformat::listItemText(*block.textList(), block) : QString());
        return numbers;
    };
    const QStringList before{"5.", "a.", "6.", "", "7.", ""};
    ASSERT_EQ(shown(), before);
    select(editor->TextLength(), 0);
    editor->ParagraphFormat().setListStyle(ListStyle::Bullet);
    EXPECT_EQ(shown(), before);
    editor->ParagraphFormat().setListStyle(ListStyle::None);
    EXPECT_EQ(shown(), before);
}

TEST_F(RichEditTest, AlignmentAppliesToTheTouchedParagraphs)
{
    editor->setText("a\r\nb\r\nc");
    select(0, 3);
    editor->ParagraphFormat().setAlignment(TAlignment::Center);
    editor->setSelectionStart(2);
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::Center);
    editor->setSelectionStart(4);
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::LeftJustify);
}

// Home, Shift+Down selects a line up to where the next one starts: paragraph
// commands change that line only. An empty selection there is the caret's.
TEST_F(RichEditTest, ParagraphCommandsLeaveTheParagraphTheSelectionEndsAt)
{
    editor->setText("one\r\ntwo\r\nthree");
    select(0, 4);
    editor->ParagraphFormat().setAlignment(TAlignment::Center);
    editor->ParagraphFormat().setListStyle(paraformat::ListStyle::Bullet);
    editor->ParagraphFormat().setFirstLineIndent(30);
    editor->setSelectionStart(4);
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::LeftJustify);
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), paraformat::ListStyle::None);
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), 0);
    editor->ParagraphFormat().setAlignment(TAlignment::RightJustify);
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::RightJustify);
    editor->setSelectionStart(0);
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::Center);
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), paraformat::ListStyle::Bullet);
}
