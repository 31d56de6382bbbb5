#include "formats/RtfParser.h"

#include "formats/RtfFields.h"

namespace rtf::detail {

namespace {

constexpr size_t kMaxSavedDepth = 1024; // deeper groups are counted, not saved
constexpr size_t kExpectedDepth = 64;
constexpr size_t kHeaderDepth = 2;                 // a group directly inside the document's
constexpr qsizetype kMaxKeptBytes = 64 * 1024 * 1024; // of header groups kept as read
constexpr qsizetype kMaxFieldInstruction = 4096; // characters kept of a field's instruction
constexpr qsizetype kMaxShapePropertyName = 32;  // longer names are none we read

// A character-producing word stands for one fallback character of a \u;
// any other word ends the fallback.
bool isFallbackCharacter(const Keyword *keyword)
{
    return keyword && keyword->group == Group::Text
        && (keyword->action == Action::Character || keyword->action == Action::Tab);
}

bool inShape(Dest dest)
{
    return dest == Dest::Shape || dest == Dest::ShapeName || dest == Dest::ShapePicture;
}

bool acceptable(char16_t c)
{
    if (c < 0x20)
        return c == '\t';
    // Characters that QTextDocument reads as its own structure.
    return c != 0x2029 && c != 0xFDD0 && c != 0xFDD1 && c != 0xFFFC && c != 0xFFFE && c != 0xFFFF
        && !QChar::isSurrogate(c);
}

// LibreOffice's field around a picture shape: its result is all it shows.
bool shapeField(const QString &instruction)
{
    return instruction.trimmed().compare(QLatin1String("SHAPE"), Qt::CaseInsensitive) == 0;
}

} // namespace

Parser::Parser(const uchar *begin, const uchar *end, Extent extent)
    : m_tokens(begin, end), m_extent(extent), m_content(qsizetype(end - begin))
{
    m_stack.reserve(kExpectedDepth);
}

void Parser::parse()
{
    while (!m_done) {
        const Token token = m_tokens.next();
        switch (token.type) {
        case TokenType::End:
            m_done = true;
            break;
        case TokenType::GroupOpen:
            openGroup();
            break;
        case TokenType::GroupClose:
            closeGroup();
            break;
        case TokenType::ControlWord:
            controlWord(token);
            break;
        case TokenType::ControlSymbol:
            controlSymbol(token.byte);
            break;
        case TokenType::HexByte:
            hexByte(token.byte);
            break;
        case TokenType::Text:
            text(token);
            break;
        case TokenType::Binary:
            binary(token);
            break;
        }
        if (token.type != TokenType::GroupOpen && !(token.type == TokenType::ControlSymbol && token.byte == '*'))
            m_state.started = true;
    }
    finish();
}

void Parser::openGroup()
{
    m_unicodeSkip = 0;
    m_star = false;
    if (m_stack.size() >= kMaxSavedDepth) {
        ++m_overflow;
        return;
    }
    m_state.started = true;
    m_stack.push_back(m_state);
    m_state.openedAt = m_tokens.position() - 1;
    m_state.started = false;
}

void Parser::closeGroup()
{
    m_unicodeSkip = 0;
    m_star = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    // The root group is never popped. Extra closing braces are ignored
    // unless only braces and white space follow: then the document has ended.
    if (m_stack.size() <= 1) {
        if (m_tokens.onlyClosingLeft())
            m_done = true;
        return;
    }
    const State closed = m_state;
    m_state = m_stack.back();
    m_stack.pop_back();
    if (closed.kept && !m_state.kept && !m_closingAtEnd)
        keepGroup(closed.openedAt);
    m_formatDirty = true;
    m_fonts.groupClosed(m_stack.size());
    if (closed.dest != m_state.dest)
        closeDestination(closed);
}

// A group of the header that the document does not show (the document's
// information, a word processor's tables and settings) is kept as read, to be
// written back. The generator is not: the writer names itself. Only the
// group's first word decides: what the group held before a later \* has
// been read, and kept as well it would be read twice.
void Parser::keepIfInHeader(bool starred, QByteArrayView word)
{
    if (m_extent != Extent::Document || m_stack.size() != kHeaderDepth || m_state.kept || m_state.started
        || m_content.paragraphCount() != 0 || !m_content.paragraphEmpty())
        return;
    if ((starred && word != "generator") || (!starred && word == "info"))
        m_state.kept = true;
}

void Parser::keepGroup(const uchar *openedAt)
{
    const qsizetype bytes = m_tokens.position() - openedAt;
    if (m_keptBytes + bytes > kMaxKeptBytes)
        return;
    m_keptBytes += bytes;
    m_keptGroups.append(QByteArray(reinterpret_cast<const char *>(openedAt), bytes));
}

void Parser::closeDestination(const State &closed)
{
    switch (closed.dest) {
    case Dest::FontTable:
        m_fonts.endTable();
        break;
    case Dest::ColorTable:
        m_colors.endTable();
        break;
    case Dest::Pict:
        finishPicture();
        break;
    case Dest::Pn:
        m_state.pn = m_lists.oldList();
        break;
    case Dest::ListLevel:
        m_lists.endLevel();
        break;
    case Dest::List:
        m_lists.endList();
        break;
    case Dest::ListOverride:
        m_lists.endOverride();
        break;
    case Dest::FieldInstruction:
        finishFieldInstruction();
        break;
    case Dest::Shape:
        if (m_state.dest == Dest::Normal && !m_shapePictureShown)
            m_status.add(Loss::Shapes);
        break;
    default:
        break;
    }
}

void Parser::controlWord(const Token &token)
{
    const bool starred = m_star;
    m_star = false;
    if (m_state.dest == Dest::Skip)
        return;
    const Keyword *keyword = findKeyword(token.hash, token.begin, token.end - token.begin);
    if (m_unicodeSkip > 0) {
        if (isFallbackCharacter(keyword)) {
            --m_unicodeSkip;
            return;
        }
        m_unicodeSkip = 0;
    }
    if (keyword && keyword->group == Group::Destination) {
        destination(*keyword, starred);
        return;
    }
    if (starred) {
        // \* before a word that is not a destination we read.
        m_state.dest = Dest::Skip;
        keepIfInHeader(true, QByteArrayView(token.begin, token.end));
        return;
    }
    if (!keyword && m_state.dest == Dest::Normal && TableCollector::isTableWord(token.bytes()))
        tables().unknownWord(token.bytes(), wordText(token));
    if (!keyword || (inShape(m_state.dest) && keyword->group != Group::Picture))
        return; // a shape's words say nothing about the text

    switch (keyword->group) {
    case Group::Destination: break; // above
    case Group::Document: documentSetting(*keyword, token); break;
    case Group::Font: font(*keyword, token); break;
    case Group::Colour: colour(*keyword, token); break;
    case Group::CharacterFormat: characterFormat(*keyword, token); break;
    case Group::ParagraphFormat: paragraphFormat(*keyword, token); break;
    case Group::Text: breakOrCharacter(*keyword); break;
    case Group::Unicode: unicode(*keyword, token); break;
    case Group::Picture: picture(*keyword, token); break;
    case Group::OldList: oldList(*keyword, token); break;
    case Group::ListTable: listTable(*keyword, token); break;
    case Group::Table: table(*keyword, token); break;
    }
}

void Parser::controlSymbol(uchar c)
{
    if (c == '*') {
        m_star = true;
        return;
    }
    m_star = false;
    if (m_state.dest == Dest::Skip)
        return;
    switch (c) {
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
        return; // \: \| \' without digits, and unknown symbols
    }
}

void Parser::hexByte(uchar value)
{
    m_star = false;
    // Most \'hh are characters of the document's text.
    if (m_state.dest == Dest::Normal && !m_state.hidden && m_unicodeSkip == 0 && !m_highSurrogate) {
        const char16_t c = value < 0x80 ? char16_t(value) : m_fonts.byteTable(m_state.font)[value - 0x80];
        if (acceptable(c)) {
            beginText(Target::MainText);
            m_content.put(c);
        }
        return;
    }
    if (m_state.dest == Dest::Skip)
        return;
    if (m_unicodeSkip > 0) {
        --m_unicodeSkip;
        return;
    }
    if (m_state.dest == Dest::Pict)
        return;
    emitChar(value < 0x80 ? char16_t(value) : byteTable()[value - 0x80]);
}

void Parser::text(const Token &token)
{
    m_star = false;
    const uchar *p = token.begin;
    const uchar *end = token.end;
    // A \u's fallback is counted in bytes.
    if (m_unicodeSkip > 0) {
        const qsizetype skipped = qMin<qsizetype>(m_unicodeSkip, end - p);
        m_unicodeSkip -= int(skipped);
        p += skipped;
    }
    switch (m_state.dest) {
    case Dest::Normal:
    case Dest::NumberText:
        if (p < end)
            documentText(p, end);
        return;
    case Dest::FontTable:
        for (; p < end; ++p)
            emitChar(*p < 0x80 ? char16_t(*p) : byteTable()[*p - 0x80]);
        return;
    case Dest::ColorTable:
        for (; p < end; ++p) {
            if (*p == ';')
                commitColor();
        }
        return;
    case Dest::Pict:
        m_picture.appendHex(p, end);
        return;
    case Dest::FieldInstruction:
        for (; p < end; ++p)
            emitChar(*p < 0x80 ? char16_t(*p) : byteTable()[*p - 0x80]);
        return;
    case Dest::ShapeName:
        for (; p < end && m_shapeProperty.size() < kMaxShapePropertyName; ++p)
            m_shapeProperty.append(QLatin1Char(char(*p)));
        return;
    default:
        return; // text we do not keep
    }
}

void Parser::binary(const Token &token)
{
    const bool starred = m_star;
    m_star = false;
    if (m_state.dest == Dest::Skip)
        return;
    m_unicodeSkip = 0;
    if (starred)
        m_state.dest = Dest::Skip;
    else if (m_state.dest == Dest::Pict)
        m_picture.appendBinary(token.begin, token.end);
}

void Parser::finish()
{
    // Groups left open at the end of the data close here, so tables and
    // pictures cut short still count.
    m_closingAtEnd = true;
    while (m_stack.size() > 1) {
        m_overflow = 0;
        closeGroup();
    }
    flushHighSurrogate();
    m_content.closeRun();
    const bool lastEmpty =
        m_content.paragraphEmpty() && (!m_content.hasNumberText() || listRef().style != kStyleNone);
    // A document's last paragraph mark merges with its own final one.
    if (!lastEmpty || m_content.paragraphCount() == 0 || m_extent == Extent::Fragment)
        endParagraph();
}

void Parser::documentText(const uchar *begin, const uchar *end)
{
    const Target target = textTarget();
    if (target == Target::None)
        return;
    flushHighSurrogate();
    const char16_t *high = m_fonts.byteTable(m_state.font);
    if (target == Target::Hidden) {
        for (const uchar *p = begin; p < end; ++p) {
            if (*p >= 0x20 || *p == '\t')
                m_hiddenText.append(QChar(*p >= 0x80 ? high[*p - 0x80] : char16_t(*p)));
        }
        return;
    }
    beginText(target);
    for (const uchar *p = begin; p < end; ++p) {
        const uchar b = *p;
        if (b >= 0x80)
            m_content.put(high[b - 0x80]);
        else if (b >= 0x20 || b == '\t')
            m_content.put(b);
    }
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
        if (target == Target::None)
            return;
        beginText(target);
        put(target, c);
        return;
    }
    case Dest::FontTable:
        if (c == ';')
            m_fonts.commitEntry();
        else
            m_fonts.appendToName(c);
        return;
    case Dest::ColorTable:
        if (c == ';')
            commitColor();
        return;
    case Dest::FieldInstruction:
        if (m_fieldInstruction.size() < kMaxFieldInstruction)
            m_fieldInstruction.append(QChar(c));
        return;
    default:
        return;
    }
}

