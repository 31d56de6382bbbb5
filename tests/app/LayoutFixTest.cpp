#include "MainWindowFixture.h"

#include "support/TestHelpers.h"
#include "editor/TRxRichEdit.h"
#include "widgets/StatusBar.h"

#include <QAction>
#include <QFont>
#include <QTest>
#include <QTextCursor>

namespace {

using testhelpers::u8;

constexpr quint32 kEnglish = 0x00010409;
constexpr quint32 kRussian = 0x00020419;

void pressPause(TForm1 &f) { QTest::keyClick(RxRichEdit1(f), Qt::Key_Pause); }
void undo(TForm1 &f) { QTest::keyClick(RxRichEdit1(f), Qt::Key_Z, Qt::ControlModifier); }

bool boldBefore(TForm1 &f, int position)
{
    QTextCursor cursor(RxRichEdit1(f)->document());
    cursor.setPosition(position);
    return cursor.charFormat().fontWeight() == QFont::Bold;
}

} // namespace

TEST_F(MainWindowTest, FixLayoutTurnsTextTypedInTheWrongLayoutIntoTheMeantOneAndBack)
{
    writeSettings("[LANGUAGE]\nLang=0\n");
    platform.keyboard.layouts = {kEnglish, kRussian};
    TForm1 &f = createForm();
    f.show();
    TRxRichEdit *edit = RxRichEdit1(f);
    for (const char *item : {"N129", "N130"})
        EXPECT_EQ(menuItem(f, item)->text(), u8("Исправить раскладку")) << item;

    // Typed in the US layout, the second word bold.
    QTest::keyClicks(edit, QStringLiteral("Ghbdtn? vbh!"));
    QTextCursor bold(edit->document());
    bold.setPosition(8);
    bold.setPosition(11, QTextCursor::KeepAnchor);
    QTextCharFormat weight;
    weight.setFontWeight(QFont::Bold);
    bold.mergeCharFormat(weight);
    platform.keyboard.activations.clear();

    // Nothing selected: the words typed in the wrong layout, which end up selected.
    pressPause(f);
    EXPECT_EQ(edit->Text(), u8("Привет, мир!"));
    EXPECT_EQ(edit->SelectedText(), u8("Привет, мир!"));
    EXPECT_EQ(StatusBar1(f)->panelText(4), u8("РУС."));
    // Pressed again on that selection: back as it was, in the US layout.
    pressPause(f);
    EXPECT_EQ(edit->Text(), u8("Ghbdtn? vbh!"));
    EXPECT_EQ(StatusBar1(f)->panelText(4), u8("АНГЛ."));
    EXPECT_EQ(platform.keyboard.activations, (QList<quint32>{kRussian, kEnglish}));

    // The whole line: its Latin letters are more, so it goes to the Russian
    // layout, each character keeping its format, in one undo step.
    edit->SelectWholeText();
    pressPause(f);
    EXPECT_EQ(edit->Text(), u8("Привет, мир!"));
    EXPECT_EQ(edit->SelectedText(), u8("Привет, мир!"));
    EXPECT_EQ(platform.keyboard.activations.last(), kRussian);
    EXPECT_FALSE(boldBefore(f, 8));
    EXPECT_TRUE(boldBefore(f, 9) && boldBefore(f, 11));
    EXPECT_FALSE(boldBefore(f, 12));
    undo(f);
    EXPECT_EQ(edit->Text(), u8("Ghbdtn? vbh!"));

    // The reverse: Russian letters typed for English words; the caption in English.
    useLanguage(f, true);
    for (const char *item : {"N129", "N130"})
        EXPECT_EQ(menuItem(f, item)->text(), u8("Fix layout")) << item;
    edit->setText(u8("руддщ цщкдв"));
    edit->SelectWholeText();
    pressPause(f);
    EXPECT_EQ(edit->Text(), u8("hello world"));
    EXPECT_EQ(StatusBar1(f)->panelText(4), u8("ENG."));
    EXPECT_EQ(platform.keyboard.activations.last(), kEnglish);

    // After a space there is no word to fix: nothing changes, nothing switches.
    edit->setText(u8("ghbdtn "));
    edit->setSelectionStart(7);
    const qsizetype activations = platform.keyboard.activations.size();
    pressPause(f);
    EXPECT_EQ(edit->Text(), u8("ghbdtn "));
    EXPECT_EQ(platform.keyboard.activations.size(), activations);
}

TEST_F(MainWindowTest, FixLayoutFollowsTheKeysOfTheDesktopLayouts)
{
    // A phonetic Russian layout: the Q key gives Я.
    platform.keyboard.layouts = {kEnglish, kRussian};
    platform.keyboard.keymaps[kEnglish] = {{24, U'q', U'Q'}, {25, U'w', U'W'}};
    platform.keyboard.keymaps[kRussian] = {{24, U'я', U'Я'}, {25, U'ж', U'Ж'}};
    TForm1 &f = createForm();
    RxRichEdit1(f)->setText(u8("Qw"));
    RxRichEdit1(f)->setSelectionStart(2);
    pressPause(f);
    EXPECT_EQ(RxRichEdit1(f)->Text(), u8("Яж"));
}
