#include "platform/QtFormatDialogs.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Waits for the font dialog to open and hands it to `answer`; a dialog still
// open a second later is cancelled, so a key that fails to close it ends the
// test instead of hanging it.
void whenFontDialogOpens(std::function<void(QDialog *, QFontDialog *)> answer, bool *stillOpen = nullptr)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, stillOpen] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        auto *fonts = dialog ? dialog->findChild<QFontDialog *>() : nullptr;
        if (!fonts)
            return;
        timer->stop();
        timer->deleteLater();
        answer(dialog, fonts);
        QTimer::singleShot(1000, dialog, [dialog, stillOpen] {
            if (stillOpen)
                *stillOpen = true;
            dialog->reject();
        });
    });
    timer->start();
}

// A key pressed in the chooser's family list, where the dialog opens.
void pressKeyInList(QFontDialog *fonts, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(fonts->findChild<QListView *>(), &press);
}

platform::FontChoice notInstalled()
{
    QFont font(QStringLiteral("MS Sans Serif"), 14);
    font.setBold(true);
    return {font, QColor(Qt::black)};
}

} // namespace

// A family that is not installed is drawn with a substitute; OK without a
// change must not write the substitute's name back.
TEST(QtFormatDialogs, OkWithoutAChangeKeepsAFamilyThatIsNotInstalled)
{
    ASSERT_FALSE(QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")));
    platform::QtFormatDialogs dialogs;
    QStringList fields;
    whenFontDialogOpens([&](QDialog *dialog, QFontDialog *fonts) {
        for (QLineEdit *field : fonts->findChildren<QLineEdit *>())
            fields.append(field->text());
        dialog->accept();
    });
    const std::optional<platform::FontChoice> kept = dialogs.askFont(nullptr, notInstalled());
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->font.family(), "MS Sans Serif");
    EXPECT_EQ(kept->font.pointSize(), 14);
    EXPECT_TRUE(kept->font.bold());
    EXPECT_TRUE(fields.contains("MS Sans Serif")) << fields.join(", ").toStdString();

    // A size changed there is the one change.
    whenFontDialogOpens([](QDialog *dialog, QFontDialog *fonts) {
        QFont larger = fonts->currentFont();
        larger.setPointSize(20);
        fonts->setCurrentFont(larger);
        dialog->accept();
    });
    const std::optional<platform::FontChoice> larger = dialogs.askFont(nullptr, notInstalled());
    ASSERT_TRUE(larger);
    EXPECT_EQ(larger->font.family(), "MS Sans Serif");
    EXPECT_EQ(larger->font.pointSize(), 20);
}

TEST(QtFormatDialogs, OneEscapeCancelsTheWholeDialog)
{
    platform::QtFormatDialogs dialogs;
    bool stillOpen = false;
    whenFontDialogOpens([](QDialog *, QFontDialog *fonts) { pressKeyInList(fonts, Qt::Key_Escape); }, &stillOpen);
    EXPECT_FALSE(dialogs.askFont(nullptr, notInstalled()));
    EXPECT_FALSE(stillOpen);
}