void Parser::emitUnicode(int value)
{
    if (value < -32768 || value > 65535)
        return;
    if (value < 0)
        value += 65536; // RTF writes characters above 0x7FFF as negative numbers
    const auto c = char16_t(value);
    if (QChar::isHighSurrogate(c)) {
        flushHighSurrogate();
        m_highSurrogate = c;
        return;
    }
    if (!QChar::isLowSurrogate(c)) {
        emitChar(c);
        return;
    }
    if (!m_highSurrogate) {
        emitChar(0xFFFD);
        return;
    }
    const char16_t high = m_highSurrogate;
    m_highSurrogate = 0;
    const Target target = textTarget();
    if (target != Target::None) {
        beginText(target);
        put(target, high);
        put(target, c);
    } else if (m_state.dest == Dest::FontTable) {
        m_fonts.appendToName(high, c);
    }
}

void Parser::flushHighSurrogate()
{
    if (m_highSurrogate) {
        m_highSurrogate = 0;
        emitChar(0xFFFD);
    }
}

void Parser::startRun(Target target)
{
    CharKey key = currentKey();
    if (target == Target::MainText && !m_hiddenText.isEmpty())
        key.hidden = takeHiddenText();
    m_formatDirty = false;
    m_content.openRun(target, key);
}

CharKey Parser::currentKey()
{
    CharKey k;
    k.family = m_fonts.family(m_state.font);
    k.halfPoints = m_state.halfPoints;
    k.flags = (m_state.bold ? kBoldFlag : 0) | (m_state.italic ? kItalicFlag : 0)
        | (m_state.underline ? kUnderlineFlag : 0) | (m_state.strike ? kStrikeFlag : 0);
    k.fg = m_colors.colour(m_state.fg);
    k.bg = m_colors.colour(m_state.bg);
    if (m_state.superscript)
        k.flags |= kSuperFlag;
    else if (m_state.subscript)
        k.flags |= kSubFlag;
    k.raise = m_state.raise;
    k.charset = m_fonts.charset(m_state.font);
    k.link = m_state.link;
    return k;
}

