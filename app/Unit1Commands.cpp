// Command routing of the main window: buttons and check boxes carry the
// handlers, menu items forward to them (see CommandRoutes.cpp).
#include "app/Unit1.h"

#include "app/CommandRoutes.h"
#include "editor/TRxRichEdit.h"
#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/UpDown.h"
#include "platform/Platform.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <utility>

namespace {

using Handler = void (TForm1::*)();

const std::pair<int, Handler> kButtonHandlers[] = {
    {1, &TForm1::ToolButton1Click},   {2, &TForm1::ToolButton2Click},   {3, &TForm1::ToolButton3Click},
    {4, &TForm1::ToolButton4Click},   {5, &TForm1::ToolButton5Click},   {6, &TForm1::ToolButton6Click},
    {7, &TForm1::ToolButton7Click},   {8, &TForm1::ToolButton8Click},   {9, &TForm1::ToolButton9Click},
    {10, &TForm1::ToolButton10Click}, {11, &TForm1::ToolButton11Click}, {12, &TForm1::ToolButton12Click},
    {13, &TForm1::ToolButton13Click}, {14, &TForm1::ToolButton14Click}, {15, &TForm1::ToolButton15Click},
    {17, &TForm1::ToolButton17Click}, {18, &TForm1::ToolButton18Click}, {19, &TForm1::ToolButton19Click},
    {20, &TForm1::ToolButton20Click}, {21, &TForm1::ToolButton21Click}, {22, &TForm1::ToolButton22Click},
    {23, &TForm1::ToolButton23Click}, {24, &TForm1::ToolButton24Click}, {25, &TForm1::ToolButton25Click},
    {26, &TForm1::ToolButton26Click}, {27, &TForm1::ToolButton27Click}, {28, &TForm1::ToolButton28Click},
    {29, &TForm1::ToolButton29Click}, {30, &TForm1::ToolButton30Click}, {31, &TForm1::ToolButton31Click},
    {32, &TForm1::ToolButton32Click}, {33, &TForm1::ToolButton33Click}, {35, &TForm1::ToolButton35Click},
    {36, &TForm1::ToolButton36Click}, {37, &TForm1::ToolButton37Click}, {39, &TForm1::ToolButton39Click},
    {40, &TForm1::ToolButton40Click}, {41, &TForm1::ToolButton41Click}, {42, &TForm1::ToolButton42Click},
    {43, &TForm1::ToolButton43Click},
};

const std::pair<const char *, Handler> kOwnMenuHandlers[] = {
    {"N109", &TForm1::N109Click},       {"N16", &TForm1::N16Click},
    {"N48", &TForm1::N48Click},         {"N94", &TForm1::N94Click},
    {"N27", &TForm1::N27Click},         {"N77", &TForm1::N77Click},
    {"N28", &TForm1::N28Click},         {"N78", &TForm1::N78Click},
    {"Delphi1", &TForm1::Delphi1Click}, {"Pascal1", &TForm1::Pascal1Click},
    {"HTML1", &TForm1::HTML1Click},     {"Cheader1", &TForm1::Cheader1Click},
    {"CPP1", &TForm1::CPP1Click},       {"N113", &TForm1::N113Click},
    {"N44", &TForm1::N44Click},         {"N91", &TForm1::N91Click},
    {"N125", &TForm1::N125Click},       {"N126", &TForm1::N126Click},
    {"N127", &TForm1::N127Click},       {"N128", &TForm1::N128Click},
    {"N96", &TForm1::N96Click},         {"N47", &TForm1::N47Click},
    {"N93", &TForm1::N93Click},         {"N105", &TForm1::N105Click},
    {"N110", &TForm1::N110Click},       {"N106", &TForm1::N106Click},
    {"Koir1", &TForm1::Koir1Click},     {"Koir8Win1", &TForm1::Koir8Win1Click},
    {"WinUTF81", &TForm1::WinUTF81Click}, {"UTF8Win1", &TForm1::UTF8Win1Click},
    {"N115", &TForm1::N115Click},       {"N116", &TForm1::N116Click},
    {"N30", &TForm1::N30Click},         {"N54", &TForm1::N54Click},
    {"N119", &TForm1::N119Click},       {"N120", &TForm1::N120Click},
    {"N121", &TForm1::N121Click},       {"N122", &TForm1::N122Click},
    {"N123", &TForm1::N123Click},       {"N124", &TForm1::N124Click},
};

} // namespace

