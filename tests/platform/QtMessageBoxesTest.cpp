#include "platform/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using platform::Answer;
using platform::MessageIcon;
using platform::Question;

namespace {

// Waits for the modal message box to open, hands it to `answer`, which closes it.
void whenBoxOpens(std::function<void(QMessageBox *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(box);
        }
    });
    timer->start();
}

QStringList captions(QMessageBox *box)
{
    QStringList list;
    for (QAbstractButton *button : box->buttons())
        list.append(button->text());
    list.sort();
    return list;
}

void pressEscape(QMessageBox *box)
{
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box, &escape);
}

} // namespace

TEST(QtMessageBoxes, CloseQuestionHasEnglishButtonsAndEscapeCancels)
{
    platform::QtMessageBoxes boxes;
    Question question{MessageIcon::Question, "Confirm", "Текст в Файле \"\" был изменён, сохранить изменения?", true,
                      Answer::Yes, Answer::Cancel, {}, {}, {}};
    QStringList seen;
    QString title, text, defaultButton;
    whenBoxOpens([&](QMessageBox *box) {
        seen = captions(box);
        title = box->windowTitle();
        text = box->text();
        defaultButton = box->defaultButton()->text();
        pressEscape(box);
    });
    EXPECT_EQ(boxes.ask(nullptr, question), Answer::Cancel);
    EXPECT_EQ(seen, QStringList({"&No", "&Yes", "Cancel"}));
    EXPECT_EQ(title, "Confirm");
    EXPECT_EQ(text, question.text);
    EXPECT_EQ(defaultButton, "&Yes");
}

TEST(QtMessageBoxes, ExitQuestionEscapeAnswersNoAndButtonsAnswerThemselves)
{
    platform::QtMessageBoxes boxes;
    Question question{MessageIcon::Warning, "Warning", "File isn*t saved! Save to file?", false, Answer::Yes, Answer::No, {}, {}, {}};
    QStringList seen;
    whenBoxOpens([&](QMessageBox *box) {
        seen = captions(box);
        pressEscape(box);
    });
    EXPECT_EQ(boxes.ask(nullptr, question), Answer::No);
    EXPECT_EQ(seen, QStringList({"&No", "&Yes"}));

    whenBoxOpens([](QMessageBox *box) { box->defaultButton()->click(); });
    EXPECT_EQ(boxes.ask(nullptr, question), Answer::Yes);
}

TEST(QtMessageBoxes, MessageHasOneOkButton)
{
    platform::QtMessageBoxes boxes;
    int buttonCount = 0;
    QString title;
    whenBoxOpens([&](QMessageBox *box) {
        buttonCount = static_cast<int>(box->buttons().size());
        title = box->windowTitle();
        box->buttons().first()->click();
    });
    boxes.showMessage(nullptr, MessageIcon::Error, "Veltrix 3.0", "Division by zero.");
    EXPECT_EQ(buttonCount, 1);
    EXPECT_EQ(title, "Veltrix 3.0");
}
