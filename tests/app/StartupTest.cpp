#include "MainWindowFixture.h"

#include "app/FontList.h"
#include "app/KeyboardLayoutChoice.h"
#include "widgets/ColorBox.h"
#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"
#include "widgets/UpDown.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

QList<int> panelWidths(const StatusBar *bar)
{
    QList<int> widths;
    for (int i = 0; i < bar->panelCount(); ++i)
        widths.append(bar->panelWidth(i));
    return widths;
}

} // namespace

TEST_F(MainWindowTest, FirstStartWithoutSettingsFileIsEnglishAndWritesNothing)
{
    TForm1 &f = createForm();
    EXPECT_TRUE(f.Lang);
    EXPECT_EQ(f.menuItem("N1")->text(), "File");
    EXPECT_EQ(f.menuItem("N13")->text(), "Printer setup");
    EXPECT_EQ(f.menuItem("N52")->text(), "English interface");
    EXPECT_EQ(f.toolButton(4)->toolTip(), "Save As...");
    EXPECT_EQ(f.CB3->toolTip(), "English interface");
    // The switch controls keep their resource state.
    EXPECT_TRUE(f.CB3->isChecked());
    EXPECT_TRUE(f.menuItem("N52")->isChecked());
    EXPECT_TRUE(f.menuItem("N100")->isChecked());
    EXPECT_EQ(f.StatusBar1->panelText(4), "RUS.");
    // Template captions are the same in both languages.
    EXPECT_EQ(f.menuItem("Cheader1")->text(), "C++ header");
    EXPECT_EQ(f.menuItem("CHeader2")->text(), "C++ Header");
    EXPECT_FALSE(QFileInfo::exists(settingsPath()));
}

TEST_F(MainWindowTest, StoredRussianKeepsTheWindowDefinitionTexts)
{
    writeSettings("[LANGUAGE]\nLang=0\n");
    TForm1 &f = createForm();
    EXPECT_FALSE(f.Lang);
    EXPECT_EQ(f.menuItem("N1")->text(), "Файл");
    EXPECT_EQ(f.menuItem("N13")->text(), "Параметры страницы");
    EXPECT_EQ(f.menuItem("N109")->text(), "Автосохранение документа");
    EXPECT_EQ(f.toolButton(4)->toolTip(), "Сохранить как");
    EXPECT_EQ(f.CB1->toolTip(), "Автоматический перенос строк");
    EXPECT_EQ(f.StatusBar1->panelText(4), "РУС.");
}

TEST_F(MainWindowTest, LangValuesOtherThanZeroMeanEnglish)
{
    for (const char *value : {"2", "yes", "", "0x0"}) {
        writeSettings(QByteArray("[LANGUAGE]\nLang=") + value + "\n");
        TForm1 &f = createForm();
        EXPECT_EQ(f.Lang, QByteArray(value) != "0x0") << value;
    }
}

TEST_F(MainWindowTest, WindowGeometryComesFromTheSettingsFile)
{
    writeSettings("[form]\nleft=10\nTOP=20\nWidth=0x300\nHeight=555\n");
    TForm1 &f = createForm();
    EXPECT_EQ(f.width(), 768);
    EXPECT_EQ(f.height(), 555);
    EXPECT_EQ(f.x(), 10);
    EXPECT_EQ(f.y(), 20);
}

TEST_F(MainWindowTest, ControlsOfTheWindowDefinition)
{
    TForm1 &f = createForm();
    EXPECT_EQ(panelWidths(f.StatusBar2), QList<int>({235, 235, 235}));
    EXPECT_EQ(panelWidths(f.StatusBar1), QList<int>({100, 100, 100, 50, 50, 100, 150, 50}));
    EXPECT_EQ(f.StatusBar1->panelText(1), QString());

    EXPECT_EQ(f.ComboBox1->currentText(), "Times New Roman");
    EXPECT_GE(f.ComboBox1->findText("Default"), 0);
    EXPECT_EQ(f.Edit1->text(), "14");
    EXPECT_EQ(f.UpDown1->position(), 14);
    EXPECT_EQ(f.ColorBox1->defaultColor(), TColor::fromRgb(0xffffff));
    EXPECT_EQ(f.RxRichEdit1->ParagraphFormat().RightEdgeIndent(), 7);
    EXPECT_FALSE(f.RxRichEdit1->IsModified());

    // Three tab stops at 15, 20 and 25 dialog units, not the first request's 100.
    const QList<qreal> tabs = f.RxRichEdit1->tabStopPixels();
    ASSERT_EQ(tabs.size(), 3);
    EXPECT_NEAR(tabs[1] / tabs[0], 20.0 / 15.0, 1e-9);
    EXPECT_NEAR(tabs[2] / tabs[0], 25.0 / 15.0, 1e-9);

    const struct { QWidget *control; QRect geometry; } loose[] = {
        {f.ColorBox1, QRect(568, 40, 41, 22)}, {f.ColorBox2, QRect(608, 40, 41, 22)},
        {f.CB1, QRect(648, 40, 17, 25)}, {f.CB2, QRect(664, 40, 17, 25)}, {f.CB3, QRect(680, 40, 17, 25)}};
    for (const auto &entry : loose)
        EXPECT_EQ(entry.control->geometry(), entry.geometry) << entry.control->objectName().toStdString();
    for (QCheckBox *box : {f.CB1, f.CB2, f.CB3})
        EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(f.findChild<QLabel *>("RightIndent")->x(), 620);
    EXPECT_FALSE(f.Timer2->isActive());
    EXPECT_TRUE(f.Timer1->isActive());
}

