// Building the main window: the cool bar with both tool bars and the ruler, the
// editor, the status bars, the loose controls, the menus and the timers.
#include "app/Unit1.h"

#include "app/CommandRoutes.h"
#include "app/ToolbarIcons.h"
#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"
#include "widgets/UpDown.h"
#include "ui_text/TextTables.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>

namespace {

constexpr int kCoolBarHeight = 97;
constexpr int kToolBar1Height = 33;
constexpr int kToolBar2Height = 30;
constexpr int kButtonSize = 25;
constexpr int kIconSize = 18;
constexpr int kFontNameBoxWidth = 124;
constexpr int kFontSizeBoxWidth = 26;
constexpr int kUpDownWidth = 15;
constexpr int kTimer1Interval = 1000;     // ms
constexpr int kTimer2Interval = 300000;   // ms: five minutes
constexpr int kLooseControlsTop = 40;     // pixels below the menu bar

const int kToolBar1Buttons[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27};
const int kToolBar2Buttons[] = {28, 29, 30, 31, 32, 33, 35, 36, 37, 39, 40, 41, 42, 43};

struct LooseControl {
    const char *name;
    int x, width, height;
};

QString initialHint(const char *component)
{
    std::size_t count = 0;
    const ui_text::HintText *hints = ui_text::hintTexts(&count);
    for (std::size_t i = 0; i < count; ++i) {
        if (std::strcmp(hints[i].component, component) == 0)
            return QString::fromUtf8(hints[i].initial ? hints[i].initial : hints[i].russian);
    }
    return {};
}

// Every control shows its hint as a tooltip and gives it to assistive
// technology; none of them carries a caption, so the hint is also its name.
void setHint(QWidget *widget, const QString &hint)
{
    widget->setToolTip(hint);
    widget->setAccessibleName(hint);
    widget->setAccessibleDescription(hint);
}

QToolBar *makeToolBar(QWidget *parent, const char *name, int height)
{
    auto *bar = new QToolBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMinimumHeight(height);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(kIconSize, kIconSize));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    // Buttons side by side, as on the classic tool bar: the second bar's controls
    // must end before the colour boxes that lie over its right end.
    bar->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: 0px; }"));
    return bar;
}

} // namespace

void TForm1::buildCoolBar()
{
    CoolBar1 = new QWidget(centralWidget());
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    CoolBar1->setFixedHeight(kCoolBarHeight);
    CoolBar1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *layout = new QVBoxLayout(CoolBar1);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(2);

    ToolBar1 = makeToolBar(CoolBar1, "ToolBar1", kToolBar1Height);
    ToolBar2 = makeToolBar(CoolBar1, "ToolBar2", kToolBar2Height);
    Panel1 = new RulerBand(CoolBar1);
    setHint(Panel1->Image1, initialHint("Image1"));
    layout->addWidget(ToolBar1);
    layout->addWidget(ToolBar2);
    layout->addWidget(Panel1);
    buildToolBar1();
    buildToolBar2();
}

void TForm1::buildToolBar1()
{
    for (int number : kToolBar1Buttons) {
        const QString name = QStringLiteral("ToolButton%1").arg(number);
        auto *button = new QToolButton(ToolBar1);
        button->setObjectName(name);
        button->setIcon(toolbarIcon(name));
        button->setFixedSize(kButtonSize, kButtonSize);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus); // commands leave the focus in the editor
        setHint(button, initialHint(name.toLatin1().constData()));
        ToolBar1->addWidget(button);
        toolButtons_.insert(number, button);
    }
}

