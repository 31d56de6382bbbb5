#include "MainWindowFixture.h"
#include "support/TestHelpers.h"

#include "app/DocumentFiles.h"
#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using platform::Answer;

namespace {

QByteArray contentOf(const QString &path) { return testhelpers::readFile(path); }

} // namespace

class DocumentsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        createForm();
        form->show();
        folderA = dir.filePath("A");
        folderB = dir.filePath("B");
        QDir().mkpath(folderA);
        QDir().mkpath(folderB);
    }

    void type(const QString &text)
    {
        RxRichEdit1(*form)->setSelectionStart(RxRichEdit1(*form)->TextLength());
        RxRichEdit1(*form)->setSelectedText(text);
    }

    QString marker() const { return StatusBar1(*form)->panelText(1); }
    void setMarker() { StatusBar1(*form)->setPanelText(1, "Изменён"); }

    QString folderA, folderB;
};

TEST_F(DocumentsTest, OpenTakesTheFileAndItsName)
{
    const QString path = QDir(folderA).filePath("x.rtf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 hello\\par}");
    file.close();

    platform.files.answers = {path};
    toolButton(*form, 2)->click();
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "hello");
    EXPECT_EQ(form->windowTitle(), "x.rtf - Veltrix 3.0");
    EXPECT_EQ(form->document().currentFileName(), path);
    EXPECT_EQ(form->document().openedFileName(), path);
    EXPECT_FALSE(RxRichEdit1(*form)->IsModified());

    ASSERT_EQ(platform.files.openRequests.size(), 1);
    const platform::FileDialogRequest &request = platform.files.openRequests[0];
    EXPECT_EQ(request.filters.size(), 24);
    EXPECT_EQ(request.filters.first(), "*.RTF files|*.rtf");
    EXPECT_EQ(request.filters[17], "*.H files|*.H");
    EXPECT_EQ(request.defaultExtension, "RTF");
    EXPECT_EQ(request.initialFolder, "");

    // The next dialog starts in the folder of the current file.
    toolButton(*form, 2)->click();
    EXPECT_EQ(platform.files.openRequests[1].initialFolder, folderA);
}

TEST_F(DocumentsTest, AnOpenedFileShowsNoModifiedMarkerUntilItIsEdited)
{
    const QString path = QDir(folderA).filePath("x.txt");
    testhelpers::writeFile(path, "hello");
    type("typed");
    ASSERT_EQ(marker(), "Изменён");
    platform.boxes.answers = {Answer::No}; // the typed text is not kept
    platform.files.answers = {path};
    toolButton(*form, 2)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(marker(), "");
    EXPECT_EQ(StatusBar1(*form)->panelText(7), "5"); // the loaded text's length

    QTest::keyClicks(RxRichEdit1(*form), "a");
    EXPECT_EQ(marker(), "Изменён");
}

TEST_F(DocumentsTest, ExitsSaveDialogStartsWhereTheLastSaveAsWasConfirmed)
{
    const QString x = QDir(folderA).filePath("x.rtf");
    const QString y = QDir(folderB).filePath("y.rtf");
    testhelpers::writeFile(x, "{\\rtf1 x\\par}");
    platform.files.answers = {x, y};
    toolButton(*form, 2)->click();
    toolButton(*form, 4)->click();
    type("!");
    platform.boxes.answers = {Answer::Yes, Answer::Cancel}; // save the copy: dialog cancelled; stay
    menuItem(*form, "N15")->trigger();
    EXPECT_EQ(platform.files.saveRequests.last().initialFolder, folderB);
    EXPECT_EQ(platform.files.saveRequests.last().fileName, y);
}

TEST_F(DocumentsTest, OpenAsksBeforeReplacingAModifiedDocument)
{
    const QString x = QDir(folderA).filePath("x.txt");
    const QString saved = QDir(folderB).filePath("saved.txt");
    testhelpers::writeFile(x, "from x");
    type("typed");

    // Esc answers Cancel: no dialog, nothing changes.
    toolButton(*form, 2)->click();
    ASSERT_EQ(platform.boxes.questions.size(), 1);
    const platform::Question &asked = platform.boxes.questions[0];
    EXPECT_EQ(asked.title, "Confirm");
    EXPECT_EQ(asked.icon, platform::MessageIcon::Question);
    EXPECT_TRUE(asked.withCancel);
    EXPECT_EQ(asked.defaultAnswer, Answer::Yes);
    EXPECT_EQ(asked.text, documents::closePromptText(form->english(), ""));
    EXPECT_TRUE(platform.files.openRequests.isEmpty());

    // Yes on an untitled document saves through Save As; cancelled, nothing opens.
    platform.boxes.answers = {Answer::Yes};
    toolButton(*form, 2)->click();
    EXPECT_EQ(platform.files.saveRequests.size(), 1);
    EXPECT_TRUE(platform.files.openRequests.isEmpty());
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "typed");

    // Yes with a name given: the text is saved, then the file opens.
    platform.boxes.answers = {Answer::Yes};
    platform.files.answers = {saved, x};
    toolButton(*form, 2)->click();
    EXPECT_EQ(contentOf(saved), "typed");
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "from x");

    // Unmodified: it opens at once.
    const qsizetype questions = platform.boxes.questions.size();
    platform.files.answers = {x};
    toolButton(*form, 2)->click();
    EXPECT_EQ(platform.boxes.questions.size(), questions);
    EXPECT_EQ(platform.files.openRequests.size(), 2);
}

