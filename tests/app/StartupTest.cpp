#include "MainWindowFixture.h"

#include "app/WindowPlacement.h"

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
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

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
    EXPECT_TRUE(f.english());
    EXPECT_EQ(menuItem(f, "N1")->text(), "File");
    EXPECT_EQ(menuItem(f, "N13")->text(), "Printer setup");
    EXPECT_EQ(menuItem(f, "N52")->text(), "English interface");
    EXPECT_EQ(toolButton(f, 4)->toolTip(), "Save As...");
    EXPECT_EQ(CB3(f)->toolTip(), "English interface");
    // The switch controls keep their resource state.
    EXPECT_TRUE(CB3(f)->isChecked());
    EXPECT_TRUE(menuItem(f, "N52")->isChecked());
    EXPECT_TRUE(menuItem(f, "N100")->isChecked());
    EXPECT_EQ(StatusBar1(f)->panelText(4), "RUS.");
    // Template captions are the same in both languages.
    EXPECT_EQ(menuItem(f, "Cheader1")->text(), "C++ header");
    EXPECT_EQ(menuItem(f, "CHeader2")->text(), "C++ Header");
    EXPECT_FALSE(QFileInfo::exists(settingsPath()));
}

TEST_F(MainWindowTest, StoredRussianKeepsTheWindowDefinitionTexts)
{
    writeSettings("[LANGUAGE]\nLang=0\n");
    TForm1 &f = createForm();
    EXPECT_FALSE(f.english());
    EXPECT_EQ(menuItem(f, "N1")->text(), "Файл");
    EXPECT_EQ(menuItem(f, "N13")->text(), "Параметры страницы");
    EXPECT_EQ(menuItem(f, "N109")->text(), "Автосохранение документа");
    EXPECT_EQ(toolButton(f, 4)->toolTip(), "Сохранить как");
    EXPECT_EQ(CB1(f)->toolTip(), "Автоматический перенос строк");
    EXPECT_EQ(StatusBar1(f)->panelText(4), "РУС.");
}

