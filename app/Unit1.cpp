#include "app/Unit1.h"

#include "app/AppTitle.h"
#include "app/CommandRoutes.h"
#include "app/ErrorDisplay.h"
#include "app/FontList.h"
#include "app/IniFile.h"
#include "app/KeyboardLayoutChoice.h"
#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"
#include "widgets/UpDown.h"
#include "platform/Platform.h"
#include "platform/ShortcutKey.h"
#include "ui_text/LanguageApply.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 706;  // pixels, the window definition's size
constexpr int kClientHeight = 504;
constexpr int kRightEdgeIndentPoints = 7;
constexpr int kRightIndentMarkerX = 620;
constexpr int kMaxKeyboardLayouts = 8;
constexpr int kStatusBar1Units = 14; // panel widths are multiples of width / 14
constexpr int kHintFontPoints = 10;

const char kSectionForm[] = "FORM";
const char kSectionLanguage[] = "LANGUAGE";
const char kSectionFile[] = "FILE";

} // namespace

TForm1::TForm1(platform::Platform &platform, Options options, QWidget *parent)
    : QMainWindow(parent), platform_(platform), options_(std::move(options))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setCentralWidget(new QWidget(this));
    resize(kClientWidth, kClientHeight);

    buildCoolBar();
    RxRichEdit1 = new TRxRichEdit(centralWidget());
    RxRichEdit1->setObjectName(QStringLiteral("RxRichEdit1"));
    RxRichEdit1->setPlatform(&platform_);
    StatusBar2 = new StatusBar(3, centralWidget());
    StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
    StatusBar1 = new StatusBar(8, centralWidget());
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    auto *layout = new QVBoxLayout(centralWidget());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CoolBar1);
    layout->addWidget(RxRichEdit1, 1);
    layout->addWidget(StatusBar2);
    layout->addWidget(StatusBar1);
    buildLooseControls();
    buildMenus();
    buildNonVisual();
    shortcuts_ = ShortcutTable::fromMenus();
    connectHandlers();
    connectMenuHandlers();

    // The bars take their width from the window before it is shown.
    centralWidget()->setGeometry(0, 0, kClientWidth, kClientHeight);
    layout->activate();

    FormCreate();
    Timer1->start();
    connectTray();
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
}

QToolButton *TForm1::toolButton(int number) const
{
    return toolButtons_.value(number);
}

QAction *TForm1::menuItem(const QString &name) const
{
    return menuItems_.value(name);
}

void TForm1::handlerRan(const char *name)
{
    if (handlerObserver_)
        handlerObserver_(name);
}

void TForm1::guarded(const std::function<void()> &command)
{
    runGuarded(platform_, command);
}

void TForm1::flipCheck(const QString &itemName)
{
    QAction *action = menuItem(itemName);
    action->setChecked(!action->isChecked());
}

