#include "formats/RtfKeywords.h"

#include "formats/RtfContent.h"
#include "formats/RtfListTable.h"
#include "formats/RtfLoadStatus.h"
#include "formats/RtfPicture.h"
#include "formats/RtfTokenizer.h"

#include <cstring>

namespace rtf::detail {

namespace {

using A = Action;
using G = Group;

constexpr qsizetype kMaxWordLength = 32; // longer words are none of ours

constexpr int kRedShift = 16;
constexpr int kGreenShift = 8;
constexpr int kBlueShift = 0;

// What a skipped destination costs the document (see LoadStatus).
constexpr int kLossHeadersFooters = int(Loss::HeadersFooters);
constexpr int kLossFootnotes = int(Loss::Footnotes);
constexpr int kLossComments = int(Loss::Comments);
constexpr int kLossShapes = int(Loss::Shapes);
constexpr int kLossObjects = int(Loss::Objects);

const Keyword kKeywords[] = {
    // Destinations read for their tables, pictures and list numbers.
    {"fonttbl", G::Destination, A::FontTable, 0}, {"colortbl", G::Destination, A::ColorTable, 0},
    {"pict", G::Destination, A::Picture, 0}, {"pn", G::Destination, A::OldList, 0},
    {"pntext", G::Destination, A::NumberText, 0}, {"listtext", G::Destination, A::NumberText, 0},
    {"listtable", G::Destination, A::ListTable, 0}, {"list", G::Destination, A::List, 0},
    {"listlevel", G::Destination, A::ListLevel, 0},
    // A row of a table inside a cell defines itself after its cells.
    {"nesttableprops", G::Destination, A::NestedRowDefinition, 0},
    {"listoverridetable", G::Destination, A::ListOverrideTable, 0},
    {"listoverride", G::Destination, A::ListOverride, 0},
    // Destinations whose text is document text: field results, shapes' text
    // and pictures.
    {"shppict", G::Destination, A::TextDestination, 0},
    {"fldrslt", G::Destination, A::FieldResult, 0},
    {"result", G::Destination, A::TextDestination, 0},
    {"field", G::Destination, A::Field, 0},
    {"fldinst", G::Destination, A::FieldInstruction, 0},
    {"shptxt", G::Destination, A::TextDestination, 0},
    // Destinations that never hold document text, with or without \*: field
    // instructions, headers, notes, objects, document information...
    {"stylesheet", G::Destination, A::SkippedDestination, 0},
    {"info", G::Destination, A::SkippedDestination, 0},
    {"header", G::Destination, A::SkippedDestination, kLossHeadersFooters},
    {"headerl", G::Destination, A::SkippedDestination, kLossHeadersFooters},
    {"headerr", G::Destination, A::SkippedDestination, kLossHeadersFooters},
    {"headerf", G::Destination, A::SkippedDestination, kLossHeadersFooters},
    {"footer", G::Destination, A::SkippedDestination, kLossHeadersFooters},
    {"footerl", G::Destination, A::SkippedDestination, kLossHeadersFooters},
    {"footerr", G::Destination, A::SkippedDestination, kLossHeadersFooters},
    {"footerf", G::Destination, A::SkippedDestination, kLossHeadersFooters},
    {"footnote", G::Destination, A::SkippedDestination, kLossFootnotes},
    {"annotation", G::Destination, A::SkippedDestination, kLossComments},
    // Shapes: a picture shape's picture is shown where the shape is anchored.
    {"shp", G::Destination, A::Shape, 0}, {"shpinst", G::Destination, A::ShapeInstructions, 0},
    {"sn", G::Destination, A::ShapePropertyName, 0}, {"sv", G::Destination, A::ShapePropertyValue, 0},
    {"shprslt", G::Destination, A::SkippedDestination, 0},
    {"nonshppict", G::Destination, A::SkippedDestination, 0},
    {"objdata", G::Destination, A::SkippedDestination, kLossObjects},
    {"objclass", G::Destination, A::SkippedDestination, 0},
    {"objname", G::Destination, A::SkippedDestination, 0},
    {"xe", G::Destination, A::SkippedDestination, 0},
    {"tc", G::Destination, A::SkippedDestination, 0},
    {"txe", G::Destination, A::SkippedDestination, 0},
    {"rxe", G::Destination, A::SkippedDestination, 0},
    {"template", G::Destination, A::SkippedDestination, 0},
    // Nested tables flattened for readers that know none.
    {"nonesttables", G::Destination, A::SkippedDestination, 0},
    {"revtbl", G::Destination, A::SkippedDestination, 0},
    {"filetbl", G::Destination, A::SkippedDestination, 0},
    {"rsidtbl", G::Destination, A::SkippedDestination, 0},
    {"pntxtb", G::Destination, A::SkippedDestination, 0},
    {"pntxta", G::Destination, A::SkippedDestination, 0},
    {"pnseclvl", G::Destination, A::SkippedDestination, 0},
    {"leveltext", G::Destination, A::SkippedDestination, 0},
    {"levelnumbers", G::Destination, A::SkippedDestination, 0},
    {"listname", G::Destination, A::SkippedDestination, 0},
    {"bkmkstart", G::Destination, A::SkippedDestination, 0},
    {"bkmkend", G::Destination, A::SkippedDestination, 0},
    {"ftnsep", G::Destination, A::SkippedDestination, 0},
    {"ftnsepc", G::Destination, A::SkippedDestination, 0},
    {"ftncn", G::Destination, A::SkippedDestination, 0},
    {"aftnsep", G::Destination, A::SkippedDestination, 0},
    {"aftnsepc", G::Destination, A::SkippedDestination, 0},
    {"aftncn", G::Destination, A::SkippedDestination, 0},
    {"do", G::Destination, A::SkippedDestination, kLossShapes},
    {"private", G::Destination, A::SkippedDestination, 0},
    {"atnid", G::Destination, A::SkippedDestination, 0},
    {"atnauthor", G::Destination, A::SkippedDestination, 0},
    {"atndate", G::Destination, A::SkippedDestination, 0},
    {"pgdsctbl", G::Destination, A::SkippedDestination, 0},
    {"themedata", G::Destination, A::SkippedDestination, 0},
    {"colorschememapping", G::Destination, A::SkippedDestination, 0},
    {"datastore", G::Destination, A::SkippedDestination, 0},
    {"latentstyles", G::Destination, A::SkippedDestination, 0},
    {"generator", G::Destination, A::SkippedDestination, 0},
    {"falt", G::Destination, A::SkippedDestination, 0},
    {"panose", G::Destination, A::SkippedDestination, 0},
    {"fontemb", G::Destination, A::SkippedDestination, 0},
    {"fontfile", G::Destination, A::SkippedDestination, 0},
    {"picprop", G::Destination, A::SkippedDestination, 0},
    {"blipuid", G::Destination, A::SkippedDestination, 0},
    {"listpicture", G::Destination, A::SkippedDestination, 0},
    {"xmlnstbl", G::Destination, A::SkippedDestination, 0},
    {"mmathPr", G::Destination, A::SkippedDestination, 0},
    {"userprops", G::Destination, A::SkippedDestination, 0},
    {"comment", G::Destination, A::SkippedDestination, 0},
    {"author", G::Destination, A::SkippedDestination, 0},
    {"title", G::Destination, A::SkippedDestination, 0},
    {"subject", G::Destination, A::SkippedDestination, 0},
    {"keywords", G::Destination, A::SkippedDestination, 0},
    {"operator", G::Destination, A::SkippedDestination, 0},
    {"doccomm", G::Destination, A::SkippedDestination, 0},

    // The document's character set, as a code page, and default font.
    {"ansi", G::Document, A::CharacterSet, 1252}, {"mac", G::Document, A::CharacterSet, 10000},
    {"pc", G::Document, A::CharacterSet, 437}, {"pca", G::Document, A::CharacterSet, 850},
    {"ansicpg", G::Document, A::AnsiCodePage, 0}, {"deff", G::Document, A::DefaultFont, 0},

    // Fonts and colours.
    {"f", G::Font, A::Font, 0}, {"fcharset", G::Font, A::FontCharset, 0},
    {"cpg", G::Font, A::FontCodePage, 0},
    {"red", G::Colour, A::Component, kRedShift}, {"green", G::Colour, A::Component, kGreenShift},
    {"blue", G::Colour, A::Component, kBlueShift},

    // Character formatting; every kind of underline is an underline.
    {"plain", G::CharacterFormat, A::Plain, 0}, {"b", G::CharacterFormat, A::Bold, 0},
    {"i", G::CharacterFormat, A::Italic, 0}, {"ul", G::CharacterFormat, A::Underline, 0},
    {"uld", G::CharacterFormat, A::Underline, 0}, {"uldash", G::CharacterFormat, A::Underline, 0},
    {"uldashd", G::CharacterFormat, A::Underline, 0},
    {"uldashdd", G::CharacterFormat, A::Underline, 0},
    {"uldb", G::CharacterFormat, A::Underline, 0}, {"ulhwave", G::CharacterFormat, A::Underline, 0},
    {"ulldash", G::CharacterFormat, A::Underline, 0}, {"ulth", G::CharacterFormat, A::Underline, 0},
    {"ulthd", G::CharacterFormat, A::Underline, 0},
    {"ulthdash", G::CharacterFormat, A::Underline, 0},
    {"ulthdashd", G::CharacterFormat, A::Underline, 0},
    {"ulthdashdd", G::CharacterFormat, A::Underline, 0},
    {"ulthldash", G::CharacterFormat, A::Underline, 0},
    {"ululdbwave", G::CharacterFormat, A::Underline, 0},
    {"ulw", G::CharacterFormat, A::Underline, 0}, {"ulwave", G::CharacterFormat, A::Underline, 0},
    {"ulnone", G::CharacterFormat, A::UnderlineNone, 0},
    {"strike", G::CharacterFormat, A::Strike, 0}, {"striked", G::CharacterFormat, A::Strike, 0},
    {"fs", G::CharacterFormat, A::FontSize, 0}, {"cf", G::CharacterFormat, A::Foreground, 0},
    {"cb", G::CharacterFormat, A::Background, 0},
    {"highlight", G::CharacterFormat, A::Background, 0},
    {"chcbpat", G::CharacterFormat, A::Background, 0}, {"v", G::CharacterFormat, A::Hidden, 0},
    {"super", G::CharacterFormat, A::Superscript, 0}, {"sub", G::CharacterFormat, A::Subscript, 0},
    {"nosupersub", G::CharacterFormat, A::NoSuperSub, 0},
    {"up", G::CharacterFormat, A::Raise, 0}, {"dn", G::CharacterFormat, A::Lower, 0},

    // Paragraph formatting.
    {"pard", G::ParagraphFormat, A::ParagraphDefaults, 0},
    {"ql", G::ParagraphFormat, A::Alignment, kAlignLeft},
    {"qc", G::ParagraphFormat, A::Alignment, kAlignCentre},
    {"qr", G::ParagraphFormat, A::Alignment, kAlignRight},
    {"qj", G::ParagraphFormat, A::Alignment, kAlignJustify},
    {"qd", G::ParagraphFormat, A::Alignment, kAlignJustify},
    {"fi", G::ParagraphFormat, A::FirstIndent, 0},
    {"li", G::ParagraphFormat, A::LeftIndent, 0}, {"lin", G::ParagraphFormat, A::LeftIndent, 0},
    {"ri", G::ParagraphFormat, A::RightIndent, 0}, {"rin", G::ParagraphFormat, A::RightIndent, 0},
    {"ls", G::ParagraphFormat, A::ListOverrideNumber, 0},
    {"ilvl", G::ParagraphFormat, A::ListLevelNumber, 0},
    {"pagebb", G::ParagraphFormat, A::PageBreakBefore, 0},
    {"sb", G::ParagraphFormat, A::SpaceBefore, 0}, {"sa", G::ParagraphFormat, A::SpaceAfter, 0},
    {"sl", G::ParagraphFormat, A::LineSpacing, 0},
    {"slmult", G::ParagraphFormat, A::LineMultiple, 0},
    {"tx", G::ParagraphFormat, A::TabPosition, 0},
    {"tqr", G::ParagraphFormat, A::TabKind, kTabRight},
    {"tqc", G::ParagraphFormat, A::TabKind, kTabCentre},
    {"tqdec", G::ParagraphFormat, A::TabKind, kTabDecimal},

    // Breaks and named characters; cells of a table inside a cell become
    // tabs, its rows paragraphs.
    {"par", G::Text, A::Paragraph, 0}, {"sect", G::Text, A::Section, 0},
    {"page", G::Text, A::Page, 0}, {"line", G::Text, A::Line, 0}, {"tab", G::Text, A::Tab, 0},
    {"cell", G::Text, A::Cell, 0}, {"nestcell", G::Text, A::Cell, 1}, {"row", G::Text, A::Row, 0},
    {"nestrow", G::Text, A::Row, 1},
    // Tables: where rows and cells end, which cells merge, how they look.
    {"trowd", G::Table, A::RowDefaults, 0}, {"trleft", G::Table, A::RowLeft, 0},
    {"cellx", G::Table, A::CellEdge, 0}, {"clmgf", G::Table, A::CellMergeAcrossStart, 0},
    {"clmrg", G::Table, A::CellMergedAcross, 0}, {"clvmgf", G::Table, A::CellMergeDownStart, 0},
    {"clvmrg", G::Table, A::CellMergedUp, 0}, {"intbl", G::Table, A::InTable, 0}, {"itap", G::Table, A::NestingLevel, 0},
    {"trgaph", G::Table, A::RowGap, 0}, {"trhdr", G::Table, A::RowHeader, 0},
    {"trql", G::Table, A::RowAlignment, rtf::kRowLeft}, {"trqc", G::Table, A::RowAlignment, rtf::kRowCentre},
    {"trqr", G::Table, A::RowAlignment, rtf::kRowRight},
    {"clbrdrt", G::Table, A::BorderSide, rtf::kTopSide}, {"clbrdrl", G::Table, A::BorderSide, rtf::kLeftSide},
    {"clbrdrb", G::Table, A::BorderSide, rtf::kBottomSide}, {"clbrdrr", G::Table, A::BorderSide, rtf::kRightSide},
    // A paragraph's borders are not shown: what follows them is not a cell's.
    {"brdrt", G::Table, A::BorderSide, -1}, {"brdrl", G::Table, A::BorderSide, -1},
    {"brdrb", G::Table, A::BorderSide, -1}, {"brdrr", G::Table, A::BorderSide, -1},
    {"box", G::Table, A::BorderSide, -1},
    {"brdrs", G::Table, A::BorderLine, 1}, {"brdrth", G::Table, A::BorderLine, 1},
    {"brdrdb", G::Table, A::BorderLine, 1}, {"brdrsh", G::Table, A::BorderLine, 1},
    {"brdrdot", G::Table, A::BorderLine, 1}, {"brdrdash", G::Table, A::BorderLine, 1},
    {"brdrhair", G::Table, A::BorderLine, 1}, {"brdrtriple", G::Table, A::BorderLine, 1},
    {"brdrnone", G::Table, A::BorderLine, 0}, {"brdrnil", G::Table, A::BorderLine, 0},
    {"brdrw", G::Table, A::BorderWidth, 0}, {"brdrcf", G::Table, A::BorderColour, 0},
    {"clcbpat", G::Table, A::CellBackground, 0}, {"clcfpat", G::Table, A::CellPattern, 0},
    {"clshdng", G::Table, A::CellShading, 0},
    {"clvertalt", G::Table, A::CellVertical, rtf::kCellTop},
    {"clvertalc", G::Table, A::CellVertical, rtf::kCellMiddle},
    {"clvertalb", G::Table, A::CellVertical, rtf::kCellBottom},
    {"emdash", G::Text, A::Character, 0x2014}, {"endash", G::Text, A::Character, 0x2013},
    {"emspace", G::Text, A::Character, 0x2003}, {"enspace", G::Text, A::Character, 0x2002},
    {"qmspace", G::Text, A::Character, 0x2005}, {"bullet", G::Text, A::Character, 0x2022},
    {"lquote", G::Text, A::Character, 0x2018}, {"rquote", G::Text, A::Character, 0x2019},
    {"ldblquote", G::Text, A::Character, 0x201C}, {"rdblquote", G::Text, A::Character, 0x201D},
    {"zwj", G::Text, A::Character, 0x200D}, {"zwnj", G::Text, A::Character, 0x200C},
    {"zwbo", G::Text, A::Character, 0x200B}, {"ltrmark", G::Text, A::Character, 0x200E},
    {"rtlmark", G::Text, A::Character, 0x200F},

    // Unicode characters and the length of their fallback.
    {"u", G::Unicode, A::UnicodeCharacter, 0}, {"uc", G::Unicode, A::FallbackLength, 0},

    // Pictures: the kinds we show, the ones we drop, the displayed size.
    {"pngblip", G::Picture, A::PictureType, kPicturePng},
    {"jpegblip", G::Picture, A::PictureType, kPictureJpeg},
    {"emfblip", G::Picture, A::PictureType, kPictureEmf},
    {"wmetafile", G::Picture, A::PictureType, kPictureWmf},
    {"pmmetafile", G::Picture, A::PictureType, kPictureOther},
    {"macpict", G::Picture, A::PictureType, kPictureOther},
    {"dibitmap", G::Picture, A::PictureType, kPictureDib},
    {"wbitmap", G::Picture, A::PictureType, kPictureOther},
    {"picw", G::Picture, A::Width, 0}, {"pich", G::Picture, A::Height, 0},
    {"picwgoal", G::Picture, A::WidthGoal, 0}, {"pichgoal", G::Picture, A::HeightGoal, 0},
    {"picscalex", G::Picture, A::ScaleX, 0}, {"picscaley", G::Picture, A::ScaleY, 0},
    // A picture shape's extent: its picture's displayed size when the picture gives none.
    {"shpleft", G::Picture, A::ShapeLeft, 0}, {"shptop", G::Picture, A::ShapeTop, 0},
    {"shpright", G::Picture, A::ShapeRight, 0}, {"shpbottom", G::Picture, A::ShapeBottom, 0},

    // Old lists: the level and the numbering of a {\pn} group.
    {"pnlvlblt", G::OldList, A::OldListLevel, kPnBullet},
    {"pnlvlbody", G::OldList, A::OldListLevel, kPnBody},
    {"pnlvl", G::OldList, A::OldListOutlineLevel, 0},
    {"pnstart", G::OldList, A::OldListStart, 0},
    {"pnlvlcont", G::OldList, A::OldListLevel, kPnContinuation},
    {"pndec", G::OldList, A::OldListStyle, kStyleDecimal},
    {"pnord", G::OldList, A::OldListStyle, kStyleDecimal},
    {"pncard", G::OldList, A::OldListStyle, kStyleDecimal},
    {"pnordt", G::OldList, A::OldListStyle, kStyleDecimal},
    {"pnlcltr", G::OldList, A::OldListStyle, kStyleLowerLetter},
    {"pnucltr", G::OldList, A::OldListStyle, kStyleUpperLetter},
    {"pnlcrm", G::OldList, A::OldListStyle, kStyleLowerRoman},
    {"pnucrm", G::OldList, A::OldListStyle, kStyleUpperRoman},

    // The list table and its overrides.
    {"listid", G::ListTable, A::ListId, 0}, {"levelnfc", G::ListTable, A::LevelNumberFormat, 0},
    {"levelnfcn", G::ListTable, A::LevelNumberFormat, 0},
    {"levelstartat", G::ListTable, A::LevelStart, 0},
};

// Open addressing over the tokenizer's hash of the letters, so a control
// word costs one probe in the common case.
class KeywordTable
{
public:
    static constexpr quint32 kSize = 1024; // power of two, well above the keyword count

