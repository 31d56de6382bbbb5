#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Cutting RTF bytes into tokens: braces, control words and symbols, \'hh
// bytes, runs of text and the data of \bin. The tokenizer knows the syntax
// only; what a word means is the parser's business (see RtfParser.h).
namespace rtf::detail {

enum class TokenType : quint8 {
    End,           // no data left
    GroupOpen,     // {
    GroupClose,    // }
    ControlWord,   // \letters with an optional signed number
    ControlSymbol, // a backslash and one other character: \~ \* \{ ...
    HexByte,       // \'hh
    Text,          // bytes up to the next brace, backslash or line end
    Binary,        // the bytes \binN covers
};

struct Token {
    TokenType type = TokenType::End;
    // ControlWord: its letters; Text: its bytes; Binary: the data that is
    // there, which may be less than was asked for.
    const uchar *begin = nullptr;
    const uchar *end = nullptr;
    // ControlWord: the letters' hash, as wordHashStep computes it.
    quint32 hash = 0;
    // ControlWord: the number, saturated to int; Binary: the length asked for.
    int param = 0;
    bool hasParam = false;
    // HexByte: the byte; ControlSymbol: the character after the backslash.
    uchar byte = 0;

    QByteArrayView bytes() const { return QByteArrayView(begin, end - begin); }
};

// FNV-1a over a control word's letters. The tokenizer computes it while it
// reads the letters, so the keyword table needs no second pass over them.
constexpr quint32 kWordHashSeed = 2166136261u;
inline quint32 wordHashStep(quint32 hash, uchar letter)
{
    return (hash ^ letter) * 16777619u;
}

// The value of a hex digit, or -1 (for \'hh and picture data).
inline int hexDigitValue(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads tokens one after the other. Line ends outside \bin data are not
// tokens: RTF ignores them. Any byte sequence tokenizes, in time proportional
// to its length; a token cut off by the end of the data ends there.
class Tokenizer
{
public:
    Tokenizer(const uchar *begin, const uchar *end);

    Token next();

    // Where the next token starts: just past a group's brace once it is read.
    const uchar *position() const { return m_p; }

    // True when only closing braces and white space are left to read.
    bool onlyClosingLeft() const { return m_p >= m_lastSignificant; }

private:
    static bool isLetter(uchar c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool endsText(uchar c)
    {
        return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
    }
    static Token tokenOf(TokenType type)
    {
        Token token;
        token.type = type;
        return token;
    }

    Token controlSequence();
    Token controlWord();
    Token hexByte();
    Token text();

    const uchar *m_p;
    const uchar *m_end;
    const uchar *m_lastSignificant;
};

// Defined here so that the parser's loop, which runs through them for every
// token, compiles into one piece.

inline Token Tokenizer::next()
{
    while (m_p < m_end) {
        switch (*m_p) {
        case '{':
            ++m_p;
            return tokenOf(TokenType::GroupOpen);
        case '}':
            ++m_p;
            return tokenOf(TokenType::GroupClose);
        case '\\':
            ++m_p;
            return controlSequence();
        case '\r':
        case '\n':
            ++m_p;
            break;
        default:
            return text();
        }
    }
    return tokenOf(TokenType::End);
}

inline Token Tokenizer::controlSequence()
{
    if (m_p >= m_end)
        return tokenOf(TokenType::End); // a lone backslash at the end
    if (isLetter(*m_p))
        return controlWord();
    const uchar c = *m_p++;
    if (c == '\'')
        return hexByte();
    Token token = tokenOf(TokenType::ControlSymbol);
    token.byte = c;
    return token;
}

inline Token Tokenizer::hexByte()
{
    int value = 0;
    int digits = 0;
    while (digits < 2 && m_p < m_end) {
        const int h = hexDigitValue(*m_p);
        if (h < 0)
            break;
        value = value * 16 + h;
        ++digits;
        ++m_p;
    }
    Token token = tokenOf(digits > 0 ? TokenType::HexByte : TokenType::ControlSymbol);
    token.byte = digits > 0 ? uchar(value) : uchar('\'');
    return token;
}

inline Token Tokenizer::text()
{
    Token token = tokenOf(TokenType::Text);
    token.begin = m_p;
    while (m_p < m_end && !endsText(*m_p))
        ++m_p;
    token.end = m_p;
    return token;
}

} // namespace rtf::detail
