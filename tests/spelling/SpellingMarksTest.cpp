// Words the speller flags: shown with a red wave and told to a screen
// reader, never part of the text; the paragraph typed in waits for a pause.

#include "editor/RichEditAccessible.h"
#include "editor/RichEditFixture.h"
#include "spelling/SpellingMarks.h"
#include "formats/RtfWriter.h"
#include "spelling/Speller.h"

#include <QImage>
#include <QTest>

namespace {

// The cache owns the interfaces Qt makes; a test owns its own.
class OwnedAccessible : public RichEditAccessible {
public:
    using RichEditAccessible::RichEditAccessible;
    ~OwnedAccessible() override = default;
};

int redPixels(TRxRichEdit &editor)
{
    QImage shot(editor.viewport()->size(), QImage::Format_RGB32);
    editor.viewport()->render(&shot);
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            count += (c.red() - c.green() > 60 && c.red() - c.blue() > 60) ? 1 : 0; // antialiased red too
        }
    return count;
}

} // namespace

TEST_F(RichEditTest, FlaggedWordsAreShownAndToldButNeverStored)
{
    std::unique_ptr<spelling::Speller> speller = spelling::Speller::load(
        spelling::Speller::systemDictionaryDirs(), dir.filePath(QStringLiteral("words.dic")));
    if (!speller->available())
        GTEST_SKIP() << "no Hunspell dictionary installed";
    editor->setText(QStringLiteral("A wrld of wrds"));
    const QByteArray unchecked = rtf::write(*editor->document());
    SpellingMarks marks;
    marks.setSpeller(speller.get());
    editor->setTextMarks(&marks);
    // Painted first, marked right after.
    EXPECT_TRUE(QTest::qWaitFor([&] { return redPixels(*editor) > 10; }));
    EXPECT_EQ(rtf::write(*editor->document()), unchecked);
    EXPECT_EQ(editor->Text(), QStringLiteral("A wrld of wrds"));

    OwnedAccessible access(editor.get());
    int start = 0;
    int end = 0;
    EXPECT_TRUE(access.attributes(3, &start, &end).contains(QStringLiteral("invalid:spelling;")));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(2, 6));
    EXPECT_FALSE(access.attributes(7, &start, &end).contains(QStringLiteral("invalid")));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(6, 10)) << "a run of its own between the words";

    // Typing: the paragraph typed in is checked once typing pauses.
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor.get(), QStringLiteral(" xqzv"));
    EXPECT_EQ(marks.shownIn(editor->document()->begin()), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return marks.shownIn(editor->document()->begin()) != nullptr; }));
    EXPECT_EQ(marks.shownIn(editor->document()->begin())->size(), 3u);

    marks.setEnabled(false);
    EXPECT_EQ(redPixels(*editor), 0);
    EXPECT_FALSE(access.attributes(3, &start, &end).contains(QStringLiteral("invalid")));
    editor->setTextMarks(nullptr);
}
