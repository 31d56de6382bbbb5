// The parser's handlers for control words, one per group of RtfKeywords.h.

#include "formats/RtfParser.h"

#include "formats/RtfCodePages.h"

#include <algorithm>

namespace rtf::detail {

namespace {

constexpr int kMaxIndentTwips = 31680; // 22 inches, the rich edit control's page limit
constexpr int kMaxHalfPoints = 3276;   // 1638 points, the largest size the control takes
constexpr int kMaxUnicodeSkip = 64;
constexpr int kMaxSpacingTwips = 31680;
constexpr int kDefaultRaiseHalfPoints = 6; // \up and \dn without a number

// A switch without a number, such as \b, turns on; \b0 turns off.
bool switchedOn(const Token &word)
{
    return !word.hasParam || word.param != 0;
}

} // namespace

void Parser::destination(const Keyword &keyword, bool starred)
{
    State &s = m_state;
    switch (keyword.action) {
    case Action::SkippedDestination:
        if (s.dest == Dest::Normal)
            m_status.add(Loss(keyword.value));
        s.dest = Dest::Skip;
        keepIfInHeader(starred, QByteArrayView(keyword.name));
        return;
    case Action::FontTable:
        s.dest = Dest::FontTable;
        m_fonts.startTable();
        return;
    case Action::ColorTable:
        s.dest = Dest::ColorTable;
        m_colors.startTable();
        return;
    case Action::Picture:
        if (s.dest != Dest::Normal && s.dest != Dest::ShapePicture) {
            s.dest = Dest::Skip;
            return;
        }
        m_picture.start();
        if (s.dest == Dest::ShapePicture) {
            // The shape's extent, unless the picture gives its own size.
            m_picture.setWidthGoal(m_shapeBox.right - m_shapeBox.left);
            m_picture.setHeightGoal(m_shapeBox.bottom - m_shapeBox.top);
        }
        s.dest = Dest::Pict;
        return;
    case Action::OldList:
        s.dest = Dest::Pn;
        m_lists.startOldList();
        return;
    case Action::NumberText:
        s.dest = s.dest == Dest::Normal ? Dest::NumberText : Dest::Skip;
        return;
    case Action::ListTable:
        s.dest = Dest::ListTable;
        return;
    case Action::ListOverrideTable:
        s.dest = Dest::ListOverrideTable;
        return;
    case Action::List:
        if (s.dest == Dest::ListTable) {
            s.dest = Dest::List;
            m_lists.startList();
        } else if (starred) {
            s.dest = Dest::Skip;
        }
        return;
    case Action::ListLevel:
        if (s.dest == Dest::List) {
            s.dest = Dest::ListLevel;
            m_lists.startLevel();
        } else if (starred) {
            s.dest = Dest::Skip;
        }
        return;
    case Action::ListOverride:
        if (s.dest == Dest::ListOverrideTable) {
            s.dest = Dest::ListOverride;
            m_lists.startOverride();
        } else if (starred) {
            s.dest = Dest::Skip;
        }
        return;
    case Action::Field:
        m_fieldLink = -1;
        return;
    case Action::NestedRowDefinition:
        if (s.dest == Dest::Normal)
            s.nestedRow = true;
        else
            s.dest = Dest::Skip;
        return;
    case Action::FieldInstruction:
        if (s.dest == Dest::Normal) {
            s.dest = Dest::FieldInstruction;
            m_fieldInstruction.clear();
        } else {
            s.dest = Dest::Skip;
        }
        return;
    case Action::FieldResult:
        if (s.dest == Dest::Normal && m_fieldLink >= 0) {
            s.link = m_fieldLink;
            m_formatDirty = true;
        }
        return;
    case Action::Shape:
    case Action::ShapeInstructions:
    case Action::ShapePropertyName:
    case Action::ShapePropertyValue:
        shapeDestination(keyword.action);
        return;
    default:
        return; // TextDestination: the text is read where it stands
    }
}

void Parser::shapeDestination(Action action)
{
    State &s = m_state;
    switch (action) {
    case Action::Shape:
        if (s.dest == Dest::Normal) {
            m_shapePictureShown = false;
            m_shapeBox = ShapeBox();
            s.dest = Dest::Shape;
        } else if (s.dest != Dest::Shape) {
            s.dest = Dest::Skip;
        }
        return;
    case Action::ShapeInstructions:
        if (s.dest != Dest::Shape)
            s.dest = Dest::Skip;
        return;
    case Action::ShapePropertyName:
        if (s.dest == Dest::Shape) {
            s.dest = Dest::ShapeName;
            m_shapeProperty.clear();
        }
        return;
    case Action::ShapePropertyValue:
        if (s.dest == Dest::Shape && m_shapeProperty == QLatin1String("pib") && !m_shapePictureShown)
            s.dest = Dest::ShapePicture;
        return;
    default:
        return;
    }
}

void Parser::documentSetting(const Keyword &keyword, const Token &word)
{
    switch (keyword.action) {
    case Action::CharacterSet:
        m_fonts.setDocumentCodePage(keyword.value);
        return;
    case Action::AnsiCodePage:
        if (word.hasParam && codePageTable(word.param))
            m_fonts.setDocumentCodePage(word.param);
        return;
    case Action::DefaultFont:
        if (word.hasParam)
            m_fonts.setDefaultFont(word.param);
        return;
    default:
        return;
    }
}

void Parser::font(const Keyword &keyword, const Token &word)
{
    if (!word.hasParam)
        return;
    const bool inTable = m_state.dest == Dest::FontTable;
    switch (keyword.action) {
    case Action::Font:
        if (inTable) {
            m_fonts.startEntry(word.param, m_stack.size());
        } else if (m_fonts.accepts(word.param)) {
            m_state.font = word.param;
            m_formatDirty = true;
        }
        return;
    case Action::FontCharset:
        if (inTable)
            m_fonts.setEntryCharset(word.param);
        return;
    case Action::FontCodePage:
        if (inTable)
            m_fonts.setEntryCodePage(word.param);
        return;
    default:
        return;
    }
}

void Parser::colour(const Keyword &keyword, const Token &word)
{
    if (m_state.dest == Dest::ColorTable)
        m_colors.setComponent(keyword.value, word.param);
}

void Parser::characterFormat(const Keyword &keyword, const Token &word)
{
    State &s = m_state;
    m_formatDirty = true;
    switch (keyword.action) {
    case Action::Plain:
        s.font = -1;
        s.halfPoints = kDefaultHalfPoints;
        s.bold = s.italic = s.underline = s.strike = s.hidden = false;
        s.superscript = s.subscript = false;
        s.raise = 0;
        s.fg = s.bg = 0;
        return;
    case Action::Superscript:
        s.superscript = switchedOn(word);
        s.subscript = false;
        return;
    case Action::Subscript:
        s.subscript = switchedOn(word);
        s.superscript = false;
        return;
    case Action::NoSuperSub:
        s.superscript = s.subscript = false;
        return;
    case Action::Raise:
    case Action::Lower: {
        const int halfPoints =
            std::clamp(word.hasParam ? word.param : kDefaultRaiseHalfPoints, 0, kMaxHalfPoints);
        s.raise = keyword.action == Action::Raise ? halfPoints : -halfPoints;
        return;
    }
    case Action::Bold:
        s.bold = switchedOn(word);
        return;
    case Action::Italic:
        s.italic = switchedOn(word);
        return;
    case Action::Underline:
        s.underline = switchedOn(word);
        return;
    case Action::UnderlineNone:
        s.underline = false;
        return;
    case Action::Strike:
        s.strike = switchedOn(word);
        return;
    case Action::Hidden:
        s.hidden = switchedOn(word);
        return;
    case Action::FontSize:
        if (!word.hasParam)
            s.halfPoints = kDefaultHalfPoints;
        else if (word.param > 0)
            s.halfPoints = qMin(word.param, kMaxHalfPoints);
        return;
    case Action::Foreground:
        s.fg = word.hasParam ? word.param : 0;
        return;
    case Action::Background:
        s.bg = word.hasParam ? word.param : 0;
        return;
    default:
        return;
    }
}

void Parser::paragraphFormat(const Keyword &keyword, const Token &word)
{
    State &s = m_state;
    switch (keyword.action) {
    case Action::ParagraphDefaults:
        s.inTable = false;
        s.nesting = 0;
        s.align = kAlignLeft;
        s.li = s.fi = s.ri = 0;
        s.pn = ListRef();
        s.ls = 0;
        s.ilvl = 0;
        s.pageBreakBefore = false;
        s.sb = s.sa = s.sl = 0;
        s.slmult = false;
        s.tabs = 0;
        s.tabKind = kTabLeft;
        return;
    case Action::SpaceBefore:
        s.sb = std::clamp(word.param, 0, kMaxSpacingTwips);
        return;
    case Action::SpaceAfter:
        s.sa = std::clamp(word.param, 0, kMaxSpacingTwips);
        return;
    case Action::LineSpacing:
        s.sl = std::clamp(word.param, -kMaxSpacingTwips, kMaxSpacingTwips);
        return;
    case Action::LineMultiple:
        s.slmult = switchedOn(word);
        return;
    case Action::TabKind:
        s.tabKind = quint8(keyword.value);
        return;
    case Action::TabPosition:
        if (s.dest == Dest::Normal) {
            s.tabs = m_content.addTabStop(
                s.tabs, {std::clamp(word.param, 0, kMaxIndentTwips), TabKind(s.tabKind)});
        }
        s.tabKind = kTabLeft;
        return;
    case Action::PageBreakBefore:
        s.pageBreakBefore = switchedOn(word);
        return;
    case Action::Alignment:
        s.align = quint8(keyword.value);
        return;
    case Action::FirstIndent:
        s.fi = std::clamp(word.param, -kMaxIndentTwips, kMaxIndentTwips);
        return;
    case Action::LeftIndent:
        s.li = std::clamp(word.param, -kMaxIndentTwips, kMaxIndentTwips);
        return;
    case Action::RightIndent:
        s.ri = std::clamp(word.param, -kMaxIndentTwips, kMaxIndentTwips);
        return;
    case Action::ListOverrideNumber:
        if (s.dest == Dest::ListOverride)
            m_lists.setOverrideNumber(word.param);
        else
            s.ls = word.param;
        return;
    case Action::ListLevelNumber:
        s.ilvl = std::clamp(word.param, 0, kMaxListLevels - 1);
        return;
    default:
        return;
    }
}

void Parser::breakOrCharacter(const Keyword &keyword)
{
    switch (keyword.action) {
    case Action::Paragraph:
        if (m_state.dest == Dest::NumberText) {
            // AbiWord writes whole paragraphs inside \listtext: up to the \par
            // it was the paragraph's text, and so is the rest of the group.
            m_content.numberTextIsText();
            m_state.dest = Dest::Normal;
        }
        // Text of the next cell may start with a paragraph end.
        if (m_state.dest == Dest::Normal) {
            putCellTabs(m_pendingCellTabs);
            endParagraph();
            if (!m_state.inTable)
                tableEnded();
        }
        return;
    case Action::Row:
        if (m_state.dest != Dest::Normal)
            return;
        if (keyword.value == 0) {
            tableRowEnded();
        } else if (m_state.nesting <= kInnerNesting) {
            innerRowEnded();
        } else {
            // A row of a table deeper inside: one tab between its cells, none
            // after the last, and a paragraph of the cell it stands in.
            putCellTabs(m_pendingCellTabs - 1);
            endParagraph();
            m_status.add(Loss::TableRows);
        }
        return;
    case Action::Cell:
        if (m_state.dest != Dest::Normal)
            return;
        if (keyword.value == 0) {
            endParagraph(true);
            ++m_rowCells;
        } else if (m_state.nesting <= kInnerNesting) {
            endParagraph(true, true);
            ++m_innerRowCells;
        } else {
            ++m_pendingCellTabs;
        }
        return;
    case Action::Section:
        // A section break ends the paragraph it stands in, if any; after a
        // \par it ends nothing more.
        if (m_state.dest == Dest::Normal)
            endParagraphIfAny();
        return;
    case Action::Page:
        if (m_state.dest == Dest::Normal) {
            endParagraphIfAny();
            m_pendingPageBreak = true;
        }
        return;
    case Action::Line:
        emitChar(QChar::LineSeparator);
        return;
    case Action::Tab:
        emitChar('\t');
        return;
    case Action::Character:
        emitChar(char16_t(keyword.value));
        return;
    default:
        return;
    }
}

void Parser::unicode(const Keyword &keyword, const Token &word)
{
    if (keyword.action == Action::UnicodeCharacter) {
        if (word.hasParam)
            emitUnicode(word.param);
        m_unicodeSkip = m_state.uc;
    } else if (keyword.action == Action::FallbackLength) {
        m_state.uc = quint8(std::clamp(word.hasParam ? word.param : 1, 0, kMaxUnicodeSkip));
    }
}

void Parser::picture(const Keyword &keyword, const Token &word)
{
    // The size words count wherever they stand: each picture starts afresh.
    switch (keyword.action) {
    case Action::PictureType:
        if (m_state.dest == Dest::Pict)
            m_picture.setType(keyword.value, word.hasParam ? word.param : 0);
        return;
    case Action::Width:
        m_picture.setWidth(word.param);
        return;
    case Action::Height:
        m_picture.setHeight(word.param);
        return;
    case Action::WidthGoal:
        m_picture.setWidthGoal(word.param);
        return;
    case Action::HeightGoal:
        m_picture.setHeightGoal(word.param);
        return;
    case Action::ScaleX:
        m_picture.setScaleX(word.param);
        return;
    case Action::ScaleY:
        m_picture.setScaleY(word.param);
        return;
    case Action::ShapeLeft:
        m_shapeBox.left = word.param;
        return;
    case Action::ShapeTop:
        m_shapeBox.top = word.param;
        return;
    case Action::ShapeRight:
        m_shapeBox.right = word.param;
        return;
    case Action::ShapeBottom:
        m_shapeBox.bottom = word.param;
        return;
    default:
        return;
    }
}

void Parser::oldList(const Keyword &keyword, const Token &word)
{
    switch (keyword.action) {
    case Action::OldListLevel:
        m_lists.setOldListLevel(keyword.value);
        return;
    case Action::OldListOutlineLevel:
        if (word.hasParam)
            m_lists.setOldListLevel(kPnOutline + std::clamp(word.param, 1, kMaxListLevels) - 1);
        return;
    case Action::OldListStyle:
        m_lists.setOldListStyle(keyword.value);
        return;
    case Action::OldListStart:
        m_lists.setOldListStart(word.param);
        return;
    default:
        return;
    }
}

void Parser::listTable(const Keyword &keyword, const Token &word)
{
    if (keyword.action == Action::ListId) {
        if (m_state.dest == Dest::List)
            m_lists.setListId(word.param);
        else if (m_state.dest == Dest::ListOverride)
            m_lists.setOverrideListId(word.param);
    } else if (keyword.action == Action::LevelNumberFormat) {
        if (m_state.dest == Dest::ListLevel)
            m_lists.setLevelFormat(word.param);
    } else if (keyword.action == Action::LevelStart) {
        if (m_state.dest == Dest::ListLevel)
            m_lists.setLevelStart(word.param);
    }
}

void Parser::table(const Keyword &keyword, const Token &word)
{
    if (m_state.dest != Dest::Normal)
        return;
    switch (keyword.action) {
    case Action::RowDefaults: tables().rowDefaults(); break;
    case Action::RowLeft: tables().rowLeft(word.param); break;
    case Action::CellEdge: tables().cellEdge(word.param); break;
    case Action::InTable: m_state.inTable = true; break;
    case Action::NestingLevel:
        m_state.nesting = quint8(std::clamp(word.param, 0, int(kDeepestNesting)));
        m_state.inTable = m_state.inTable || m_state.nesting > 0;
        break;
    case Action::RowGap: tables().rowGap(word.param); break;
    case Action::RowHeader: tables().rowHeader(); break;
    case Action::RowAlignment: tables().rowAlignment(keyword.value); break;
    case Action::BorderSide: tables().borderSide(keyword.value); break;
    case Action::BorderLine:
        tables().borderLine(keyword.value != 0);
        if (tables().keepsBorderWords())
            tables().borderWord(wordText(word));
        break;
    case Action::BorderWidth:
        tables().borderWidth(word.param);
        if (tables().keepsBorderWords())
            tables().borderWord(wordText(word));
        break;
    case Action::BorderColour: tables().borderColour(m_colors.colour(word.param)); break;
    case Action::CellBackground: tables().cellBackground(m_colors.colour(word.param)); break;
    case Action::CellVertical: tables().cellVertical(keyword.value); break;
    case Action::CellPattern: tables().cellPattern(m_colors.colour(word.param)); break;
    case Action::CellShading: tables().cellShading(word.param); break;
    default: tables().cellFlag(keyword.action); break;
    }
}

} // namespace rtf::detail
