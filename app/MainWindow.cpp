// Start-up, activation, painting, hints and closing of the main window.
#include "app/Unit1.h"
#include "spelling/Speller.h"

#include "app/AppTitle.h"
#include "app/CommandRunner.h"
#include "app/Document.h"
#include "app/DocumentFiles.h"
#include "app/FontList.h"
#include "app/Hints.h"
#include "app/RecoveryCopy.h"
#include "app/KeyboardLayoutChoice.h"
#include "app/Settings.h"
#include "app/WindowPlacement.h"
#include "app/ShortcutDispatcher.h"
#include "app/StatusPanels.h"
#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "platform/VeltrixError.h"
#include "tools/LayoutFix.h"
#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/StatusBar.h"
#include "widgets/UpDown.h"

#include <QApplication>
#include <QScreen>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 706;  // pixels, the window definition's size
constexpr int kClientHeight = 504;
constexpr int kRightEdgeIndentPoints = 7;
constexpr int kRightIndentMarkerX = 620;
constexpr int kMaxKeyboardLayouts = 8;

} // namespace

TForm1::TForm1(platform::Platform &platform, Options options, QWidget *parent)
    : QMainWindow(parent), platform_(platform), options_(std::move(options))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setCentralWidget(new QWidget(this));
    resize(kClientWidth, kClientHeight);
    commands_ = new CommandRunner(platform_, this);

    buildCoolBar();
    RxRichEdit1 = new TRxRichEdit(centralWidget());
    RxRichEdit1->setObjectName(QStringLiteral("RxRichEdit1"));
    RxRichEdit1->setPlatform(&platform_);
    StatusBar2 = new StatusBar(StatusPanels::LockPanelCount, centralWidget());
    StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
    StatusBar1 = new StatusBar(StatusPanels::PanelCount, centralWidget());
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    status_ = std::make_unique<StatusPanels>(*StatusBar1, *StatusBar2);
    document_ = std::make_unique<Document>(*RxRichEdit1, platform_, this);
    document_->showTitle = [this](const QString &title) { setWindowTitle(title); };
    recovery_ = new RecoveryCopy(
        *RxRichEdit1, [this] { return document_->currentFileName(); }, options_.recoveryFolder, this);
    document_->showSaved = [this] {
        status_->showModified(false);
        recovery_->discard();
        rememberRecentFile();
    };
    connect(recovery_, &RecoveryCopy::copyNotWritten, this, [this](const QString &reason) {
        status_->showCopyNotWritten(documents::recoveryCopyFailedText(Lang), reason);
    });

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
    connectCommands();
    connectEvents();

    // The bars take their width from the window before it is shown.
    centralWidget()->setGeometry(0, 0, kClientWidth, kClientHeight);
    layout->activate();

    FormCreate();
    startSpelling();
    Timer1->start();
    connectTray();
    listenToOtherCopies();
}

TForm1::~TForm1()
{
    platform_.keyboardLayouts().setChangeHandler({});
}

void TForm1::FormCreate()
{
    showEditorFontInBoxes();
    status_->layOut();
    setStartingRightIndent();
    // From now on every hint passes through AppShowHint, and the menus'
    // shortcut keys reach their items.
    hints_ = std::make_unique<HintWatcher>([this] { AppShowHint(); });
    shortcuts_ = std::make_unique<ShortcutDispatcher>(
        *this, [this](QWidget *focused) { return contextMenuTakesKeysFor(focused); },
        [this](const QString &item) { runMenuItem(item); });
    findKeyboardLayouts();
    setTabStops();
    fillFontList();
    UpDown1->setPosition(RxRichEdit1->font().pointSize());
    ColorBox1->setDefaultColor(RxRichEdit1->Color());
    status_->showModified(false);
    restorePlacementAndLanguage();
    if (Lang)
        Action4Execute(); // English texts; check box and marks keep their state
    activateStartingLayout();
    // What the user types from the start goes into the text, not into the
    // font box, which comes first in the window's focus order.
    RxRichEdit1->setFocus();
}

void TForm1::showEditorFontInBoxes()
{
    const QFont editorFont = RxRichEdit1->font();
    ComboBox1->setEditText(editorFont.family());
    Edit1->setText(QString::number(editorFont.pointSize()));
}

