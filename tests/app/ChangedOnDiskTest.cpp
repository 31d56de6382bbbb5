#include "MainWindowFixture.h"

#include <QDateTime>
#include <QDir>
#include <QTest>
#include <QTextBlock>

using platform::Answer;

namespace {

const char kMark[] = " [changed on disk]";

// Another program's write: a time of its own, so that a write of the same
// size within the file system's clock tick shows too.
void writeElsewhere(const QString &path, const QByteArray &bytes)
{
    ASSERT_TRUE(testhelpers::writeFile(path, bytes));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(3600), QFileDevice::FileModificationTime));
}

} // namespace

class ChangedOnDiskTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        createForm();
        form->show();
    }

    void open(const QString &path)
    {
        platform.files.answers = {path};
        toolButton(*form, 2)->click();
        ASSERT_EQ(form->document().currentFileName(), path);
    }

    void typeAtStart(const QString &text)
    {
        RxRichEdit1(*form)->setSelectionStart(0);
        RxRichEdit1(*form)->setSelectedText(text);
    }

    void save() { toolButton(*form, 3)->click(); }

    // The window becomes active as the desktop makes it.
    void activate()
    {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QEvent activation(QEvent::WindowActivate);
        QCoreApplication::sendEvent(form.get(), &activation);
        QCoreApplication::processEvents();
    }

    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(ChangedOnDiskTest, FileOfAnyOtherExtensionIsWrittenBackAsItWasRead)
{
    // Windows-1251 with CR LF, and UTF-8 with LF, both opened in the RTF mode.
    const QByteArray conf = QByteArray("[main]\r\nname=") + QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2") + "\r\n";
    const QByteArray source = "int main(void)\n{\n\treturn 0; /* \xd0\x9f\xd1\x80\xd0\xb8 */\n}\n";
    for (const auto &[name, bytes] : {std::pair{"app.conf", conf}, std::pair{"main.c", source}}) {
        ASSERT_TRUE(testhelpers::writeFile(file(name), bytes));
        open(file(name));
        ASSERT_TRUE(CB2(*form)->isChecked());
        typeAtStart("x");
        save();
        EXPECT_EQ(testhelpers::readFile(file(name)), "x" + bytes) << name;
    }
    EXPECT_TRUE(platform.boxes.questions.isEmpty());

    // A file opened in the plain-text mode, the mode then switched: the mode
    // decides, with no question.
    CB2(*form)->click();
    ASSERT_TRUE(testhelpers::writeFile(file("setup.ini"), "a=1\r\n"));
    open(file("setup.ini"));
    CB2(*form)->click();
    save();
    EXPECT_TRUE(testhelpers::readFile(file("setup.ini")).startsWith("{\\rtf1"));
    EXPECT_TRUE(platform.boxes.questions.isEmpty());
}

TEST_F(ChangedOnDiskTest, SaveAsksBeforeWritingOverAnotherProgramsChange)
{
    const QString path = file("notes.txt");
    ASSERT_TRUE(testhelpers::writeFile(path, "mine\r\n"));
    open(path);
    typeAtStart("edited ");
    writeElsewhere(path, "theirs\r\n");

    // Cancel writes nothing; the title says why the question came.
    platform.boxes.answers = {Answer::Cancel};
    save();
    ASSERT_EQ(platform.boxes.questions.size(), 1);
    const platform::Question &asked = platform.boxes.questions[0];
    EXPECT_TRUE(asked.text.contains("\"" + path + "\"")) << asked.text.toStdString();
    EXPECT_EQ(asked.yesCaption, "&Overwrite");
    EXPECT_EQ(asked.noCaption, "Save &As...");
    EXPECT_EQ(asked.escapeAnswer, Answer::Cancel);
    EXPECT_EQ(testhelpers::readFile(path), "theirs\r\n");
    EXPECT_TRUE(RxRichEdit1(*form)->IsModified());
    EXPECT_EQ(form->windowTitle(), QString("notes.txt") + kMark + " - Veltrix 3.0");

    // Save As: another file, theirs left alone.
    const QString other = file("other.txt");
    platform.boxes.answers = {Answer::No};
    platform.files.answers = {other};
    save();
    EXPECT_EQ(testhelpers::readFile(other), "edited mine\r\n");
    EXPECT_EQ(testhelpers::readFile(path), "theirs\r\n");
    EXPECT_EQ(form->windowTitle(), "other.txt - Veltrix 3.0");

    // Overwrite, and the next save asks nothing: that change was our own.
    writeElsewhere(other, "someone else\r\n");
    typeAtStart("more ");
    platform.boxes.answers = {Answer::Yes};
    save();
    EXPECT_EQ(testhelpers::readFile(other), "more edited mine\r\n");
    EXPECT_EQ(form->windowTitle(), "other.txt - Veltrix 3.0");
    save();
    EXPECT_EQ(platform.boxes.questions.size(), 3);
}

TEST_F(ChangedOnDiskTest, AutosaveSkipsAChangedFileAndTheNextSaveAsks)
{
    const QString path = file("auto.txt");
    ASSERT_TRUE(testhelpers::writeFile(path, "mine\r\n"));
    open(path);
    typeAtStart("edited ");
    writeElsewhere(path, "theirs\r\n");

    menuItem(*form, "N109")->trigger();
    Timer2(*form)->setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->windowTitle().contains(kMark); }));
    menuItem(*form, "N109")->trigger();
    EXPECT_TRUE(platform.boxes.questions.isEmpty());
    EXPECT_EQ(testhelpers::readFile(path), "theirs\r\n");

    platform.boxes.answers = {Answer::Yes};
    save();
    EXPECT_EQ(platform.boxes.questions.size(), 1);
    EXPECT_EQ(testhelpers::readFile(path), "edited mine\r\n");
}