int Parser::takeHiddenText()
{
    const int index = m_content.addHiddenText(std::move(m_hiddenText));
    m_hiddenText = QString();
    return index;
}

ListRef Parser::listRef() const
{
    return m_lists.list(m_state.ls, m_state.ilvl).value_or(m_state.pn);
}

void Parser::putCellTabs(int count)
{
    m_pendingCellTabs = 0;
    if (count <= 0)
        return;
    openRun(Target::MainText);
    for (int i = 0; i < count; ++i)
        m_content.put('\t');
}

void Parser::endParagraphIfAny()
{
    if (!m_content.paragraphEmpty() || m_content.hasNumberText() || m_pendingCellTabs > 0)
        endParagraph();
}

QByteArray Parser::wordText(const Token &token)
{
    QByteArray text = '\\' + token.bytes().toByteArray();
    if (token.hasParam)
        text += QByteArray::number(token.param);
    return text;
}

void Parser::tableRowEnded()
{
    // Text after the last cell is still that cell's.
    if (!m_content.paragraphEmpty() || m_content.hasNumberText())
        endParagraph(true);
    const int row = m_tables.rowEnded(m_rowCells);
    if (row < 0)
        m_status.add(Loss::TableRows);
    else
        for (const auto &[paragraph, cell] : m_rowParagraphs)
            m_content.putInTable(paragraph, m_tables.openTable(), row, cell);
    m_rowParagraphs.clear();
    m_rowCells = 0;
}