    KeywordTable()
    {
        for (const Keyword &keyword : kKeywords) {
            const auto length = quint32(std::strlen(keyword.name));
            quint32 hash = kWordHashSeed;
            for (quint32 i = 0; i < length; ++i)
                hash = wordHashStep(hash, uchar(keyword.name[i]));
            quint32 slot = hash & (kSize - 1);
            while (m_slots[slot])
                slot = (slot + 1) & (kSize - 1);
            m_slots[slot] = &keyword;
            m_lengths[slot] = length;
        }
    }

    const Keyword *find(quint32 hash, const uchar *letters, quint32 length) const
    {
        quint32 slot = hash & (kSize - 1);
        while (const Keyword *keyword = m_slots[slot]) {
            if (m_lengths[slot] == length && std::memcmp(keyword->name, letters, length) == 0)
                return keyword;
            slot = (slot + 1) & (kSize - 1);
        }
        return nullptr;
    }

private:
    const Keyword *m_slots[kSize] = {};
    quint32 m_lengths[kSize] = {};
};

} // namespace

const Keyword *findKeyword(quint32 hash, const uchar *letters, qsizetype length)
{
    static const KeywordTable table;
    if (length > kMaxWordLength)
        return nullptr;
    return table.find(hash, letters, quint32(length));
}

} // namespace rtf::detail
