#include "tools/Recoding.h"

#include "formats/CodePages.h"

namespace recoding {

namespace {

char16_t windowsChar(int byte)
{
    const char b = char(byte);
    return codepage::decodeWindows1251(QByteArrayView(&b, 1)).at(0).unicode();
}

// The Windows-1251 byte of a character, -1 when it has none.
int windowsByte(char16_t c)
{
    return c < 0x80 ? int(c) : codepage::windows1251Byte(QChar(c));
}

// What a table half makes of each Windows-1251 byte, as the character the
// editor shows for the resulting byte.
struct KoiChars {
    std::array<char16_t, 256> half[2];
};

const KoiChars &koiChars()
{
    static const KoiChars chars = [] {
        KoiChars c;
        const Table &table = translationTable();
        for (int h = 0; h < 2; ++h)
            for (int b = 0; b < 256; ++b)
                c.half[h][size_t(b)] = windowsChar(table[size_t(h * 256 + b)]);
        return c;
    }();
    return chars;
}

// The UTF-8 bytes of each Windows-1251 character, shown back through
// Windows-1251: one to three characters.
struct Utf8Chars {
    std::array<std::array<char16_t, 3>, 256> chars;
    std::array<unsigned char, 256> count;
};

const Utf8Chars &utf8Chars()
{
    static const Utf8Chars table = [] {
        Utf8Chars t;
        for (int b = 0; b < 256; ++b) {
            const char16_t c = windowsChar(b);
            const QByteArray bytes = encodeUtf8(QStringView(&c, 1));
            t.count[size_t(b)] = static_cast<unsigned char>(bytes.size());
            for (qsizetype i = 0; i < bytes.size(); ++i)
                t.chars[size_t(b)][size_t(i)] = windowsChar(static_cast<unsigned char>(bytes[i]));
        }
        return t;
    }();
    return table;
}

void appendCodePoint(QString &out, char32_t cp)
{
    if (cp < 0x10000) {
        out.append(QChar(char16_t(cp)));
    } else {
        out.append(QChar::highSurrogate(cp));
        out.append(QChar::lowSurrogate(cp));
    }
}

// Strict UTF-8, one byte at a time: the ranges of the second byte rule out
// overlong forms, surrogates and code points past U+10FFFF.
class Utf8Decoder {
public:
    bool feed(unsigned char b, QString &out)
    {
        if (needed_ == 0) {
            if (b < 0x80) {
                out.append(QChar(char16_t(b)));
            } else if (b >= 0xC2 && b <= 0xDF) {
                start(b & 0x1F, 1);
            } else if (b >= 0xE0 && b <= 0xEF) {
                start(b & 0x0F, 2);
                if (b == 0xE0)
                    lower_ = 0xA0;
                else if (b == 0xED)
                    upper_ = 0x9F;
            } else if (b >= 0xF0 && b <= 0xF4) {
                start(b & 0x07, 3);
                if (b == 0xF0)
                    lower_ = 0x90;
                else if (b == 0xF4)
                    upper_ = 0x8F;
            } else {
                return false;
            }
            return true;
        }
        if (b < lower_ || b > upper_)
            return false;
        lower_ = 0x80;
        upper_ = 0xBF;
        codePoint_ = (codePoint_ << 6) | (b & 0x3F);
        if (--needed_ == 0)
            appendCodePoint(out, codePoint_);
        return true;
    }

    bool atBoundary() const { return needed_ == 0; }

private:
    void start(char32_t bits, int needed)
    {
        codePoint_ = bits;
        needed_ = needed;
    }

    char32_t codePoint_ = 0;
    int needed_ = 0;
    unsigned char lower_ = 0x80;
    unsigned char upper_ = 0xBF;
};

QString translateText(const QString &text, Half half)
{
    const std::array<char16_t, 256> &map = koiChars().half[int(half)];
    QString out = text;
    char16_t *data = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0, n = out.size(); i < n; ++i) {
        const int b = windowsByte(data[i]);
        if (b >= 0)
            data[i] = map[size_t(b)];
    }
    return out;
}

} // namespace

const Table &translationTable()
{
    static const Table table = [] {
        Table t;
        for (int b = 0; b < 256; ++b) {
            t[size_t(b)] = static_cast<unsigned char>(b);
            t[size_t(256 + b)] = static_cast<unsigned char>(b);
        }
        // The letters by their characters: the KOI8-R byte of the same letter.
        for (int b = 0xC0; b <= 0xFF; ++b) {
            const QChar letter(windowsChar(b));
            const auto koi = static_cast<unsigned char>(codepage::encodeKoi8r(QStringView(&letter, 1)).at(0));
            t[size_t(b)] = koi;
            t[size_t(256 + koi)] = static_cast<unsigned char>(b);
        }
        return t;
    }();
    return table;
}

QByteArray translate(QByteArrayView bytes, Half half)
{
    const unsigned char *map = translationTable().data() + (half == Half::WindowsToKoi8 ? 0 : 256);
    QByteArray out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = char(map[static_cast<unsigned char>(bytes[i])]);
    return out;
}

QByteArray encodeUtf8(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            out.append(char(c));
        } else if (c < 0x800) {
            out.append(char(0xC0 | (c >> 6)));
            out.append(char(0x80 | (c & 0x3F)));
        } else {
            out.append(char(0xE0 | (c >> 12)));
            out.append(char(0x80 | ((c >> 6) & 0x3F)));
            out.append(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    Utf8Decoder decoder;
    for (const char b : bytes)
        if (!decoder.feed(static_cast<unsigned char>(b), out))
            return std::nullopt;
    if (!decoder.atBoundary())
        return std::nullopt;
    return out;
}

QString windowsToKoi8(const QString &text)
{
    return translateText(text, Half::WindowsToKoi8);
}

QString koi8ToWindows(const QString &text)
{
    return translateText(text, Half::Koi8ToWindows);
}

QString windowsToUtf8(const QString &text)
{
    const Utf8Chars &table = utf8Chars();
    QString out;
    out.reserve(text.size() * 2);
    for (const QChar ch : text) {
        const int b = windowsByte(ch.unicode());
        if (b < 0) {
            out.append(ch); // no byte to encode
            continue;
        }
        const auto &chars = table.chars[size_t(b)];
        out.append(reinterpret_cast<const QChar *>(chars.data()), table.count[size_t(b)]);
    }
    return out;
}

std::optional<QString> utf8ToWindows(const QString &text)
{
    QString out;
    out.reserve(text.size());
    Utf8Decoder decoder;
    for (const QChar ch : text) {
        const int b = windowsByte(ch.unicode());
        if (b < 0) {
            if (!decoder.atBoundary())
                return std::nullopt;
            out.append(ch);
            continue;
        }
        if (!decoder.feed(static_cast<unsigned char>(b), out))
            return std::nullopt;
    }
    if (!decoder.atBoundary())
        return std::nullopt;
    return out;
}

} // namespace recoding
