#include "formats/RtfReader.h"

#include "formats/ParagraphFormat.h"
#include "formats/RtfCodePages.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <atomic>
#include <climits>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace rtf {

namespace {

using detail::codePageOfCharset;
using detail::codePageTable;

// Limits that keep hostile input from costing more than its own size.
constexpr int kMaxSavedDepth = 1024;     // deeper groups are counted, not saved
constexpr int kMaxWordLength = 32;
constexpr int kMaxFonts = 16384;
constexpr int kMaxFontNameLength = 256;
constexpr int kMaxColors = 16384;
constexpr int kMaxLists = 4096;
constexpr int kMaxListLevels = 16;
constexpr int kMaxUnicodeSkip = 64;
constexpr qsizetype kMaxPictureBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxImagePixels = 40'000'000;
constexpr qint64 kMaxTotalImagePixels = 160'000'000;
constexpr int kMaxImages = 10000;        // pictures decoded, whether they load or not
constexpr int kMaxImageSide = 20000;     // displayed size in pixels
constexpr int kMaxIndentTwips = 31680;   // 22 inches, the rich edit control's page limit
constexpr int kMaxHalfPoints = 3276;     // 1638 points, the largest size the control takes
// Qt revisits every item of a list when one is added, so a list of n items
// costs n*n. Lists stay whole up to kLongList items until the lists so far
// have cost kListBudget; after that they are cut every kShortList items.
constexpr int kLongList = 4096;
constexpr int kShortList = 16;
constexpr qint64 kListBudget = 8'000'000;

std::atomic<quint64> g_nextImageId{1};

enum class Dest : quint8 {
    Normal,      // document text
    NumberText,  // \pntext, \listtext: the rendered list number
    Skip,
    FontTable,
    ColorTable,
    Pict,
    Pn,
    ListTable,
    List,
    ListLevel,
    ListOverrideTable,
    ListOverride,
};

enum Kw : quint8 {
    kwUnknown,
    // destinations
    kwSkipDest, kwTextDest, kwFonttbl, kwColortbl, kwPict, kwPn, kwNumberText, kwListtable, kwList,
    kwListlevel, kwListoverridetable, kwListoverride,
    // document
    kwAnsi, kwMac, kwPc, kwPca, kwAnsicpg, kwDeff,
    // fonts and colours
    kwF, kwFcharset, kwCpg, kwRed, kwGreen, kwBlue,
    // characters
    kwPlain, kwB, kwI, kwUl, kwUlnone, kwStrike, kwFs, kwCf, kwBackground, kwV,
    // paragraphs
    kwPard, kwQl, kwQc, kwQr, kwQj, kwFi, kwLi, kwRi, kwLs, kwIlvl,
    // text
    kwPar, kwLine, kwTab, kwCell, kwRow, kwChar, kwU, kwUc, kwBin,
    // pictures
    kwPngblip, kwJpegblip, kwOtherPicture, kwPicwgoal, kwPichgoal, kwPicscalex, kwPicscaley,
    // old lists
    kwPnlvlblt, kwPnlvlbody, kwPnlvlcont, kwPnType,
    // list table
    kwListid, kwLevelnfc,
};

struct KeywordEntry {
    const char *name;
    Kw kw;
    int value; // the character of kwChar, the list style of kwPnType
};

constexpr int kStyleBullet = int(paraformat::ListStyle::Bullet);
constexpr int kStyleDecimal = int(paraformat::ListStyle::ArabicNumbers);
constexpr int kStyleLowerLetter = int(paraformat::ListStyle::LoCaseLetter);
constexpr int kStyleUpperLetter = int(paraformat::ListStyle::UpCaseLetter);
constexpr int kStyleLowerRoman = int(paraformat::ListStyle::LoCaseRoman);
constexpr int kStyleUpperRoman = int(paraformat::ListStyle::UpCaseRoman);

const KeywordEntry kKeywords[] = {
    {"fonttbl", kwFonttbl, 0}, {"colortbl", kwColortbl, 0}, {"pict", kwPict, 0}, {"pn", kwPn, 0},
    {"pntext", kwNumberText, 0}, {"listtext", kwNumberText, 0}, {"listtable", kwListtable, 0},
    {"list", kwList, 0}, {"listlevel", kwListlevel, 0}, {"listoverridetable", kwListoverridetable, 0},
    {"listoverride", kwListoverride, 0},
    // Destinations whose text is document text.
    {"shppict", kwTextDest, 0}, {"fldrslt", kwTextDest, 0}, {"result", kwTextDest, 0},
    {"field", kwTextDest, 0}, {"shptxt", kwTextDest, 0},
    // Destinations that never hold document text, with or without \*.
    {"stylesheet", kwSkipDest, 0}, {"info", kwSkipDest, 0}, {"header", kwSkipDest, 0},
    {"headerl", kwSkipDest, 0}, {"headerr", kwSkipDest, 0}, {"headerf", kwSkipDest, 0},
    {"footer", kwSkipDest, 0}, {"footerl", kwSkipDest, 0}, {"footerr", kwSkipDest, 0},
    {"footerf", kwSkipDest, 0}, {"footnote", kwSkipDest, 0}, {"annotation", kwSkipDest, 0},
    {"shp", kwSkipDest, 0}, {"shpinst", kwSkipDest, 0}, {"shprslt", kwSkipDest, 0},
    {"nonshppict", kwSkipDest, 0}, {"objdata", kwSkipDest, 0}, {"objclass", kwSkipDest, 0},
    {"objname", kwSkipDest, 0}, {"fldinst", kwSkipDest, 0}, {"xe", kwSkipDest, 0},
    {"tc", kwSkipDest, 0}, {"txe", kwSkipDest, 0}, {"rxe", kwSkipDest, 0},
    {"template", kwSkipDest, 0}, {"revtbl", kwSkipDest, 0}, {"filetbl", kwSkipDest, 0},
    {"rsidtbl", kwSkipDest, 0}, {"pntxtb", kwSkipDest, 0}, {"pntxta", kwSkipDest, 0},
    {"pnseclvl", kwSkipDest, 0}, {"leveltext", kwSkipDest, 0}, {"levelnumbers", kwSkipDest, 0},
    {"listname", kwSkipDest, 0}, {"bkmkstart", kwSkipDest, 0}, {"bkmkend", kwSkipDest, 0},
    {"ftnsep", kwSkipDest, 0}, {"ftnsepc", kwSkipDest, 0}, {"ftncn", kwSkipDest, 0},
    {"aftnsep", kwSkipDest, 0}, {"aftnsepc", kwSkipDest, 0}, {"aftncn", kwSkipDest, 0},
    {"do", kwSkipDest, 0}, {"private", kwSkipDest, 0}, {"atnid", kwSkipDest, 0},
    {"atnauthor", kwSkipDest, 0}, {"atndate", kwSkipDest, 0}, {"pgdsctbl", kwSkipDest, 0},
    {"themedata", kwSkipDest, 0}, {"colorschememapping", kwSkipDest, 0},
    {"datastore", kwSkipDest, 0}, {"latentstyles", kwSkipDest, 0}, {"generator", kwSkipDest, 0},
    {"falt", kwSkipDest, 0}, {"panose", kwSkipDest, 0}, {"fontemb", kwSkipDest, 0},
    {"fontfile", kwSkipDest, 0}, {"picprop", kwSkipDest, 0}, {"blipuid", kwSkipDest, 0},
    {"listpicture", kwSkipDest, 0}, {"xmlnstbl", kwSkipDest, 0}, {"mmathPr", kwSkipDest, 0},
    {"userprops", kwSkipDest, 0}, {"comment", kwSkipDest, 0}, {"author", kwSkipDest, 0},
    {"title", kwSkipDest, 0}, {"subject", kwSkipDest, 0}, {"keywords", kwSkipDest, 0},
    {"operator", kwSkipDest, 0}, {"doccomm", kwSkipDest, 0},
    // document
    {"ansi", kwAnsi, 0}, {"mac", kwMac, 0}, {"pc", kwPc, 0}, {"pca", kwPca, 0},
    {"ansicpg", kwAnsicpg, 0}, {"deff", kwDeff, 0},
    // fonts, colours
    {"f", kwF, 0}, {"fcharset", kwFcharset, 0}, {"cpg", kwCpg, 0},
    {"red", kwRed, 0}, {"green", kwGreen, 0}, {"blue", kwBlue, 0},
    // characters
    {"plain", kwPlain, 0}, {"b", kwB, 0}, {"i", kwI, 0}, {"ul", kwUl, 0}, {"uld", kwUl, 0},
    {"uldash", kwUl, 0}, {"uldashd", kwUl, 0}, {"uldashdd", kwUl, 0}, {"uldb", kwUl, 0},
    {"ulhwave", kwUl, 0}, {"ulldash", kwUl, 0}, {"ulth", kwUl, 0}, {"ulthd", kwUl, 0},
    {"ulthdash", kwUl, 0}, {"ulthdashd", kwUl, 0}, {"ulthdashdd", kwUl, 0},
    {"ulthldash", kwUl, 0}, {"ululdbwave", kwUl, 0}, {"ulw", kwUl, 0}, {"ulwave", kwUl, 0},
    {"ulnone", kwUlnone, 0}, {"strike", kwStrike, 0}, {"striked", kwStrike, 0},
    {"fs", kwFs, 0}, {"cf", kwCf, 0}, {"cb", kwBackground, 0}, {"highlight", kwBackground, 0},
    {"chcbpat", kwBackground, 0}, {"v", kwV, 0},
    // paragraphs
    {"pard", kwPard, 0}, {"ql", kwQl, 0}, {"qc", kwQc, 0}, {"qr", kwQr, 0}, {"qj", kwQj, 0},
    {"qd", kwQj, 0}, {"fi", kwFi, 0}, {"li", kwLi, 0}, {"lin", kwLi, 0}, {"ri", kwRi, 0},
    {"rin", kwRi, 0}, {"ls", kwLs, 0}, {"ilvl", kwIlvl, 0},
    // text
    {"par", kwPar, 0}, {"line", kwLine, 0}, {"tab", kwTab, 0}, {"cell", kwCell, 0},
    {"nestcell", kwCell, 0}, {"row", kwRow, 0}, {"nestrow", kwRow, 0},
    {"emdash", kwChar, 0x2014}, {"endash", kwChar, 0x2013}, {"emspace", kwChar, 0x2003},
    {"enspace", kwChar, 0x2002}, {"qmspace", kwChar, 0x2005}, {"bullet", kwChar, 0x2022},
    {"lquote", kwChar, 0x2018}, {"rquote", kwChar, 0x2019}, {"ldblquote", kwChar, 0x201C},
    {"rdblquote", kwChar, 0x201D}, {"zwj", kwChar, 0x200D}, {"zwnj", kwChar, 0x200C},
    {"zwbo", kwChar, 0x200B}, {"ltrmark", kwChar, 0x200E}, {"rtlmark", kwChar, 0x200F},
    {"u", kwU, 0}, {"uc", kwUc, 0}, {"bin", kwBin, 0},
    // pictures
    {"pngblip", kwPngblip, 0}, {"jpegblip", kwJpegblip, 0}, {"emfblip", kwOtherPicture, 0},
    {"wmetafile", kwOtherPicture, 0}, {"pmmetafile", kwOtherPicture, 0},
    {"macpict", kwOtherPicture, 0}, {"dibitmap", kwOtherPicture, 0},
    {"wbitmap", kwOtherPicture, 0}, {"picwgoal", kwPicwgoal, 0}, {"pichgoal", kwPichgoal, 0},
    {"picscalex", kwPicscalex, 0}, {"picscaley", kwPicscaley, 0},
    // old lists
    {"pnlvlblt", kwPnlvlblt, 0}, {"pnlvlbody", kwPnlvlbody, 0}, {"pnlvl", kwPnlvlbody, 0},
    {"pnlvlcont", kwPnlvlcont, 0}, {"pndec", kwPnType, kStyleDecimal},
    {"pnord", kwPnType, kStyleDecimal}, {"pncard", kwPnType, kStyleDecimal},
    {"pnordt", kwPnType, kStyleDecimal}, {"pnlcltr", kwPnType, kStyleLowerLetter},
    {"pnucltr", kwPnType, kStyleUpperLetter}, {"pnlcrm", kwPnType, kStyleLowerRoman},
    {"pnucrm", kwPnType, kStyleUpperRoman},
    // list table
    {"listid", kwListid, 0}, {"levelnfc", kwLevelnfc, 0}, {"levelnfcn", kwLevelnfc, 0},
};

// Open addressing over a hash that the tokenizer computes while it reads the
// letters, so a control word costs one probe in the common case.
class KeywordTable
{
public:
    static constexpr quint32 kSize = 1024; // power of two, well above the keyword count