void TForm1::buildToolBar2()
{
    for (int number : kToolBar2Buttons) {
        const QString name = QStringLiteral("ToolButton%1").arg(number);
        auto *button = new QToolButton(ToolBar2);
        button->setObjectName(name);
        button->setIcon(toolbarIcon(name));
        button->setFixedHeight(kButtonSize);
        button->setMinimumWidth(kButtonSize);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        setHint(button, initialHint(name.toLatin1().constData()));
        ToolBar2->addWidget(button);
        toolButtons_.insert(number, button);
    }

    ComboBox1 = new QComboBox(ToolBar2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setFixedWidth(kFontNameBoxWidth);
    setHint(ComboBox1, initialHint("ComboBox1"));
    ToolBar2->addWidget(ComboBox1);

    Edit1 = new QLineEdit(QStringLiteral("14"), ToolBar2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(kFontSizeBoxWidth);
    setHint(Edit1, initialHint("Edit1"));
    ToolBar2->addWidget(Edit1);

    UpDown1 = new TUpDown(ToolBar2);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setFixedSize(kUpDownWidth, kButtonSize - 3);
    UpDown1->setRange(0, 100);
    UpDown1->setPosition(14);
    UpDown1->setBuddy(Edit1);
    setHint(UpDown1, initialHint("UpDown1"));
    ToolBar2->addWidget(UpDown1);
}

void TForm1::buildLooseControls()
{
    ColorBox1 = new TColorBox(centralWidget());
    ColorBox2 = new TColorBox(centralWidget());
    ColorBox1->setDefaultColor(TColor::fromRgb(0xffffff));
    CB1 = new QCheckBox(centralWidget());
    CB2 = new QCheckBox(centralWidget());
    CB3 = new QCheckBox(centralWidget());

    const LooseControl placements[] = {
        {"ColorBox1", 568, 41, 22}, {"ColorBox2", 608, 41, 22},
        {"CB1", 648, 17, 25}, {"CB2", 664, 17, 25}, {"CB3", 680, 17, 25},
    };
    QWidget *const controls[] = {ColorBox1, ColorBox2, CB1, CB2, CB3};
    for (std::size_t i = 0; i < std::size(placements); ++i) {
        QWidget *control = controls[i];
        control->setObjectName(QString::fromLatin1(placements[i].name));
        control->setGeometry(placements[i].x, kLooseControlsTop, placements[i].width, placements[i].height);
        setHint(control, initialHint(placements[i].name));
        control->raise();
    }
    for (QCheckBox *box : {CB1, CB2, CB3})
        box->setChecked(true);
    ColorBox1->setSelected(TColor::fromRgb(0xffffff));
    ColorBox2->setSelected(TColor::fromRgb(0x000000));
}

QMenu *TForm1::buildMenuTree(const char *menuName, QWidget *root)
{
    const ui_text::MenuTable *table = ui_text::findMenuTable(menuName);
    QMenu *rootMenu = qobject_cast<QMenu *>(root);
    QMenuBar *bar = qobject_cast<QMenuBar *>(root);
    QList<QMenu *> parents; // parents[d] holds the items of depth d + 1
    for (std::size_t i = 0; i < table->count; ++i) {
        const ui_text::MenuItemText &row = table->items[i];
        const QString name = QString::fromLatin1(row.name);
        const QString caption = QString::fromUtf8(row.initial ? row.initial : row.russian);
        const bool opensSubmenu = i + 1 < table->count && table->items[i + 1].depth > row.depth;
        parents.resize(row.depth);
        QMenu *parentMenu = row.depth == 0 ? rootMenu : parents.value(row.depth - 1);

        QAction *action = nullptr;
        if (row.kind == ui_text::ItemKind::Separator) {
            action = parentMenu->addSeparator();
        } else if (opensSubmenu) {
            QMenu *submenu = (row.depth == 0 && bar) ? bar->addMenu(caption) : parentMenu->addMenu(caption);
            submenu->setObjectName(name);
            action = submenu->menuAction();
            parents.append(submenu);
        } else {
            action = parentMenu->addAction(caption);
        }
        action->setObjectName(name);
        if (row.shortcut && *row.shortcut) {
            // Shown in the menu; the key itself is dispatched by eventFilter().
            action->setShortcut(QKeySequence::fromString(QString::fromLatin1(row.shortcut), QKeySequence::PortableText));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        menuItems_.insert(name, action);
    }
    return rootMenu;
}

void TForm1::buildMenus()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    buildMenuTree("MainMenu1", menuBar());

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    buildMenuTree("PopupMenu1", PopupMenu1);

    QMenu **dropDowns[] = {&PopupMenu2, &PopupMenu3, &PopupMenu4};
    const int dropDownButtons[] = {28, 29, 30};
    for (int i = 0; i < 3; ++i) {
        const QString name = QStringLiteral("PopupMenu%1").arg(i + 2);
        QMenu *menu = new QMenu(this);
        menu->setObjectName(name);
        buildMenuTree(name.toLatin1().constData(), menu);
        *dropDowns[i] = menu;
        QToolButton *button = toolButton(dropDownButtons[i]);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }

    // The items whose handlers flip check marks show them.
    static const char *const kMarkedItems[] = {"N27", "N77", "N28", "N78", "N51", "N99", "RTF1", "RTF2",
                                               "N52", "N100", "N105", "N110", "N30", "N109", "N16",
                                               "N45", "N96"};
    for (const char *name : kMarkedItems)
        menuItem(QString::fromLatin1(name))->setCheckable(true);
    for (const ui_text::MenuTable *table : {ui_text::findMenuTable("MainMenu1"), ui_text::findMenuTable("PopupMenu1")}) {
        for (std::size_t i = 0; i < table->count; ++i) {
            if (table->items[i].checked)
                menuItem(QString::fromLatin1(table->items[i].name))->setChecked(true);
        }
    }
}

void TForm1::buildNonVisual()
{
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimer1Interval);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(kTimer2Interval);

    auto *actionList = new QObject(this);
    actionList->setObjectName(QStringLiteral("ActionList1"));
    for (int i = 1; i <= 5; ++i) {
        auto *action = new QAction(actionList);
        action->setObjectName(QStringLiteral("Action%1").arg(i));
        if (i == 1)
            Action1 = action;
        if (i == 2)
            Action2 = action;
        if (i == 4)
            Action4 = action;
    }
}
