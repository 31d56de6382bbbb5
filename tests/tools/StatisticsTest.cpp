#include "tools/Statistics.h"

#include "editor/RichEditFixture.h"
#include "support/TestHelpers.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using statistics::DocumentCounts;

namespace {

using testhelpers::u8;

// "left,top text" of every label, top to bottom, left to right.
QStringList labelsOf(const QDialog &window)
{
    QList<const QLabel *> labels;
    for (const QLabel *label : window.findChildren<QLabel *>())
        labels.append(label);
    std::sort(labels.begin(), labels.end(), [](const QLabel *a, const QLabel *b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    QStringList result;
    for (const QLabel *label : labels)
        result.append(QStringLiteral("%1,%2 %3").arg(label->x()).arg(label->y()).arg(label->text()));
    return result;
}

} // namespace

class StatisticsCounts : public RichEditTest {};

TEST_F(StatisticsCounts, LinesWholeTextAndSelection)
{
    struct Case {
        const char *text;
        int selectionStart;
        int selectionLength;
        int lines;
        int characters;
        int selected;
    };
    const Case cases[] = {
        {"", 0, 0, 0, 0, 0},
        {"abc\ndef", 0, 0, 2, 8, 0},          // a paragraph end counts two in the whole text
        {"abc\ndef", 0, 7, 2, 8, 7},          // and one in the selection
        {"abc\ndef", 0, 3, 2, 8, 3},          // a whole line
        {"abc\ndef", 0, 4, 2, 8, 4},          // with its paragraph end
        {"a b\tc", 1, 1, 1, 5, 1},            // spaces and tabs count
        {"abc\n", 0, 0, 1, 5, 0},             // a last, empty line is not counted
        {"one\n\n\nfour", 0, 0, 4, 13, 0},    // empty paragraphs are lines
    };
    for (const Case &c : cases) {
        editor->setText(QString::fromLatin1(c.text));
        select(c.selectionStart, c.selectionLength);
        const DocumentCounts counts = statistics::countDocument(*editor);
        EXPECT_EQ(counts.lines, c.lines) << c.text;
        EXPECT_EQ(counts.characters, c.characters) << c.text;
        EXPECT_EQ(counts.selected, c.selected) << c.text;
    }
}

TEST_F(StatisticsCounts, AWrappedParagraphIsSeveralLines)
{
    const QString paragraph = QStringLiteral("word ").repeated(60).trimmed();
    editor->setText(paragraph + QStringLiteral("\nlast"));
    const DocumentCounts wrapped = statistics::countDocument(*editor);
    EXPECT_GT(wrapped.lines, 3);
    EXPECT_EQ(wrapped.characters, paragraph.size() + 2 + 4);

    editor->setWordWrap(false);
    const DocumentCounts unwrapped = statistics::countDocument(*editor);
    EXPECT_EQ(unwrapped.lines, 2);
    EXPECT_EQ(unwrapped.characters, wrapped.characters);
}

TEST(StatisticsWindow, LaidOutInEitherLanguage)
{
    struct Case {
        bool english;
        const char *title;
        QStringList labels;
    };
    const Case cases[] = {
        {true, "Program statistics",
         {"8,8 Strings count", "210,8 12", "8,32 Chars count (all)", "210,32 345", "8,56 Chars count",
          "210,56 6"}},
        {false, "Статистика программы",
         {u8("8,8 Количество строк"), "210,8 12", u8("8,32 Количество знаков всего"), "210,32 345",
          u8("8,56 Количество знаков"), "210,56 6"}},
    };
    for (const Case &c : cases) {
        const std::unique_ptr<QDialog> window = statistics::buildStatisticsWindow({12, 345, 6}, c.english, nullptr);
        EXPECT_EQ(window->windowTitle(), u8(c.title));
        EXPECT_EQ(labelsOf(*window), c.labels);
        EXPECT_EQ(window->size(), QSize(250, 150));
        EXPECT_EQ(window->font().family(), "Courier New");
        EXPECT_EQ(window->font().pointSize(), 10);
        const QList<QPushButton *> buttons = window->findChildren<QPushButton *>();
        ASSERT_EQ(buttons.size(), 1);
        EXPECT_EQ(buttons.first()->text(), "OK");
        EXPECT_EQ(buttons.first()->geometry(), QRect(75, 80, 100, 30));
        EXPECT_TRUE(buttons.first()->isDefault());
        EXPECT_FALSE(buttons.first()->icon().isNull());
    }
}

TEST(StatisticsWindow, LongCountsStayInsideTheWindow)
{
    const std::unique_ptr<QDialog> window =
        statistics::buildStatisticsWindow({16777215, 16777215, 16777215}, true, nullptr);
    for (const QLabel *label : window->findChildren<QLabel *>())
        EXPECT_LE(label->geometry().right(), window->width()) << label->text().toStdString();
    EXPECT_GT(window->width(), 250);
}

TEST(StatisticsWindow, EnterClosesItWithOkEscapeDoesNot)
{
    const std::unique_ptr<QDialog> window = statistics::buildStatisticsWindow({1, 2, 3}, true, nullptr);
    window->show();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST(StatisticsWindow, TheCloseBoxClosesIt)
{
    const std::unique_ptr<QDialog> window = statistics::buildStatisticsWindow({1, 2, 3}, false, nullptr);
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
}
