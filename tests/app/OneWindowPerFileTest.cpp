#include "MainWindowFixture.h"

#include "app/RecentFiles.h"
#include "OtherCopy.h"
#include "editor/TRxRichEdit.h"

#include <QDir>
#include <QTest>
#include <QUrl>
#include <atomic>

class OneWindowPerFileTest : public MainWindowTest {
protected:
    OneWindowPerFileTest()
    {
        QDir().mkpath(copiesFolder());
        TForm1::Options options;
        options.settingsPath = settingsPath();
        options.copiesFolder = copiesFolder();
        options.recentFilesPath = recentFiles();
        form = std::make_unique<TForm1>(platform, options);
        form->show();
        testhelpers::writeFile(letter, "{\\rtf1 Letter\\par}");
    }
    QString copiesFolder() const { return dir.filePath("copies"); }
    QString recentFiles() const { return dir.filePath("recently-used.xbel"); }
    const QString letter = dir.filePath("letter.rtf");
};

TEST_F(OneWindowPerFileTest, OpenOfAFileAnotherCopyHasShowsThatCopyAndOpensNothingHere)
{
    OtherCopy other(copiesFolder(), letter);
    platform.files.answers = {letter};
    form->ToolButton2Click();

    EXPECT_TRUE(QTest::qWaitFor([&] { return other.shown.load() == 1; }));
    EXPECT_EQ(form->windowTitle(), "Veltrix 3.0");
    EXPECT_TRUE(form->document().currentFileName().isEmpty());
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "");
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(OneWindowPerFileTest, AWindowInTheTrayAskedForItsFileComesBackAndTheFileIsRecent)
{
    platform.files.answers = {letter};
    form->ToolButton2Click();
    form->HideToTray();
    form->AddTrayIcon();

    std::atomic<bool> shown{false};
    QThread *asking = QThread::create([&] { shown = RunningCopies(copiesFolder()).showCopyHolding(letter); });
    asking->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return asking->isFinished(); }));
    delete asking;
    EXPECT_TRUE(shown);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isVisible(); }));
    EXPECT_FALSE(platform.tray.visible);

    // Opened, then saved under another name: both are recent files.
    const QString copy = dir.filePath("copy.txt");
    platform.files.answers = {copy};
    form->ToolButton4Click();
    const QByteArray recent = testhelpers::readFile(recentFiles());
    EXPECT_TRUE(recent.contains(recentfiles::uriFor(letter).toUtf8())) << recent.toStdString();
    EXPECT_TRUE(recent.contains(recentfiles::uriFor(copy).toUtf8())) << recent.toStdString();
}
