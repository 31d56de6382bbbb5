#pragma once

#include "platform/fakes/FakeFindDialogs.h"
#include "platform/Platform.h"
#include "platform/CurrentPrinter.h"

#include <QHash>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Test doubles of the platform: answers are scripted in advance, everything the
// program asked is recorded. No dialog ever opens.
namespace platform {

struct ShownMessage {
    MessageIcon icon;
    QString title;
    QString text;
    bool underBusyCursor = false; // the wait cursor was showing as it opened
};

class FakeMessageBoxes : public MessageBoxes {
public:
    void showMessage(QWidget *owner, MessageIcon icon, const QString &title, const QString &text) override;
    Answer ask(QWidget *owner, const Question &question) override;

    // Answers given to the next questions, in order; when none is left the
    // question gets its escape answer.
    std::deque<Answer> answers;
    QList<ShownMessage> messages;
    QList<Question> questions;
};

class FakeKeyboardLayouts : public KeyboardLayouts {
public:
    QList<quint32> installed(int maxCount) override;
    void activate(quint32 handle) override;
    QList<LayoutKey> keys(quint32 handle) override;
    bool canActivate() override { return switchingAllowed; }
    std::optional<quint32> current() override;
    void setChangeHandler(std::function<void()> handler) override { changeHandler = std::move(handler); }
    // The user switches with the desktop's own key.
    void switchOnDesktop(quint32 handle);

    QList<quint32> layouts;       // what the system reports, in order
    QList<quint32> activations;   // every activation asked for
    QHash<quint32, QList<LayoutKey>> keymaps; // by handle; none = not told
    bool switchingAllowed = true;
    bool tellsCurrent = false;    // whether current() answers
    quint32 active = 0;           // what the desktop has active
    int currentAsked = 0;
    std::function<void()> changeHandler;
};

class FakeObjectDialogs : public ObjectDialogs {
public:
    std::optional<InsertObjectChoice> askInsertObject(QWidget *owner) override;
    std::optional<TableSize> askTableSize(QWidget *, const TableSizeRequest &request) override
    {
        tableAsked.push_back(request);
        return tableSize;
    }
    void showObjectProperties(QWidget *owner, const QString &typeName, const QString &details) override;

    std::optional<TableSize> tableSize; // the answer to the next table question
    std::vector<TableSizeRequest> tableAsked;
    std::optional<InsertObjectChoice> choice; // the answer to the next question
    int asked = 0;
    QStringList propertiesShown;
};

// Prints into a PDF file of the test's choosing. The setup dialogs work on the
// one current printer as the real ones do: each opens on what it would show,
// the scripted user edits that, and a confirmed dialog hands back all of it.
class FakePrinting : public Printing {
public:
    FakePrinting();
    ~FakePrinting() override;
    QPrinter &currentPrinter() override;
    void setOutputFile(const QString &path);
    bool askPrint(QWidget *) override { ++printAsked; return printAnswer; }
    void askPrinterSetup(QWidget *) override;
    void askPageSetup(QWidget *) override;

    bool printAnswer = false;
    // The user's edits in the next setup dialog, which is then confirmed; with
    // none the dialog is cancelled.
    std::function<void(PrinterChoice &)> printerSetupEdit;
    std::function<void(QPageLayout &)> pageSetupEdit;
    int printAsked = 0;
    int printerSetupAsked = 0;
    int pageSetupAsked = 0;
    QList<QPageLayout> pageSetupsShown;

private:
    std::unique_ptr<CurrentPrinter> current_;
};

class FakeShell : public Shell {
public:
    void open(const QString &target) override { opened.append(target); }
    void showInFileManager(const QString &path) override { shownInFileManager.append(path); }
    void startProgramCopy(const QStringList &arguments) override
    {
        ++copiesStarted;
        copyArguments.append(arguments);
    }
    QStringList opened;
    QStringList shownInFileManager;
    int copiesStarted = 0;
    QList<QStringList> copyArguments; // of each copy started, in order
};

class FakeFileDialogs : public FileDialogs {
public:
    std::optional<QString> openFileName(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(QWidget *owner, const FileDialogRequest &request) override;

    // Answers to the next dialogs, in order: a path, or nullopt for Cancel.
    // With none left a dialog is cancelled.
    std::deque<std::optional<QString>> answers;
    QList<FileDialogRequest> openRequests;
    QList<FileDialogRequest> saveRequests;
};

class FakeTrayIcon : public TrayIcon {
public:
    bool isAvailable() const override { return available; }
    void show(const QString &newTip) override;
    void hide() override { visible = false; }
    bool isVisible() const override { return visible; }
    void setActivationHandler(std::function<void(Activation)> newHandler) override { handler = std::move(newHandler); }
    // What the user does to the icon.
    void activate(Activation activation) { if (handler) handler(activation); }

    bool available = true;
    bool visible = false;
    int shown = 0; // every request to add the icon
    QString tip;
    std::function<void(Activation)> handler;
};

class FakeLockKeys : public LockKeys {
public:
    bool isOn(LockKey key) override { return on.contains(static_cast<int>(key)); }
    QList<int> on; // the LockKey values that are on
};

class FakeClock : public Clock {
public:
    QDateTime now() override { return time; }
    QDateTime time = QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7));
};

class FakeFormatDialogs : public FormatDialogs {
public:
    std::optional<FontChoice> askFont(QWidget *, const FontChoice &initial) override
    {
        fontsAsked.append(initial);
        return std::exchange(fontAnswer, std::nullopt);
    }
    std::optional<QColor> askColor(QWidget *, const QColor &initial) override
    {
        colorsAsked.append(initial);
        return std::exchange(colorAnswer, std::nullopt);
    }

    std::optional<FontChoice> fontAnswer; // the next answers; nullopt = Cancel
    std::optional<QColor> colorAnswer;
    QList<FontChoice> fontsAsked;
    QList<QColor> colorsAsked;
};

// Records each modal window as it would have been shown and answers with
// `result` at once; `inspect` may look at the window (its labels, its title).
class FakeModalWindows : public ModalWindows {
public:
    int exec(QDialog &window) override;
    QStringList titles;
    std::function<void(QDialog &)> inspect;
    int result = 0;
};

class FakePlatform : public Platform {
public:
    MessageBoxes &messageBoxes() override { return boxes; }
    KeyboardLayouts &keyboardLayouts() override { return keyboard; }
    ObjectDialogs &objectDialogs() override { return objects; }
    Printing &printing() override { return printer; }
    Shell &shell() override { return shellOpen; }
    FileDialogs &fileDialogs() override { return files; }
    TrayIcon &trayIcon() override { return tray; }
    LockKeys &lockKeys() override { return locks; }
    FormatDialogs &formatDialogs() override { return formats; }
    ModalWindows &modalWindows() override { return modal; }
    Clock &clock() override { return clockTime; }
    FindDialogs &findDialogs() override { return findReplace; }

    FakeMessageBoxes boxes;
    FakeKeyboardLayouts keyboard;
    FakeObjectDialogs objects;
    FakePrinting printer;
    FakeShell shellOpen;
    FakeFileDialogs files;
    FakeTrayIcon tray;
    FakeLockKeys locks;
    FakeFormatDialogs formats;
    FakeModalWindows modal;
    FakeClock clockTime;
    FakeFindDialogs findReplace;
};

} // namespace platform
