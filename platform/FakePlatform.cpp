#include "platform/FakePlatform.h"

namespace platform {

void FakeMessageBoxes::showMessage(QWidget *, MessageIcon icon, const QString &title, const QString &text)
{
    messages.append({icon, title, text});
}

Answer FakeMessageBoxes::ask(QWidget *, const Question &question)
{
    questions.append(question);
    if (answers.empty())
        return question.escapeAnswer;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QList<quint32> FakeKeyboardLayouts::installed(int maxCount)
{
    return layouts.mid(0, maxCount);
}

void FakeKeyboardLayouts::activate(quint32 handle)
{
    activations.append(handle);
}

} // namespace platform
