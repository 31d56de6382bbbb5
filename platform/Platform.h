#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <QtGlobal>
#include <optional>

#include "platform/FindDialogs.h"

class QDialog;
class QPrinter;
class QWidget;

// The seam between the program and everything the desktop provides. The program
// talks only to these interfaces; QtPlatform serves the running program and the
// test doubles script the user's answers and record what was asked.
namespace platform {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class Answer { Yes, No, Cancel };

// A question with typed buttons: the title ("Warning", "Confirm") and the button
// captions are English whatever the interface language.
struct Question {
    MessageIcon icon = MessageIcon::Question;
    QString title;
    QString text;
    bool withCancel = false; // Yes, No and Cancel instead of Yes and No
    Answer defaultAnswer = Answer::Yes;
    Answer escapeAnswer = Answer::No;
    // Captions of a question whose answers are not yes and no; empty: "&Yes",
    // "&No", "Cancel".
    QString yesCaption;
    QString noCaption;
    QString cancelCaption;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal box with an OK button.
    virtual void showMessage(QWidget *owner, MessageIcon icon, const QString &title, const QString &text) = 0;
    virtual Answer ask(QWidget *owner, const Question &question) = 0;
};

// What one key gives in a layout, unshifted and with Shift; 0 = nothing.
struct LayoutKey {
    int keycode = 0;
    char32_t plain = 0;
    char32_t shifted = 0;
};

// Keyboard layouts as the system knows them. A handle's low 16 bits are the
// Windows language identifier of its layout (0x0419 Russian, 0x0409 English US…).
class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;
    virtual QList<quint32> installed(int maxCount) = 0;
    virtual void activate(quint32 handle) = 0;
    // The character keys of a layout, in key code order; empty when the
    // system does not tell.
    virtual QList<LayoutKey> keys(quint32 handle) = 0;
    // False where the desktop lets no program switch its layout: activate()
    // then does nothing.
    virtual bool canActivate() = 0;
    // The layout the desktop says is active; nullopt where it does not say.
    virtual std::optional<quint32> current() = 0;
    // Called whenever the desktop reports a switch, made by anyone.
    virtual void setChangeHandler(std::function<void()> handler) = 0;
};

// The insert-object dialog: a picture file, put in as it is or shown as an icon.
struct InsertObjectChoice {
    QString fileName;
    bool asIcon = false;
};

// The insert-table dialog: its texts in the interface language, and what it
// starts with and allows.
struct TableSizeRequest {
    QString title;
    QString rowsLabel;
    QString columnsLabel;
    QString okCaption;
    QString cancelCaption;
    int rows = 2;
    int columns = 3;
    int maxRows = 1;
    int maxColumns = 1;
};

struct TableSize {
    int rows = 0;
    int columns = 0;
};

class ObjectDialogs {
public:
    virtual ~ObjectDialogs() = default;
    virtual std::optional<InsertObjectChoice> askInsertObject(QWidget *owner) = 0;
    virtual std::optional<TableSize> askTableSize(QWidget *owner, const TableSizeRequest &request) = 0;
    // The properties of a selected object: its type, size and scale.
    virtual void showObjectProperties(QWidget *owner, const QString &typeName, const QString &details) = 0;
};

// The program-wide current printer and the three printing dialogs, which read
// it when they open and change it when confirmed. Each dialog keeps its last
// values for the run.
class Printing {
public:
    virtual ~Printing() = default;
    virtual QPrinter &currentPrinter() = 0;
    // The print dialog: the whole document only, no print-to-file box.
    virtual bool askPrint(QWidget *owner) = 0;
    // The printer setup dialog: printer, paper and orientation, no margins.
    virtual void askPrinterSetup(QWidget *owner) = 0;
    // The page setup dialog; its margins stay with the dialog and never reach
    // the printout, its paper and orientation become the printer's.
    virtual void askPageSetup(QWidget *owner) = 0;
};

// The shell's "open" of a file or an address, and a second copy of the program.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void open(const QString &target) = 0;
    // Shows a local file in the file manager without opening it: its folder
    // with the file selected where the desktop can, else just its folder.
    virtual void showInFileManager(const QString &path) = 0;
    // Starts another, independent copy of this program's executable with
    // these arguments (none for New). Its result is not looked at.
    virtual void startProgramCopy(const QStringList &arguments) = 0;
};

// An open or save dialog as the program sets it up.
struct FileDialogRequest {
    QStringList filters;      // "text|pattern" pairs, the first one preselected
    QString defaultExtension; // added to a typed name that has none
    QString initialFolder;    // empty: the folder of `fileName`, else the dialog's own default
    QString fileName;         // the name field; only its name part when `initialFolder` is set
};

// The common file dialogs. A confirmed dialog leaves the process's current
// folder at the folder last browsed.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Accepts the name of a file that does not exist.
    virtual std::optional<QString> openFileName(QWidget *owner, const FileDialogRequest &request) = 0;
    // Asks before it overwrites an existing file.
    virtual std::optional<QString> saveFileName(QWidget *owner, const FileDialogRequest &request) = 0;
};

// The icon in the desktop's notification area.
class TrayIcon {
public:
    enum class Activation { LeftClick, RightClick, DoubleClick };
    virtual ~TrayIcon() = default;
    virtual bool isAvailable() const = 0;
    virtual void show(const QString &tip) = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    virtual void setActivationHandler(std::function<void(Activation)> handler) = 0;
};

// The font dialog (with underline, strike-out and colour) and the colour dialog.
struct FontChoice {
    QFont font;
    QColor color;
};

class FormatDialogs {
public:
    virtual ~FormatDialogs() = default;
    virtual std::optional<FontChoice> askFont(QWidget *owner, const FontChoice &initial) = 0;
    virtual std::optional<QColor> askColor(QWidget *owner, const QColor &initial) = 0;
};

// The program's own modal windows (statistics, about, calendar) are built in
// code and shown through here, so that tests can look at them without a
// nested event loop.
class ModalWindows {
public:
    virtual ~ModalWindows() = default;
    // Shows the window modally and returns its result (QDialog::exec()).
    virtual int exec(QDialog &window) = 0;
};

enum class LockKey { CapsLock, ScrollLock, NumLock };

// The toggle state of the lock keys.
class LockKeys {
public:
    virtual ~LockKeys() = default;
    // True while the key's toggle is on and the key itself is not held down.
    virtual bool isOn(LockKey key) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;
};

// Everything the program takes from the desktop, in one place.
class Platform {
public:
    virtual ~Platform() = default;
    virtual MessageBoxes &messageBoxes() = 0;
    virtual KeyboardLayouts &keyboardLayouts() = 0;
    virtual ObjectDialogs &objectDialogs() = 0;
    virtual Printing &printing() = 0;
    virtual Shell &shell() = 0;
    virtual FileDialogs &fileDialogs() = 0;
    virtual TrayIcon &trayIcon() = 0;
    virtual LockKeys &lockKeys() = 0;
    virtual FormatDialogs &formatDialogs() = 0;
    virtual ModalWindows &modalWindows() = 0;
    virtual Clock &clock() = 0;
    virtual FindDialogs &findDialogs() = 0;
};

} // namespace platform
