#include "formats/RtfDocumentBuilder.h"
#include "formats/RtfReader.h"

#include "formats/CharacterFormat.h"
#include "formats/ParagraphFormat.h"
#include "formats/RtfListTable.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <atomic>
#include <map>

namespace rtf::detail {

namespace {

// Qt revisits every item of a list when one is added, so a list of n items
// costs n*n. Lists stay whole up to kLongList items until the lists so far
// have cost kListBudget; after that they are cut every kShortList items.
constexpr int kLongList = 4096;
constexpr int kShortList = 16;
constexpr qint64 kListBudget = 8'000'000;

constexpr qreal kTwipsPerPixel = paraformat::kTwipsPerPixel;
constexpr qreal kPercentPerLineTwips = 100.0 / 240.0; // \slmult1: 240 is one line

std::atomic<quint64> g_nextImageId{1};

std::vector<QTextCharFormat> charFormats(const Content &content)
{
    std::vector<QTextCharFormat> formats;
    formats.reserve(content.charFormats.size());
    for (const CharKey &k : content.charFormats) {
        QTextCharFormat f;
        if (k.family >= 0) {
            const QString &family = content.families[size_t(k.family)];
            f.setFontFamilies(QStringList{family});
            f.setProperty(charformat::kFamilyHashProperty, static_cast<int>(qHash(family)));
        }
        f.setFontPointSize(k.halfPoints / 2.0);
        f.setFontWeight((k.flags & kBoldFlag) ? QFont::Bold : QFont::Normal);
        f.setFontItalic(k.flags & kItalicFlag);
        f.setFontUnderline(k.flags & kUnderlineFlag);
        f.setFontStrikeOut(k.flags & kStrikeFlag);
        if (k.fg != kAutoColor)
            f.setForeground(QColor(QRgb(k.fg)));
        if (k.bg != kAutoColor)
            f.setBackground(QColor(QRgb(k.bg)));
        if (k.raise != 0) {
            f.setVerticalAlignment(k.raise > 0 ? QTextCharFormat::AlignSuperScript
                                               : QTextCharFormat::AlignSubScript);
            f.setProperty(charformat::kRaiseProperty, k.raise);
        } else if (k.flags & kSuperFlag) {
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        } else if (k.flags & kSubFlag) {
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        }
        if (k.charset >= 0)
            f.setProperty(charformat::kCharsetProperty, k.charset);
        if (k.hidden >= 0) {
            f.setProperty(charformat::kHiddenTextProperty, content.hiddenTexts[size_t(k.hidden)]);
            f.setProperty(charformat::kHiddenSerialProperty, k.hidden + 1);
        }
        if (k.link >= 0) {
            f.setAnchor(true);
            f.setAnchorHref(content.links[size_t(k.link)]);
        }
        formats.push_back(f);
    }
    return formats;
}

QList<QTextOption::Tab> tabPositions(const std::vector<TabStop> &stops)
{
    static const QTextOption::TabType types[] = {QTextOption::LeftTab, QTextOption::RightTab,
                                                 QTextOption::CenterTab, QTextOption::DelimiterTab};
    QList<QTextOption::Tab> tabs;
    for (const TabStop &stop : stops) {
        const QTextOption::TabType type = types[stop.kind & 3];
        tabs.append(QTextOption::Tab(stop.twips / kTwipsPerPixel, type,
                                     type == QTextOption::DelimiterTab ? QChar('.') : QChar()));
    }
    return tabs;
}

void setSpacing(QTextBlockFormat &f, const ParaKey &k)
{
    if (k.sb)
        f.setTopMargin(k.sb / kTwipsPerPixel);
    if (k.sa)
        f.setBottomMargin(k.sa / kTwipsPerPixel);
    // \sl: positive is at least, negative exactly that height; with \slmult1
    // a multiple of single spacing.
    if (k.sl > 0 && k.slmult)
        f.setLineHeight(k.sl * kPercentPerLineTwips, QTextBlockFormat::ProportionalHeight);
    else if (k.sl > 0)
        f.setLineHeight(k.sl / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
    else if (k.sl < 0)
        f.setLineHeight(-k.sl / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
}

std::vector<QTextBlockFormat> blockFormats(const Content &content)
{
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    std::vector<QTextBlockFormat> formats;
    formats.reserve(content.paraFormats.size());
    for (const ParaKey &k : content.paraFormats) {
        QTextBlockFormat f;
        f.setAlignment(alignments[k.align & 3]);
        paraformat::setIndentsInTwips(f, {k.li + k.fi, -k.fi, k.ri}, k.list != 0);
        setSpacing(f, k);
        if (k.tabs > 0) {
            const std::vector<TabStop> &stops = content.tabLists[size_t(k.tabs)];
            f.setTabPositions(tabPositions(stops));
            size_t hash = 0;
            for (const TabStop &stop : stops)
                hash = qHashMulti(hash, stop.twips, static_cast<int>(stop.kind));
            f.setProperty(paraformat::kTabsHashProperty, static_cast<int>(hash));
        }
        if (k.pageBreak)
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        formats.push_back(f);
    }
    return formats;
}

// Adds the images as resources under names unique to the process, so
// documents never share an image by accident; returns the names.
std::vector<QString> addImages(const Content &content, QTextDocument &document)
{
    std::vector<QString> names;
    names.reserve(content.images.size());
    for (const Image &image : content.images) {
        const QString name = QStringLiteral("veltrix-image:%1").arg(g_nextImageId.fetch_add(1));
        document.addResource(QTextDocument::ImageResource, QUrl(name), image.image);
        names.push_back(name);
    }
    return names;
}

// Puts the items of one list and level into one QTextList, across paragraphs
// without numbers between them; an item ends the lists of deeper levels. The
// number a file shows decides where a list starts again.
class ListJoiner
{
public:
    void add(QTextCursor &cursor, const ParaKey &paragraph, int shownNumber)
    {
        if (paragraph.list == 0)
            return;
        const Key key{paragraph.listId, paragraph.listLevel};
        // Deeper levels of this list count again after this item.
        m_open.erase(m_open.upper_bound({key.list, key.level}), m_open.lower_bound({key.list + 1, 0}));
        const int maxItems = m_cost < kListBudget ? kLongList : kShortList;
        auto it = m_open.find(key);
        if (it != m_open.end()) {
            Open &open = it->second;
            const int next = open.start + open.items;
            const bool continues = open.style == paragraph.list
                && (shownNumber == 0 || shownNumber == next || paragraph.list == kStyleBullet);
            if (continues && open.items < maxItems) {
                open.list->add(cursor.block());
                m_cost += open.items++;
                return;
            }
            if (continues) {
                // A long list goes on in a new one that starts where it ended.
                shownNumber = next;
            }
        }
        const int start = shownNumber > 0 ? shownNumber : paragraph.listStart;
        QTextList *list = cursor.createList(paraformat::listFormat(paraformat::ListStyle(paragraph.list),
                                                                   paragraph.listLevel, start));
        m_open[key] = Open{list, paragraph.list, start, 1};
    }

private:
    struct Key {
        int list;
        int level;
        bool operator<(const Key &o) const { return list != o.list ? list < o.list : level < o.level; }
    };
    struct Open {
        QTextList *list;
        int style;
        int start;
        int items;
    };

    std::map<Key, Open> m_open;
    qint64 m_cost = 0;
};

class Builder
{
public:
    Builder(const Content &content, QTextDocument &document)
        : m_content(content), m_charFormats(charFormats(content)),
          m_blockFormats(blockFormats(content)), m_imageNames(addImages(content, document)),
          m_cursor(&document)
    {
    }

    void build()
    {
        m_cursor.beginEditBlock();
        for (size_t b = 0; b < m_content.blocks.size(); ++b) {
            const Block &block = m_content.blocks[b];
            const QTextBlockFormat &blockFormat = m_blockFormats[size_t(block.paraFormat)];
            const QTextCharFormat &markFormat = m_charFormats[size_t(block.charFormat)];
            if (b == 0) {
                m_cursor.setBlockFormat(blockFormat);
                m_cursor.setBlockCharFormat(markFormat);
            } else {
                m_cursor.insertBlock(blockFormat, markFormat);
            }
            m_lists.add(m_cursor, m_content.paraFormats[size_t(block.paraFormat)], block.shownNumber);
            for (size_t r = block.firstRun; r < block.firstRun + block.runCount; ++r)
                insertRun(m_content.runs[r]);
        }
        m_cursor.endEditBlock();
    }

private:
    void insertRun(const Run &run)
    {
        if (run.format < 0) {
            const size_t index = size_t(-run.format - 1);
            const Image &image = m_content.images[index];
            QTextImageFormat f;
            f.setName(m_imageNames[index]);
            if (image.width > 0)
                f.setWidth(image.width);
            if (image.height > 0)
                f.setHeight(image.height);
            if (!image.keptData.isEmpty()) {
                f.setProperty(charformat::kPictureDataProperty, image.keptData);
                f.setProperty(charformat::kPictureWordsProperty, image.keptWords);
            }
            m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), f);
        } else if (run.length > 0) {
            m_cursor.insertText(
                QString::fromRawData(m_content.text.constData() + run.start, run.length),
                m_charFormats[size_t(run.format)]);
        }
    }

    const Content &m_content;
    const std::vector<QTextCharFormat> m_charFormats;
    const std::vector<QTextBlockFormat> m_blockFormats;
    const std::vector<QString> m_imageNames;
    QTextCursor m_cursor;
    ListJoiner m_lists;
};

} // namespace

void buildDocument(const Content &content, QTextDocument &document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    document.setProperty(kKeptHeaderProperty,
                         content.keptGroups.isEmpty() ? QVariant() : QVariant::fromValue(content.keptGroups));
    Builder(content, document).build();
    document.setUndoRedoEnabled(undo);
}

} // namespace rtf::detail
