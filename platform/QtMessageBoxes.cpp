#include "platform/QtMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtMessageBoxes::showMessage(QWidget *owner, MessageIcon icon, const QString &title, const QString &text)
{
    QMessageBox box(toQtIcon(icon), title, text, QMessageBox::Ok, owner);
    box.exec();
}

Answer QtMessageBoxes::ask(QWidget *owner, const Question &question)
{
    QMessageBox box(toQtIcon(question.icon), question.title, question.text, QMessageBox::NoButton, owner);
    // Our own captions: the question dialog reads the same in both interface languages.
    const auto caption = [](const QString &own, const char *standard) {
        return own.isEmpty() ? QString::fromLatin1(standard) : own;
    };
    QPushButton *yes = box.addButton(caption(question.yesCaption, "&Yes"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(caption(question.noCaption, "&No"), QMessageBox::NoRole);
    QPushButton *cancel = question.withCancel
                              ? box.addButton(caption(question.cancelCaption, "Cancel"), QMessageBox::RejectRole)
                              : nullptr;
    auto buttonFor = [&](Answer answer) -> QPushButton * {
        switch (answer) {
        case Answer::Yes: return yes;
        case Answer::No: return no;
        case Answer::Cancel: return cancel ? cancel : no;
        }
        return no;
    };
    box.setDefaultButton(buttonFor(question.defaultAnswer));
    box.setEscapeButton(buttonFor(question.escapeAnswer));
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (cancel && box.clickedButton() == cancel)
        return Answer::Cancel;
    if (box.clickedButton() == no)
        return Answer::No;
    return question.escapeAnswer;
}

} // namespace platform
