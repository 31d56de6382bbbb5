#pragma once

#include <QHash>
#include <QString>

#include <unordered_map>
#include <vector>

// The fonts of an RTF document: the entries of \fonttbl with their family
// names and code pages, and the document's own code page and default font
// they fall back to. Answers which family a font is and which characters its
// bytes 0x80..0xFF stand for.
namespace rtf::detail {

class FontTable
{
public:
    void setDocumentCodePage(int codePage);
    void setDefaultFont(int number);

    void startTable() { m_entryPending = false; }
    // \fN in the table; depth is the group depth it stands at.
    void startEntry(int number, size_t depth);
    void setEntryCharset(int charset) { m_entryCharset = charset; }
    void setEntryCodePage(int codePage) { m_entryCodePage = codePage; }
    void appendToName(char16_t c);
    void appendToName(char16_t high, char16_t low);
    void commitEntry(); // at ';'
    // An entry in braces of its own ends with them, ';' or not.
    void groupClosed(size_t depth)
    {
        if (m_entryPending && depth < m_entryDepth)
            commitEntry();
    }
    void endTable();
    bool entryPending() const { return m_entryPending; }

    // Once the table is read, text asking for a font it lacks keeps its font.
    bool accepts(int number) const { return !m_tableSeen || m_fonts.count(number); }

    // Of font number `font`; -1 stands for the default font.
    int family(int font)
    {
        resolve(font);
        return m_cachedFamily;
    }
    const char16_t *byteTable(int font)
    {
        resolve(font);
        return m_cachedTable;
    }
    // The entry's \fcharset, -1 when it gave none.
    int charset(int font)
    {
        resolve(font);
        return m_cachedCharset;
    }
    // The name of the entry being read is in the entry's own code page.
    const char16_t *entryByteTable() const;

    std::vector<QString> takeFamilies() { return std::move(m_families); }

private:
    struct Entry {
        int family = -1;  // index into m_families
        int codePage = 0; // 0: the document's
        int charset = -1;
    };

    void resolve(int font)
    {
        if (!m_cacheValid || font != m_cachedFont)
            resolveUncached(font);
    }
    void resolveUncached(int font);
    int internFamily(const QString &name);

    int m_documentCodePage = 1252;
    int m_defaultFont = 0;
    std::unordered_map<int, Entry> m_fonts;
    bool m_tableSeen = false;

    bool m_entryPending = false;
    int m_entryNumber = 0;
    size_t m_entryDepth = 0;
    int m_entryCharset = -1;
    int m_entryCodePage = 0;
    QString m_entryName;

    std::vector<QString> m_families;
    QHash<QString, int> m_familyIndex;

    bool m_cacheValid = false;
    int m_cachedFont = 0;
    int m_cachedFamily = -1;
    int m_cachedCharset = -1;
    const char16_t *m_cachedTable = nullptr;
};

} // namespace rtf::detail
