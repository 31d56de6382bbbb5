// Building the main window (the cool bar with both tool bars and the ruler, the
// loose controls, the menus and the timers) and wiring every component to its
// handler through the command table and the command runner.
#include "app/Unit1.h"

#include "app/CommandRunner.h"
#include "app/CommandTable.h"
#include "app/Document.h"
#include "app/StatusPanels.h"
#include "app/ToolbarIcons.h"
#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "platform/VeltrixError.h"
#include "ui_text/TextTables.h"
#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/UpDown.h"

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
    // A right click on the bar or its buttons goes on to the cool bar's menu.
    bar->setContextMenuPolicy(Qt::NoContextMenu);
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
    setHint(Panel1->scale(), initialHint("Image1"));
    layout->addWidget(ToolBar1);
    layout->addWidget(ToolBar2);
    layout->addWidget(Panel1);
    buildToolBars();
    buildFontBoxes();
}

void TForm1::buildToolBars()
{
    for (const Command &command : commandTable()) {
        if (command.place == ToolBarPlace::None)
            continue;
        QToolBar *bar = command.place == ToolBarPlace::ToolBar1 ? ToolBar1 : ToolBar2;
        const QString name = QString::fromLatin1(command.name);
        auto *button = new QToolButton(bar);
        button->setObjectName(name);
        button->setIcon(toolbarIcon(name));
        if (bar == ToolBar1) {
            button->setFixedSize(kButtonSize, kButtonSize);
        } else {
            button->setFixedHeight(kButtonSize);
            button->setMinimumWidth(kButtonSize);
        }
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus); // commands leave the focus in the editor
        setHint(button, initialHint(command.name));
        bar->addWidget(button);
    }
}