void Parser::tableEnded()
{
    // A row that never ended leaves its paragraphs outside the table.
    m_rowParagraphs.clear();
    m_rowCells = 0;
    m_tables.paragraphOutside();
    innerTableEnded();
}

void Parser::innerRowEnded()
{
    if (!m_content.paragraphEmpty() || m_content.hasNumberText())
        endParagraph(true, true);
    const int row = m_innerTables.rowEnded(m_innerRowCells);
    if (row < 0)
        m_status.add(Loss::TableRows);
    else
        for (const auto &[paragraph, cell] : m_innerRowParagraphs)
            m_content.putInInnerTable(paragraph, m_innerTables.openTable(), row, cell);
    m_innerRowParagraphs.clear();
    m_innerRowCells = 0;
}

// A paragraph of the outer cell: the rows before it make a table, and one
// that never ended leaves its paragraphs to the outer cell.
void Parser::innerTableEnded()
{
    m_innerRowParagraphs.clear();
    m_innerRowCells = 0;
    m_innerTables.paragraphOutside();
}

void Parser::endParagraph(bool inCell, bool inInnerCell)
{
    flushHighSurrogate();
    m_pendingCellTabs = 0;
    ParaKey paragraph;
    paragraph.pageBreak = m_state.pageBreakBefore || m_pendingPageBreak;
    m_pendingPageBreak = false;
    paragraph.align = m_state.align;
    paragraph.li = m_state.li;
    paragraph.fi = m_state.fi;
    paragraph.ri = m_state.ri;
    paragraph.sb = m_state.sb;
    paragraph.sa = m_state.sa;
    paragraph.sl = m_state.sl;
    paragraph.slmult = m_state.slmult;
    paragraph.tabs = m_state.tabs;
    const ListRef list = listRef();
    paragraph.list = list.style;
    if (list.style != kStyleNone) {
        paragraph.listId = list.list;
        paragraph.listLevel = list.level;
        paragraph.listStart = list.start;
    }
    CharKey mark = currentKey();
    if (!m_hiddenText.isEmpty())
        mark.hidden = takeHiddenText();
    m_content.closeRun();
    const int shown = list.style != kStyleNone && m_content.hasNumberText()
        ? shownListNumber(m_content.numberText(), list.style)
        : 0;
    m_content.endParagraph(paragraph, mark, shown);
    const int index = m_content.paragraphCount() - 1;
    const bool inner = inInnerCell || m_state.nesting >= kInnerNesting;
    if (inCell || m_state.inTable || inner)
        m_rowParagraphs.emplace_back(index, m_rowCells);
    if (inner)
        m_innerRowParagraphs.emplace_back(index, m_innerRowCells);
    else
        innerTableEnded();
}

void Parser::commitColor()
{
    m_colors.commit();
    m_formatDirty = true;
}

void Parser::finishFieldInstruction()
{
    const std::optional<QString> address = hyperlinkAddress(m_fieldInstruction);
    if (address)
        m_fieldLink = m_content.addLink(*address);
    else if (!m_fieldInstruction.trimmed().isEmpty() && !shapeField(m_fieldInstruction))
        m_status.add(Loss::Fields);
    m_fieldInstruction.clear();
}

LoadStatus Parser::status() const
{
    LoadStatus result = m_status;
    for (int i = 0; i < m_picture.dropped(); ++i)
        result.add(Loss::Pictures);
    return result;
}

void Parser::finishPicture()
{
    const bool shapes = m_state.dest == Dest::ShapePicture;
    std::optional<Image> image =
        m_picture.finish((m_state.dest == Dest::Normal || shapes) && !m_state.hidden);
    if (!image)
        return;
    m_shapePictureShown = m_shapePictureShown || shapes;
    flushHighSurrogate();
    if (m_pendingCellTabs > 0)
        putCellTabs(m_pendingCellTabs);
    m_content.addImage(std::move(*image));
}

} // namespace rtf::detail