    KeywordTable()
    {
        for (const KeywordEntry &entry : kKeywords) {
            const auto length = quint32(std::strlen(entry.name));
            quint32 h = kSeed;
            for (quint32 i = 0; i < length; ++i)
                h = step(h, uchar(entry.name[i]));
            quint32 slot = h & (kSize - 1);
            while (m_slots[slot])
                slot = (slot + 1) & (kSize - 1);
            m_slots[slot] = &entry;
            m_lengths[slot] = length;
        }
    }

    static constexpr quint32 kSeed = 2166136261u;
    static quint32 step(quint32 h, uchar c) { return (h ^ c) * 16777619u; }

    const KeywordEntry *find(quint32 hash, const uchar *word, quint32 length) const
    {
        quint32 slot = hash & (kSize - 1);
        while (const KeywordEntry *entry = m_slots[slot]) {
            if (m_lengths[slot] == length && std::memcmp(entry->name, word, length) == 0)
                return entry;
            slot = (slot + 1) & (kSize - 1);
        }
        return nullptr;
    }

private:
    const KeywordEntry *m_slots[kSize] = {};
    quint32 m_lengths[kSize] = {};
};

const KeywordTable &keywords()
{
    static const KeywordTable table;
    return table;
}

constexpr quint32 kAutoColor = 0xFFFFFFFFu;

struct State {
    Dest dest = Dest::Normal;
    quint8 uc = 1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    quint8 align = 0; // left, centre, right, justify
    qint8 pnStyle = 0;
    int font = -1;    // -1: the default font
    int halfPoints = 24;
    int fg = 0;
    int bg = 0;
    int li = 0;
    int fi = 0;
    int ri = 0;
    int ls = 0;
    int ilvl = 0;
};

struct CharKey {
    int family = -1;
    int halfPoints = 24;
    int flags = 0;
    quint32 fg = kAutoColor;
    quint32 bg = kAutoColor;
    bool operator==(const CharKey &o) const
    {
        return family == o.family && halfPoints == o.halfPoints && flags == o.flags && fg == o.fg
            && bg == o.bg;
    }
};

size_t qHash(const CharKey &k, size_t seed = 0)
{
    return qHashMulti(seed, k.family, k.halfPoints, k.flags, k.fg, k.bg);
}

struct ParaKey {
    int align = 0;
    int li = 0;
    int fi = 0;
    int ri = 0;
    int list = 0;
    bool operator==(const ParaKey &o) const
    {
        return align == o.align && li == o.li && fi == o.fi && ri == o.ri && list == o.list;
    }
};

size_t qHash(const ParaKey &k, size_t seed = 0)
{
    return qHashMulti(seed, k.align, k.li, k.fi, k.ri, k.list);
}

struct Run {
    int format; // < 0: the image -(format + 1)
    qsizetype start;
    qsizetype length;
};

struct Block {
    int paraFormat;
    int charFormat;
    size_t firstRun;
    size_t runCount;
};

struct Image {
    QImage image;
    double width = 0;  // pixels; 0 = the image's own
    double height = 0;
};

struct FontEntry {
    int family = -1;
    int codePage = 0; // 0: the document's
};

enum Target { NoTarget, MainText, NumberTextTarget };

bool acceptable(char16_t c)
{
    if (c < 0x20)
        return c == '\t';
    // Characters that QTextDocument reads as its own structure.
    return c != 0x2029 && c != 0xFDD0 && c != 0xFDD1 && c != 0xFFFC && c != 0xFFFE && c != 0xFFFF
        && !QChar::isSurrogate(c);
}

int clampInt(qint64 v, int lo, int hi)
{
    return int(v < lo ? lo : v > hi ? hi : v);
}

int hexValue(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class Parser
{
public:
    Parser(const uchar *begin, const uchar *end) : m_p(begin), m_end(end)
    {
        // Extra closing braces are ignored unless only white space and braces
        // follow: then the root group has ended.
        const uchar *last = end;
        while (last > begin) {
            const uchar c = last[-1];
            if (c == '}' || c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == 0)
                --last;
            else
                break;
        }
        m_lastSignificant = last;
        m_textCapacity = qsizetype(end - begin) + 16;
        m_text.resize(m_textCapacity);
        m_buffer = reinterpret_cast<char16_t *>(m_text.data());
        m_stack.reserve(64);
    }

    void parse();
    void build(QTextDocument &document);
    int paragraphCount() const { return int(m_blocks.size()); }

private:
    // tokenizer
    void run();
    void controlSequence();
    void controlWord(const KeywordEntry *entry, bool hasParam, int param);
    void plainText();
    void pushGroup();
    void popGroup();
    void closeDestination(const State &closed);
    void skipBinary(int count);

    // text
    void emitChar(char16_t c);
    void emitUnicode(int value);
    void flushHighSurrogate();
    void put(char16_t c)
    {
        if (Q_UNLIKELY(m_textSize == m_textCapacity)) {
            m_textCapacity *= 2;
            m_text.resize(m_textCapacity);
            m_buffer = reinterpret_cast<char16_t *>(m_text.data());
        }
        m_buffer[m_textSize++] = c;
    }
    Target textTarget() const
    {
        if (m_state.hidden)
            return NoTarget;
        if (m_state.dest == Dest::Normal)
            return MainText;
        if (m_state.dest == Dest::NumberText)
            return NumberTextTarget;
        return NoTarget;
    }
    void openRun(Target target);
    void closeRun();
    void endParagraph();
    void finish();

    // formats
    void resolveFont();
    const char16_t *table()
    {
        if (m_state.font != m_cachedFont || m_fontsVersion != m_cachedVersion)
            resolveFont();
        return m_cachedTable;
    }
    // Font names are in their own entry's code page.
    const char16_t *byteTable()
    {
        if (m_state.dest != Dest::FontTable || !m_fontPending)
            return table();
        int codePage = m_fontCpg > 0 ? m_fontCpg : m_fontCharset >= 0 ? codePageOfCharset(m_fontCharset) : 0;
        const char16_t *t = codePage ? codePageTable(codePage) : nullptr;
        return t ? t : codePageTable(m_ansiCodePage);
    }
    CharKey currentKey();
    quint32 colour(int index) const
    {
        if (index <= 0 || index >= int(m_colors.size()))
            return kAutoColor;
        return m_colors[size_t(index)];
    }
    int internFamily(const QString &name);
    int listStyle() const;

    // tables
    void commitFont();
    void commitColor();
    void finishPicture();

    const uchar *m_p;
    const uchar *m_end;
    const uchar *m_lastSignificant;
    bool m_done = false;

    State m_state;
    std::vector<State> m_stack;
    int m_overflow = 0;
    bool m_star = false;
    int m_unicodeSkip = 0;
    char16_t m_highSurrogate = 0;

    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;

    // fonts
    std::unordered_map<int, FontEntry> m_fonts;
    bool m_fontTableSeen = false;
    int m_fontsVersion = 0;
    bool m_fontPending = false;
    int m_fontNumber = 0;
    size_t m_fontDepth = 0;
    int m_fontCharset = -1;
    int m_fontCpg = 0;
    QString m_fontName;
    std::vector<QString> m_families;
    QHash<QString, int> m_familyIndex;
    int m_cachedFont = INT_MIN;
    int m_cachedVersion = -1;
    int m_cachedFamily = -1;
    const char16_t *m_cachedTable = nullptr;

    // colours
    std::vector<quint32> m_colors;
    bool m_colorHasComponent = false;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;

    // old lists: the {\*\pn} group being read
    int m_pnLevel = 0; // 0 body, 1 bullet, 2 continuation
    int m_pnType = kStyleDecimal;

    // list table
    std::unordered_map<int, std::vector<int>> m_lists; // \listid -> \levelnfc per level
    std::unordered_map<int, int> m_overrides;          // \ls -> \listid
    std::vector<int> m_listLevels;
    int m_listId = 0;
    int m_levelNfc = 0;
    int m_overrideListId = 0;
    int m_overrideLs = 0;

    // picture being read
    QByteArray m_pictData;
    int m_pictNibble = -1;
    int m_pictType = 0; // 0 unknown, 1 png, 2 jpeg
    bool m_pictTooBig = false;
    int m_picWGoal = 0;
    int m_picHGoal = 0;
    int m_picScaleX = 100;
    int m_picScaleY = 100;
    qint64 m_totalImagePixels = 0;
    int m_pictAttempts = 0;

    // content
    QString m_text;
    char16_t *m_buffer = nullptr;
    qsizetype m_textSize = 0;
    qsizetype m_textCapacity = 0;
    std::vector<Run> m_runs;
    std::vector<Run> m_numberRuns;
    size_t m_blockRunStart = 0;
    Target m_openTarget = NoTarget;
    CharKey m_openKey;
    bool m_formatDirty = true;
    bool m_pendingCellTab = false;
    int m_paragraphsEnded = 0;
    std::vector<Block> m_blocks;
    std::vector<CharKey> m_charKeys;
    QHash<CharKey, int> m_charIndex;
    std::vector<ParaKey> m_paraKeys;
    QHash<ParaKey, int> m_paraIndex;
    std::vector<Image> m_images;
};

void Parser::parse()
{
    run();
    finish();
}

void Parser::run()
{
    while (m_p < m_end && !m_done) {
        switch (*m_p) {
        case '{':
            ++m_p;
            pushGroup();
            break;
        case '}':
            ++m_p;
            popGroup();
            break;
        case '\\':
            ++m_p;
            controlSequence();
            break;
        case '\r':
        case '\n':
            ++m_p;
            break;
        default:
            plainText();
            break;
        }
    }
}

void Parser::pushGroup()
{
    m_unicodeSkip = 0;
    m_star = false;
    if (m_stack.size() >= size_t(kMaxSavedDepth)) {
        ++m_overflow;
        return;
    }
    m_stack.push_back(m_state);
}

void Parser::popGroup()
{
    m_unicodeSkip = 0;
    m_star = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    // The root group is never popped: its brace ends the document only when
    // nothing but braces and white space follow.
    if (m_stack.size() <= 1) {
        if (m_p >= m_lastSignificant)
            m_done = true;
        return;
    }
    const State closed = m_state;
    m_state = m_stack.back();
    m_stack.pop_back();
    m_formatDirty = true;
    // A font entry in braces ends with its group, ';' or not.
    if (m_fontPending && m_stack.size() < m_fontDepth)
        commitFont();
    if (closed.dest != m_state.dest)
        closeDestination(closed);
}

void Parser::closeDestination(const State &closed)
{
    switch (closed.dest) {
    case Dest::FontTable:
        commitFont();
        m_fontTableSeen = true;
        ++m_fontsVersion;
        break;
    case Dest::ColorTable:
        if (m_colorHasComponent)
            commitColor();
        break;
    case Dest::Pict:
        finishPicture();
        break;
    case Dest::Pn:
        if (m_pnLevel == 1)
            m_state.pnStyle = qint8(kStyleBullet);
        else if (m_pnLevel == 2)
            m_state.pnStyle = 0;
        else
            m_state.pnStyle = qint8(m_pnType);
        break;
    case Dest::ListLevel:
        if (m_listLevels.size() < size_t(kMaxListLevels))
            m_listLevels.push_back(m_levelNfc);
        break;
    case Dest::List:
        if (m_lists.size() < size_t(kMaxLists) || m_lists.count(m_listId))
            m_lists[m_listId] = m_listLevels;
        break;
    case Dest::ListOverride:
        if (m_overrides.size() < size_t(kMaxLists) || m_overrides.count(m_overrideLs))
            m_overrides[m_overrideLs] = m_overrideListId;
        break;
    default:
        break;
    }
}

void Parser::controlSequence()
{
    if (m_p >= m_end)
        return; // a lone backslash at the end
    const uchar c = *m_p;
    if (isLetter(c)) {
        const uchar *word = m_p;
        quint32 hash = KeywordTable::kSeed;
        while (m_p < m_end && isLetter(*m_p)) {
            hash = KeywordTable::step(hash, *m_p);
            ++m_p;
        }
        const auto length = quint32(m_p - word);
        bool hasParam = false;
        qint64 value = 0;
        bool negative = false;
        if (m_p + 1 < m_end && *m_p == '-' && m_p[1] >= '0' && m_p[1] <= '9') {
            negative = true;
            ++m_p;
        }
        while (m_p < m_end && *m_p >= '0' && *m_p <= '9') {
            hasParam = true;
            if (value < qint64(1) << 40) // saturate; the digits are still consumed
                value = value * 10 + (*m_p - '0');
            ++m_p;
        }
        if (m_p < m_end && *m_p == ' ')
            ++m_p;
        if (negative)
            value = -value;
        const int param = clampInt(value, INT_MIN, INT_MAX);
        const KeywordEntry *entry =
            length <= quint32(kMaxWordLength) ? keywords().find(hash, word, length) : nullptr;
        controlWord(entry, hasParam, param);
        return;
    }

    ++m_p;
    if (c == '*') {
        m_star = true;
        return;
    }
    m_star = false;
    if (m_state.dest == Dest::Skip)
        return;
    switch (c) {
    case '\'': {
        int value = 0;
        int digits = 0;
        while (digits < 2 && m_p < m_end) {
            const int h = hexValue(*m_p);
            if (h < 0)
                break;
            value = value * 16 + h;
            ++digits;
            ++m_p;
        }
        if (digits == 0)
            return;
        if (m_unicodeSkip > 0) {
            --m_unicodeSkip;
            return;
        }
        if (m_state.dest == Dest::Pict)
            return;
        emitChar(value < 0x80 ? char16_t(value) : byteTable()[value - 0x80]);
        return;
    }
    case '\\':
    case '{':
    case '}':
    case '~':
    case '-':
    case '_':
        if (m_unicodeSkip > 0) {
            --m_unicodeSkip;
            return;
        }
        emitChar(c == '~' ? 0x00A0 : c == '-' ? 0x00AD : c == '_' ? 0x2011 : char16_t(c));
        return;
    case '\r':
    case '\n':
        m_unicodeSkip = 0;
        if (m_state.dest == Dest::Normal)
            endParagraph();
        return;
    case '\t':
        m_unicodeSkip = 0;
        emitChar('\t');
        return;
    default:
        return; // \: \| and unknown symbols
    }
}

void Parser::controlWord(const KeywordEntry *entry, bool hasParam, int param)
{
    const bool starred = m_star;
    m_star = false;
    const Kw kw = entry ? entry->kw : kwUnknown;
    if (m_state.dest == Dest::Skip) {
        if (kw == kwBin)
            skipBinary(hasParam ? param : 0);
        return;
    }
    if (m_unicodeSkip > 0) {
        // A character-producing word stands for one fallback character; any
        // other word ends the fallback.
        if (kw == kwChar || kw == kwTab) {
            --m_unicodeSkip;
            return;
        }
        m_unicodeSkip = 0;
    }

    State &s = m_state;
    switch (kw) {
    // destinations
    case kwSkipDest:
        s.dest = Dest::Skip;
        return;
    case kwTextDest:
        return;
    case kwFonttbl:
        s.dest = Dest::FontTable;
        m_fontPending = false;
        return;
    case kwColortbl:
        s.dest = Dest::ColorTable;
        m_colorHasComponent = false;
        m_red = m_green = m_blue = 0;
        return;
    case kwPict:
        if (s.dest != Dest::Normal) {
            s.dest = Dest::Skip;
            return;
        }
        s.dest = Dest::Pict;
        m_pictData.clear();
        m_pictNibble = -1;
        m_pictType = 0;
        m_pictTooBig = false;
        m_picWGoal = m_picHGoal = 0;
        m_picScaleX = m_picScaleY = 100;
        return;
    case kwPn:
        s.dest = Dest::Pn;
        m_pnLevel = 0;
        m_pnType = kStyleDecimal;
        return;
    case kwNumberText:
        s.dest = s.dest == Dest::Normal ? Dest::NumberText : Dest::Skip;
        return;
    case kwListtable:
        s.dest = Dest::ListTable;
        return;
    case kwList:
        if (s.dest == Dest::ListTable) {
            s.dest = Dest::List;
            m_listLevels.clear();
            m_listId = 0;
        } else if (starred) {
            s.dest = Dest::Skip;
        }
        return;
    case kwListlevel:
        if (s.dest == Dest::List) {
            s.dest = Dest::ListLevel;
            m_levelNfc = 0;
        } else if (starred) {
            s.dest = Dest::Skip;
        }
        return;
    case kwListoverridetable:
        s.dest = Dest::ListOverrideTable;
        return;
    case kwListoverride:
        if (s.dest == Dest::ListOverrideTable) {
            s.dest = Dest::ListOverride;
            m_overrideListId = 0;
            m_overrideLs = 0;
        } else if (starred) {
            s.dest = Dest::Skip;
        }
        return;
    default:
        break;
    }
    if (starred) {
        // \* before a word that is not a destination we read.
        s.dest = Dest::Skip;
        return;
    }

    switch (kw) {
    // document
    case kwAnsi:
        m_ansiCodePage = 1252;
        ++m_fontsVersion;
        return;
    case kwMac:
        m_ansiCodePage = 10000;
        ++m_fontsVersion;
        return;
    case kwPc:
        m_ansiCodePage = 437;
        ++m_fontsVersion;
        return;
    case kwPca:
        m_ansiCodePage = 850;
        ++m_fontsVersion;
        return;
    case kwAnsicpg:
        if (hasParam && codePageTable(param)) {
            m_ansiCodePage = param;
            ++m_fontsVersion;
        }
        return;
    case kwDeff:
        if (hasParam) {
            m_defaultFont = param;
            ++m_fontsVersion;
        }
        return;

    // fonts
    case kwF:
        if (!hasParam)
            return;
        if (s.dest == Dest::FontTable) {
            commitFont();
            m_fontPending = true;
            m_fontDepth = m_stack.size();
            m_fontNumber = param;
            m_fontCharset = -1;
            m_fontCpg = 0;
            m_fontName.clear();
        } else if (!m_fontTableSeen || m_fonts.count(param)) {
            // An undefined font keeps the current one.
            s.font = param;
            m_formatDirty = true;
        }
        return;
    case kwFcharset:
        if (s.dest == Dest::FontTable && hasParam)
            m_fontCharset = param;
        return;
    case kwCpg:
        if (s.dest == Dest::FontTable && hasParam)
            m_fontCpg = param;
        return;

    // colours
    case kwRed:
    case kwGreen:
    case kwBlue:
        if (s.dest == Dest::ColorTable) {
            const int v = clampInt(param, 0, 255);
            (kw == kwRed ? m_red : kw == kwGreen ? m_green : m_blue) = v;
            m_colorHasComponent = true;
        }
        return;

    // characters
    case kwPlain:
        s.font = -1;
        s.halfPoints = 24;
        s.bold = s.italic = s.underline = s.strike = s.hidden = false;
        s.fg = s.bg = 0;
        m_formatDirty = true;
        return;
    case kwB:
        s.bold = !hasParam || param != 0;
        m_formatDirty = true;
        return;
    case kwI:
        s.italic = !hasParam || param != 0;
        m_formatDirty = true;
        return;
    case kwUl:
        s.underline = !hasParam || param != 0;
        m_formatDirty = true;
        return;
    case kwUlnone:
        s.underline = false;
        m_formatDirty = true;
        return;
    case kwStrike:
        s.strike = !hasParam || param != 0;
        m_formatDirty = true;
        return;
    case kwV:
        s.hidden = !hasParam || param != 0;
        m_formatDirty = true;
        return;
    case kwFs:
        if (!hasParam)
            s.halfPoints = 24;
        else if (param > 0)
            s.halfPoints = qMin(param, kMaxHalfPoints);
        m_formatDirty = true;
        return;
    case kwCf:
        s.fg = hasParam ? param : 0;
        m_formatDirty = true;
        return;
    case kwBackground:
        s.bg = hasParam ? param : 0;
        m_formatDirty = true;
        return;

    // paragraphs
    case kwPard:
        s.align = 0;
        s.li = s.fi = s.ri = 0;
        s.pnStyle = 0;
        s.ls = 0;
        s.ilvl = 0;
        return;
    case kwQl:
        s.align = 0;
        return;
    case kwQc:
        s.align = 1;
        return;
    case kwQr:
        s.align = 2;
        return;
    case kwQj:
        s.align = 3;
        return;
    case kwFi:
        s.fi = clampInt(param, -kMaxIndentTwips, kMaxIndentTwips);
        return;
    case kwLi:
        s.li = clampInt(param, -kMaxIndentTwips, kMaxIndentTwips);
        return;
    case kwRi:
        s.ri = clampInt(param, -kMaxIndentTwips, kMaxIndentTwips);
        return;
    case kwLs:
        if (s.dest == Dest::ListOverride)
            m_overrideLs = param;
        else
            s.ls = param;
        return;
    case kwIlvl:
        s.ilvl = clampInt(param, 0, kMaxListLevels - 1);
        return;

    // text
    case kwPar:
        if (s.dest == Dest::Normal)
            endParagraph();
        return;
    case kwRow:
        if (s.dest == Dest::Normal)
            endParagraph();
        return;
    case kwCell:
        if (s.dest == Dest::Normal)
            m_pendingCellTab = true;
        return;
    case kwLine:
        emitChar(QChar::LineSeparator);
        return;
    case kwTab:
        emitChar('\t');
        return;
    case kwChar:
        emitChar(char16_t(entry->value));
        return;
    case kwU:
        if (hasParam)
            emitUnicode(param);
        m_unicodeSkip = s.uc;
        return;
    case kwUc:
        s.uc = quint8(clampInt(hasParam ? param : 1, 0, kMaxUnicodeSkip));
        return;
    case kwBin:
        skipBinary(hasParam ? param : 0);
        return;

    // pictures
    case kwPngblip:
        if (s.dest == Dest::Pict)
            m_pictType = 1;
        return;
    case kwJpegblip:
        if (s.dest == Dest::Pict)
            m_pictType = 2;
        return;
    case kwOtherPicture:
        if (s.dest == Dest::Pict)
            m_pictType = -1;
        return;
    case kwPicwgoal:
        m_picWGoal = clampInt(param, 0, kMaxImageSide * 15);
        return;
    case kwPichgoal:
        m_picHGoal = clampInt(param, 0, kMaxImageSide * 15);
        return;
    case kwPicscalex:
        m_picScaleX = clampInt(param, 1, 10000);
        return;
    case kwPicscaley:
        m_picScaleY = clampInt(param, 1, 10000);
        return;

    // old lists
    case kwPnlvlblt:
        m_pnLevel = 1;
        return;
    case kwPnlvlbody:
        m_pnLevel = 0;
        return;
    case kwPnlvlcont:
        m_pnLevel = 2;
        return;
    case kwPnType:
        m_pnType = entry->value;
        return;

    // list table
    case kwListid:
        if (s.dest == Dest::List)
            m_listId = param;
        else if (s.dest == Dest::ListOverride)
            m_overrideListId = param;
        return;
    case kwLevelnfc:
        if (s.dest == Dest::ListLevel)
            m_levelNfc = param;
        return;

    default:
        return;
    }
}

void Parser::skipBinary(int count)
{
    const qsizetype available = m_end - m_p;
    const qsizetype n = count < 0 ? 0 : qMin<qsizetype>(count, available);
    if (m_state.dest == Dest::Pict && !m_pictTooBig) {
        if (m_pictData.size() + n > kMaxPictureBytes)
            m_pictTooBig = true;
        else
            m_pictData.append(reinterpret_cast<const char *>(m_p), n);
    }
    m_p += n;
}

void Parser::plainText()
{
    // At a byte that is neither a brace, a backslash nor a line end.
    m_star = false;
    if (m_unicodeSkip > 0) {
        --m_unicodeSkip;
        ++m_p;
        return;
    }
    switch (m_state.dest) {
    case Dest::Normal:
    case Dest::NumberText: {
        const Target target = textTarget();
        if (target == NoTarget)
            break;
        flushHighSurrogate();
        if (m_pendingCellTab && target == MainText) {
            m_pendingCellTab = false;
            openRun(target);
            put('\t');
        }
        openRun(target);
        const char16_t *high = table();
        const uchar *p = m_p;
        const uchar *end = m_end;
        while (p < end) {
            const uchar b = *p;
            if (b >= 0x80) {
                put(high[b - 0x80]);
            } else if (b >= 0x20) {
                if (b == '\\' || b == '{' || b == '}')
                    break;
                put(b);
            } else {
                if (b == '\r' || b == '\n')
                    break;
                if (b == '\t')
                    put('\t');
            }
            ++p;
        }
        m_p = p;
        return;
    }
    case Dest::FontTable:
        while (m_p < m_end) {
            const uchar b = *m_p;
            if (b == '\\' || b == '{' || b == '}' || b == '\r' || b == '\n')
                return;
            ++m_p;
            emitChar(b < 0x80 ? char16_t(b) : byteTable()[b - 0x80]);
        }
        return;
    case Dest::ColorTable:
        while (m_p < m_end) {
            const uchar b = *m_p;
            if (b == '\\' || b == '{' || b == '}' || b == '\r' || b == '\n')
                return;
            ++m_p;
            if (b == ';')
                commitColor();
        }
        return;
    case Dest::Pict:
        while (m_p < m_end) {
            const uchar b = *m_p;
            if (b == '\\' || b == '{' || b == '}')
                return;
            ++m_p;
            const int h = hexValue(b);
            if (h < 0 || m_pictTooBig)
                continue;
            if (m_pictNibble < 0) {
                m_pictNibble = h;
            } else {
                if (m_pictData.size() >= kMaxPictureBytes)
                    m_pictTooBig = true;
                else
                    m_pictData.append(char(m_pictNibble * 16 + h));
                m_pictNibble = -1;
            }
        }
        return;
    default:
        break;
    }
    // Text we do not keep.
    while (m_p < m_end) {
        const uchar b = *m_p;
        if (b == '\\' || b == '{' || b == '}')
            return;
        ++m_p;
    }
}

void Parser::flushHighSurrogate()
{
    if (m_highSurrogate) {
        m_highSurrogate = 0;
        emitChar(0xFFFD);
    }
}

void Parser::emitUnicode(int value)
{
    if (value < -32768 || value > 65535)
        return;
    if (value < 0)
        value += 65536;
    const auto c = char16_t(value);
    if (QChar::isHighSurrogate(c)) {
        flushHighSurrogate();
        m_highSurrogate = c;
        return;
    }
    if (QChar::isLowSurrogate(c)) {
        if (!m_highSurrogate) {
            emitChar(0xFFFD);
            return;
        }
        const char16_t high = m_highSurrogate;
        m_highSurrogate = 0;
        const Target target = textTarget();
        if (target != NoTarget) {
            openRun(target);
            put(high);
            put(c);
        } else if (m_state.dest == Dest::FontTable && m_fontName.size() < kMaxFontNameLength) {
            m_fontName.append(QChar(high));
            m_fontName.append(QChar(c));
        }
        return;
    }
    emitChar(c);
}

void Parser::emitChar(char16_t c)
{
    if (m_highSurrogate)
        flushHighSurrogate();
    if (!acceptable(c)) {
        if (!QChar::isSurrogate(c))
            return;
        c = 0xFFFD;
    }
    switch (m_state.dest) {
    case Dest::Normal:
    case Dest::NumberText: {
        const Target target = textTarget();
        if (target == NoTarget)
            return;
        if (m_pendingCellTab && target == MainText) {
            m_pendingCellTab = false;
            openRun(target);
            put('\t');
        }
        openRun(target);
        put(c);
        return;
    }
    case Dest::FontTable:
        if (c == ';')
            commitFont();
        else if (m_fontPending && m_fontName.size() < kMaxFontNameLength)
            m_fontName.append(QChar(c));
        return;
    case Dest::ColorTable:
        if (c == ';')
            commitColor();
        return;
    default:
        return;
    }
}

void Parser::resolveFont()
{
    m_cachedFont = m_state.font;
    m_cachedVersion = m_fontsVersion;
    m_cachedFamily = -1;
    int codePage = 0;
    const auto it = m_fonts.find(m_state.font >= 0 ? m_state.font : m_defaultFont);
    if (it != m_fonts.end()) {
        m_cachedFamily = it->second.family;
        codePage = it->second.codePage;
    }
    const char16_t *t = codePage ? codePageTable(codePage) : nullptr;
    if (!t)
        t = codePageTable(m_ansiCodePage);
    if (!t)
        t = codePageTable(1252);
    m_cachedTable = t;
}

CharKey Parser::currentKey()
{
    if (m_state.font != m_cachedFont || m_fontsVersion != m_cachedVersion)
        resolveFont();
    CharKey k;
    k.family = m_cachedFamily;
    k.halfPoints = m_state.halfPoints;
    k.flags = (m_state.bold ? 1 : 0) | (m_state.italic ? 2 : 0) | (m_state.underline ? 4 : 0)
        | (m_state.strike ? 8 : 0);
    k.fg = colour(m_state.fg);
    k.bg = colour(m_state.bg);
    return k;
}

int Parser::internFamily(const QString &name)
{
    const auto it = m_familyIndex.constFind(name);
    if (it != m_familyIndex.constEnd())
        return it.value();
    const int index = int(m_families.size());
    m_families.push_back(name);
    m_familyIndex.insert(name, index);
    return index;
}

void Parser::openRun(Target target)
{
    if (m_openTarget == target && !m_formatDirty)
        return;
    const CharKey key = currentKey();
    m_formatDirty = false;
    if (m_openTarget == target && key == m_openKey)
        return;
    closeRun();
    int format;
    const auto it = m_charIndex.constFind(key);
    if (it != m_charIndex.constEnd()) {
        format = it.value();
    } else {
        format = int(m_charKeys.size());
        m_charKeys.push_back(key);
        m_charIndex.insert(key, format);
    }
    std::vector<Run> &runs = target == MainText ? m_runs : m_numberRuns;
    const bool sameBlock = target != MainText || runs.size() > m_blockRunStart;
    m_openTarget = target;
    m_openKey = key;
    if (sameBlock && !runs.empty() && runs.back().format == format
        && runs.back().start + runs.back().length == m_textSize)
        return; // continues the previous run
    runs.push_back({format, m_textSize, 0});
}

void Parser::closeRun()
{
    if (m_openTarget == NoTarget)
        return;
    Run &run = (m_openTarget == MainText ? m_runs : m_numberRuns).back();
    run.length = m_textSize - run.start;
    m_openTarget = NoTarget;
}

int Parser::listStyle() const
{
    if (m_state.ls != 0) {
        const auto o = m_overrides.find(m_state.ls);
        if (o != m_overrides.end()) {
            const auto l = m_lists.find(o->second);
            if (l != m_lists.end() && !l->second.empty()) {
                const std::vector<int> &levels = l->second;
                const int nfc = levels[size_t(qMin<int>(m_state.ilvl, int(levels.size()) - 1))];
                switch (nfc) {
                case 1: return kStyleUpperRoman;
                case 2: return kStyleLowerRoman;
                case 3: return kStyleUpperLetter;
                case 4: return kStyleLowerLetter;
                case 23: return kStyleBullet;
                case 255: return 0;
                default: return kStyleDecimal;
                }
            }
        }
    }
    return m_state.pnStyle;
}

void Parser::endParagraph()
{
    flushHighSurrogate();
    closeRun();
    m_pendingCellTab = false;
    const int list = listStyle();
    if (list == 0 && !m_numberRuns.empty()) {
        // The number without a list we understand: keep it as text.
        m_runs.insert(m_runs.begin() + std::ptrdiff_t(m_blockRunStart), m_numberRuns.begin(),
                      m_numberRuns.end());
    }
    m_numberRuns.clear();

    ParaKey pk;
    pk.align = m_state.align;
    pk.li = m_state.li;
    pk.fi = m_state.fi;
    pk.ri = m_state.ri;
    pk.list = list;
    int para;
    const auto it = m_paraIndex.constFind(pk);
    if (it != m_paraIndex.constEnd()) {
        para = it.value();
    } else {
        para = int(m_paraKeys.size());
        m_paraKeys.push_back(pk);
        m_paraIndex.insert(pk, para);
    }
    const CharKey ck = currentKey();
    int chr;
    const auto ci = m_charIndex.constFind(ck);
    if (ci != m_charIndex.constEnd()) {
        chr = ci.value();
    } else {
        chr = int(m_charKeys.size());
        m_charKeys.push_back(ck);
        m_charIndex.insert(ck, chr);
    }
    m_blocks.push_back({para, chr, m_blockRunStart, m_runs.size() - m_blockRunStart});
    m_blockRunStart = m_runs.size();
    ++m_paragraphsEnded;
}

void Parser::finish()
{
    // Groups left open at the end of the data close here, so tables and
    // pictures cut short still count.
    while (m_stack.size() > 1) {
        m_overflow = 0;
        popGroup();
    }
    flushHighSurrogate();
    closeRun();
    const bool lastEmpty =
        m_runs.size() == m_blockRunStart && (m_numberRuns.empty() || listStyle() != 0);
    // The last paragraph mark merges with the document's own final one.
    if (!lastEmpty || m_paragraphsEnded == 0)
        endParagraph();
}

void Parser::commitFont()
{
    if (!m_fontPending)
        return;
    m_fontPending = false;
    if (m_fonts.size() >= size_t(kMaxFonts) && !m_fonts.count(m_fontNumber))
        return;
    FontEntry entry;
    const QString name = m_fontName.trimmed();
    if (!name.isEmpty())
        entry.family = internFamily(name);
    if (m_fontCpg > 0 && codePageTable(m_fontCpg))
        entry.codePage = m_fontCpg;
    else if (m_fontCharset >= 0)
        entry.codePage = codePageOfCharset(m_fontCharset);
    if ((m_fontCharset < 0 || m_fontCharset <= 1) && name.endsWith(QLatin1String(" Cyr")))
        entry.codePage = 1251;
    m_fonts[m_fontNumber] = entry;
    m_fontName.clear();
    ++m_fontsVersion;
}

void Parser::commitColor()
{
    if (m_colors.size() < size_t(kMaxColors)) {
        m_colors.push_back(m_colorHasComponent ? (quint32(m_red) << 16 | quint32(m_green) << 8
                                                  | quint32(m_blue))
                                               : kAutoColor);
    }
    m_colorHasComponent = false;
    m_red = m_green = m_blue = 0;
    m_formatDirty = true;
}

void Parser::finishPicture()
{
    QByteArray data;
    data.swap(m_pictData);
    if (m_pictType <= 0 || m_pictTooBig || data.isEmpty() || m_state.dest != Dest::Normal
        || m_state.hidden || m_pictAttempts >= kMaxImages)
        return;
    ++m_pictAttempts;
    // Trust the data's signature over the declared type.
    const char *format = nullptr;
    if (data.startsWith("\x89PNG"))
        format = "png";
    else if (data.startsWith("\xFF\xD8"))
        format = "jpeg";
    if (!format)
        return;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return;
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > kMaxImagePixels || m_totalImagePixels + pixels > kMaxTotalImagePixels)
        return;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return;
    m_totalImagePixels += pixels;

    Image img;
    img.image = image;
    const double sx = m_picScaleX / 100.0;
    const double sy = m_picScaleY / 100.0;
    // Twips to pixels at 96 dots per inch.
    if (m_picWGoal > 0)
        img.width = m_picWGoal / 15.0 * sx;
    else if (m_picScaleX != 100)
        img.width = image.width() * sx;
    if (m_picHGoal > 0)
        img.height = m_picHGoal / 15.0 * sy;
    else if (m_picScaleY != 100)
        img.height = image.height() * sy;
    img.width = qMin<double>(img.width, kMaxImageSide);
    img.height = qMin<double>(img.height, kMaxImageSide);

    flushHighSurrogate();
    if (m_pendingCellTab) {
        m_pendingCellTab = false;
        openRun(MainText);
        put('\t');
    }
    closeRun();
    m_runs.push_back({-int(m_images.size()) - 1, m_textSize, 0});
    m_images.push_back(std::move(img));
}

void Parser::build(QTextDocument &document)
{
    std::vector<QTextCharFormat> charFormats;
    charFormats.reserve(m_charKeys.size());
    for (const CharKey &k : m_charKeys) {
        QTextCharFormat f;
        if (k.family >= 0)
            f.setFontFamilies(QStringList{m_families[size_t(k.family)]});
        f.setFontPointSize(k.halfPoints / 2.0);
        f.setFontWeight((k.flags & 1) ? QFont::Bold : QFont::Normal);
        f.setFontItalic(k.flags & 2);
        f.setFontUnderline(k.flags & 4);
        f.setFontStrikeOut(k.flags & 8);
        if (k.fg != kAutoColor)
            f.setForeground(QColor(QRgb(k.fg)));
        if (k.bg != kAutoColor)
            f.setBackground(QColor(QRgb(k.bg)));
        charFormats.push_back(f);
    }
    std::vector<QTextBlockFormat> blockFormats;
    blockFormats.reserve(m_paraKeys.size());
    for (const ParaKey &k : m_paraKeys) {
        QTextBlockFormat f;
        static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter,
                                                   Qt::AlignRight, Qt::AlignJustify};
        f.setAlignment(alignments[k.align & 3]);
        paraformat::setIndents(f, {(k.li + k.fi) / 20, -k.fi / 20, k.ri / 20}, k.list != 0);
        blockFormats.push_back(f);
    }

    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    std::vector<QString> imageNames;
    imageNames.reserve(m_images.size());
    for (const Image &img : m_images) {
        const QString name = QStringLiteral("veltrix-image:%1").arg(g_nextImageId.fetch_add(1));
        document.addResource(QTextDocument::ImageResource, QUrl(name), img.image);
        imageNames.push_back(name);
    }

    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    QTextList *list = nullptr;
    int listStyle = 0;
    int listItems = 0;
    qint64 listCost = 0;
    const QString objectChar(QChar::ObjectReplacementCharacter);
    for (size_t b = 0; b < m_blocks.size(); ++b) {
        const Block &block = m_blocks[b];
        if (b == 0) {
            cursor.setBlockFormat(blockFormats[size_t(block.paraFormat)]);
            cursor.setBlockCharFormat(charFormats[size_t(block.charFormat)]);
        } else {
            cursor.insertBlock(blockFormats[size_t(block.paraFormat)],
                               charFormats[size_t(block.charFormat)]);
        }
        const int style = m_paraKeys[size_t(block.paraFormat)].list;
        const int maxItems = listCost < kListBudget ? kLongList : kShortList;
        if (style == 0) {
            list = nullptr;
        } else if (list && style == listStyle && listItems < maxItems) {
            list->add(cursor.block());
            listCost += listItems++;
        } else {
            list = cursor.createList(paraformat::listFormat(paraformat::ListStyle(style)));
            listStyle = style;
            listItems = 1;
        }
        for (size_t r = block.firstRun; r < block.firstRun + block.runCount; ++r) {
            const Run &run = m_runs[r];
            if (run.format < 0) {
                const size_t index = size_t(-run.format - 1);
                QTextImageFormat f;
                f.setName(imageNames[index]);
                if (m_images[index].width > 0)
                    f.setWidth(m_images[index].width);
                if (m_images[index].height > 0)
                    f.setHeight(m_images[index].height);
                cursor.insertText(objectChar, f);
            } else if (run.length > 0) {
                cursor.insertText(QString::fromRawData(m_text.constData() + run.start, run.length),
                                  charFormats[size_t(run.format)]);
            }
        }
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

const uchar *skipLeadingSpace(const uchar *p, const uchar *end)
{
    if (end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        p += 3;
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\f'))
        ++p;
    return p;
}

} // namespace

namespace detail {

// Parses without building a document, for the benchmark; returns the number
// of paragraphs.
int parseOnly(QByteArrayView data)
{
    if (!looksLikeRtf(data))
        return -1;
    const auto *begin = reinterpret_cast<const uchar *>(data.data());
    const uchar *end = begin + data.size();
    Parser parser(skipLeadingSpace(begin, end), end);
    parser.parse();
    return parser.paragraphCount();
}

} // namespace detail

bool looksLikeRtf(QByteArrayView data)
{
    const auto *begin = reinterpret_cast<const uchar *>(data.data());
    const uchar *end = begin + data.size();
    const uchar *p = skipLeadingSpace(begin, end);
    return end - p >= 5 && std::memcmp(p, "{\\rtf", 5) == 0;
}

bool read(QByteArrayView data, QTextDocument &document)
{
    if (!looksLikeRtf(data))
        return false;
    const auto *begin = reinterpret_cast<const uchar *>(data.data());
    const uchar *end = begin + data.size();
    Parser parser(skipLeadingSpace(begin, end), end);
    parser.parse();
    parser.build(document);
    return true;
}

} // namespace rtf
