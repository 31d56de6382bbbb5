#include "formats/RtfTokenizer.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace rtf::detail {

namespace {

// Digits past this are still read, but no longer change the number, so a
// parameter of any length costs no more than its digits.
constexpr qint64 kParameterSaturation = qint64(1) << 40;

bool isDigit(uchar c)
{
    return c >= '0' && c <= '9';
}

} // namespace

Tokenizer::Tokenizer(const uchar *begin, const uchar *end) : m_p(begin), m_end(end)
{
    const uchar *last = end;
    while (last > begin) {
        const uchar c = last[-1];
        if (c == '}' || c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == 0)
            --last;
        else
            break;
    }
    m_lastSignificant = last;
}

Token Tokenizer::controlWord()
{
    Token token = tokenOf(TokenType::ControlWord);
    token.begin = m_p;
    quint32 hash = kWordHashSeed;
    while (m_p < m_end && isLetter(*m_p)) {
        hash = wordHashStep(hash, *m_p);
        ++m_p;
    }
    token.end = m_p;
    token.hash = hash;

    bool negative = false;
    if (m_end - m_p > 1 && *m_p == '-' && isDigit(m_p[1])) {
        negative = true;
        ++m_p;
    }
    qint64 value = 0;
    while (m_p < m_end && isDigit(*m_p)) {
        token.hasParam = true;
        if (value < kParameterSaturation)
            value = value * 10 + (*m_p - '0');
        ++m_p;
    }
    if (m_p < m_end && *m_p == ' ')
        ++m_p; // the space ends the word and is not text
    token.param = int(std::clamp<qint64>(negative ? -value : value, INT_MIN, INT_MAX));

    // \bin's data is read here, whatever the destination, so that its bytes
    // are never taken for markup.
    if (token.end - token.begin == 3 && std::memcmp(token.begin, "bin", 3) == 0) {
        const qsizetype length = token.param < 0 ? 0 : qMin<qsizetype>(token.param, m_end - m_p);
        token.type = TokenType::Binary;
        token.begin = m_p;
        token.end = m_p + length;
        m_p += length;
    }
    return token;
}

} // namespace rtf::detail
