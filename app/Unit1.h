#pragma once

#include <QColor>
#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <functional>

#include "app/DocumentFiles.h"
#include "app/ShortcutTable.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
enum class FontStyle;
enum class TAlignment;
namespace paraformat { enum class ListStyle; }
class QLineEdit;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TRxRichEdit;
class TForm2;
class StatusBar;
class TColorBox;
class TUpDown;
class RulerBand;
namespace platform { class Platform; }

// The main window. Its handlers are named after the component and the event;
// each is a few lines that call the plain classes doing the work.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        QString settingsPath;  // full path of Veltrix.ini
        int argumentCount = 0; // command-line arguments after the program name
    };

    TForm1(platform::Platform &platform, Options options, QWidget *parent = nullptr);
    ~TForm1() override;

    // Components, by the names the rest of the program uses.
    QWidget *CoolBar1 = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QToolBar *ToolBar2 = nullptr;
    RulerBand *Panel1 = nullptr;
    TRxRichEdit *RxRichEdit1 = nullptr;
    StatusBar *StatusBar1 = nullptr;
    StatusBar *StatusBar2 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    TUpDown *UpDown1 = nullptr;
    TColorBox *ColorBox1 = nullptr;
    TColorBox *ColorBox2 = nullptr;
    QCheckBox *CB1 = nullptr;
    QCheckBox *CB2 = nullptr;
    QCheckBox *CB3 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QMenu *PopupMenu3 = nullptr;
    QMenu *PopupMenu4 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    TForm2 *Form2 = nullptr; // the calculator window, made once at start
    QAction *Action1 = nullptr;
    QAction *Action2 = nullptr;
    QAction *Action4 = nullptr;

    // Program-wide state.
    bool Lang = true; // true = English interface
    quint32 RussianLayout = 0;
    quint32 EnglishLayout = 0;

    // Document state: the file being edited and the file last opened.
    QString CurrentFileName;
    QString OpenedFileName;
    FileDialogState OpenDialog1;
    FileDialogState SaveDialog1;

    QToolButton *toolButton(int number) const;
    QAction *menuItem(const QString &name) const;
    QStringList menuItemNames() const { return menuItems_.keys(); }

    // Runs what choosing the menu item runs (its forwarding or own handler).
    void runMenuItem(const QString &name);

    // Tests watch which handler ran; the observer gets the handler's name.
    void setHandlerObserver(std::function<void(const char *)> observer) { handlerObserver_ = std::move(observer); }

    // Start-up, activation, painting, hints, closing.
    void FormCreate();
    void FormActivate();
    void FormPaint();
    void AppShowHint();
    bool FormCloseQuery();
    void FormClose();

    // Web site, mail, links.
    void Action1Execute();
    void Action2Execute();
    void RxRichEdit1URLClick(const QString &link, Qt::MouseButton button);

    // Interface language.
    void Action4Execute();
    void CB3Click();

    // Tool buttons.
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton4Click();
    void ToolButton5Click();
    void ToolButton6Click();
    void ToolButton7Click();
    void ToolButton8Click();
    void ToolButton9Click();
    void ToolButton10Click();
    void ToolButton11Click();
    void ToolButton12Click();
    void ToolButton13Click();
    void ToolButton14Click();
    void ToolButton15Click();
    void ToolButton17Click();
    void ToolButton18Click();
    void ToolButton19Click();
    void ToolButton20Click();
    void ToolButton21Click();
    void ToolButton22Click();
    void ToolButton23Click();
    void ToolButton24Click();
    void ToolButton25Click();
    void ToolButton26Click();
    void ToolButton27Click();
    void ToolButton28Click();
    void ToolButton29Click();
    void ToolButton30Click();
    void ToolButton31Click();
    void ToolButton32Click();
    void ToolButton33Click();
    void ToolButton35Click();
    void ToolButton36Click();
    void ToolButton37Click();
    void ToolButton39Click();
    void ToolButton40Click();
    void ToolButton41Click();
    void ToolButton42Click();
    void ToolButton43Click();

    // Check boxes.
    void CB1Click();
    void CB2Click();

    // Find and replace dialogs' events; the position the replace dialog's
    // search goes on from, never reset.
    void FindDialog1Find();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace();
    int ReplaceFindPos = 0;

    // Menu items with handlers of their own.
    void N109Click();
    void N16Click();
    void N48Click();
    void N94Click();
    void N27Click();
    void N77Click();
    void N28Click();
    void N78Click();
    void Delphi1Click();
    void Pascal1Click();
    void HTML1Click();
    void Cheader1Click();
    void CPP1Click();
    void N113Click();
    void N44Click();
    void N91Click();
    void N125Click();
    void N126Click();
    void N127Click();
    void N128Click();
    void N45Click();
    void N96Click();
    void N47Click();
    void N93Click();
    void N105Click();
    void N110Click();
    void N106Click();
    void Koir1Click();
    void Koir8Win1Click();
    void WinUTF81Click();
    void UTF8Win1Click();
    void N115Click();
    void N116Click();
    void N30Click();
    void N54Click();
    void N119Click();
    void N120Click();
    void N121Click();
    void N122Click();
    void N123Click();
    void N124Click();

    // Character formatting from the toolbar controls.
    void ComboBox1Change();
    void UpDown1Changing();
    void ColorBox1Select();
    void ColorBox2Select();

    // Timers and the editor's events.
    void Timer1Timer();
    void Timer2Timer();
    void RxRichEdit1Change();
    void RxRichEdit1MouseDown(Qt::MouseButton button, QPoint position);
    void RxRichEdit1SelectionChange();

    // Ruler markers; x is the pointer's position within the marker.
    void CurPosMouseDown(int x);
    void CurPosMouseMove(int x);
    void CurPosMouseUp();
    void LeftIndentMouseDown(int x);
    void LeftIndentMouseMove(int x);
    void LeftIndentMouseUp();
    void RightIndentMouseDown(int x);
    void RightIndentMouseMove(int x);
    void RightIndentMouseUp();
    bool RulerDragging = false;
    int RulerGrabOffset = 0;

    QColor ColorDialog1 = Qt::black; // the colour the colour dialog last held

    // Tray.
    void HideToTray();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void RestoreFromTray();
    void ShowTrayMenu();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Building the window (Unit1Layout.cpp).
    void buildCoolBar();
    void buildToolBar1();
    void buildToolBar2();
    void buildLooseControls();
    void buildMenus();
    void buildNonVisual();
    QMenu *buildMenuTree(const char *menuName, QWidget *menuBarOrMenu);
    void connectHandlers();
    void connectMenuHandlers();
    void showEditorContextMenu(QPoint globalPosition);

    void handlerRan(const char *name);
    void guarded(const std::function<void()> &command);
    void flipCheck(const QString &itemName);
    void setComponentText(const QString &component, bool caption, const QString &text);
    bool contextMenuTakesKeysFor(QObject *widget) const;
    bool handleShortcutKey(QObject *watched, QEvent *event);
    void writeWindowPlacement();
    bool saveDocument();   // false when the user cancelled the save dialog
    bool saveDocumentAs();
    void setDocumentTitle(const QString &path);
    void toggleAutosave();
    void changeStyle(FontStyle flag, bool add);
    void align(TAlignment alignment, const char *russian, const char *english);
    void numberParagraphs(paraformat::ListStyle style);
    QString caretPositionText() const;
    void choosePaperColor();
    void flipToolPanel();
    void flipStatusBar();
    void flipRuler();
    void markerPressed(QLabel *marker, int x);
    void markerMoved(QLabel *marker, int x);
    bool handleMarkerMouse(QObject *watched, QEvent *event);
    void connectTray();
    void writeLayoutMarker(bool russian);

    platform::Platform &platform_;
    Options options_;
    QHash<QString, QAction *> menuItems_;
    QHash<QString, std::function<void()>> ownHandlers_;
    QHash<int, QToolButton *> toolButtons_;
    ShortcutTable shortcuts_;
    std::function<void(const char *)> handlerObserver_;
    Qt::WindowStates shownState_ = Qt::WindowNoState; // the state to come back to from the tray
    bool sentToTrayAtStart_ = false;
};
