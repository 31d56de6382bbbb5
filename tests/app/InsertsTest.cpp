#include "MainWindowFixture.h"

#include "support/TestHelpers.h"
#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QTextTable>
#include <QToolButton>

namespace {

using testhelpers::u8;

void press(QWidget *widget, const char *key)
{
    const QKeyCombination combination = QKeySequence::fromString(QString::fromLatin1(key))[0];
    QTest::keyClick(widget, combination.key(), combination.keyboardModifiers());
}

} // namespace

class InsertsTest : public MainWindowTest {
protected:
    TForm1 &shownForm()
    {
        TForm1 &f = createForm();
        f.show();
        return f;
    }

    // "xxSELyy" with "SEL" selected.
    void prepareSelection(TForm1 &f)
    {
        RxRichEdit1(f)->setText(QStringLiteral("xxSELyy"));
        RxRichEdit1(f)->setSelectionStart(2);
        RxRichEdit1(f)->setSelectionLength(3);
    }

    QString writeFile(const QString &name, const QByteArray &content)
    {
        const QString path = dir.filePath(name);
        testhelpers::writeFile(path, content);
        return path;
    }
};

TEST_F(InsertsTest, DateAndTimeReplaceTheSelectionInOneUndoStep)
{
    TForm1 &f = shownForm();
    platform.clockTime.time = QDateTime(QDate(2026, 3, 4), QTime(17, 8, 9));
    // The tests run in the C locale: its short date, then its long time without the zone.
    const QString stamp = QStringLiteral("4 Mar 2026 17:08:09");
    prepareSelection(f);
    toolButton(f, 18)->click();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "xx" + stamp + "yy");
    EXPECT_EQ(RxRichEdit1(f)->SelectedText(), stamp);
    RxRichEdit1(f)->Undo();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "xxSELyy");
}

TEST_F(InsertsTest, DateAloneWithinTheFirstSecondAfterMidnight)
{
    TForm1 &f = shownForm();
    const QDate date(2026, 1, 1);
    platform.clockTime.time = QDateTime(date, QTime(0, 0, 0, 500));
    press(RxRichEdit1(f), "F5");
    EXPECT_EQ(RxRichEdit1(f)->Text(), QLocale::system().toString(date, QLocale::ShortFormat));
}

TEST_F(InsertsTest, FileContentsUpToTheFirstZeroByte)
{
    TForm1 &f = shownForm();
    const QString path = writeFile("letter.txt", QByteArray("Dear\r\n\xC4\xF0\xF3\xE3\0ignored", 18));
    prepareSelection(f);
    platform.files.answers = {path};
    toolButton(f, 23)->click();
    EXPECT_EQ(RxRichEdit1(f)->Text(), u8("xxDear\r\nДругyy"));
    EXPECT_EQ(RxRichEdit1(f)->SelectedText(), u8("Dear\rДруг"));
    RxRichEdit1(f)->Undo();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "xxSELyy");
    const platform::FileDialogRequest &request = platform.files.openRequests.last();
    EXPECT_EQ(request.filters, QStringList{"All files (*.*)|*.*"});
}

TEST_F(InsertsTest, FileContentsThatGiveNothing)
{
    TForm1 &f = shownForm();
    struct Case {
        const char *name;
        std::optional<QString> answer;
        const char *text; // the document afterwards
    };
    const Case cases[] = {
        {"cancelled", std::nullopt, "xxSELyy"},
        {"missing file", dir.filePath("missing.txt"), "xxSELyy"},
        {"folder", dir.path(), "xxSELyy"},
        {"empty file", writeFile("empty.txt", QByteArray()), "xxyy"},
        {"zero first", writeFile("zero.bin", QByteArray("\0abc", 4)), "xxyy"},
    };
    for (const Case &c : cases) {
        prepareSelection(f);
        platform.files.answers = {c.answer};
        press(RxRichEdit1(f), "Ctrl+E");
        EXPECT_EQ(RxRichEdit1(f)->Text(), QString::fromLatin1(c.text)) << c.name;
    }
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(InsertsTest, FileNameWithoutItsFolder)
{
    TForm1 &f = shownForm();
    const QString path = dir.filePath("letter.txt");
    prepareSelection(f);
    platform.files.answers = {path};
    toolButton(f, 24)->click();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "xxletter.txtyy");
    EXPECT_EQ(RxRichEdit1(f)->SelectedText(), "letter.txt");
    RxRichEdit1(f)->Undo();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "xxSELyy");
    prepareSelection(f);
    platform.files.answers = {std::nullopt};
    press(RxRichEdit1(f), "F10");
    EXPECT_EQ(RxRichEdit1(f)->Text(), "xxSELyy");
}

