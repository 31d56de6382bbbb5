#include "formats/CodePages.h"

#include <array>
#include <cstdint>
#include <vector>

namespace codepage {
namespace {

// Upper halves, bytes 0x80..0xFF; the lower half is ASCII in both.
constexpr char16_t kWindows1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98 (0x98 unassigned)
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // F8
};

constexpr char16_t kKoi8rHigh[128] = {
    0x2500, 0x2502, 0x250C, 0x2510, 0x2514, 0x2518, 0x251C, 0x2524, // 80
    0x252C, 0x2534, 0x253C, 0x2580, 0x2584, 0x2588, 0x258C, 0x2590, // 88
    0x2591, 0x2592, 0x2593, 0x2320, 0x25A0, 0x2219, 0x221A, 0x2248, // 90
    0x2264, 0x2265, 0x00A0, 0x2321, 0x00B0, 0x00B2, 0x00B7, 0x00F7, // 98
    0x2550, 0x2551, 0x2552, 0x0451, 0x2553, 0x2554, 0x2555, 0x2556, // A0
    0x2557, 0x2558, 0x2559, 0x255A, 0x255B, 0x255C, 0x255D, 0x255E, // A8
    0x255F, 0x2560, 0x2561, 0x0401, 0x2562, 0x2563, 0x2564, 0x2565, // B0
    0x2566, 0x2567, 0x2568, 0x2569, 0x256A, 0x256B, 0x256C, 0x00A9, // B8
    0x044E, 0x0430, 0x0431, 0x0446, 0x0434, 0x0435, 0x0444, 0x0433, // C0
    0x0445, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, // C8
    0x043F, 0x044F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0436, 0x0432, // D0
    0x044C, 0x044B, 0x0437, 0x0448, 0x044D, 0x0449, 0x0447, 0x044A, // D8
    0x042E, 0x0410, 0x0411, 0x0426, 0x0414, 0x0415, 0x0424, 0x0413, // E0
    0x0425, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, // E8
    0x041F, 0x042F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0416, 0x0412, // F0
    0x042C, 0x042B, 0x0417, 0x0428, 0x042D, 0x0429, 0x0427, 0x042A, // F8
};

// Character -> byte in two levels: the high byte of the character picks one of
// the few 256-entry pages the code page touches (page 0 is all "absent"), the
// low byte the entry. Small enough to stay in cache while whole documents are
// recoded. An entry of 0 means absent, except for U+0000 itself.
class ReverseTable
{
public:
    explicit ReverseTable(const char16_t (&high)[128])
    {
        m_pageOf.fill(0);
        m_pages.emplace_back();
        m_pages.back().fill(0);
        for (int b = 0; b < 256; ++b) {
            const char16_t c = b < 0x80 ? char16_t(b) : high[b - 0x80];
            std::uint8_t &page = m_pageOf[c >> 8];
            if (page == 0) {
                page = std::uint8_t(m_pages.size());
                m_pages.emplace_back();
                m_pages.back().fill(0);
            }
            m_pages[page][c & 0xFF] = std::uint8_t(b);
        }
    }

    int byteFor(char16_t c) const
    {
        const std::uint8_t b = m_pages[m_pageOf[c >> 8]][c & 0xFF];
        return (b != 0 || c == 0) ? b : -1;
    }

private:
    std::array<std::uint8_t, 256> m_pageOf;
    std::vector<std::array<std::uint8_t, 256>> m_pages;
};

const ReverseTable &windows1251Reverse()
{
    static const ReverseTable table(kWindows1251High);
    return table;
}

const ReverseTable &koi8rReverse()
{
    static const ReverseTable table(kKoi8rHigh);
    return table;
}

QString decode(QByteArrayView bytes, const char16_t (&high)[128])
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const auto *src = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i) {
        const unsigned char b = src[i];
        dst[i] = b < 0x80 ? char16_t(b) : high[b - 0x80];
    }
    return out;
}

QByteArray encode(QStringView text, const ReverseTable &table, bool *lossless)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *dst = out.data();
    qsizetype w = 0;
    bool ok = true;
    const char16_t *src = text.utf16();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = src[i];
        if (c < 0x80) {
            dst[w++] = char(c);
            continue;
        }
        const int b = table.byteFor(c);
        if (b >= 0) {
            dst[w++] = char(b);
            continue;
        }
        ok = false;
        dst[w++] = '?';
        // A character outside the BMP is one character to the reader: one '?'.
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(src[i + 1]))
            ++i;
    }
    out.resize(w);
    if (lossless)
        *lossless = ok;
    return out;
}

} // namespace

QString decodeWindows1251(QByteArrayView bytes)
{
    return decode(bytes, kWindows1251High);
}

QByteArray encodeWindows1251(QStringView text, bool *lossless)
{
    return encode(text, windows1251Reverse(), lossless);
}

int windows1251Byte(QChar c)
{
    return windows1251Reverse().byteFor(c.unicode());
}

bool canEncodeWindows1251(QChar c)
{
    return windows1251Byte(c) >= 0;
}

QString decodeKoi8r(QByteArrayView bytes)
{
    return decode(bytes, kKoi8rHigh);
}

QByteArray encodeKoi8r(QStringView text, bool *lossless)
{
    return encode(text, koi8rReverse(), lossless);
}

const char16_t *windows1251HighHalf()
{
    return kWindows1251High;
}

} // namespace codepage
