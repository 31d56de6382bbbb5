#pragma once

#include "platform/Platform.h"

#include <QStringList>
#include <deque>

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

class FakePlatform : public Platform {
public:
    MessageBoxes &messageBoxes() override { return boxes; }
    KeyboardLayouts &keyboardLayouts() override { return keyboard; }

    FakeMessageBoxes boxes;
    FakeKeyboardLayouts keyboard;
};

} // namespace platform
