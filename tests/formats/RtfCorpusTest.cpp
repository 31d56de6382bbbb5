// Real RTF from other programs (corpus/, made by corpus/make_corpus.py from
// one document): each file opened as the editor opens it, then saved and
// opened again, must show the same text, paragraph breaks, list numbers,
// pictures and formats, written down here once per file.

#include "RtfTestSupport.h"

#include "formats/CharacterFormat.h"
#include "support/TestHelpers.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace rtftest;
using testhelpers::u8;

namespace {

struct Picture {
    bool metafile; // shown as a box, its bytes kept
    int width;     // twips
    int height;
};

constexpr qreal kTwipsPerPixel = 15.0;

struct CorpusFile {
    const char *name;
    std::vector<const char *> paragraphs;
    std::vector<int> pageBreaks;          // paragraphs that start a page
    std::vector<const char *> numbers;    // one per paragraph, "" where none
    std::vector<Picture> pictures;
    int spacing;                          // the paragraph with 6 pt before, 12 after, 1.5 lines; -1: none
    int tabs;                             // the paragraph with four tab stops; -1: none
    bool hidden;                          // "секрет" kept hidden before "текст."
    std::vector<std::pair<const char *, int>> charsets; // text, its font's character set
    std::vector<const char *> table = {"А1||В1", "|Б2|"}; // its rows, as tables() describes them
};

const char kLink[] = "https://example.org/veltrix?a=1&b=2";

// The source document's paragraphs and list numbers, as a program that keeps
// them all writes them.
const std::vector<const char *> kSourceParagraphs{
    "Раздел один: Times New Roman и Arial кириллица.", "Раздел два после разрыва раздела.",
    "После разрыва страницы.", "Интервалы: до 6, после 12, полуторный.",
    "Табуляция\tлево\tцентр\tправо\t12,50", "Формула E=mc2 и H2O.", "Скрытый текст.", "Ссылка на сайт Veltrix.",
    "Пункт один", "Подпункт а", "Подпункт б", "Пункт два", "Абзац между пунктами.", "Пункт три",
    "Снова пункт один", "Снова подпункт а", "А1\t\tВ1", "\tБ2\t", "Рисунки: \uFFFC \uFFFC \uFFFC конец.",
    "Конец документа."};
const std::vector<const char *> kSourceNumbers{"", "", "", "", "", "", "", "", "1.", "a.",
                                               "b.", "2.", "", "3.", "1.", "a.", "", "", "", ""};

const CorpusFile kCorpus[] = {
    {"word.rtf",
     kSourceParagraphs,
     {2},
     kSourceNumbers,
     {{false, 720, 360}, {false, 1080, 720}, {true, 1440, 720}},
     3,
     4,
     true,
     {{"Раздел", 204}, {"Arial", 0}, {"кириллица", 204}}},
    // LibreOffice writes every font with \fcharset0 and Cyrillic as \u, and
    // pictures as shapes in SHAPE fields, the metafile turned into a PNG.
    {"libreoffice.rtf",
     kSourceParagraphs,
     {2},
     kSourceNumbers,
     {{false, 719, 359}, {false, 1079, 719}, {false, 1439, 719}},
     3,
     4,
     true,
     {{"Раздел", 0}, {"Arial", 0}}},
    // AbiWord, converting without a window, numbers no list: each item's
    // paragraph stands inside a \listtext group after an empty label and a
    // tab. Its BMP and WMF come out as pictures of no kind.
    {"abiword.rtf",
     {"Раздел один: Times New Roman и Arial кириллица.", "Раздел два после разрыва раздела.",
      "После разрыва страницы.", "Интервалы: до 6, после 12, полуторный.",
      "Табуляция\tлево\tцентр\tправо\t12,50", "Формула E=mc2 и H2O.", "Скрытый текст.", "Ссылка на сайт Veltrix.",
      "\tПункт один", "\tПодпункт а", "\tПодпункт б", "\tПункт два", "Абзац между пунктами.", "\tПункт три",
      "\tСнова пункт один", "\tСнова подпункт а", "А1\t\tВ1", "\tБ2\t", "Рисунки: \uFFFC   конец.",
      "Конец документа."},
     {2},
     {"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
     {{false, 720, 360}},
     3,
     4,
     true,
     {{"Раздел", 0}, {"Arial", 0}}},
    // pandoc keeps no breaks, tab stops, spacing, hidden text or list
    // continuation, writes list numbers as text, PNG pictures only, an empty
    // paragraph after each table cell's text and one after the table.
    {"pandoc.rtf",
     {"Раздел один: Times New Roman и Arial кириллица.", "Раздел два после разрыва раздела.",
      "После разрыва страницы.", "Интервалы: до 6, после 12, полуторный.", "Табуляция лево центр право 12,50",
      "Формула E=mc2 и H2O.", "Скрытый секреттекст.", "Ссылка на сайт Veltrix.", "1.\tПункт один",
      "a.\tПодпункт а", "b.\tПодпункт б", "2.\tПункт два", "Абзац между пунктами.", "1.\tПункт три",
      "1.\tСнова пункт один", "a.\tСнова подпункт а", "А1\t\tВ1", "\tБ2\t", "",
      "Рисунки: \uFFFC [image: Pictures/b.bmp] [image: Pictures/w.wmf] конец.", "Конец документа."},
     {},
     std::vector<const char *>(21, ""),
     {{false, 720, 360}},
     -1,
     -1,
     false,
     {},
     {"А1/|/|В1/", "/|Б2/|/"}},
};

QStringList texts(const std::vector<const char *> &utf8)
{
    QStringList result;
    for (const char *text : utf8)
        result << u8(text);
    return result;
}

QStringList shownNumbers(const QTextDocument &doc)
{
    QStringList result;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (const QTextTable *table = QTextCursor(block).currentTable()) {
            for (int r = 0; r < table->rows(); ++r)
                result << QString(); // a row is one line
            block = doc.findBlock(table->lastPosition());
            continue;
        }
        result << (block.textList() ? paraformat::listItemText(*block.textList(), block) : QString());
    }
    return result;
}

std::vector<int> pageBreaks(const QTextDocument &doc)
{
    std::vector<int> result;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            result.push_back(block.blockNumber());
    }
    return result;
}