TEST_F(MainWindowTest, LangValuesOtherThanZeroMeanEnglish)
{
    for (const char *value : {"2", "yes", "", "0x0"}) {
        writeSettings(QByteArray("[LANGUAGE]\nLang=") + value + "\n");
        TForm1 &f = createForm();
        EXPECT_EQ(f.english(), QByteArray(value) != "0x0") << value;
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

// Wayland keeps a window's position from its program: what Qt reports there
// is not where the window is, and the file keeps the position it had.
TEST_F(MainWindowTest, WhereWindowPositionsAreUnknownTheStoredPositionIsKept)
{
    writeSettings("[FORM]\nLeft=10\nTop=20\nWidth=700\nHeight=500\n");
    windowPositionsKnown = false;
    TForm1 &f = createForm();
    f.show();
    f.setGeometry(300, 200, 640, 480);
    EXPECT_TRUE(f.close());
    const QByteArray ini = settingsContent();
    EXPECT_TRUE(ini.contains("Left=10\n") && ini.contains("Top=20\n")) << ini.constData();
    EXPECT_TRUE(ini.contains("Width=640\n") && ini.contains("Height=480\n")) << ini.constData();
}

// Extreme values (a 32767-pixel window takes a gigabyte) never leave the
// window larger than a screen or off every screen.
TEST_F(MainWindowTest, StoredGeometryIsFittedToTheScreens)
{
    writeSettings("[FORM]\nLeft=-90000\nTop=30000\nWidth=32767\nHeight=0\n");
    TForm1 &f = createForm();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(f.geometry())) << f.geometry().x() << "," << f.geometry().y();
    EXPECT_EQ(f.width(), screen.width());

    // Two screens side by side: the one the window overlaps most holds it,
    // and the nearest one a window beside both.
    const QList<QRect> screens{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const QRect fallback(0, 0, 800, 600);
    EXPECT_EQ(placement::fitted({2500, 100, 900, 700}, fallback, screens), QRect(2300, 100, 900, 700));
    EXPECT_EQ(placement::fitted({3000, 2000, 4000, 300}, fallback, screens), QRect(1920, 724, 1280, 300));
    EXPECT_EQ(placement::fitted({-100, 50, 70000, 500}, fallback, screens), QRect(0, 50, 800, 500));
}

TEST_F(MainWindowTest, ControlsOfTheWindowDefinition)
{
    TForm1 &f = createForm();
    EXPECT_EQ(panelWidths(StatusBar2(f)), QList<int>({235, 235, 235}));
    EXPECT_EQ(panelWidths(StatusBar1(f)), QList<int>({100, 100, 100, 50, 50, 100, 150, 50}));
    EXPECT_EQ(StatusBar1(f)->panelText(1), QString());

    EXPECT_EQ(ComboBox1(f)->currentText(), "Times New Roman");
    EXPECT_GE(ComboBox1(f)->findText("Default"), 0);
    EXPECT_EQ(Edit1(f)->text(), "14");
    EXPECT_EQ(UpDown1(f)->position(), 14);
    EXPECT_EQ(ColorBox1(f)->defaultColor(), TColor::fromRgb(0xffffff));
    EXPECT_EQ(RxRichEdit1(f)->ParagraphFormat().RightEdgeIndent(), 7);
    EXPECT_FALSE(RxRichEdit1(f)->IsModified());

    // Three tab stops at 15, 20 and 25 dialog units, not the first request's 100.
    const QList<qreal> tabs = RxRichEdit1(f)->tabStopPixels();
    ASSERT_EQ(tabs.size(), 3);
    EXPECT_NEAR(tabs[1] / tabs[0], 20.0 / 15.0, 1e-9);
    EXPECT_NEAR(tabs[2] / tabs[0], 25.0 / 15.0, 1e-9);

    const struct { QWidget *control; QRect geometry; } loose[] = {
        {ColorBox1(f), QRect(568, 40, 41, 22)}, {ColorBox2(f), QRect(608, 40, 41, 22)},
        {CB1(f), QRect(648, 40, 17, 25)}, {CB2(f), QRect(664, 40, 17, 25)}, {CB3(f), QRect(680, 40, 17, 25)}};
    for (const auto &entry : loose)
        EXPECT_EQ(entry.control->geometry(), entry.geometry) << entry.control->objectName().toStdString();
    for (QCheckBox *box : {CB1(f), CB2(f), CB3(f)})
        EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(f.findChild<QLabel *>("RightIndent")->x(), 620);
    EXPECT_FALSE(Timer2(f)->isActive());
    EXPECT_TRUE(Timer1(f)->isActive());
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
    QMenu *insert = menuItem(f, "N4")->menu();
    QStringList insertItems;
    for (QAction *action : insert->actions())
        insertItems.append(action->objectName());
    EXPECT_EQ(insertItems, QStringList({"N31", "N32", "N35", "N36", "N108", "N113", "N131"}));
    EXPECT_EQ(menuItem(f, "N108")->menu()->actions().size(), 5);
    EXPECT_TRUE(menuItem(f, "N11")->isSeparator());

    QStringList marked;
    for (const QString &name : menuItemNames(f)) {
        if (menuItem(f, name)->isChecked())
            marked.append(name);
    }
    marked.sort();
    QStringList expected{"N27", "N28", "N51", "RTF1", "N52", "N105", "N30", "N77", "N78", "N99", "RTF2", "N100", "N110"};
    expected.sort();
    EXPECT_EQ(marked, expected);
    EXPECT_TRUE(menuItem(f, "N109")->isCheckable());
    EXPECT_EQ(menuItem(f, "N109")->shortcut(), QKeySequence("Ctrl+Shift+F12"));
    EXPECT_EQ(menuItem(f, "N48")->shortcut(), QKeySequence("Shift+Alt+Backspace"));
    EXPECT_EQ(toolButton(f, 28)->menu(), PopupMenu2(f));
    EXPECT_EQ(toolButton(f, 30)->menu(), PopupMenu4(f));
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
        EXPECT_EQ(StatusBar1(f)->panelText(4), "RUS.");
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
    EXPECT_EQ(f.focusWidget(), RxRichEdit1(f));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
    EXPECT_EQ(RxRichEdit1(f)->Text(), QStringLiteral("abc"));
    EXPECT_EQ(ComboBox1(f)->currentText(), QStringLiteral("Times New Roman"));
}

TEST_F(MainWindowTest, PaperStartsWhiteWithReadableTextOnADarkDesktop)
{
    const QPalette desktop = QApplication::palette();
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    QApplication::setPalette(dark);
    TForm1 &f = createForm();
    f.show();
    TRxRichEdit *editor = RxRichEdit1(f);
    editor->setText("MMMMMMMM");
    editor->setSelectionStart(editor->TextLength());
    const QImage shown = editor->viewport()->grab().toImage();
    QApplication::setPalette(desktop);

    EXPECT_EQ(editor->Color(), TColor::fromRgb(0xffffff));
    EXPECT_EQ(ColorBox1(f)->currentText(), "White");
    const QRect firstLine = editor->cursorRect(QTextCursor(editor->document()));
    EXPECT_EQ(shown.pixelColor(shown.width() - 5, shown.height() - 5).name(), "#ffffff") << "paper";
    int darkest = 255;
    for (int y = firstLine.top(); y <= firstLine.bottom(); ++y) {
        for (int x = firstLine.right() + 1; x < firstLine.right() + 60; ++x)
            darkest = std::min(darkest, qGray(shown.pixel(x, y)));
    }
    EXPECT_LT(darkest, 64) << "text";
}