TEST_F(DocumentsTest, CancelledOpenChangesNothing)
{
    type("typed");
    platform.boxes.answers = {Answer::No};
    toolButton(*form, 2)->click();
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "typed");
    EXPECT_TRUE(RxRichEdit1(*form)->IsModified());
    EXPECT_EQ(form->windowTitle(), "Veltrix 3.0");
    EXPECT_TRUE(form->document().currentFileName().isEmpty());
}

TEST_F(DocumentsTest, OpeningAMissingFileFailsAndChangesNothingButIsRememberedAtClose)
{
    type("typed");
    const QString missing = QDir(folderA).filePath("missing.rtf");
    platform.files.answers = {missing};
    platform.boxes.answers = {Answer::No};
    menuItem(*form, "N8")->trigger();
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_TRUE(platform.boxes.messages[0].text.contains(QDir::toNativeSeparators(missing)));
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "typed");
    EXPECT_EQ(form->windowTitle(), "Veltrix 3.0");
    EXPECT_TRUE(form->document().openedFileName().isEmpty());
    EXPECT_EQ(marker(), "Изменён");

    platform.boxes.answers = {Answer::Cancel};
    form->close();
    EXPECT_TRUE(settingsContent().startsWith("[FILE]\nOpenFile=" + missing.toUtf8() + "\n[FORM]\n"));
}

TEST_F(DocumentsTest, SaveOfAnUntitledDocumentAsksForAName)
{
    type("text");
    setMarker();
    const QString path = QDir(folderB).filePath("y.rtf");
    platform.files.answers = {path};
    toolButton(*form, 3)->click();
    ASSERT_EQ(platform.files.saveRequests.size(), 1);
    EXPECT_EQ(platform.files.saveRequests[0].filters.size(), 24);
    EXPECT_EQ(platform.files.saveRequests[0].filters[17], "*.H files|*.h");
    EXPECT_TRUE(contentOf(path).startsWith("{\\rtf1"));
    EXPECT_EQ(form->windowTitle(), "y.rtf - Veltrix 3.0");
    EXPECT_EQ(form->document().currentFileName(), path);
    EXPECT_TRUE(form->document().openedFileName().isEmpty());
    EXPECT_FALSE(RxRichEdit1(*form)->IsModified());
    EXPECT_EQ(marker(), "");

    // Save writes to the current file without a dialog.
    type(" more");
    setMarker();
    toolButton(*form, 3)->click();
    EXPECT_EQ(platform.files.saveRequests.size(), 1);
    EXPECT_TRUE(contentOf(path).contains("text more"));
    EXPECT_EQ(marker(), "");
}

TEST_F(DocumentsTest, CancelledSaveAsKeepsTheDocumentModified)
{
    type("unsaved");
    setMarker();
    toolButton(*form, 3)->click(); // untitled: Save As, cancelled
    EXPECT_TRUE(RxRichEdit1(*form)->IsModified());
    EXPECT_EQ(marker(), "Изменён");
    toolButton(*form, 4)->click();
    EXPECT_TRUE(RxRichEdit1(*form)->IsModified());
    EXPECT_EQ(marker(), "Изменён");
    EXPECT_EQ(form->windowTitle(), "Veltrix 3.0");
}

TEST_F(DocumentsTest, FailedSaveLeavesTheOldFileTheFlagAndTheMarker)
{
    const QString path = QDir(folderA).filePath("doc.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old bytes\r\n");
    file.close();
    platform.files.answers = {path};
    toolButton(*form, 2)->click();
    type("new");
    setMarker();
    // The folder is replaced by a file of the same name: nothing can be written there.
    const QString moved = folderA + ".moved";
    ASSERT_TRUE(QDir().rename(folderA, moved));
    QFile blocker(folderA);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    toolButton(*form, 3)->click();
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_TRUE(platform.boxes.messages[0].text.contains(QDir::toNativeSeparators(path)));
    EXPECT_TRUE(RxRichEdit1(*form)->IsModified());
    EXPECT_EQ(marker(), "Изменён");
    EXPECT_EQ(contentOf(QDir(moved).filePath("doc.txt")), "old bytes\r\n");
}

