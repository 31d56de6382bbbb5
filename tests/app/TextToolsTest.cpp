#include "MainWindowFixture.h"

#include "support/TestHelpers.h"
#include "editor/RichEditStrings.h"
#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QTest>
#include <QToolButton>
#include <functional>

namespace {

using testhelpers::u8;

// One way of giving a command: a button, a menu item or a key.
struct Route {
    const char *name;
    std::function<void(TForm1 &)> run;
};

Route button(int number)
{
    return {"button", [number](TForm1 &f) { f.toolButton(number)->click(); }};
}

Route item(const char *name)
{
    return {name, [name](TForm1 &f) { f.menuItem(QString::fromLatin1(name))->trigger(); }};
}

Route key(const char *name, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return {name, [k, modifiers](TForm1 &f) { QTest::keyClick(f.RxRichEdit1, k, modifiers); }};
}

void select(TForm1 &f, int start, int length)
{
    f.RxRichEdit1->setSelectionStart(start);
    f.RxRichEdit1->setSelectionLength(length);
}

void undo(TForm1 &f) { f.toolButton(8)->click(); }

} // namespace

TEST_F(MainWindowTest, ReverseFromButtonMenusAndF4)
{
    for (const Route &route : {button(19), item("N32"), item("N81"), key("F4", Qt::Key_F4)}) {
        TForm1 &f = createForm();
        f.RxRichEdit1->setText("xabcx");
        select(f, 1, 3);
        route.run(f);
        EXPECT_EQ(f.RxRichEdit1->Text(), "xcbax") << route.name;
        EXPECT_EQ(f.RxRichEdit1->SelectedText(), "cba") << route.name;
        EXPECT_EQ(handlers.last(), "ToolButton19Click") << route.name;
    }
}

TEST_F(MainWindowTest, ReverseAcrossAParagraphEndIsOneUndoStep)
{
    TForm1 &f = createForm();
    f.RxRichEdit1->setText("ab\r\ncde");
    f.RxRichEdit1->SelectWholeText();
    f.toolButton(19)->click();
    EXPECT_EQ(f.RxRichEdit1->Text(), "edc\r\nba");
    EXPECT_EQ(f.RxRichEdit1->SelectedText(), "edc\rba");
    // Again on the selection that was left: the former text.
    f.toolButton(19)->click();
    EXPECT_EQ(f.RxRichEdit1->Text(), "ab\r\ncde");
    undo(f);
    EXPECT_EQ(f.RxRichEdit1->Text(), "edc\r\nba");
    undo(f);
    EXPECT_EQ(f.RxRichEdit1->Text(), "ab\r\ncde");
    EXPECT_FALSE(f.RxRichEdit1->CanUndo());
}

TEST_F(MainWindowTest, ReverseAndCaseDoNothingWithoutASelection)
{
    for (const Route &route : {button(19), item("N115"), item("N116")}) {
        TForm1 &f = createForm();
        f.RxRichEdit1->setText("abc");
        f.RxRichEdit1->setSelectionStart(1);
        route.run(f);
        EXPECT_EQ(f.RxRichEdit1->Text(), "abc") << route.name;
        EXPECT_FALSE(f.RxRichEdit1->CanUndo()) << route.name;
    }
}

TEST_F(MainWindowTest, CaseFromMenusAndKeys)
{
    const struct {
        Route route;
        const char *handler;
        const char *expected;
    } cases[] = {
        {item("N115"), "N115Click", "ЁЛКА И TREE, 2 ШТ. αß"},
        {item("N117"), "N115Click", "ЁЛКА И TREE, 2 ШТ. αß"},
        {key("F2", Qt::Key_F2), "N115Click", "ЁЛКА И TREE, 2 ШТ. αß"},
        {item("N116"), "N116Click", "ёлка и tree, 2 шт. αß"},
        {item("N118"), "N116Click", "ёлка и tree, 2 шт. αß"},
        {key("F3", Qt::Key_F3), "N116Click", "ёлка и tree, 2 шт. αß"},
    };
    for (const auto &c : cases) {
        TForm1 &f = createForm();
        f.RxRichEdit1->setText(u8("[Ёлка и Tree, 2 шт. αß]"));
        select(f, 1, 21);
        c.route.run(f);
        EXPECT_EQ(f.RxRichEdit1->Text(), u8("[") + u8(c.expected) + u8("]")) << c.route.name;
        EXPECT_EQ(f.RxRichEdit1->SelectedText(), u8(c.expected)) << c.route.name;
        EXPECT_EQ(handlers.last(), c.handler) << c.route.name;
    }
}