void TForm1::FormCreate()
{
    // 1. The font boxes show the editor's font.
    const QFont editorFont = RxRichEdit1->font();
    ComboBox1->setEditText(editorFont.family());
    Edit1->setText(QString::number(editorFont.pointSize()));

    // 2. Lock-key panels share the bar's width.
    const int thirdOfBar2 = StatusBar2->width() / 3;
    StatusBar2->setPanelWidths({thirdOfBar2, thirdOfBar2, thirdOfBar2});

    // 3. Right indent of the paragraph at the caret and its ruler marker.
    RxRichEdit1->ParagraphFormat().setRightEdgeIndent(kRightEdgeIndentPoints);
    Panel1->RightIndent->move(kRightIndentMarkerX, Panel1->RightIndent->y());
    RxRichEdit1->setModified(false);

    // 4. From now on every hint passes through AppShowHint; eventFilter() also
    // dispatches the menu shortcuts.
    qApp->installEventFilter(this);

    // 5. The Russian and English keyboard layouts, the last match of each.
    const KeyboardLayoutChoice layouts =
        chooseKeyboardLayouts(platform_.keyboardLayouts().installed(kMaxKeyboardLayouts));
    RussianLayout = layouts.russian;
    EnglishLayout = layouts.english;

    // 6. Tab stops; the second request replaces the first.
    RxRichEdit1->setTabStops({100}, font());
    RxRichEdit1->setTabStops({15, 20, 25}, font());

    // 7. The font list, and the editor's font name shown again.
    ComboBox1->clear();
    ComboBox1->addItems(fontNameList(QFontDatabase::families()));
    ComboBox1->setCurrentIndex(-1); // the text is set, not the selection
    ComboBox1->setEditText(editorFont.family());
    ComboBox1->lineEdit()->setCursorPosition(0);

    // 8. Size spinner and the paper colour box.
    UpDown1->setPosition(editorFont.pointSize());
    ColorBox1->setDefaultColor(RxRichEdit1->Color());

    // 9. Status bar panels in fourteenths of the bar.
    const int w = StatusBar1->width() / kStatusBar1Units;
    StatusBar1->setPanelWidths({2 * w, 2 * w, 2 * w, w, w, 2 * w, 3 * w, w});
    for (int i = 1; i < StatusBar1->panelCount(); ++i)
        StatusBar1->setPanelAlignment(i, Qt::AlignHCenter);
    StatusBar1->setPanelText(1, QString());

    // 10. Window placement and interface language from the settings file.
    const IniFile settings(options_.settingsPath);
    const QString form = QString::fromLatin1(kSectionForm);
    move(settings.readInteger(form, QStringLiteral("Left"), x()), y());
    move(x(), settings.readInteger(form, QStringLiteral("Top"), y()));
    resize(settings.readInteger(form, QStringLiteral("Width"), width()), height());
    resize(width(), settings.readInteger(form, QStringLiteral("Height"), height()));
    Lang = settings.readBool(QString::fromLatin1(kSectionLanguage), QStringLiteral("Lang"), true);

    // 11. English texts; check box and marks keep their state.
    if (Lang)
        Action4Execute();

    // 12. Leave the Russian layout active; the marker says so either way.
    if (EnglishLayout != 0)
        platform_.keyboardLayouts().activate(EnglishLayout);
    writeLayoutMarker(false);
    if (RussianLayout != 0)
        platform_.keyboardLayouts().activate(RussianLayout);
    writeLayoutMarker(true);

    // What the user types from the start goes into the text, not into the
    // font box, which comes first in the window's focus order.
    RxRichEdit1->setFocus();
}

void TForm1::writeLayoutMarker(bool russian)
{
    static const char *const kMarkers[2][2] = {{"АНГЛ.", "РУС."}, {"ENG.", "RUS."}};
    StatusBar1->setPanelText(4, QString::fromUtf8(kMarkers[Lang ? 1 : 0][russian ? 1 : 0]));
}

void TForm1::FormActivate()
{
    // Started with an argument, the window goes to the tray when it first
    // becomes active; only once, or it could never be used, and only where
    // there is a tray to come back from.
    if (options_.argumentCount > 0 && !sentToTrayAtStart_ && platform_.trayIcon().isAvailable()) {
        sentToTrayAtStart_ = true;
        HideToTray();
        AddTrayIcon();
    }
}

void TForm1::AppShowHint()
{
    QFont font(QStringLiteral("Courier New"), kHintFontPoints);
    font.setUnderline(true);
    QToolTip::setFont(font);
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, QApplication::palette().color(QPalette::ToolTipBase));
    QToolTip::setPalette(palette);
}

void TForm1::Action4Execute()
{
    ui_text::applyLanguage(Lang, [this](const QString &component, ui_text::TextProperty property, const QString &text) {
        setComponentText(component, property == ui_text::TextProperty::Caption, text);
    });
}

void TForm1::setComponentText(const QString &component, bool caption, const QString &text)
{
    if (caption) {
        if (QAction *action = menuItem(component))
            action->setText(text);
        return;
    }
    if (auto *widget = findChild<QWidget *>(component)) {
        widget->setToolTip(text);
        widget->setAccessibleName(text);
        widget->setAccessibleDescription(text);
    }
}

