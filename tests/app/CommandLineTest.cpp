#include "MainWindowFixture.h"

#include "app/CommandLine.h"
#include "editor/TRxRichEdit.h"

#include <QApplication>
#include <QDir>
#include <QEvent>

using commandline::Request;

TEST(CommandLineTest, FilesAreTheArgumentsNamingExistingFilesInOrder)
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    for (const char *name : {"a.rtf", "b.txt", "-x.txt"})
        testhelpers::writeFile(folder.filePath(name), "text");
    ASSERT_TRUE(folder.mkdir("sub"));

    const commandline::Arguments mixed = commandline::parse(
        {"a.rtf", "missing.txt", "sub", "", "-x.txt", "--minimized", folder.filePath("b.txt"), "./sub/../a.rtf"},
        dir.path());
    EXPECT_EQ(mixed.request, Request::Run);
    EXPECT_EQ(mixed.files,
              QStringList({folder.filePath("a.rtf"), folder.filePath("b.txt"), folder.filePath("a.rtf")}));
    EXPECT_EQ(mixed.count, 8);

    // After "--" a name starting with a dash is a file like any other.
    EXPECT_EQ(commandline::parse({"--", "-x.txt", "--help"}, dir.path()).files,
              QStringList{folder.filePath("-x.txt")});
    // A switch alone, as autostart entries pass it: no file, the tray.
    const commandline::Arguments switchOnly = commandline::parse({"--tray"}, dir.path());
    EXPECT_TRUE(switchOnly.files.isEmpty());
    EXPECT_EQ(switchOnly.count, 1);
}

TEST(CommandLineTest, HelpAndVersionWinWhereverTheyStand)
{
    EXPECT_EQ(commandline::parse({"a.rtf", "--version", "--help"}, QString()).request, Request::Version);
    EXPECT_EQ(commandline::parse({"--tray", "--help"}, QString()).request, Request::Help);
    EXPECT_EQ(commandline::parse({"-help", "--versions"}, QString()).request, Request::Run);
    EXPECT_EQ(commandline::parse({"--", "--version"}, QString()).request, Request::Run);
    EXPECT_TRUE(commandline::versionText().contains("3.0"));
}

class StartFilesTest : public MainWindowTest {
protected:
    TForm1 &start(const QStringList &files)
    {
        TForm1::Options options;
        options.settingsPath = settingsPath();
        options.argumentCount = int(files.size()) + 1; // and a switch
        options.files = files;
        form = std::make_unique<TForm1>(platform, options);
        form->show();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(form.get(), &activate);
        form->finishStartUp();
        return *form;
    }
};

TEST_F(StartFilesTest, TheFirstFileOpensAsOpenDoesAndEachOtherInACopyOfItsOwn)
{
    const QString first = dir.filePath("first.rtf");
    testhelpers::writeFile(first, "{\\rtf1 Text{\\footnote a note}\\par}");
    const QString second = dir.filePath("second.txt");
    const QString third = dir.filePath("third.rtf");
    start({first, second, third});

    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(platform.tray.shown, 0);
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "Text");
    EXPECT_EQ(form->windowTitle(), "first.rtf - Veltrix 3.0");
    EXPECT_EQ(form->document().currentFileName(), first);
    EXPECT_EQ(form->document().openedFileName(), first);
    EXPECT_FALSE(RxRichEdit1(*form)->IsModified());
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_TRUE(platform.boxes.messages[0].text.contains("footnotes: 1"));
    EXPECT_EQ(platform.shellOpen.copyArguments, QList<QStringList>({{second}, {third}}));

    // Remembered as the file last opened, as after the open dialog.
    form->close();
    EXPECT_TRUE(settingsContent().contains("first.rtf"));
}

// The file can go between the start and the opening: the error of Open shows.
TEST_F(StartFilesTest, AFileThatCannotBeReadIsReportedAndChangesNothing)
{
    start({dir.filePath("gone.rtf")});
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_EQ(platform.boxes.messages[0].icon, platform::MessageIcon::Error);
    EXPECT_TRUE(platform.boxes.messages[0].text.contains("gone.rtf"));
    EXPECT_FALSE(platform.boxes.messages[0].underBusyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form->windowTitle(), "Veltrix 3.0");
    EXPECT_TRUE(form->document().currentFileName().isEmpty());
    EXPECT_TRUE(form->isVisible());
}
