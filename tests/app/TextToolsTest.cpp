#include "MainWindowFixture.h"

#include "support/TestHelpers.h"
#include "editor/RichEditStrings.h"
#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QTest>
#include <QToolButton>

namespace {

using testhelpers::u8;

void select(TForm1 &f, int start, int length)
{
    RxRichEdit1(f)->setSelectionStart(start);
    RxRichEdit1(f)->setSelectionLength(length);
}

void undo(TForm1 &f) { toolButton(f, 8)->click(); }

} // namespace

TEST_F(MainWindowTest, ReverseTheSelection)
{
    TForm1 &f = createForm();
    RxRichEdit1(f)->setText("xabcx");
    select(f, 1, 3);
    toolButton(f, 19)->click();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "xcbax");
    EXPECT_EQ(RxRichEdit1(f)->SelectedText(), "cba");
}

TEST_F(MainWindowTest, ReverseAcrossAParagraphEndIsOneUndoStep)
{
    TForm1 &f = createForm();
    RxRichEdit1(f)->setText("ab\r\ncde");
    RxRichEdit1(f)->SelectWholeText();
    toolButton(f, 19)->click();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "edc\r\nba");
    EXPECT_EQ(RxRichEdit1(f)->SelectedText(), "edc\rba");
    // Again on the selection that was left: the former text.
    toolButton(f, 19)->click();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "ab\r\ncde");
    undo(f);
    EXPECT_EQ(RxRichEdit1(f)->Text(), "edc\r\nba");
    undo(f);
    EXPECT_EQ(RxRichEdit1(f)->Text(), "ab\r\ncde");
    undo(f); // back before the text was set: no step of the command is left
    EXPECT_EQ(RxRichEdit1(f)->Text(), "");
}

TEST_F(MainWindowTest, ReverseAndCaseDoNothingWithoutASelection)
{
    for (const char *item : {"N32", "N115", "N116"}) {
        TForm1 &f = createForm();
        RxRichEdit1(f)->setText("abc");
        RxRichEdit1(f)->setSelectionStart(1);
        menuItem(f, item)->trigger();
        EXPECT_EQ(RxRichEdit1(f)->Text(), "abc") << item;
        undo(f); // the one step there is sets the text: the command added none
        EXPECT_EQ(RxRichEdit1(f)->Text(), "") << item;
    }
}

TEST_F(MainWindowTest, UpperAndLowerCaseOfTheSelection)
{
    const struct {
        const char *item;
        const char *expected;
    } cases[] = {
        {"N115", "ЁЛКА И TREE, 2 ШТ. αß"},
        {"N116", "ёлка и tree, 2 шт. αß"},
    };
    for (const auto &c : cases) {
        TForm1 &f = createForm();
        RxRichEdit1(f)->setText(u8("[Ёлка и Tree, 2 шт. αß]"));
        select(f, 1, 21);
        menuItem(f, c.item)->trigger();
        EXPECT_EQ(RxRichEdit1(f)->Text(), u8("[") + u8(c.expected) + u8("]")) << c.item;
        EXPECT_EQ(RxRichEdit1(f)->SelectedText(), u8(c.expected)) << c.item;
    }
}

TEST_F(MainWindowTest, CaseConversionIsTwoReplacements)
{
    TForm1 &f = createForm();
    RxRichEdit1(f)->setText(u8("Привет"));
    RxRichEdit1(f)->SelectWholeText();
    menuItem(f, "N115")->trigger();
    EXPECT_EQ(RxRichEdit1(f)->Text(), u8("ПРИВЕТ"));
    undo(f);
    EXPECT_EQ(RxRichEdit1(f)->Text(), u8("Привет"));
    EXPECT_TRUE(RxRichEdit1(f)->CanUndo());
    undo(f);
    EXPECT_EQ(RxRichEdit1(f)->Text(), u8("Привет"));
    undo(f);
    EXPECT_EQ(RxRichEdit1(f)->Text(), ""); // before the text was set
}

