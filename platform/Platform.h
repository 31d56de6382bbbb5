#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

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
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal box with an OK button.
    virtual void showMessage(QWidget *owner, MessageIcon icon, const QString &title, const QString &text) = 0;
    virtual Answer ask(QWidget *owner, const Question &question) = 0;
};

// Keyboard layouts as the system knows them. A handle's low 16 bits are the
// Windows language identifier of its layout (0x0419 Russian, 0x0409 English US…).
class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;
    virtual QList<quint32> installed(int maxCount) = 0;
    virtual void activate(quint32 handle) = 0;
};

// The insert-object dialog: a picture file, put in as it is or shown as an icon.
struct InsertObjectChoice {
    QString fileName;
    bool asIcon = false;
};

class ObjectDialogs {
public:
    virtual ~ObjectDialogs() = default;
    virtual std::optional<InsertObjectChoice> askInsertObject(QWidget *owner) = 0;
    // The properties of a selected object: its type, size and scale.
    virtual void showObjectProperties(QWidget *owner, const QString &typeName, const QString &details) = 0;
};

class Printing {
public:
    virtual ~Printing() = default;
    // The printer the program prints on; printer setup changes it.
    virtual QPrinter &currentPrinter() = 0;
};

// The shell's "open" of a file or an address.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void open(const QString &target) = 0;
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
};

} // namespace platform
