#include "formats/RtfFontTable.h"

#include "formats/RtfCodePages.h"

namespace rtf::detail {

namespace {

// Fonts and name lengths kept; a hostile table cannot grow past them.
constexpr size_t kMaxFonts = 16384;
constexpr int kMaxFontNameLength = 256;
constexpr int kFallbackCodePage = 1252;
constexpr int kCyrillicCodePage = 1251;
constexpr int kMaxCharset = 255; // a byte on the platform

} // namespace

void FontTable::setDocumentCodePage(int codePage)
{
    m_documentCodePage = codePage;
    m_cacheValid = false;
}

void FontTable::setDefaultFont(int number)
{
    m_defaultFont = number;
    m_cacheValid = false;
}

void FontTable::startEntry(int number, size_t depth)
{
    commitEntry();
    m_entryPending = true;
    m_entryDepth = depth;
    m_entryNumber = number;
    m_entryCharset = -1;
    m_entryCodePage = 0;
    m_entryName.clear();
}

void FontTable::appendToName(char16_t c)
{
    if (m_entryPending && m_entryName.size() < kMaxFontNameLength)
        m_entryName.append(QChar(c));
}

void FontTable::appendToName(char16_t high, char16_t low)
{
    if (m_entryPending && m_entryName.size() < kMaxFontNameLength) {
        m_entryName.append(QChar(high));
        m_entryName.append(QChar(low));
    }
}

void FontTable::commitEntry()
{
    if (!m_entryPending)
        return;
    m_entryPending = false;
    if (m_fonts.size() >= kMaxFonts && !m_fonts.count(m_entryNumber))
        return;
    Entry entry;
    const QString name = m_entryName.trimmed();
    if (!name.isEmpty())
        entry.family = internFamily(name);
    if (m_entryCodePage > 0 && codePageTable(m_entryCodePage))
        entry.codePage = m_entryCodePage;
    else if (m_entryCharset >= 0)
        entry.codePage = codePageOfCharset(m_entryCharset);
    if (m_entryCharset >= 0 && m_entryCharset <= kMaxCharset)
        entry.charset = m_entryCharset;
    if (codePageOfFont(m_entryCharset, name) == kCyrillicCodePage)
        entry.codePage = kCyrillicCodePage;
    m_fonts[m_entryNumber] = entry;
    m_entryName.clear();
    m_cacheValid = false;
}

void FontTable::endTable()
{
    commitEntry();
    m_tableSeen = true;
    m_cacheValid = false;
}

const char16_t *FontTable::entryByteTable() const
{
    const int codePage = m_entryCodePage > 0 ? m_entryCodePage
        : m_entryCharset >= 0                ? codePageOfCharset(m_entryCharset)
                                             : 0;
    const char16_t *table = codePage ? codePageTable(codePage) : nullptr;
    return table ? table : codePageTable(m_documentCodePage);
}

void FontTable::resolveUncached(int font)
{
    m_cacheValid = true;
    m_cachedFont = font;
    m_cachedFamily = -1;
    m_cachedCharset = -1;
    int codePage = 0;
    const auto it = m_fonts.find(font >= 0 ? font : m_defaultFont);
    if (it != m_fonts.end()) {
        m_cachedFamily = it->second.family;
        m_cachedCharset = it->second.charset;
        codePage = it->second.codePage;
    }
    const char16_t *table = codePage ? codePageTable(codePage) : nullptr;
    if (!table)
        table = codePageTable(m_documentCodePage);
    if (!table)
        table = codePageTable(kFallbackCodePage);
    m_cachedTable = table;
}

int FontTable::internFamily(const QString &name)
{
    const auto it = m_familyIndex.constFind(name);
    if (it != m_familyIndex.constEnd())
        return it.value();
    const int index = int(m_families.size());
    m_families.push_back(name);
    m_familyIndex.insert(name, index);
    return index;
}

} // namespace rtf::detail