void TForm1::connectHandlers()
{
    for (const auto &[number, handler] : kButtonHandlers) {
        connect(toolButton(number), &QToolButton::clicked, this, [this, handler = handler] {
            guarded([this, handler] { (this->*handler)(); });
        });
    }
    // A check box reports every change of its tick, from the user or from code.
    const std::pair<QCheckBox *, Handler> boxes[] = {
        {CB1, &TForm1::CB1Click}, {CB2, &TForm1::CB2Click}, {CB3, &TForm1::CB3Click}};
    for (const auto &[box, handler] : boxes) {
        connect(box, &QCheckBox::toggled, this, [this, handler = handler] {
            guarded([this, handler] { (this->*handler)(); });
        });
    }
    connect(Action4, &QAction::triggered, this, [this] { guarded([this] { Action4Execute(); }); });
    connect(Action1, &QAction::triggered, this, [this] { guarded([this] { Action1Execute(); }); });
    connect(Action2, &QAction::triggered, this, [this] { guarded([this] { Action2Execute(); }); });
    connect(RxRichEdit1, &TRxRichEdit::OnURLClick, this, [this](const QString &link, Qt::MouseButton button) {
        guarded([&] { RxRichEdit1URLClick(link, button); });
    });
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    connect(Timer2, &QTimer::timeout, this, [this] { guarded([this] { Timer2Timer(); }); });
    connect(RxRichEdit1, &TRxRichEdit::OnChange, this, [this] { guarded([this] { RxRichEdit1Change(); }); });
    connect(RxRichEdit1, &TRxRichEdit::OnMouseDown, this, [this](Qt::MouseButton button, QPoint position) {
        guarded([=] { RxRichEdit1MouseDown(button, position); });
    });
    // The font name box reacts to the user's changes only, not to the program's.
    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this, [this] { guarded([this] { ComboBox1Change(); }); });
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, [this] { guarded([this] { ComboBox1Change(); }); });
    connect(UpDown1, &TUpDown::changing, this, [this] { guarded([this] { UpDown1Changing(); }); });
    connect(ColorBox1, &TColorBox::colorSelected, this, [this] { guarded([this] { ColorBox1Select(); }); });
    connect(ColorBox2, &TColorBox::colorSelected, this, [this] { guarded([this] { ColorBox2Select(); }); });


    connect(RxRichEdit1, &QWidget::customContextMenuRequested, this, [this](QPoint position) {
        showEditorContextMenu(RxRichEdit1->viewport()->mapToGlobal(position));
    });
    connect(CoolBar1, &QWidget::customContextMenuRequested, this,
            [this](QPoint position) { PopupMenu1->popup(CoolBar1->mapToGlobal(position)); });
}

void TForm1::connectMenuHandlers()
{
    for (const auto &[name, handler] : kOwnMenuHandlers) {
        ownHandlers_.insert(QString::fromLatin1(name), [this, handler = handler] { (this->*handler)(); });
    }
    for (auto it = menuItems_.cbegin(); it != menuItems_.cend(); ++it) {
        QAction *action = it.value();
        if (action->menu() || action->isSeparator())
            continue;
        const QString name = it.key();
        connect(action, &QAction::triggered, this, [this, action, name] {
            // Menu items do not tick themselves: their handlers flip the marks.
            if (action->isCheckable()) {
                const QSignalBlocker blocker(action);
                action->setChecked(!action->isChecked());
            }
            runMenuItem(name);
        });
    }
    // Opening the "Marker" submenu is a command of its own.
    connect(menuItem(QStringLiteral("N45"))->menu(), &QMenu::aboutToShow, this,
            [this] { guarded([this] { N45Click(); }); });
}

void TForm1::showEditorContextMenu(QPoint globalPosition)
{
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
    verbs->addAction(QStringLiteral("Open"), this, [this, object] { guarded([&] { RxRichEdit1->openObject(object); }); });
    menu->popup(globalPosition);
}

void TForm1::runMenuItem(const QString &name)
{
    const MenuRoute *route = findMenuRoute(name.toLatin1().constData());
    if (!route)
        return;
    const QString target = QString::fromLatin1(route->target ? route->target : "");
    switch (route->kind) {
    case RouteKind::ClickButton:
        findChild<QToolButton *>(target)->click();
        break;
    case RouteKind::FlipCheckBox: {
        auto *box = findChild<QCheckBox *>(target);
        box->setChecked(!box->isChecked());
        break;
    }
    case RouteKind::ClickMenuItem:
        runMenuItem(target);
        break;
    case RouteKind::OwnHandler:
        guarded(ownHandlers_.value(name));
        break;
    case RouteKind::NoAction:
        break;
    }
}

// Handlers of the commands that are not built yet: each reports that it ran.

// Edit commands: one request each to the editor; none moves the focus.
void TForm1::ToolButton8Click()
{
    handlerRan(__func__);
    if (RxRichEdit1->CanUndo())
        RxRichEdit1->Undo();
}

void TForm1::ToolButton9Click()
{
    handlerRan(__func__);
    if (RxRichEdit1->CanRedo())
        RxRichEdit1->Redo();
}

void TForm1::ToolButton10Click()
{
    handlerRan(__func__);
    RxRichEdit1->Copy();
}

void TForm1::ToolButton11Click()
{
    handlerRan(__func__);
    RxRichEdit1->Cut();
}

void TForm1::ToolButton12Click()
{
    handlerRan(__func__);
    RxRichEdit1->Paste();
}

void TForm1::ToolButton13Click()
{
    handlerRan(__func__);
    RxRichEdit1->Clear();
}

void TForm1::ToolButton17Click()
{
    handlerRan(__func__);
    RxRichEdit1->SelectWholeText();
}
