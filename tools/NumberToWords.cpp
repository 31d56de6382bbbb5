#include "tools/NumberToWords.h"

#include "platform/VeltrixError.h"

#include <QList>
#include <stdexcept>

namespace numwords {

namespace {

// Every word starts with its separator space, so words are simply appended.
const char *const kHundreds[10] = {
    "", " сто", " двести", " триста", " четыреста",
    " пятьсот", " шестьсот", " семьсот", " восемьсот", " девятьсот",
};

// A tens digit of 1 is spelled through the teens.
const char *const kTens[10] = {
    "", "", " двадцать", " тридцать", " сорок",
    " пятьдесят", " шестьдесят", " семьдесят", " восемьдесят", " девяносто",
};

// Values 3..19 at index value - 3; 1 and 2 depend on the gender of the scale word.
const char *const kUnitsAndTeens[17] = {
    " три", " четыре", " пять", " шесть", " семь", " восемь", " девять",
    " десять", " одиннадцать", " двенадцать", " тринадцать", " четырнадцать",
    " пятнадцать", " шестнадцать", " семнадцать", " восемнадцать", " девятнадцать",
};

// Thousands without ending; the others in the nominative singular.
const char *const kScale[7] = {
    "", " тысяч", " миллион", " миллиард", " триллион", " квадриллион", " квинтиллион",
};

constexpr int kMaxGroups = 7;

QString word(const char *utf8) { return QString::fromUtf8(utf8); }

[[noreturn]] void refuse(const QString &group)
{
    throw VeltrixError(QStringLiteral("'%1' is not a valid integer value").arg(group));
}

// The standard decimal conversion: leading spaces, an optional sign, then
// nothing but ASCII digits. No hex prefixes, no trailing spaces. A group is three
// characters, so the value cannot overflow. A negative value has no words and is
// refused with the same message.
quint16 groupValue(const QList<uint> &group)
{
    const QString shown =
        QString::fromUcs4(reinterpret_cast<const char32_t *>(group.constData()), group.size());
    int i = 0;
    while (i < group.size() && group[i] == U' ')
        ++i;
    bool negative = false;
    if (i < group.size() && (group[i] == U'+' || group[i] == U'-')) {
        negative = group[i] == U'-';
        ++i;
    }
    if (i == group.size())
        refuse(shown);
    int value = 0;
    for (; i < group.size(); ++i) {
        if (group[i] < U'0' || group[i] > U'9')
            refuse(shown);
        value = value * 10 + int(group[i] - U'0');
    }
    if (negative && value != 0)
        refuse(shown);
    return quint16(value);
}

} // namespace

QString GroupToWords(quint16 value, int g)
{
    if (value > 999 || g < 0 || g >= kMaxGroups)
        throw std::out_of_range("GroupToWords: group out of range");

    QString result = word(kHundreds[value / 100]);
    if (value == 0)
        return result;

    const int t = (value % 100) / 10;
    const int u = value % 10;
    if (t == 1) {
        result += word(kUnitsAndTeens[value % 100 - 3]);
        result += word(kScale[g]);
        if (g > 1)
            result += QStringLiteral("ов");
        return result;
    }

    result += word(kTens[t]);
    if (u == 1)
        result += g == 1 ? QStringLiteral(" одна") : QStringLiteral(" один");
    else if (u == 2)
        result += g == 1 ? QStringLiteral(" две") : QStringLiteral(" два");
    else if (u >= 3)
        result += word(kUnitsAndTeens[u - 3]);
    result += word(kScale[g]);

    if (g == 1) {
        if (u == 1)
            result += QStringLiteral("а");
        else if (u >= 2 && u <= 4)
            result += QStringLiteral("и");
    } else if (g >= 2) {
        if (u >= 2 && u <= 4)
            result += QStringLiteral("а");
        else if (u != 1)
            result += QStringLiteral("ов");
    }
    return result;
}

QString NumberToWords(const QString &text)
{
    // Only the exact text "0": "00" and "000" go the ordinary way and give nothing.
    if (text.isEmpty() || text == QLatin1String("0"))
        return QStringLiteral("ноль");

    // Characters are counted as code points so that a group never splits a
    // surrogate pair.
    QList<uint> padded = text.toUcs4();
    const qsizetype count = (padded.size() + 2) / 3;
    if (count > kMaxGroups)
        return QStringLiteral("Value is too large");

    padded.prepend(U'0');
    padded.prepend(U'0');

    QString result;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype start = padded.size() - 3 * i - 3;
        result.prepend(GroupToWords(groupValue(padded.mid(start, 3)), int(i)));
    }
    if (!result.isEmpty())
        result.remove(0, 1);
    return result;
}

} // namespace numwords
