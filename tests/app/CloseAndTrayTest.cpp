#include "MainWindowFixture.h"
#include "support/TestHelpers.h"

#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using platform::Answer;
using platform::MessageIcon;

class CloseTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        createForm();
        form->show();
    }

    void modify()
    {
        RxRichEdit1(*form)->setSelectionStart(RxRichEdit1(*form)->TextLength());
        RxRichEdit1(*form)->setSelectedText("text");
    }

    QByteArray contentOf(const QString &path) { return testhelpers::readFile(path); }
};

TEST_F(CloseTest, UnmodifiedDocumentClosesWithoutAQuestion)
{
    toolButton(*form, 7)->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(platform.boxes.questions.isEmpty());
    EXPECT_TRUE(settingsContent().contains("[FORM]"));
}

TEST_F(CloseTest, ClosePromptOfAnUntitledDocumentAndItsThreeAnswers)
{
    modify();
    platform.boxes.answers = {Answer::Cancel};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(platform.boxes.questions.size(), 1);
    const platform::Question &asked = platform.boxes.questions[0];
    EXPECT_EQ(asked.title, "Confirm");
    EXPECT_EQ(asked.icon, MessageIcon::Question);
    EXPECT_TRUE(asked.withCancel);
    EXPECT_EQ(asked.defaultAnswer, Answer::Yes);
    EXPECT_EQ(asked.escapeAnswer, Answer::Cancel);
    EXPECT_EQ(asked.text, "Text in file \"\" is modified, save to file?");
    EXPECT_TRUE(settingsContent().contains("[FORM]")); // written before the question

    // Yes with the save dialog cancelled: the window stays with its text.
    platform.boxes.answers = {Answer::Yes};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(platform.files.saveRequests.size(), 1);
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "text");

    // Yes with a file chosen: saved, then closed.
    const QString path = dir.filePath("saved.rtf");
    platform.boxes.answers = {Answer::Yes};
    platform.files.answers = {path};
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(contentOf(path).contains("text"));
}

TEST_F(CloseTest, NoClosesWithoutSaving)
{
    modify();
    platform.boxes.answers = {Answer::No};
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(platform.files.saveRequests.isEmpty());
}

TEST_F(CloseTest, PromptsFollowTheInterfaceLanguage)
{
    useLanguage(*form, false);
    modify();
    platform.boxes.answers = {Answer::No, Answer::Cancel};
    toolButton(*form, 7)->click(); // Exit: the exit prompt, then the close prompt
    ASSERT_EQ(platform.boxes.questions.size(), 2);
    EXPECT_EQ(platform.boxes.questions[0].title, "Warning");
    EXPECT_EQ(platform.boxes.questions[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(platform.boxes.questions[0].withCancel);
    EXPECT_EQ(platform.boxes.questions[0].escapeAnswer, Answer::No);
    EXPECT_EQ(platform.boxes.questions[0].text, "Файл не сохранён! Сохранить?");
    EXPECT_EQ(platform.boxes.questions[1].text, "Текст в Файле \"\" был изменён, сохранить изменения?");
    EXPECT_TRUE(form->isVisible());
}

TEST_F(CloseTest, ExitPromptSavesACopyWithoutMakingItTheDocumentsFile)
{
    modify();
    const QString copy = dir.filePath("copy.rtf");
    platform.boxes.answers = {Answer::Yes, Answer::Cancel};
    platform.files.answers = {copy};
    menuItem(*form, "N15")->trigger();
    EXPECT_TRUE(contentOf(copy).contains("text"));
    EXPECT_EQ(form->windowTitle(), "Veltrix 3.0");
    EXPECT_TRUE(form->document().currentFileName().isEmpty());
    EXPECT_TRUE(RxRichEdit1(*form)->IsModified());
    EXPECT_EQ(platform.boxes.questions.size(), 2); // asked again by the close
    EXPECT_TRUE(form->isVisible());
    // The next Exit shows the save dialog as it was left.
    platform.boxes.answers = {Answer::Yes, Answer::No};
    menuItem(*form, "N15")->trigger();
    EXPECT_EQ(platform.files.saveRequests.last().fileName, copy);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(CloseTest, AFailedSaveFromTheClosePromptKeepsTheWindowOpen)
{
    modify();
    const QString blocked = dir.filePath("file-not-folder");
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    platform.boxes.answers = {Answer::Yes};
    platform.files.answers = {blocked + "/doc.rtf"};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(platform.boxes.messages.size(), 1);
}

TEST_F(CloseTest, AutosaveSavesAtEveryExpiryWhileOn)
{
    const QString path = dir.filePath("auto.rtf");
    modify();
    platform.files.answers = {path};
    toolButton(*form, 4)->click();
    QFile::remove(path);

    QTest::keyClick(RxRichEdit1(*form), Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(menuItem(*form, "N109")->isChecked());
    EXPECT_TRUE(menuItem(*form, "N16")->isChecked());
    EXPECT_TRUE(Timer2(*form)->isActive());
    EXPECT_EQ(Timer2(*form)->interval(), 300000);

    Timer2(*form)->setInterval(1); // the test drives the five minutes
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path); })); // unmodified, saved all the same

    menuItem(*form, "N109")->trigger();
    EXPECT_FALSE(menuItem(*form, "N16")->isChecked());
    EXPECT_FALSE(Timer2(*form)->isActive());
}