TEST_F(ChangedOnDiskTest, ExitAsksBeforeWritingOverAChangedFile)
{
    const QString path = file("exit.txt");
    ASSERT_TRUE(testhelpers::writeFile(path, "mine\r\n"));
    open(path);
    typeAtStart("edited ");
    writeElsewhere(path, "theirs\r\n");

    // Exit's offer declined, the close prompt's Yes, then Cancel: the window stays.
    platform.boxes.answers = {Answer::No, Answer::Yes, Answer::Cancel};
    menuItem(*form, "N15")->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(platform.boxes.questions.size(), 3);
    EXPECT_EQ(testhelpers::readFile(path), "theirs\r\n");

    // Exit's own save dialog choosing the document's file asks the same.
    platform.boxes.answers = {Answer::Yes, Answer::Cancel, Answer::Cancel};
    platform.files.answers = {path};
    menuItem(*form, "N15")->trigger();
    EXPECT_EQ(platform.boxes.questions.size(), 6);
    EXPECT_EQ(testhelpers::readFile(path), "theirs\r\n");

    platform.boxes.answers = {Answer::No, Answer::Yes, Answer::Yes};
    menuItem(*form, "N15")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(testhelpers::readFile(path), "edited mine\r\n");
}

TEST_F(ChangedOnDiskTest, NothingIsAskedWhenNothingCanBeLost)
{
    const QString path = file("quiet.rtf");
    ASSERT_TRUE(testhelpers::writeFile(path, "{\\rtf1 mine\\par}"));
    open(path);
    typeAtStart("a");
    save();
    typeAtStart("b");
    save();
    activate();

    // Touched with the same bytes; then deleted: written again all the same.
    writeElsewhere(path, testhelpers::readFile(path));
    activate();
    typeAtStart("c");
    save();
    ASSERT_TRUE(QFile::remove(path));
    activate();
    typeAtStart("d");
    save();
    EXPECT_TRUE(platform.boxes.questions.isEmpty());
    EXPECT_EQ(form->windowTitle(), "quiet.rtf - Veltrix 3.0");
    open(path);
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "dcbamine");
}

TEST_F(ChangedOnDiskTest, ActivationOffersAnUnmodifiedDocumentToBeLoadedAgain)
{
    const QString path = file("log.txt");
    ASSERT_TRUE(testhelpers::writeFile(path, "one\r\ntwo\r\nthree\r\n"));
    open(path);
    TRxRichEdit *editor = RxRichEdit1(*form);
    editor->setSelectionStart(editor->document()->findBlockByNumber(1).position() + 2);

    writeElsewhere(path, "zero\r\nfirst\r\nsecond\r\nthird\r\n");
    platform.boxes.answers = {Answer::Yes};
    activate();
    ASSERT_EQ(platform.boxes.questions.size(), 1);
    EXPECT_TRUE(platform.boxes.questions[0].text.contains("\"" + path + "\""));
    EXPECT_EQ(editor->Text(), "zero\r\nfirst\r\nsecond\r\nthird\r\n");
    EXPECT_EQ(editor->textCursor().blockNumber(), 1);
    EXPECT_EQ(editor->textCursor().positionInBlock(), 2);
    EXPECT_FALSE(editor->IsModified());
    EXPECT_EQ(form->windowTitle(), "log.txt - Veltrix 3.0");

    // No keeps the text and marks the title; the same change is not asked again.
    writeElsewhere(path, "other\r\n");
    platform.boxes.answers = {Answer::No};
    activate();
    activate();
    EXPECT_EQ(platform.boxes.questions.size(), 2);
    EXPECT_EQ(editor->Text(), "zero\r\nfirst\r\nsecond\r\nthird\r\n");
    useLanguage(*form, false);
    EXPECT_EQ(form->windowTitle(), testhelpers::u8("log.txt [изменён на диске] - Veltrix 3.0"));

    // A modified document is only marked.
    open(path);
    typeAtStart("typed ");
    writeElsewhere(path, "again\r\n");
    activate();
    EXPECT_EQ(platform.boxes.questions.size(), 2);
    EXPECT_TRUE(form->windowTitle().contains(testhelpers::u8("изменён на диске")));
}

TEST_F(ChangedOnDiskTest, LargeFileStillComingInIsComparedWhole)
{
    // Pieces of the file's reading and of the comparison fall differently.
    QByteArray bytes;
    for (int line = 0; bytes.size() < 3 * 1024 * 1024; ++line)
        bytes += "line " + QByteArray::number(line) + "\r\n";
    const QString path = file("big.log");
    ASSERT_TRUE(testhelpers::writeFile(path, bytes));
    CB2(*form)->click();
    RxRichEdit1(*form)->setCharactersBeforeShown(10);
    open(path);
    ASSERT_TRUE(RxRichEdit1(*form)->isLoading());

    writeElsewhere(path, bytes); // touched only
    save();
    EXPECT_TRUE(platform.boxes.questions.isEmpty());

    QByteArray changed = bytes;
    changed[changed.size() / 2] = 'X';
    writeElsewhere(path, changed);
    platform.boxes.answers = {Answer::Cancel};
    save();
    EXPECT_EQ(platform.boxes.questions.size(), 1);
    EXPECT_EQ(testhelpers::readFile(path), changed);
}
