#include "MainWindowFixture.h"

#include "app/RecoveryCopy.h"
#include "app/RecoveryFiles.h"

#include <QDateTime>
#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <unistd.h>

using platform::Answer;

namespace {

QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files);
}

} // namespace

TEST(RecoveryFilesTest, CopyHeaderSurvivesAnyNameAndRejectsDamage)
{
    const recovery::Copy copy{QStringLiteral("/home/u/док\n= 100%.txt"), false, QByteArray("a\r\n\n\nb\0c", 8)};
    const std::optional<recovery::Copy> back = recovery::decode(recovery::encode(copy));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->documentName, copy.documentName);
    EXPECT_FALSE(back->rtf);
    EXPECT_EQ(back->content, copy.content);

    const QByteArray whole = recovery::encode(copy);
    EXPECT_FALSE(recovery::decode(whole.left(whole.indexOf("\n\n"))));
    EXPECT_FALSE(recovery::decode("{\\rtf1 not a copy}"));
    EXPECT_FALSE(recovery::decode(QByteArray(whole).replace("kind=text", "kind=odt")));
}

// A run that ends without closing: its lock is left behind with a process ID
// that no longer exists.
TEST(RecoveryFilesTest, OnlyCopiesOfRunsThatAreGoneAreClaimed)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("state/veltrix");
    EXPECT_EXIT(
        {
            recovery::Store crashed(folder);
            crashed.write("/a/lost.rtf", true, [] { return QByteArray("{\\rtf1 lost\\par}"); });
            crashed.waitForDone();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    ASSERT_EQ(filesIn(folder, "*.copy").size(), 1);
    ASSERT_EQ(filesIn(folder, "*.lock").size(), 1);

    recovery::Store running(folder);
    running.write("/a/mine.rtf", true, [] { return QByteArray("{\\rtf1 mine\\par}"); });
    running.waitForDone();
    recovery::Store starting(folder);
    std::unique_ptr<recovery::LeftCopy> left = starting.claimLeftCopy();
    ASSERT_TRUE(left);
    EXPECT_EQ(left->copy().documentName, "/a/lost.rtf");
    // Held while the user decides: a third program does not take it too.
    EXPECT_FALSE(recovery::Store(folder).claimLeftCopy());
    starting.removeLeft(*left);
    left.reset();
    EXPECT_FALSE(recovery::Store(folder).claimLeftCopy());
    EXPECT_EQ(filesIn(folder, "*.copy"), QStringList{QFileInfo(running.copyPath()).fileName()});
}

namespace {

// A run that ends without closing, leaving its lock and, when asked, a copy.
void crashedRun(const QString &folder, bool withCopy)
{
    EXPECT_EXIT(
        {
            recovery::Store crashed(folder);
            if (withCopy) {
                crashed.write("/a/lost.rtf", true, [] { return QByteArray("{\\rtf1 lost\\par}"); });
                crashed.waitForDone();
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

void age(const QString &path, int days)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addDays(-days), QFileDevice::FileModificationTime);
}

} // namespace

// Damaged copies and the locks of runs that left no copy go once they are a
// week old; younger ones stay.
TEST(RecoveryFilesTest, LongDeadRunsAreSweptAtStart)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("state/veltrix");
    crashedRun(folder, true);
    const QString damaged = QDir(folder).filePath(filesIn(folder, "*.copy").first());
    const QString damagedLock = damaged.chopped(5) + ".lock";
    testhelpers::writeFile(damaged, "not a copy");
    age(damaged, 8);
    crashedRun(folder, false);
    crashedRun(folder, false);
    QStringList bare = filesIn(folder, "*.lock");
    bare.removeOne(QFileInfo(damagedLock).fileName());
    ASSERT_EQ(bare.size(), 2);
    age(QDir(folder).filePath(bare[0]), 8);

    recovery::Store starting(folder);
    EXPECT_FALSE(starting.claimLeftCopy());
    EXPECT_EQ(filesIn(folder, "*.copy"), QStringList());
    QStringList locks = filesIn(folder, "*.lock");
    locks.removeOne(QFileInfo(starting.copyPath()).completeBaseName() + ".lock");
    EXPECT_EQ(locks, QStringList{bare[1]});
}

class RecoveryTest : public MainWindowTest {
protected:
    QString folder() const { return dir.filePath("state"); }

    TForm1 &start(const QStringList &files = {})
    {
        TForm1::Options options;
        options.settingsPath = settingsPath();
        options.recoveryFolder = folder();
        options.files = files;
        form = std::make_unique<TForm1>(platform, options);
        recovery()->setPauseMs(0);
        form->show();
        return *form;
    }
    RecoveryCopy *recovery() const { return component<RecoveryCopy>(*form, "Recovery"); }
    TRxRichEdit *editor() const { return RxRichEdit1(*form); }
    bool copyWritten()
    {
        return QTest::qWaitFor([&] {
            recovery()->waitForStore();
            return !recovery()->isGathering() && QFile::exists(recovery()->copyPath());
        });
    }
    // The window goes without its close sequence, as in a crash.
    void crash() { form.reset(); }
};

TEST_F(RecoveryTest, TypedTextComesBackAfterACrashUnderItsName)
{
    const QString path = dir.filePath("notes.rtf");
    testhelpers::writeFile(path, "{\\rtf1 saved\\par}");
    start();
    platform.files.answers = {path};
    toolButton(*form, 2)->click();
    EXPECT_FALSE(QFile::exists(recovery()->copyPath()));
    editor()->setSelectionStart(editor()->TextLength());
    editor()->setSelectedText(" and typed"); // ends up selected
    editor()->SelectionFormat().setStyle(FontStyle::Bold);
    ASSERT_TRUE(copyWritten());
    crash();

    start();
    platform.boxes.answers = {Answer::Yes};
    form->offerRecovery();
    ASSERT_EQ(platform.boxes.questions.size(), 1);
    EXPECT_EQ(platform.boxes.questions[0].title, "Confirm");
    EXPECT_TRUE(platform.boxes.questions[0].text.contains("\"" + path + "\""));
    EXPECT_EQ(editor()->Text(), "saved and typed");
    editor()->setSelectionStart(7);
    EXPECT_EQ(editor()->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
    EXPECT_EQ(form->windowTitle(), "notes.rtf - Veltrix 3.0");
    EXPECT_TRUE(editor()->IsModified());
    EXPECT_EQ(StatusBar1(*form)->panelText(1), "Изменён");
    // Kept safe at once as this run's copy; the old one is gone.
    EXPECT_EQ(filesIn(folder(), "*.copy"), QStringList{QFileInfo(recovery()->copyPath()).fileName()});

    // Save writes the file it belonged to, without a dialog, and the copy goes.
    toolButton(*form, 3)->click();
    EXPECT_TRUE(platform.files.saveRequests.isEmpty());
    EXPECT_TRUE(testhelpers::readFile(path).contains("and typed"));
    recovery()->waitForStore();
    EXPECT_TRUE(filesIn(folder(), "*.copy").isEmpty());
}

TEST_F(RecoveryTest, AnswersKeepOrDeleteTheCopyAndCloseLeavesNone)
{
    start();
    editor()->setSelectedText("first draft");
    ASSERT_TRUE(copyWritten());
    crash();

    start();
    form->offerRecovery(); // Esc: kept for the next start
    EXPECT_EQ(editor()->Text(), "");
    EXPECT_EQ(filesIn(folder(), "*.copy").size(), 1);
    crash();
    start();
    platform.boxes.answers = {Answer::No};
    form->offerRecovery();
    EXPECT_EQ(platform.boxes.questions.size(), 2);
    EXPECT_EQ(editor()->Text(), "");
    EXPECT_TRUE(filesIn(folder(), "*.copy").isEmpty());

    // Typed and closed through the close sequence without saving: nothing kept.
    editor()->setSelectedText("thrown away");
    ASSERT_TRUE(copyWritten());
    platform.boxes.answers = {Answer::No};
    form->close();
    crash();
    start();
    form->offerRecovery();
    EXPECT_EQ(platform.boxes.questions.size(), 3); // the close question only
    EXPECT_TRUE(filesIn(folder(), "*.copy").isEmpty());
}

// The question comes first; a copy put back stays in this window and the file
// named on the command line goes to a copy of the program of its own.
TEST_F(RecoveryTest, AFileFromTheCommandLineOpensHereOnlyWhenTheCopyIsNotPutBack)
{
    const QString given = dir.filePath("given.rtf");
    testhelpers::writeFile(given, "{\\rtf1 given\\par}");
    start();
    editor()->setSelectedText("draft");
    ASSERT_TRUE(copyWritten());
    crash();

    start({given});
    platform.boxes.answers = {Answer::Yes};
    form->finishStartUp();
    EXPECT_EQ(platform.boxes.questions.size(), 1);
    EXPECT_EQ(editor()->Text(), "draft");
    EXPECT_EQ(platform.shellOpen.copyArguments, QList<QStringList>{{given}});
    crash();

    start({given});
    platform.boxes.answers = {Answer::No};
    form->finishStartUp();
    EXPECT_EQ(platform.boxes.questions.size(), 2);
    EXPECT_EQ(editor()->Text(), "given");
    EXPECT_EQ(form->windowTitle(), "given.rtf - Veltrix 3.0");
    EXPECT_EQ(platform.shellOpen.copyArguments.size(), 1);
}

TEST_F(RecoveryTest, PlainTextComesBackInThePlainTextMode)
{
    start();
    CB2(*form)->click();
    ASSERT_TRUE(editor()->PlainText());
    editor()->setSelectedText("Привет\nмир");
    ASSERT_TRUE(copyWritten());
    crash();

    start();
    platform.boxes.answers = {Answer::Yes};
    form->offerRecovery();
    EXPECT_TRUE(editor()->PlainText());
    EXPECT_FALSE(CB2(*form)->isChecked());
    EXPECT_FALSE(menuItem(*form, "RTF1")->isChecked());
    EXPECT_FALSE(menuItem(*form, "RTF2")->isChecked());
    EXPECT_EQ(editor()->Text(), "Привет\r\nмир");
}

// A large file takes keys while the rest of it comes in. Its copy waits for
// the whole file, and a command finds the whole file in the editor.
TEST_F(RecoveryTest, ALargeFileIsCopiedAndCommandedOnlyWhole)
{
    const QString path = dir.filePath("big.txt");
    const QByteArray content = QByteArray("line of the file\r\n").repeated(20000) + "THE END";
    testhelpers::writeFile(path, content);
    start();
    editor()->setCharactersBeforeShown(1000);
    platform.files.answers = {path};
    toolButton(*form, 2)->click();
    ASSERT_TRUE(editor()->isLoading());
    EXPECT_EQ(form->windowTitle(), "big.txt - Veltrix 3.0");
    editor()->setSelectionStart(0);
    QTest::keyClicks(editor(), "Hi ");
    ASSERT_TRUE(editor()->isLoading());
    ASSERT_TRUE(copyWritten());
    EXPECT_FALSE(editor()->isLoading());
    const QByteArray copy = testhelpers::readFile(recovery()->copyPath());
    EXPECT_TRUE(copy.contains("Hi line of the file")) << copy.left(200).constData();
    EXPECT_EQ(copy.count("line of the file"), 20000);
    EXPECT_TRUE(copy.contains("THE END"));

    // Select All while the file comes in selects all of it.
    toolButton(*form, 3)->click(); // saved: nothing modified
    platform.files.answers = {path};
    toolButton(*form, 2)->click();
    ASSERT_TRUE(editor()->isLoading());
    toolButton(*form, 17)->click();
    EXPECT_FALSE(editor()->isLoading());
    EXPECT_EQ(editor()->SelectionLength(), content.size() - 20000 + 3);
    EXPECT_FALSE(editor()->IsModified());
}

TEST_F(RecoveryTest, ACopyThatCannotBeWrittenIsShownOnce)
{
    start();
    ASSERT_TRUE(QDir().mkpath(recovery()->copyPath())); // a folder where the copy goes
    QSignalSpy failed(recovery(), &RecoveryCopy::copyNotWritten);
    editor()->setSelectedText("typed");
    ASSERT_TRUE(failed.wait());
    EXPECT_EQ(StatusBar1(*form)->panelText(1), "No copy!");
    editor()->setSelectedText(" more");
    recovery()->waitForStore();
    QTest::qWait(50);
    EXPECT_EQ(failed.size(), 1);
    EXPECT_EQ(StatusBar1(*form)->panelText(1), "Изменён");
}

// Another user's folder could be read, or hold copies planted for this
// user to restore: no copies, and the user is told once, at start.
TEST_F(RecoveryTest, AFolderOfAnotherUserKeepsNoCopies)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs to give the folder to another user";
    ASSERT_TRUE(QDir().mkpath(folder()));
    ASSERT_EQ(::chown(QFile::encodeName(folder()).constData(), 4321, 4321), 0);
    start();
    form->finishStartUp();
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_TRUE(platform.boxes.messages[0].text.contains(folder()));
    editor()->setSelectedText("typed");
    QTest::qWait(50); // the copy's pause is 0 ms here
    recovery()->waitForStore();
    EXPECT_EQ(filesIn(folder(), "*"), QStringList());
}
