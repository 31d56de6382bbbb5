#pragma once

#include "platform/Platform.h"

#include <QStringList>
#include <deque>
#include <memory>

// Test doubles of the platform: answers are scripted in advance, everything the
// program asked is recorded. No dialog ever opens.
namespace platform {

struct ShownMessage {
    MessageIcon icon;
    QString title;
    QString text;
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

    QList<quint32> layouts;       // what the system reports, in order
    QList<quint32> activations;   // every activation asked for
};

class FakeObjectDialogs : public ObjectDialogs {
public:
    std::optional<InsertObjectChoice> askInsertObject(QWidget *owner) override;
    void showObjectProperties(QWidget *owner, const QString &typeName, const QString &details) override;

    std::optional<InsertObjectChoice> choice; // the answer to the next question
    int asked = 0;
    QStringList propertiesShown;
};

// Prints into a PDF file of the test's choosing.
class FakePrinting : public Printing {
public:
    FakePrinting();
    ~FakePrinting() override;
    QPrinter &currentPrinter() override;
    void setOutputFile(const QString &path);

private:
    std::unique_ptr<QPrinter> printer_;
};

class FakeShell : public Shell {
public:
    void open(const QString &target) override { opened.append(target); }
    QStringList opened;
};

class FakePlatform : public Platform {
public:
    MessageBoxes &messageBoxes() override { return boxes; }
    KeyboardLayouts &keyboardLayouts() override { return keyboard; }
    ObjectDialogs &objectDialogs() override { return objects; }
    Printing &printing() override { return printer; }
    Shell &shell() override { return shellOpen; }

    FakeMessageBoxes boxes;
    FakeKeyboardLayouts keyboard;
    FakeObjectDialogs objects;
    FakePrinting printer;
    FakeShell shellOpen;
};

} // namespace platform
