// The parser's text: where characters go, runs of one format, paragraphs.

#include "formats/RtfParser.h"

namespace rtf::detail {

namespace {

bool acceptable(char16_t c)
{
    if (c < 0x20)
        return c == '\t';
    // Characters that QTextDocument reads as its own structure.
    return c != 0x2029 && c != 0xFDD0 && c != 0xFDD1 && c != 0xFFFC && c != 0xFFFE && c != 0xFFFF
        && !QChar::isSurrogate(c);
}

} // namespace

Target Parser::textTarget() const
{
    if (m_state.hidden)
        return Target::None;
    if (m_state.dest == Dest::Normal)
        return Target::MainText;
    if (m_state.dest == Dest::NumberText)
        return Target::NumberText;
    return Target::None;
}

void Parser::documentText(const uchar *begin, const uchar *end)
{
    const Target target = textTarget();
    if (target == Target::None)
        return;
    flushHighSurrogate();
    beginText(target);
    const char16_t *high = m_fonts.byteTable(m_state.font);
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
        m_content.put(c);
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
        openRun(target);
        m_content.put(high);
        m_content.put(c);
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

void Parser::beginText(Target target)
{
    if (m_pendingCellTab && target == Target::MainText) {
        m_pendingCellTab = false;
        openRun(target);
        m_content.put('\t');
    }
    openRun(target);
}

void Parser::openRun(Target target)
{
    if (m_content.openTarget() == target && !m_formatDirty)
        return;
    const CharKey key = currentKey();
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
    return k;
}

const char16_t *Parser::byteTable()
{
    if (m_state.dest == Dest::FontTable && m_fonts.entryPending())
        return m_fonts.entryByteTable();
    return m_fonts.byteTable(m_state.font);
}

int Parser::listStyle() const
{
    return m_lists.style(m_state.ls, m_state.ilvl).value_or(m_state.pnStyle);
}

void Parser::endParagraph()
{
    flushHighSurrogate();
    m_pendingCellTab = false;
    ParaKey paragraph;
    paragraph.align = m_state.align;
    paragraph.li = m_state.li;
    paragraph.fi = m_state.fi;
    paragraph.ri = m_state.ri;
    paragraph.list = listStyle();
    m_content.endParagraph(paragraph, currentKey());
}

void Parser::commitColor()
{
    m_colors.commit();
    m_formatDirty = true;
}

void Parser::finishPicture()
{
    std::optional<Image> image = m_picture.finish(m_state.dest == Dest::Normal && !m_state.hidden);
    if (!image)
        return;
    flushHighSurrogate();
    if (m_pendingCellTab) {
        m_pendingCellTab = false;
        openRun(Target::MainText);
        m_content.put('\t');
    }
    m_content.addImage(std::move(*image));
}

} // namespace rtf::detail