QString describePictures(const QTextDocument &doc)
{
    QStringList result;
    for (const QTextImageFormat &image : images(doc)) {
        const bool metafile = image.hasProperty(charformat::kPictureDataProperty);
        result << QStringLiteral("%1 %2x%3 %4")
                      .arg(metafile ? QStringLiteral("metafile") : QStringLiteral("image"))
                      .arg(image.width())
                      .arg(image.height())
                      .arg(imageOf(doc, image).isNull() ? QStringLiteral("empty") : QStringLiteral("shown"));
    }
    return result.join(QLatin1Char('|'));
}

QString expectedPictures(const std::vector<Picture> &pictures)
{
    QStringList result;
    for (const Picture &p : pictures) {
        result << QStringLiteral("%1 %2x%3 shown")
                      .arg(p.metafile ? QStringLiteral("metafile") : QStringLiteral("image"))
                      .arg(p.width / kTwipsPerPixel)
                      .arg(p.height / kTwipsPerPixel);
    }
    return result.join(QLatin1Char('|'));
}

void checkFormats(const QTextDocument &doc, const CorpusFile &file, const char *when)
{
    if (file.spacing >= 0) {
        const QTextBlockFormat f = blockAt(doc, file.spacing).blockFormat();
        EXPECT_DOUBLE_EQ(f.topMargin(), 120 / kTwipsPerPixel) << when;
        EXPECT_DOUBLE_EQ(f.bottomMargin(), 240 / kTwipsPerPixel) << when;
        EXPECT_EQ(f.lineHeightType(), QTextBlockFormat::ProportionalHeight) << when;
        EXPECT_DOUBLE_EQ(f.lineHeight(), 150.0) << when;
    }
    if (file.tabs >= 0) {
        QStringList tabs;
        for (const QTextOption::Tab &tab : blockAt(doc, file.tabs).blockFormat().tabPositions())
            tabs << QStringLiteral("%1@%2").arg(int(tab.type)).arg(tab.position * kTwipsPerPixel);
        EXPECT_EQ(tabs.join(QLatin1Char(' ')),
                  QStringLiteral("%1@1440 %2@3600 %3@5760 %4@7200")
                      .arg(int(QTextOption::LeftTab))
                      .arg(int(QTextOption::CenterTab))
                      .arg(int(QTextOption::RightTab))
                      .arg(int(QTextOption::DelimiterTab)))
            << when;
    }
    const QTextCharFormat super = formatOf(doc, QStringLiteral("2 "));
    EXPECT_EQ(super.verticalAlignment(), QTextCharFormat::AlignSuperScript) << when << ": mc2";
    const QTextCharFormat sub = formatOf(doc, QStringLiteral("2O"));
    EXPECT_EQ(sub.verticalAlignment(), QTextCharFormat::AlignSubScript) << when << ": H2O";
    EXPECT_EQ(formatOf(doc, QStringLiteral("O.")).verticalAlignment(), QTextCharFormat::AlignNormal) << when;
    if (file.hidden) {
        EXPECT_EQ(formatOf(doc, u8("текст.")).stringProperty(charformat::kHiddenTextProperty), u8("секрет"))
            << when;
    }
    const QTextCharFormat link = formatOf(doc, u8("сайт Veltrix"));
    EXPECT_TRUE(link.isAnchor()) << when;
    EXPECT_EQ(link.anchorHref(), QString::fromLatin1(kLink)) << when;
    EXPECT_FALSE(formatOf(doc, u8("Ссылка")).isAnchor()) << when;
    for (const auto &[text, charset] : file.charsets) {
        EXPECT_EQ(formatOf(doc, u8(text)).intProperty(charformat::kCharsetProperty), charset)
            << when << ": " << text;
    }
}