void TForm1::CB3Click()
{
    handlerRan(__func__);
    flipCheck(QStringLiteral("N52"));
    flipCheck(QStringLiteral("N100"));
    Lang = !CB3->isChecked();
    IniFile(options_.settingsPath).writeBool(QString::fromLatin1(kSectionLanguage), QStringLiteral("Lang"), Lang);
    Action4->trigger();
}

void TForm1::writeWindowPlacement()
{
    const IniFile settings(options_.settingsPath);
    const QString form = QString::fromLatin1(kSectionForm);
    settings.writeInteger(form, QStringLiteral("Left"), x());
    settings.writeInteger(form, QStringLiteral("Top"), y());
    settings.writeInteger(form, QStringLiteral("Width"), width());
    settings.writeInteger(form, QStringLiteral("Height"), height());
}

bool TForm1::FormCloseQuery()
{
    // A settings file that cannot be written is reported, but never keeps the
    // program from closing.
    guarded([this] {
        if (!OpenDialog1.fileName.isEmpty())
            IniFile(options_.settingsPath).writeString(QString::fromLatin1(kSectionFile), QStringLiteral("OpenFile"),
                                                       OpenDialog1.fileName);
        writeWindowPlacement();
    });
    if (!RxRichEdit1->IsModified())
        return true;
    platform::Question prompt;
    prompt.icon = platform::MessageIcon::Question;
    prompt.title = QStringLiteral("Confirm");
    prompt.text = documents::closePromptText(Lang, RxRichEdit1->PlainText() ? OpenedFileName : CurrentFileName);
    prompt.withCancel = true;
    prompt.defaultAnswer = platform::Answer::Yes;
    prompt.escapeAnswer = platform::Answer::Cancel;
    switch (platform_.messageBoxes().ask(this, prompt)) {
    case platform::Answer::Yes:
        // A save whose dialog was cancelled keeps the window open with the text.
        return saveDocument();
    case platform::Answer::No:
        return true;
    case platform::Answer::Cancel:
        return false;
    }
    return false;
}

void TForm1::FormClose()
{
    guarded([this] { writeWindowPlacement(); });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool allowed = false;
    guarded([&] { allowed = FormCloseQuery(); }); // an error keeps the window open
    if (!allowed) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    // Qt ends the program when its last visible window closes; a window hidden
    // in the tray is not visible, so its close has to end the program itself.
    if (isHidden())
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool TForm1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        guarded([this] { FormActivate(); });
    return QMainWindow::event(event);
}

void TForm1::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    guarded([this] { FormPaint(); });
}

bool TForm1::contextMenuTakesKeysFor(QObject *object) const
{
    for (auto *widget = qobject_cast<QWidget *>(object); widget; widget = widget->parentWidget()) {
        if (widget == RxRichEdit1 || widget == CoolBar1)
            return true;
    }
    return false;
}

bool TForm1::handleShortcutKey(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    if (qobject_cast<QMenu *>(widget)) {
        // An open menu keeps its keys: no shortcut fires while it is shown.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        return false;
    }
    if (widget->window() != this)
        return false;
    const ShortcutTable::Entry *entry =
        shortcuts_.find(platform::shortcutKey(*keyEvent), contextMenuTakesKeysFor(widget));
    if (!entry)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Keep the key from the focused control's own handling and from Qt's
        // shortcut map; it arrives again as a key press.
        event->accept();
        return true;
    }
    if (entry->hasAction)
        runMenuItem(entry->item);
    return true;
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel1 && event->type() == QEvent::Paint) {
        // The ruler's markers are held on the scale at every repaint.
        QMetaObject::invokeMethod(this, [this] { guarded([this] { FormPaint(); }); }, Qt::QueuedConnection);
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return handleMarkerMouse(watched, event);
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        return handleShortcutKey(watched, event);
    case QEvent::ToolTip:
        AppShowHint();
        return false;
    default:
        return false;
    }
}
