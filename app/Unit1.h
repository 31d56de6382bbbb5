#pragma once

#include <QColor>
#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

class CommandRunner;
class Document;
class HintWatcher;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QTimer;
class RecoveryCopy;
class RunningCopies;
class Settings;
class QToolBar;
class QToolButton;
class RulerBand;
class ShortcutDispatcher;
class StatusBar;
class StatusPanels;
class TColorBox;
class TForm2;
class TRxRichEdit;
class TUpDown;
enum class FontStyle;
enum class TAlignment;
namespace paraformat { enum class ListStyle; }
namespace layoutfix { class LayoutFixer; }
namespace spelling { class Speller; }
class SpellerLoader;
class SpellingMarks;
namespace platform { class Platform; }

// The main window: its components and its handlers, named after the component
// and the event. Each handler is a few lines that call the plain classes doing
// the work (the document, the settings, the status panels, the editor and the
// text tools). Every handler runs through the window's CommandRunner (object
// name "Commands"), which reports errors and tells who listens which ran.
//
// The handlers live in files named by their concern: MainWindow.cpp (start-up,
// activation, closing), MainWindowBuild.cpp (components, menus and wiring),
// MainWindowFiles.cpp, MainWindowEdit.cpp, MainWindowFormat.cpp,
// MainWindowView.cpp, MainWindowStatus.cpp, MainWindowRuler.cpp,
// MainWindowTextTools.cpp, MainWindowInserts.cpp, MainWindowLayoutFix.cpp,
// MainWindowFind.cpp, MainWindowAccessories.cpp, MainWindowLanguage.cpp,
// MainWindowSpelling.cpp and MainWindowTray.cpp.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        QString settingsPath;  // full path of Veltrix.ini
        int argumentCount = 0; // command-line arguments after the program name
        QString recoveryFolder; // where recovery copies are kept; empty: none
        // Existing files named on the command line, full paths. With any, the
        // window stays shown whatever the other arguments.
        QStringList files;
        // The folder where running copies find each other; empty: this one
        // neither asks nor answers.
        QString copiesFolder;
        // The desktop's recent-files list; empty: files are not added to it.
        QString recentFilesPath;
        // Where Hunspell dictionaries are looked for; empty: no spelling.
        QStringList dictionaryDirs;
        // The words added to the dictionary, shared by every copy.
        QString personalWordsPath;
        // False where the window system keeps the window's position from the
        // program (Wayland): the position in the settings file is then kept.
        bool windowPositionsKnown = true;
    };

    TForm1(platform::Platform &platform, Options options, QWidget *parent = nullptr);
    ~TForm1() override;

    // The editor control, for the calculator window that pastes into it.
    TRxRichEdit &editor() const { return *RxRichEdit1; }
    // The calculator window, made once at start beside this one.
    void setCalculator(TForm2 *calculator) { Form2 = calculator; }

    // State the handlers share, for reading.
    bool english() const { return Lang; }
    const Document &document() const { return *document_; }

    // Start-up, activation, painting, hints, closing.
    void FormCreate();
    // A recovery copy left by a run that did not close normally is offered
    // back; true when it was put back.
    bool offerRecovery();
    // Once the window is set up and shown: the recovery offer first, then the
    // files named on the command line, the first opened here as Open does,
    // each other one in a copy of the program of its own.
    void finishStartUp();
    // Blocks until the dictionaries looked for at start are in (tests).
    void waitForSpeller();
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

    // Find and replace dialogs' events.
    void FindDialog1Find();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace();
    void ReplaceDialog1ReplaceAll();

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
    void N131Click();
    void N129Click();
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
    void N132Click();
    void N133Click();
    void N134Click();
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

    // A ruler marker dropped: its indent is written to the paragraph. The
    // ruler itself moves the markers while they are dragged.
    void CurPosMouseUp();
    void LeftIndentMouseUp();
    void RightIndentMouseUp();

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