TEST_F(DocumentsTest, ExtensionDecidesTheFormatOtherwiseTheMode)
{
    const QString txt = QDir(folderA).filePath("NOTE.TXT");
    QFile file(txt);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("plain\r\n");
    file.close();
    platform.files.answers = {txt};
    toolButton(*form, 2)->click();
    EXPECT_TRUE(CB2(*form)->isChecked()); // loading never changes the mode
    RxRichEdit1(*form)->SelectWholeText();
    RxRichEdit1(*form)->SelectionFormat().setStyle(FontStyle::Bold);
    toolButton(*form, 3)->click();
    EXPECT_EQ(contentOf(txt), "plain\r\n"); // plain text: the bold is gone

    const QString html = QDir(folderA).filePath("page.html");
    platform.files.answers = {html};
    toolButton(*form, 4)->click();
    EXPECT_TRUE(contentOf(html).startsWith("{\\rtf1")); // RTF mode writes RTF
    RxRichEdit1(*form)->setPlainTextMode(true);
    toolButton(*form, 3)->click();
    EXPECT_EQ(contentOf(html), "plain\r\n");
}

TEST_F(DocumentsTest, SaveAsElsewhereMovesTheDialogsButNotTheOpenedName)
{
    const QString x = QDir(folderA).filePath("x.rtf");
    const QString y = QDir(folderB).filePath("y.rtf");
    QFile file(x);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 x\\par}");
    file.close();
    platform.files.answers = {x, y};
    toolButton(*form, 2)->click();
    toolButton(*form, 4)->click();
    EXPECT_EQ(form->windowTitle(), "y.rtf - Veltrix 3.0");
    EXPECT_EQ(platform.files.saveRequests[0].initialFolder, folderA);
    EXPECT_EQ(platform.files.saveRequests[0].fileName, "x.rtf");
    toolButton(*form, 4)->click(); // cancelled
    EXPECT_EQ(platform.files.saveRequests[1].initialFolder, folderB);
    EXPECT_EQ(platform.files.saveRequests[1].fileName, "y.rtf");
    EXPECT_EQ(form->document().openedFileName(), x);

    // In plain-text mode the close prompt names the file opened, not the one saved.
    type("!");
    RxRichEdit1(*form)->setPlainTextMode(true);
    platform.boxes.answers = {Answer::Cancel};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(platform.boxes.questions.last().text, "Text in file \"" + x + "\" is modified, save to file?");
}

TEST_F(DocumentsTest, NewStartsAnotherCopyAndLeavesThisWindowAlone)
{
    type("mine");
    menuItem(*form, "N61")->trigger();
    EXPECT_EQ(platform.shellOpen.copiesStarted, 1);
    EXPECT_EQ(RxRichEdit1(*form)->Text(), "mine");
    EXPECT_TRUE(RxRichEdit1(*form)->IsModified());
}

// One message after opening names what the file held that cannot be kept;
// a file the editor keeps whole opens without one.
TEST_F(DocumentsTest, OpenNamesWhatTheFileHeldThatCannotBeKept)
{
    const QString partial = QDir(folderA).filePath("partial.rtf");
    testhelpers::writeFile(partial, "{\\rtf1 Text{\\footnote a note}\\par\\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row}");
    platform.files.answers = {partial};
    toolButton(*form, 2)->click();
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_EQ(platform.boxes.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_TRUE(platform.boxes.messages[0].text.contains("footnotes: 1")) << platform.boxes.messages[0].text.toStdString();
    EXPECT_FALSE(platform.boxes.messages[0].text.contains("table")) << "tables are kept";
    EXPECT_EQ(form->windowTitle(), "partial.rtf - Veltrix 3.0");

    const QString whole = QDir(folderA).filePath("whole.rtf");
    testhelpers::writeFile(whole, "{\\rtf1 {\\b Bold} text\\par}");
    platform.files.answers = {whole};
    toolButton(*form, 2)->click();
    EXPECT_EQ(platform.boxes.messages.size(), 1);
}

// A file that could not be read whole after it was shown: the error is
// shown, and the part in the editor is never saved over the file.
TEST_F(DocumentsTest, AFileReadOnlyInPartIsNeverSavedOverItself)
{
    const QString path = QDir(folderA).filePath("big.txt");
    testhelpers::writeFile(path, "the whole file");
    platform.files.answers = {path};
    toolButton(*form, 2)->click();
    ASSERT_EQ(form->windowTitle(), "big.txt - Veltrix 3.0");
    Q_EMIT RxRichEdit1(*form)->OnLoadFailed("Cannot read file \"big.txt\". Input/output error", false);
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_EQ(platform.boxes.messages[0].text, "Cannot read file \"big.txt\". Input/output error.");
    EXPECT_EQ(form->windowTitle(), "Veltrix 3.0");
    EXPECT_EQ(marker(), "Изменён");
    platform.files.answers = {};
    toolButton(*form, 3)->click(); // asks for a name; cancelled
    EXPECT_EQ(platform.files.saveRequests.size(), 1);
    EXPECT_EQ(contentOf(path), "the whole file");
}