TEST_F(CloseTest, AutosaveOfAnUntitledDocumentShowsTheSaveDialog)
{
    menuItem(*form, "N16")->trigger();
    Timer2(*form)->setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return platform.files.saveRequests.size() >= 2; }));
    EXPECT_TRUE(Timer2(*form)->isActive());
    menuItem(*form, "N16")->trigger();
}

class TrayTest : public MainWindowTest {};

TEST_F(TrayTest, MinimizingHidesToTheTrayAndADoubleClickBringsTheWindowBack)
{
    TForm1 &f = createForm();
    f.showMaximized();
    f.showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.isVisible(); }));
    EXPECT_TRUE(platform.tray.visible);
    EXPECT_EQ(platform.tray.tip, "Veltrix 2.0");

    platform.tray.activate(platform::TrayIcon::Activation::LeftClick);
    EXPECT_TRUE(PopupMenu1(f)->isVisible());
    PopupMenu1(f)->hide();
    EXPECT_FALSE(f.isVisible());

    platform.tray.activate(platform::TrayIcon::Activation::DoubleClick);
    EXPECT_FALSE(platform.tray.visible);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.isMaximized());
}

TEST_F(TrayTest, WithoutATrayMinimizingOnlyMinimizes)
{
    platform.tray.available = false;
    TForm1 &f = createForm(1);
    f.show();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&f, &activate); // an argument hides nothing either
    f.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(platform.tray.shown, 0);
}

TEST_F(TrayTest, AnArgumentSendsTheWindowToTheTrayOnItsFirstActivationOnly)
{
    TForm1 &f = createForm(1);
    f.show();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&f, &activate);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(platform.tray.shown, 1);
    platform.tray.activate(platform::TrayIcon::Activation::DoubleClick);
    QApplication::sendEvent(&f, &activate);
    EXPECT_TRUE(f.isVisible());
}

TEST_F(TrayTest, TheTrayMenusExitClosesTheHiddenWindow)
{
    TForm1 &f = createForm();
    f.show();
    f.HideToTray();
    f.AddTrayIcon();
    ASSERT_FALSE(f.isVisible());

    // Qt ends the program only from its running event loop: run it for the one
    // command. Whatever Qt does to end it is queued before the check that ends
    // the loop with 1 when nothing asked the application to quit.
    struct QuitWatch : QObject {
        bool asked = false;
        bool eventFilter(QObject *, QEvent *event) override
        {
            asked = asked || event->type() == QEvent::Quit;
            return false;
        }
    } quit;
    qApp->installEventFilter(&quit);
    bool running = true;
    QTimer::singleShot(0, &f, [&] {
        menuItem(f, "N67")->trigger();
        QTimer::singleShot(0, &quit, [&] {
            if (running && !quit.asked)
                QCoreApplication::exit(1);
        });
    });
    const int result = QApplication::exec();
    running = false;
    qApp->removeEventFilter(&quit);

    EXPECT_TRUE(quit.asked);
    EXPECT_EQ(result, 0);
    for (const QWidget *window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
    EXPECT_TRUE(settingsContent().contains("[FORM]")); // the window's close ran
}