TEST_F(InsertsTest, BothFileInsertsShareTheDialogThatRemembersTheLastFile)
{
    TForm1 &f = shownForm();
    const QString first = writeFile("first.txt", "1");
    platform.files.answers = {first, std::nullopt, dir.filePath("second.txt")};
    press(RxRichEdit1(f), "Ctrl+E");
    press(RxRichEdit1(f), "F10"); // cancelled: the dialog keeps the first file
    press(RxRichEdit1(f), "F10");
    press(RxRichEdit1(f), "Ctrl+E");
    ASSERT_EQ(platform.files.openRequests.size(), 4);
    EXPECT_EQ(platform.files.openRequests[0].fileName, QString());
    EXPECT_EQ(platform.files.openRequests[1].fileName, first);
    EXPECT_EQ(platform.files.openRequests[2].fileName, first);
    EXPECT_EQ(platform.files.openRequests[3].fileName, dir.filePath("second.txt"));
}

TEST_F(InsertsTest, TemplatesFromBothMenusReplaceTheDocumentAndMarkItModified)
{
    struct Case {
        const char *mainItem;
        const char *contextItem;
        const char *firstLine;
        bool breakAfterLast;
    };
    const Case cases[] = {
        {"Delphi1", "Delphi2", "unit Unit1;", true},
        {"Pascal1", "ObjectPascal1", "program Project1;", true},
        {"HTML1", "HTML2", "<HTML>", false},
        {"Cheader1", "CHeader2", "#ifndef mainH", true},
        {"CPP1", "CPP2", "#include <vcl.h>", true},
    };
    TForm1 &f = shownForm();
    for (const Case &c : cases) {
        for (const char *item : {c.mainItem, c.contextItem}) {
            RxRichEdit1(f)->ClearAll();
            RxRichEdit1(f)->setText(QStringLiteral("former"));
            RxRichEdit1(f)->setModified(false);
            menuItem(f, QString::fromLatin1(item))->trigger();
            const QString text = RxRichEdit1(f)->Text();
            EXPECT_TRUE(text.startsWith(QString::fromLatin1(c.firstLine) + "\r\n")) << item;
            EXPECT_EQ(text.endsWith("\r\n"), c.breakAfterLast) << item;
            EXPECT_FALSE(text.contains("former")) << item;
            EXPECT_TRUE(RxRichEdit1(f)->IsModified()) << item;
        }
    }
    EXPECT_TRUE(platform.boxes.questions.isEmpty()); // replaced without asking
}

TEST_F(InsertsTest, InsertObjectGoesThroughTheEditorsDialog)
{
    TForm1 &f = shownForm();
    const QString picture = dir.filePath("dot.png");
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(picture));

    RxRichEdit1(f)->setText(QStringLiteral("ab"));
    RxRichEdit1(f)->setSelectionStart(1);
    platform.objects.choice = platform::InsertObjectChoice{picture, false};
    menuItem(f, "N113")->trigger();
    EXPECT_EQ(platform.objects.asked, 1);
    EXPECT_TRUE(RxRichEdit1(f)->selectedObject().isValid());
    EXPECT_EQ(RxRichEdit1(f)->TextLength(), 3);

    // Cancelled: nothing goes in and nothing is said.
    platform.objects.choice.reset();
    menuItem(f, "N113")->trigger();
    EXPECT_EQ(platform.objects.asked, 2);
    EXPECT_EQ(RxRichEdit1(f)->TextLength(), 3);
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(InsertsTest, InsertTableAsksForRowsAndColumnsInTheInterfaceLanguage)
{
    writeSettings("[LANGUAGE]\nLang=0\n");
    TForm1 &f = shownForm();
    RxRichEdit1(f)->setText(QStringLiteral("abcd"));
    RxRichEdit1(f)->setSelectionStart(2);
    platform.objects.tableSize = platform::TableSize{3, 2};
    menuItem(f, "N131")->trigger();
    ASSERT_EQ(platform.objects.tableAsked.size(), 1u);
    EXPECT_EQ(platform.objects.tableAsked[0].rowsLabel, QStringLiteral("Строк:"));
    QTextTable *table = RxRichEdit1(f)->textCursor().currentTable();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows(), 3);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(RxRichEdit1(f)->textCursor().position(), table->cellAt(0, 0).firstPosition());
    EXPECT_GT(table->cellAt(2, 1).format().toTableCellFormat().bottomBorder(), 0) << "single borders";
    // The text around it stays; one undo takes the table back.
    const QString text = RxRichEdit1(f)->document()->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("ab\n")) && text.endsWith(QStringLiteral("\ncd"))) << text.toStdString();
    RxRichEdit1(f)->Undo();
    EXPECT_EQ(RxRichEdit1(f)->Text(), QStringLiteral("abcd"));

    // Cancelled: nothing goes in. In English the dialog speaks English.
    CB3(f)->click();
    ASSERT_TRUE(f.english());
    platform.objects.tableSize.reset();
    menuItem(f, "N131")->trigger();
    ASSERT_EQ(platform.objects.tableAsked.size(), 2u);
    EXPECT_EQ(platform.objects.tableAsked.back().rowsLabel, QStringLiteral("Rows:"));
    EXPECT_EQ(RxRichEdit1(f)->Text(), QStringLiteral("abcd"));
}