// The paragraph at the caret, and its ruler marker put there directly.
void TForm1::setStartingRightIndent()
{
    RxRichEdit1->ParagraphFormat().setRightEdgeIndent(kRightEdgeIndentPoints);
    Panel1->placeMarker(RulerBand::Marker::RightIndent, kRightIndentMarkerX);
    RxRichEdit1->setModified(false);
}

// The Russian and English keyboard layouts, the last match of each.
void TForm1::findKeyboardLayouts()
{
    const KeyboardLayoutChoice layouts =
        chooseKeyboardLayouts(platform_.keyboardLayouts().installed(kMaxKeyboardLayouts));
    RussianLayout = layouts.russian;
    EnglishLayout = layouts.english;
    platform_.keyboardLayouts().setChangeHandler([this] { showDesktopLayout(); });
}

// The second request replaces the first.
void TForm1::setTabStops()
{
    RxRichEdit1->setTabStops({100}, font());
    RxRichEdit1->setTabStops({15, 20, 25}, font());
}

// The font list, and the editor's font name shown again.
void TForm1::fillFontList()
{
    ComboBox1->clear();
    ComboBox1->addItems(fontNameList(QFontDatabase::families()));
    ComboBox1->setCurrentIndex(-1); // the text is set, not the selection
    ComboBox1->setEditText(RxRichEdit1->font().family());
    ComboBox1->lineEdit()->setCursorPosition(0);
}

void TForm1::restorePlacementAndLanguage()
{
    const Settings settings(options_.settingsPath);
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect placement = placement::fitted(settings.windowPlacement(windowPlacement()), windowPlacement(), screens);
    move(placement.topLeft());
    resize(placement.size());
    Lang = settings.english();
}

// The Russian layout is left active; the marker says so, or says what the
// desktop has active where it tells.
void TForm1::activateStartingLayout()
{
    switchKeyboardLayout(EnglishLayout, false, false);
    switchKeyboardLayout(RussianLayout, true, false);
}

void TForm1::FormActivate()
{
    checkFileOnDisk();
    refreshPersonalWords(); // another copy may have added words
    showDesktopLayout();    // the user may have switched in another window
    // Started with an argument, the window goes to the tray when it first
    // becomes active; only once, or it could never be used, and only where
    // there is a tray to come back from. A file to open keeps it shown.
    if (options_.argumentCount > 0 && options_.files.isEmpty() && !sentToTrayAtStart_ &&
        platform_.trayIcon().isAvailable()) {
        sentToTrayAtStart_ = true;
        HideToTray();
        AddTrayIcon();
    }
}

void TForm1::AppShowHint()
{
    applyHintStyle();
}

bool TForm1::FormCloseQuery()
{
    // A settings file that cannot be written is reported, but never keeps the
    // program from closing.
    settingsUnwritable_ = false;
    run(nullptr, [this] {
        try {
            const Settings settings(options_.settingsPath);
            if (!document_->lastOpenChoice().isEmpty())
                settings.writeOpenedFile(document_->lastOpenChoice());
            writeWindowPlacement(settings);
        } catch (const VeltrixError &) {
            settingsUnwritable_ = true;
            throw;
        }
    });
    return document_->closeQuery(Lang);
}

void TForm1::FormClose()
{
    recovery_->discard();
    // The close query has just said the file cannot be written: once per close.
    if (settingsUnwritable_)
        return;
    run(nullptr, [this] { writeWindowPlacement(Settings(options_.settingsPath)); });
}

void TForm1::writeWindowPlacement(const Settings &settings) const
{
    if (options_.windowPositionsKnown)
        settings.writeWindowPlacement(windowPlacement());
    else
        settings.writeWindowSize(windowPlacement());
}

void TForm1::closeEvent(QCloseEvent *event)
{
    bool allowed = false;
    run(nullptr, [&] { allowed = FormCloseQuery(); }); // an error keeps the window open
    if (!allowed) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    // Only this close ends the program: Qt's own rule (the last visible window
    // closed) is off, since a message box closed while the window is in the tray
    // would otherwise end it, and a visible calculator would keep it running.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool TForm1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        run(nullptr, [this] { FormActivate(); });
    return QMainWindow::event(event);
}

void TForm1::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    run(nullptr, [this] { FormPaint(); });
}