void checkDocument(const QTextDocument &doc, const CorpusFile &file, const char *when)
{
    EXPECT_EQ(linesWithRows(doc), texts(file.paragraphs)) << when;
    ASSERT_EQ(tables(doc).size(), 1u) << when;
    EXPECT_EQ(tables(doc)[0], texts(file.table)) << when;
    EXPECT_EQ(pageBreaks(doc), file.pageBreaks) << when;
    EXPECT_EQ(shownNumbers(doc), texts(file.numbers)) << when;
    EXPECT_EQ(describePictures(doc), expectedPictures(file.pictures)) << when;
    checkFormats(doc, file, when);
}

class RtfCorpusTest : public ::testing::TestWithParam<CorpusFile>
{
};

TEST_P(RtfCorpusTest, OpensAndReopensAfterSavingWithNothingLost)
{
    const CorpusFile &file = GetParam();
    const QByteArray data = testhelpers::readFile(corpusFile(QLatin1String(file.name)));
    ASSERT_FALSE(data.isEmpty()) << file.name;
    auto doc = std::make_unique<QTextDocument>();
    rtf::LoadStatus status;
    ASSERT_TRUE(rtf::read(data, *doc, status));
    EXPECT_EQ(status.count(rtf::Loss::Shapes), 0) << "picture shapes are shown";
    EXPECT_EQ(status.count(rtf::Loss::Fields), 0) << "links and picture fields are kept";
    checkDocument(*doc, file, "opened");
    bool ok = false;
    const auto back = readRtf(rtf::write(*doc), &ok);
    ASSERT_TRUE(ok);
    checkDocument(*back, file, "saved and reopened");
}

INSTANTIATE_TEST_SUITE_P(Corpus, RtfCorpusTest, ::testing::ValuesIn(kCorpus),
                         [](const ::testing::TestParamInfo<CorpusFile> &info) {
                             return QFileInfo(QString::fromLatin1(info.param.name)).baseName().toStdString();
                         });

} // namespace