TEST_F(MainWindowTest, EachWholeDocumentReplacementIsOneUndoStepFormatsIncluded)
{
    TForm1 &f = createForm();
    TRxRichEdit *editor = RxRichEdit1(f);
    editor->setSelectedText(u8("b line\rа строка"));
    editor->setSelectionStart(0);
    editor->setSelectionLength(1);
    editor->SelectionFormat().setStyle(FontStyle::Bold);
    editor->setSelectionStart(3);
    const QString before = editor->Text();

    for (const char *command : {"N37", "Delphi1", "WinUTF81"}) { // sort, a template, recoding
        menuItem(f, command)->trigger();
        ASSERT_NE(editor->Text(), before) << command;
        undo(f);
        EXPECT_EQ(editor->Text(), before) << command;
        editor->setSelectionStart(0);
        editor->setSelectionLength(1);
        EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold)) << command;
        editor->setSelectionStart(3);
    }
    // Redo brings the replacement back; typing after an undo ends the redo.
    menuItem(f, "N37")->trigger();
    const QString sorted = editor->Text();
    undo(f);
    toolButton(f, 9)->click();
    EXPECT_EQ(editor->Text(), sorted);
    undo(f);
    editor->setSelectedText("x");
    EXPECT_FALSE(editor->CanRedo());
}

TEST_F(MainWindowTest, SortMarksTheDocumentModified)
{
    TForm1 &f = createForm();
    RxRichEdit1(f)->setText("b\r\nA\r\na\r\nC");
    RxRichEdit1(f)->setModified(false);
    toolButton(f, 25)->click();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "A\r\na\r\nb\r\nC\r\n");
    EXPECT_TRUE(RxRichEdit1(f)->IsModified());
}

TEST_F(MainWindowTest, SortedDocuments)
{
    const struct {
        const char *before;
        const char *after;
    } cases[] = {
        {"", ""},
        {"one", "one\r\n"},
        {"one\r\n", "one\r\n"},
        {"b\r\n\r\na\r\n\r\n", "\r\n\r\na\r\nb\r\n"},
        {"Жук\r\nёж\r\nдом\r\nЕль", "дом\r\nёж\r\nЕль\r\nЖук\r\n"},
        {"b\vz\r\na", "a\r\nb\vz\r\n"},
    };
    for (const auto &c : cases) {
        TForm1 &f = createForm();
        RxRichEdit1(f)->setText(u8(c.before));
        toolButton(f, 25)->click();
        EXPECT_EQ(RxRichEdit1(f)->Text(), u8(c.after)) << c.before;
    }
}

TEST_F(MainWindowTest, SortKeepsWrappedParagraphsWhole)
{
    TForm1 &f = createForm();
    f.show();
    f.resize(500, 400);
    const QString longParagraph = QStringLiteral("zebra crossing ").repeated(60).trimmed();
    RxRichEdit1(f)->setText(longParagraph + QStringLiteral("\r\nmiddle\r\nalpha"));
    ASSERT_TRUE(RxRichEdit1(f)->WordWrap());
    ASSERT_GT(RxRichEdit1(f)->Lines().Count(), 4); // the long paragraph shows as several lines
    toolButton(f, 25)->click();
    EXPECT_EQ(RxRichEdit1(f)->Text(), QStringLiteral("alpha\r\nmiddle\r\n") + longParagraph + QStringLiteral("\r\n"));
}

TEST_F(MainWindowTest, NumberToWordsReplacesTheSelection)
{
    TForm1 &f = createForm();
    RxRichEdit1(f)->setText(u8("Итого: 1234 руб."));
    select(f, 7, 4);
    menuItem(f, "N106")->trigger();
    EXPECT_EQ(RxRichEdit1(f)->Text(), u8("Итого: одна тысяча двести тридцать четыре руб."));
    EXPECT_EQ(RxRichEdit1(f)->SelectedText(), u8("одна тысяча двести тридцать четыре"));
}

TEST_F(MainWindowTest, NumberToWordsWithoutASelectionInsertsZero)
{
    TForm1 &f = createForm();
    RxRichEdit1(f)->setText("ab");
    RxRichEdit1(f)->setSelectionStart(1);
    menuItem(f, "N106")->trigger();
    EXPECT_EQ(RxRichEdit1(f)->Text(), u8("aнольb"));
}