// The font name box, the size box and its spinner, after ToolBar2's buttons.
void TForm1::buildFontBoxes()
{
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
            // Shown in the menu; the key itself is dispatched by the ShortcutDispatcher.
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
    for (const Command &command : commandTable()) {
        if (command.checkable)
            menuItem(QString::fromLatin1(command.name))->setCheckable(true);
    }
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

QAction *TForm1::menuItem(const QString &name) const
{
    return menuItems_.value(name);
}

QToolButton *TForm1::toolButton(int number) const
{
    return findChild<QToolButton *>(QStringLiteral("ToolButton%1").arg(number));
}

void TForm1::run(const char *handlerName, const std::function<void()> &handler)
{
    commands_->run(handlerName, [this, handlerName, &handler] {
        // A command finds the whole file in the editor, except those that
        // leave the document as it is or ask before anything is written.
        if (handlerName && whileLoadingOf(handlerName) == WhileLoading::TakesRestFirst)
            RxRichEdit1->finishLoading();
        handler();
    });
}

std::function<void()> TForm1::handler(const char *handlerName, void (TForm1::*handler)())
{
    return [this, handlerName, handler] { run(handlerName, [this, handler] { (this->*handler)(); }); };
}

void TForm1::flipCheck(const QString &itemName)
{
    QAction *action = menuItem(itemName);
    action->setChecked(!action->isChecked());
}

void TForm1::connectCommands()
{
    for (const Command &command : commandTable()) {
        const QString name = QString::fromLatin1(command.name);
        switch (command.kind) {
        case CommandKind::Button:
            connect(findChild<QToolButton *>(name), &QToolButton::clicked, this,
                    handler(command.handlerName, command.handler));
            break;
        case CommandKind::CheckBox:
            // A check box reports every change of its tick, from the user or from code.
            connect(findChild<QCheckBox *>(name), &QCheckBox::toggled, this, handler(command.handlerName, command.handler));
            break;
        case CommandKind::SubmenuShown:
            connect(menuItem(name)->menu(), &QMenu::aboutToShow, this, handler(command.handlerName, command.handler));
            break;
        default: {
            QAction *action = menuItem(name);
            connect(action, &QAction::triggered, this, [this, action, name] {
                // Menu items do not tick themselves: their handlers flip the marks.
                if (action->isCheckable()) {
                    const QSignalBlocker blocker(action);
                    action->setChecked(!action->isChecked());
                }
                runMenuItem(name);
            });
        }
        }
    }
}

void TForm1::runMenuItem(const QString &name)
{
    const Command *command = findCommand(name);
    if (!command)
        return;
    const QString target = QString::fromLatin1(command->target ? command->target : "");
    switch (command->kind) {
    case CommandKind::ClickButton:
        findChild<QToolButton *>(target)->click();
        break;
    case CommandKind::FlipCheckBox: {
        auto *box = findChild<QCheckBox *>(target);
        box->setChecked(!box->isChecked());
        break;
    }
    case CommandKind::RunTwin:
        runMenuItem(target);
        break;
    case CommandKind::OwnHandler:
        handler(command->handlerName, command->handler)();
        break;
    default:
        break;
    }
}

// The handlers of everything that is not a button, check box or menu item. The
// events that come with every key, tick or language switch run unnamed.
void TForm1::connectEvents()
{
    connect(Action4, &QAction::triggered, this, handler(nullptr, &TForm1::Action4Execute));
    connect(Action1, &QAction::triggered, this, handler("Action1Execute", &TForm1::Action1Execute));
    connect(Action2, &QAction::triggered, this, handler("Action2Execute", &TForm1::Action2Execute));
    connect(Timer1, &QTimer::timeout, this, handler(nullptr, &TForm1::Timer1Timer));
    connect(Timer2, &QTimer::timeout, this, handler("Timer2Timer", &TForm1::Timer2Timer));
    connect(RxRichEdit1, &TRxRichEdit::OnChange, this, handler(nullptr, &TForm1::RxRichEdit1Change));
    connect(RxRichEdit1, &TRxRichEdit::OnLoadFailed, this, [this](const QString &message, bool raised) {
        document_->loadFailed();
        status_->showModified(true);
        if (!raised)
            run(nullptr, [&] { throw VeltrixError(message); });
    });
    connect(RxRichEdit1, &TRxRichEdit::OnMouseDown, this, [this](Qt::MouseButton button, QPoint position) {
        run(nullptr, [=] { RxRichEdit1MouseDown(button, position); });
    });
    connect(RxRichEdit1, &TRxRichEdit::OnURLClick, this, [this](const QString &link, Qt::MouseButton button) {
        run("RxRichEdit1URLClick", [&] { RxRichEdit1URLClick(link, button); });
    });
    // The font name box reacts to the user's changes only, not to the program's.
    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this, handler("ComboBox1Change", &TForm1::ComboBox1Change));
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, handler("ComboBox1Change", &TForm1::ComboBox1Change));
    connect(UpDown1, &TUpDown::changing, this, handler("UpDown1Changing", &TForm1::UpDown1Changing));
    connect(ColorBox1, &TColorBox::colorSelected, this, handler("ColorBox1Select", &TForm1::ColorBox1Select));
    connect(ColorBox2, &TColorBox::colorSelected, this, handler("ColorBox2Select", &TForm1::ColorBox2Select));

    connect(Panel1, &RulerBand::markerDropped, this, [this](RulerBand::Marker marker) {
        switch (marker) {
        case RulerBand::Marker::CurPos: handler("CurPosMouseUp", &TForm1::CurPosMouseUp)(); break;
        case RulerBand::Marker::LeftIndent: handler("LeftIndentMouseUp", &TForm1::LeftIndentMouseUp)(); break;
        case RulerBand::Marker::RightIndent: handler("RightIndentMouseUp", &TForm1::RightIndentMouseUp)(); break;
        }
        update(); // the repaint after a drop holds the markers on the scale
    });

    connect(RxRichEdit1, &QWidget::customContextMenuRequested, this, [this](QPoint position) {
        showEditorContextMenu(RxRichEdit1->viewport()->mapToGlobal(position));
    });
    connect(CoolBar1, &QWidget::customContextMenuRequested, this,
            [this](QPoint position) { PopupMenu1->popup(CoolBar1->mapToGlobal(position)); });
}

void TForm1::showEditorContextMenu(QPoint globalPosition)
{
    if (showSpellingMenu(globalPosition))
        return;
    const QTextImageFormat object = RxRichEdit1->selectedObject();
    if (!object.isValid()) {
        PopupMenu1->popup(globalPosition);
        return;
    }
    // A selected object adds its properties and its verbs to the menu.
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions(PopupMenu1->actions());
    menu->addSeparator();
    const QString typeName = TRxRichEdit::objectTypeName(object);
    menu->addAction(QStringLiteral("%1 Properties").arg(typeName), this, [this, object, typeName] {
        platform_.objectDialogs().showObjectProperties(this, typeName, RxRichEdit1->objectDetails(object));
    });
    QMenu *verbs = menu->addMenu(typeName);
    verbs->addAction(QStringLiteral("Open"), this, [this, object] { run(nullptr, [&] { RxRichEdit1->openObject(object); }); });
    menu->popup(globalPosition);
}

// The editor and the cool bar carry the context menu, so its shortcuts come first there.
bool TForm1::contextMenuTakesKeysFor(QWidget *widget) const
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget == RxRichEdit1 || widget == CoolBar1)
            return true;
    }
    return false;
}