TEST_F(InsertsTest, KeyboardLayoutCommandsInBothLanguages)
{
    const quint32 en = 0x04090409, ru = 0x04190419;
    struct Case {
        QByteArray settings;
        QList<quint32> installed;
        const char *english;      // panel 4 after the English command
        const char *russian;      // and after the Russian one
        QList<quint32> activated; // by the English command, then by the Russian one
    };
    const Case cases[] = {
        {"", {en, ru}, "ENG.", "RUS.", {en, ru}},
        {"[LANGUAGE]\nLang=0\n", {en, ru}, "АНГЛ.", "РУС.", {en, ru}},
        // A layout not installed is not activated; the panel says it all the same.
        {"", {en}, "ENG.", "RUS.", {en}},
        {"[LANGUAGE]\nLang=0\n", {ru}, "АНГЛ.", "РУС.", {ru}},
        {"[LANGUAGE]\nLang=0\n", {}, "АНГЛ.", "РУС.", {}},
    };
    for (const Case &c : cases) {
        writeSettings(c.settings);
        platform.keyboard.layouts = c.installed;
        TForm1 &f = shownForm();
        platform.keyboard.activations.clear();
        toolButton(f, 26)->click();
        EXPECT_EQ(StatusBar1(f)->panelText(4), u8(c.english));
        toolButton(f, 27)->click();
        EXPECT_EQ(StatusBar1(f)->panelText(4), u8(c.russian));
        EXPECT_EQ(platform.keyboard.activations, c.activated);
    }
}

TEST_F(InsertsTest, TheLayoutPanelWaitsForTheNextLayoutCommandAfterALanguageSwitch)
{
    writeSettings("[LANGUAGE]\nLang=0\n");
    TForm1 &f = shownForm();
    press(RxRichEdit1(f), "Ctrl+Alt+E");
    ASSERT_EQ(StatusBar1(f)->panelText(4), u8("АНГЛ."));
    CB3(f)->click(); // to English
    ASSERT_TRUE(f.english());
    EXPECT_EQ(StatusBar1(f)->panelText(4), u8("АНГЛ."));
    press(RxRichEdit1(f), "Ctrl+Alt+E");
    EXPECT_EQ(StatusBar1(f)->panelText(4), "ENG.");
}

TEST_F(InsertsTest, StatisticsWindowInBothLanguages)
{
    struct Case {
        QByteArray settings;
        const char *title;
        QStringList labels;
    };
    const Case cases[] = {
        {"", "Program statistics", {"Strings count", "2", "Chars count (all)", "8", "Chars count", "7"}},
        {"[LANGUAGE]\nLang=0\n",
         "Статистика программы",
         {u8("Количество строк"), "2", u8("Количество знаков всего"), "8", u8("Количество знаков"), "7"}},
    };
    for (const Case &c : cases) {
        writeSettings(c.settings);
        TForm1 &f = shownForm();
        RxRichEdit1(f)->setText(QStringLiteral("abc\r\ndef"));
        RxRichEdit1(f)->setSelectionStart(0);
        RxRichEdit1(f)->setSelectionLength(7);
        QStringList labels;
        QString title;
        platform.modal.inspect = [&](QDialog &window) {
            title = window.windowTitle();
            QList<QLabel *> found = window.findChildren<QLabel *>();
            std::sort(found.begin(), found.end(), [](const QLabel *a, const QLabel *b) {
                return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
            });
            for (const QLabel *label : found)
                labels.append(label->text());
        };
        menuItem(f, "N54")->trigger();
        EXPECT_EQ(title, u8(c.title));
        EXPECT_EQ(labels, c.labels);
    }
}