TEST_F(MainWindowTest, NumberToWordsRefusesWhatIsNotANumber)
{
    const struct {
        const char *selected;
        const char *message;
    } cases[] = {
        {"12a", "'12a' is not a valid integer value."},
        {"1-23", "'-23' is not a valid integer value."},
        {"1\r2", nullptr},
    };
    for (const auto &c : cases) {
        platform.boxes.messages.clear();
        TForm1 &f = createForm();
        const QString text = u8("[") + u8(c.selected) + u8("]");
        RxRichEdit1(f)->setText(QString(text).replace(QStringLiteral("\r"), QStringLiteral("\r\n")));
        const QString before = RxRichEdit1(f)->Text();
        const int length = int(qstrlen(c.selected));
        select(f, 1, length);
        RxRichEdit1(f)->setModified(false);
        menuItem(f, "N106")->trigger();
        EXPECT_EQ(RxRichEdit1(f)->Text(), before) << c.selected;
        EXPECT_EQ(RxRichEdit1(f)->SelectionStart(), 1) << c.selected;
        EXPECT_EQ(RxRichEdit1(f)->SelectionLength(), length) << c.selected;
        EXPECT_FALSE(RxRichEdit1(f)->IsModified()) << c.selected;
        ASSERT_EQ(platform.boxes.messages.size(), 1) << c.selected;
        EXPECT_EQ(platform.boxes.messages[0].icon, platform::MessageIcon::Error);
        EXPECT_EQ(platform.boxes.messages[0].title, "Veltrix 3.0");
        if (c.message) {
            EXPECT_EQ(platform.boxes.messages[0].text, c.message);
        }
    }
}

TEST_F(MainWindowTest, RecodingFromMainAndContextMenus)
{
    const QString windows = u8("Привет, World\r\nЁж");
    const QString koi = u8("рТЙЧЕФ, World\r\nЁЦ");
    const QString utf8 = u8("РџСЂРёРІРµС‚, World\r\nРЃР¶");
    const struct {
        const char *item;
        QString before;
        QString after;
    } cases[] = {
        {"Koir1", windows, koi},
        {"Koir8Win1", koi, windows},
        {"WinUTF81", windows, utf8},
        {"UTF8Win1", utf8, windows},
    };
    for (const auto &c : cases) {
        TForm1 &f = createForm();
        RxRichEdit1(f)->setText(c.before);
        menuItem(f, c.item)->trigger();
        EXPECT_EQ(RxRichEdit1(f)->Text(), c.after) << c.item;
    }
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(MainWindowTest, RecodingKeepsCharactersWindows1251Lacks)
{
    TForm1 &f = createForm();
    const QString text = u8("α Привет 😀 ß");
    RxRichEdit1(f)->setText(text);
    menuItem(f, "Koir1")->trigger();
    EXPECT_EQ(RxRichEdit1(f)->Text(), u8("α рТЙЧЕФ 😀 ß"));
    menuItem(f, "Koir8Win1")->trigger();
    EXPECT_EQ(RxRichEdit1(f)->Text(), text);
    menuItem(f, "WinUTF81")->trigger();
    menuItem(f, "UTF8Win1")->trigger();
    EXPECT_EQ(RxRichEdit1(f)->Text(), text);
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(MainWindowTest, EmptyDocumentStaysEmptyUnderEveryRecoding)
{
    for (const char *name : {"Koir1", "Koir8Win1", "WinUTF81", "UTF8Win1"}) {
        TForm1 &f = createForm();
        menuItem(f, name)->trigger();
        EXPECT_EQ(RxRichEdit1(f)->Text(), "") << name;
    }
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(MainWindowTest, TextThatIsNotUtf8IsLeftAsItIs)
{
    const struct {
        bool lang;
        const char *message;
    } cases[] = {
        {true, "The text is not UTF-8. The document is unchanged."},
        {false, "Текст не в кодировке UTF-8. Документ не изменён."},
    };
    for (const auto &c : cases) {
        platform.boxes.messages.clear();
        TForm1 &f = createForm();
        useLanguage(f, c.lang);
        RxRichEdit1(f)->setText(u8("Обычный текст\r\nв Windows-1251"));
        RxRichEdit1(f)->setModified(false);
        menuItem(f, "UTF8Win1")->trigger();
        EXPECT_EQ(RxRichEdit1(f)->Text(), u8("Обычный текст\r\nв Windows-1251"));
        EXPECT_FALSE(RxRichEdit1(f)->IsModified());
        ASSERT_EQ(platform.boxes.messages.size(), 1);
        EXPECT_EQ(platform.boxes.messages[0].icon, platform::MessageIcon::None);
        EXPECT_EQ(platform.boxes.messages[0].title, "Veltrix 3.0");
        EXPECT_EQ(platform.boxes.messages[0].text, u8(c.message));
    }
}