TEST_F(MainWindowTest, CaseConversionIsTwoReplacements)
{
    TForm1 &f = createForm();
    f.RxRichEdit1->setText(u8("Привет"));
    f.RxRichEdit1->SelectWholeText();
    f.menuItem("N115")->trigger();
    EXPECT_EQ(f.RxRichEdit1->Text(), u8("ПРИВЕТ"));
    undo(f);
    EXPECT_EQ(f.RxRichEdit1->Text(), u8("Привет"));
    EXPECT_TRUE(f.RxRichEdit1->CanUndo());
    undo(f);
    EXPECT_EQ(f.RxRichEdit1->Text(), u8("Привет"));
    EXPECT_FALSE(f.RxRichEdit1->CanUndo());
}

TEST_F(MainWindowTest, SortFromButtonMenusAndCtrlAltB)
{
    for (const Route &route : {button(25), item("N37"), item("N84"), key("Ctrl+Alt+B", Qt::Key_B, Qt::ControlModifier | Qt::AltModifier)}) {
        TForm1 &f = createForm();
        f.RxRichEdit1->setText("b\r\nA\r\na\r\nC");
        route.run(f);
        EXPECT_EQ(f.RxRichEdit1->Text(), "A\r\na\r\nb\r\nC\r\n") << route.name;
        EXPECT_EQ(handlers.last(), "ToolButton25Click") << route.name;
        EXPECT_TRUE(f.RxRichEdit1->IsModified()) << route.name;
    }
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
        f.RxRichEdit1->setText(u8(c.before));
        f.toolButton(25)->click();
        EXPECT_EQ(f.RxRichEdit1->Text(), u8(c.after)) << c.before;
    }
}

TEST_F(MainWindowTest, SortKeepsWrappedParagraphsWhole)
{
    TForm1 &f = createForm();
    f.show();
    f.resize(500, 400);
    const QString longParagraph = QStringLiteral("zebra crossing ").repeated(60).trimmed();
    f.RxRichEdit1->setText(longParagraph + QStringLiteral("\r\nmiddle\r\nalpha"));
    ASSERT_TRUE(f.RxRichEdit1->WordWrap());
    ASSERT_GT(f.RxRichEdit1->Lines().Count(), 4); // the long paragraph shows as several lines
    f.toolButton(25)->click();
    EXPECT_EQ(f.RxRichEdit1->Text(), QStringLiteral("alpha\r\nmiddle\r\n") + longParagraph + QStringLiteral("\r\n"));
}

TEST_F(MainWindowTest, NumberToWordsFromMenusAndCtrlShiftF10)
{
    for (const Route &route : {item("N106"), item("N111"), key("Ctrl+Shift+F10", Qt::Key_F10, Qt::ControlModifier | Qt::ShiftModifier)}) {
        TForm1 &f = createForm();
        f.RxRichEdit1->setText(u8("Итого: 1234 руб."));
        select(f, 7, 4);
        route.run(f);
        EXPECT_EQ(f.RxRichEdit1->Text(), u8("Итого: одна тысяча двести тридцать четыре руб.")) << route.name;
        EXPECT_EQ(f.RxRichEdit1->SelectedText(), u8("одна тысяча двести тридцать четыре")) << route.name;
        EXPECT_EQ(handlers.last(), "N106Click") << route.name;
    }
}