namespace {

// Tables as Word writes them and as LibreOffice writes the same: merged down
// and across, a header row, borders and a background, a cell of two
// paragraphs; their grid and text after opening and after saving and opening.
class RtfCorpusTablesTest : public ::testing::TestWithParam<const char *>
{
};

TEST_P(RtfCorpusTablesTest, TablesOpenAndReopenWithTheirGridAndText)
{
    const QByteArray data = testhelpers::readFile(corpusFile(QLatin1String(GetParam())));
    ASSERT_FALSE(data.isEmpty());
    rtf::LoadStatus status;
    auto doc = std::make_unique<QTextDocument>();
    ASSERT_TRUE(rtf::read(data, *doc, status));
    EXPECT_TRUE(status.complete()) << "nothing of the tables is left out";
    const std::vector<QStringList> expected{
        {u8("Name|Price|Notes"), u8("Merged down(2x1)|100|A note/Второй абзац"), u8("Merged across(1x2)")}};
    const QStringList around{u8("Before the table."), u8("After the table.")};
    const auto check = [&](const QTextDocument &d, const char *when) {
        EXPECT_EQ(tables(d), expected) << when;
        const QStringList texts = paragraphs(d);
        EXPECT_EQ((QStringList{texts.first(), texts.last()}), around) << when;
        auto *table = qobject_cast<QTextTable *>(d.rootFrame()->childFrames().value(0));
        ASSERT_TRUE(table) << when;
        // LibreOffice writes no \\trhdr for its header row.
        EXPECT_EQ(table->format().headerRowCount(), qstrcmp(GetParam(), "word_tables.rtf") == 0 ? 1 : 0) << when;
        const QTextTableCellFormat notes = table->cellAt(0, 2).format().toTableCellFormat();
        EXPECT_EQ(notes.topBorderBrush().color(), QColor(Qt::red)) << when;
        EXPECT_GT(notes.topBorder(), notes.bottomBorder()) << when;
        EXPECT_EQ(notes.background().color(), QColor(220, 230, 255)) << when;
        // Word's \\trgaph, LibreOffice's \\clpadt (Word's left padding).
        EXPECT_DOUBLE_EQ(notes.leftPadding() * 15, 108) << when;
    };
    check(*doc, "opened");
    check(*readRtf(rtf::write(*doc)), "saved and reopened");
}

INSTANTIATE_TEST_SUITE_P(Corpus, RtfCorpusTablesTest, ::testing::Values("word_tables.rtf", "libreoffice_tables.rtf"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             return QFileInfo(QString::fromLatin1(info.param)).baseName().toStdString();
                         });

} // namespace

namespace {

// A table inside a cell as Word writes it and as LibreOffice writes the same.
class RtfCorpusNestedTest : public ::testing::TestWithParam<const char *>
{
};

TEST_P(RtfCorpusNestedTest, TableInACellOpensAndReopensAsATableInThatCell)
{
    const QByteArray data = testhelpers::readFile(corpusFile(QLatin1String(GetParam())));
    ASSERT_FALSE(data.isEmpty());
    rtf::LoadStatus status;
    auto doc = std::make_unique<QTextDocument>();
    ASSERT_TRUE(rtf::read(data, *doc, status));
    EXPECT_TRUE(status.complete());
    const auto check = [&](const QTextDocument &d, const char *when) {
        auto *outer = qobject_cast<QTextTable *>(d.rootFrame()->childFrames().value(0));
        ASSERT_TRUE(outer) << when;
        ASSERT_EQ(outer->rows(), 2) << when;
        EXPECT_EQ(rtftest::cellText(outer->cellAt(1, 1)), u8("plain cell")) << when;
        auto *inner = qobject_cast<QTextTable *>(outer->childFrames().value(0));
        ASSERT_TRUE(inner) << when;
        EXPECT_EQ(outer->cellAt(inner->firstPosition()).column(), 1) << when;
        ASSERT_EQ(inner->rows(), 2) << when;
        ASSERT_EQ(inner->columns(), 2) << when;
        EXPECT_EQ(rtftest::cellText(inner->cellAt(0, 1)), u8("Иван")) << when;
        EXPECT_EQ(rtftest::cellText(inner->cellAt(1, 1)), u8("Moscow/Tverskaya 1")) << when;
        EXPECT_EQ(inner->cellAt(0, 0).format().background().color(), QColor(Qt::yellow)) << when;
        const QString outerCell = rtftest::cellText(outer->cellAt(0, 1));
        EXPECT_TRUE(outerCell.endsWith(u8("/Signed on arrival."))) << when << " " << outerCell.toStdString();
        EXPECT_EQ(paragraphs(d).last(), u8("After the form.")) << when;
    };
    check(*doc, "opened");
    check(*readRtf(rtf::write(*doc)), "saved and reopened");
}

INSTANTIATE_TEST_SUITE_P(Corpus, RtfCorpusNestedTest, ::testing::Values("word_nested.rtf", "libreoffice_nested.rtf"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             return QFileInfo(QString::fromLatin1(info.param)).baseName().toStdString();
                         });

} // namespace