TEST_F(MainWindowTest, EveryControlHasAHintAndAnAccessibleName)
{
    TForm1 &f = createForm();
    const QList<QToolButton *> buttons = f.findChildren<QToolButton *>(QRegularExpression("^ToolButton\\d+$"));
    EXPECT_EQ(buttons.size(), 40);
    for (QToolButton *button : buttons) {
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
        EXPECT_EQ(button->accessibleName(), button->toolTip());
        EXPECT_EQ(button->accessibleDescription(), button->toolTip());
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
    }
    for (const char *name : {"ComboBox1", "Edit1", "UpDown1", "Image1", "ColorBox1", "ColorBox2", "CB1", "CB2", "CB3"}) {
        auto *widget = f.findChild<QWidget *>(name);
        ASSERT_TRUE(widget) << name;
        EXPECT_FALSE(widget->toolTip().isEmpty()) << name;
        EXPECT_EQ(widget->accessibleName(), widget->toolTip()) << name;
    }
}

TEST_F(MainWindowTest, MenuTreesAndCheckMarks)
{
    TForm1 &f = createForm();
    QStringList topLevel;
    for (QAction *action : f.menuBar()->actions())
        topLevel.append(action->objectName());
    EXPECT_EQ(topLevel, QStringList({"N1", "N2", "N3", "N4", "N5", "N6"}));

    // "Special inserting" and "Coding" are submenus of their menus, in place.
    QMenu *insert = f.menuItem("N4")->menu();
    QStringList insertItems;
    for (QAction *action : insert->actions())
        insertItems.append(action->objectName());
    EXPECT_EQ(insertItems, QStringList({"N31", "N32", "N35", "N36", "N108", "N113"}));
    EXPECT_EQ(f.menuItem("N108")->menu()->actions().size(), 5);
    EXPECT_TRUE(f.menuItem("N11")->isSeparator());

    QStringList marked;
    for (const QString &name : f.menuItemNames()) {
        if (f.menuItem(name)->isChecked())
            marked.append(name);
    }
    marked.sort();
    QStringList expected{"N27", "N28", "N51", "RTF1", "N52", "N105", "N30", "N77", "N78", "N99", "RTF2", "N100", "N110"};
    expected.sort();
    EXPECT_EQ(marked, expected);
    EXPECT_TRUE(f.menuItem("N109")->isCheckable());
    EXPECT_EQ(f.menuItem("N109")->shortcut(), QKeySequence("Ctrl+Shift+F12"));
    EXPECT_EQ(f.menuItem("N48")->shortcut(), QKeySequence("Shift+Alt+Backspace"));
    EXPECT_EQ(f.toolButton(28)->menu(), f.PopupMenu2);
    EXPECT_EQ(f.toolButton(30)->menu(), f.PopupMenu4);
}

TEST_F(MainWindowTest, KeyboardLayoutsAtStart)
{
    struct Case {
        QList<quint32> installed;
        QList<quint32> activations;
    };
    const quint32 en = 0x04090409, ru = 0x04190419, gb = 0x08090809, de = 0x04070407;
    const Case cases[] = {
        {{en, ru}, {en, ru}},
        {{ru, en, gb}, {gb, ru}},   // the last English match wins
        {{en}, {en}},               // only English: it stays active
        {{de}, {}},
        {{}, {}},
    };
    for (const Case &c : cases) {
        platform.keyboard.layouts = c.installed;
        platform.keyboard.activations.clear();
        TForm1 &f = createForm();
        EXPECT_EQ(platform.keyboard.activations, c.activations);
        EXPECT_EQ(f.StatusBar1->panelText(4), "RUS.");
    }
}

TEST_F(MainWindowTest, OnlyTheFirstEightKeyboardLayoutsCount)
{
    const quint32 de = 0x04070407, en = 0x04090409, ru = 0x04190419;
    platform.keyboard.layouts = QList<quint32>(7, de) << en << ru; // Russian ninth
    createForm();
    EXPECT_EQ(platform.keyboard.activations, QList<quint32>{en});
    // The low byte of the low word decides: 0x0819 (Russian, Moldova) is Russian too.
    EXPECT_EQ(chooseKeyboardLayouts({0xF0C10819}).russian, 0xF0C10819u);
}

TEST(FontList, DefaultFirstDuplicatesDroppedSortedIgnoringCase)
{
    const QStringList list = fontNameList({"Zeta", "arial", "Arial", "@Vertical", "DejaVu Sans", "default"});
    EXPECT_EQ(list, QStringList({"@Vertical", "arial", "Default", "default", "DejaVu Sans", "Zeta"}));
    EXPECT_EQ(fontNameList({"Default"}), QStringList({"Default"}));
}

TEST_F(MainWindowTest, TypingFromTheStartGoesIntoTheText)
{
    TForm1 &f = createForm();
    f.show();
    QApplication::setActiveWindow(&f);
    QApplication::processEvents();
    EXPECT_EQ(f.focusWidget(), f.RxRichEdit1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
    EXPECT_EQ(f.RxRichEdit1->Text(), QStringLiteral("abc"));
    EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("Times New Roman"));
}