private:
    // Building and wiring (MainWindowBuild.cpp).
    void buildCoolBar();
    void buildToolBars();
    void buildFontBoxes();
    void buildLooseControls();
    void buildMenus();
    QMenu *buildMenuTree(const char *menuName, QWidget *menuBarOrMenu);
    void buildNonVisual();
    void connectCommands();
    void connectEvents();
    void showEditorContextMenu(QPoint globalPosition);
    // Spelling (MainWindowSpelling.cpp).
    void startSpelling();
    void spellingReady(std::unique_ptr<spelling::Speller> speller);
    void showSpellingItems();
    void flipSpellCheck();
    void refreshPersonalWords();
    bool showSpellingMenu(QPoint globalPosition); // false: not on a flagged word
    static constexpr int kMostSuggestions = 7;
    bool contextMenuTakesKeysFor(QWidget *widget) const;

    // The steps of FormCreate (MainWindow.cpp).
    void showEditorFontInBoxes();
    void setStartingRightIndent();
    void findKeyboardLayouts();
    void readLayoutKeys();
    void setTabStops();
    void fillFontList();
    void restorePlacementAndLanguage();
    void activateStartingLayout();
    // A find or replace message, in the application's informational box.
    void showFindMessage(const QString &text);
    QRect windowPlacement() const { return QRect(x(), y(), width(), height()); }
    void writeWindowPlacement(const Settings &settings) const;

    // Runs `handler` under the name `handlerName` through the command runner.
    void run(const char *handlerName, const std::function<void()> &handler);
    // The same, as a callable to connect to a signal.
    std::function<void()> handler(const char *handlerName, void (TForm1::*handler)());
    void runMenuItem(const QString &name); // what choosing the item runs
    QAction *menuItem(const QString &name) const;
    QToolButton *toolButton(int number) const;
    void flipCheck(const QString &itemName);
    void setComponentText(const QString &component, bool caption, const QString &text);
    void showCaretPosition();
    void showKeyboardLayout(bool russian);
    // The layout commands (MainWindowLayoutFix.cpp).
    void switchKeyboardLayout(quint32 layout, bool russian, bool byUser);
    bool showDesktopLayout();
    void toggleAutosave();
    void changeStyle(FontStyle flag, bool add);
    void align(TAlignment alignment);
    void numberParagraphs(paraformat::ListStyle style);
    void choosePaperColor();
    void flipToolPanel();
    void flipStatusBar();
    void flipRuler();
    void placeRulerMarkers();
    void showOpenedFile();
    void checkFileOnDisk();
    void rememberRecentFile();
    void listenToOtherCopies();
    void showForAnotherCopy();
    void connectTray();

    // Components.
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
    QAction *Action1 = nullptr;
    QAction *Action2 = nullptr;
    QAction *Action4 = nullptr;
    TForm2 *Form2 = nullptr;

    // State.
    bool Lang = true; // true = English interface
    quint32 RussianLayout = 0;
    quint32 EnglishLayout = 0;
    bool layoutRefusalShown_ = false; // the desktop lets no program switch: told once
    QColor ColorDialog1 = Qt::black; // the colour the colour dialog last held

    platform::Platform &platform_;
    Options options_;
    CommandRunner *commands_ = nullptr;
    std::unique_ptr<Document> document_;
    std::unique_ptr<StatusPanels> status_;
    RecoveryCopy *recovery_ = nullptr;
    RunningCopies *copies_ = nullptr;
    std::unique_ptr<layoutfix::LayoutFixer> layoutFixer_;
    // Application-wide event filters, gone before the window's components.
    std::unique_ptr<ShortcutDispatcher> shortcuts_;
    std::unique_ptr<HintWatcher> hints_;
    std::unique_ptr<spelling::Speller> speller_;
    SpellerLoader *spellerLoader_ = nullptr;
    SpellingMarks *spellingMarks_ = nullptr;
    bool spellingLoaded_ = false; // the dictionaries were looked for
    QHash<QString, QAction *> menuItems_;
    Qt::WindowStates shownState_ = Qt::WindowNoState; // the state to come back to from the tray
    bool sentToTrayAtStart_ = false;
    bool settingsUnwritable_ = false; // the close query of this close could not write them
    bool fileCheckPending_ = false;   // a look at the file on disk is on its way
};