TEST_F(MainWindowTest, NumberToWordsWithoutASelectionInsertsZero)
{
    TForm1 &f = createForm();
    f.RxRichEdit1->setText("ab");
    f.RxRichEdit1->setSelectionStart(1);
    f.menuItem("N106")->trigger();
    EXPECT_EQ(f.RxRichEdit1->Text(), u8("aнольb"));
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
        f.RxRichEdit1->setText(QString(text).replace(QStringLiteral("\r"), QStringLiteral("\r\n")));
        const QString before = f.RxRichEdit1->Text();
        const int length = int(qstrlen(c.selected));
        select(f, 1, length);
        f.RxRichEdit1->setModified(false);
        f.menuItem("N106")->trigger();
        EXPECT_EQ(f.RxRichEdit1->Text(), before) << c.selected;
        EXPECT_EQ(f.RxRichEdit1->SelectionStart(), 1) << c.selected;
        EXPECT_EQ(f.RxRichEdit1->SelectionLength(), length) << c.selected;
        EXPECT_FALSE(f.RxRichEdit1->IsModified()) << c.selected;
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
        const char *handler;
        QString before;
        QString after;
    } cases[] = {
        {"Koir1", "Koir1Click", windows, koi},
        {"Koir8Win2", "Koir1Click", windows, koi},
        {"Koir8Win1", "Koir8Win1Click", koi, windows},
        {"Koir8Win3", "Koir8Win1Click", koi, windows},
        {"WinUTF81", "WinUTF81Click", windows, utf8},
        {"WinUTF82", "WinUTF81Click", windows, utf8},
        {"UTF8Win1", "UTF8Win1Click", utf8, windows},
        {"UTFWin1", "UTF8Win1Click", utf8, windows},
    };
    for (const auto &c : cases) {
        TForm1 &f = createForm();
        f.RxRichEdit1->setText(c.before);
        f.menuItem(c.item)->trigger();
        EXPECT_EQ(f.RxRichEdit1->Text(), c.after) << c.item;
        EXPECT_EQ(handlers.last(), c.handler) << c.item;
    }
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(MainWindowTest, RecodingKeepsCharactersWindows1251Lacks)
{
    TForm1 &f = createForm();
    const QString text = u8("α Привет 😀 ß");
    f.RxRichEdit1->setText(text);
    f.menuItem("Koir1")->trigger();
    EXPECT_EQ(f.RxRichEdit1->Text(), u8("α рТЙЧЕФ 😀 ß"));
    f.menuItem("Koir8Win1")->trigger();
    EXPECT_EQ(f.RxRichEdit1->Text(), text);
    f.menuItem("WinUTF81")->trigger();
    f.menuItem("UTF8Win1")->trigger();
    EXPECT_EQ(f.RxRichEdit1->Text(), text);
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(MainWindowTest, EmptyDocumentStaysEmptyUnderEveryRecoding)
{
    for (const char *name : {"Koir1", "Koir8Win1", "WinUTF81", "UTF8Win1"}) {
        TForm1 &f = createForm();
        f.menuItem(name)->trigger();
        EXPECT_EQ(f.RxRichEdit1->Text(), "") << name;
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
        f.Lang = c.lang;
        f.RxRichEdit1->setText(u8("Обычный текст\r\nв Windows-1251"));
        f.RxRichEdit1->setModified(false);
        f.menuItem("UTF8Win1")->trigger();
        EXPECT_EQ(f.RxRichEdit1->Text(), u8("Обычный текст\r\nв Windows-1251"));
        EXPECT_FALSE(f.RxRichEdit1->IsModified());
        ASSERT_EQ(platform.boxes.messages.size(), 1);
        EXPECT_EQ(platform.boxes.messages[0].icon, platform::MessageIcon::None);
        EXPECT_EQ(platform.boxes.messages[0].title, "Veltrix 3.0");
        EXPECT_EQ(platform.boxes.messages[0].text, u8(c.message));
    }
}
