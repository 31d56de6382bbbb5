#include "formats/ParagraphFormat.h"

#include <QTextBlock>
#include <QTextList>
#include <QtMath>

#include <optional>

namespace paraformat {

namespace {

int storedOr(const QTextBlockFormat &format, int property, qreal pixels)
{
    if (format.hasProperty(property))
        return format.intProperty(property);
    return qRound(pixels / kPixelsPerPoint);
}

} // namespace

Indents indents(const QTextBlockFormat &format)
{
    Indents result;
    const qreal firstLinePixels = format.leftMargin() + format.textIndent();
    result.first = storedOr(format, kFirstIndentProperty, firstLinePixels);
    result.other = storedOr(format, kOtherIndentProperty, -format.textIndent());
    result.right = storedOr(format, kRightIndentProperty, format.rightMargin());
    return result;
}

namespace {

Indents pointsOf(const Indents &twips)
{
    return {twips.first / kTwipsPerPoint, twips.other / kTwipsPerPoint, twips.right / kTwipsPerPoint};
}

bool sameIndents(const Indents &a, const Indents &b)
{
    return a.first == b.first && a.other == b.other && a.right == b.right;
}

// The twips kept beside the points, when there are any.
std::optional<Indents> storedTwips(const QTextBlockFormat &format)
{
    if (!format.hasProperty(kFirstIndentTwipsProperty))
        return std::nullopt;
    return Indents{format.intProperty(kFirstIndentTwipsProperty),
                   format.intProperty(kOtherIndentTwipsProperty),
                   format.intProperty(kRightIndentTwipsProperty)};
}

// Qt lays the following lines at leftMargin and the first at leftMargin +
// textIndent, and clamps a negative margin to 0: clamp both lines ourselves.
void placeLines(QTextBlockFormat &format, const Indents &indents, qreal pixelsPerUnit, bool inList)
{
    const qreal firstLine = qMax(0, indents.first) * pixelsPerUnit;
    const qreal otherLines = qMax(0, indents.first + indents.other) * pixelsPerUnit;
    format.setLeftMargin(otherLines);
    format.setTextIndent(inList ? 0 : firstLine - otherLines);
    format.setRightMargin(qMax(0, indents.right) * pixelsPerUnit);
}

} // namespace

void setIndents(QTextBlockFormat &format, const Indents &indents, bool inList)
{
    format.setProperty(kFirstIndentProperty, indents.first);
    format.setProperty(kOtherIndentProperty, indents.other);
    format.setProperty(kRightIndentProperty, indents.right);
    const std::optional<Indents> twips = storedTwips(format);
    if (twips && sameIndents(pointsOf(*twips), indents))
        placeLines(format, *twips, 1.0 / kTwipsPerPixel, inList);
    else
        placeLines(format, indents, kPixelsPerPoint, inList);
}

Indents indentsInTwips(const QTextBlockFormat &format)
{
    const Indents points = indents(format);
    const std::optional<Indents> twips = storedTwips(format);
    if (twips && sameIndents(pointsOf(*twips), points))
        return *twips;
    return {points.first * kTwipsPerPoint, points.other * kTwipsPerPoint, points.right * kTwipsPerPoint};
}

void setIndentsInTwips(QTextBlockFormat &format, const Indents &twips, bool inList)
{
    format.setProperty(kFirstIndentTwipsProperty, twips.first);
    format.setProperty(kOtherIndentTwipsProperty, twips.other);
    format.setProperty(kRightIndentTwipsProperty, twips.right);
    setIndents(format, pointsOf(twips), inList);
}

QTextListFormat::Style toQtListStyle(ListStyle style)
{
    switch (style) {
    case ListStyle::None: return QTextListFormat::ListStyleUndefined;
    case ListStyle::Bullet: return QTextListFormat::ListDisc;
    case ListStyle::ArabicNumbers: return QTextListFormat::ListDecimal;
    case ListStyle::LoCaseLetter: return QTextListFormat::ListLowerAlpha;
    case ListStyle::UpCaseLetter: return QTextListFormat::ListUpperAlpha;
    case ListStyle::LoCaseRoman: return QTextListFormat::ListLowerRoman;
    case ListStyle::UpCaseRoman: return QTextListFormat::ListUpperRoman;
    }
    return QTextListFormat::ListStyleUndefined;
}

ListStyle fromQtListStyle(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare: return ListStyle::Bullet;
    case QTextListFormat::ListDecimal: return ListStyle::ArabicNumbers;
    case QTextListFormat::ListLowerAlpha: return ListStyle::LoCaseLetter;
    case QTextListFormat::ListUpperAlpha: return ListStyle::UpCaseLetter;
    case QTextListFormat::ListLowerRoman: return ListStyle::LoCaseRoman;
    case QTextListFormat::ListUpperRoman: return ListStyle::UpCaseRoman;
    default: return ListStyle::None;
    }
}

QTextListFormat listFormat(ListStyle style, int level, int start)
{
    QTextListFormat format;
    format.setStyle(toQtListStyle(style));
    format.setIndent(0);
    format.setNumberSuffix(QStringLiteral("."));
    if (level != 0)
        format.setProperty(kListLevelProperty, level);
    if (start != 1)
        format.setProperty(kListStartProperty, start);
    return format;
}

int listLevel(const QTextListFormat &format)
{
    return format.intProperty(kListLevelProperty);
}

int listStart(const QTextListFormat &format)
{
    return format.hasProperty(kListStartProperty) ? format.intProperty(kListStartProperty) : 1;
}

int listItemNumber(const QTextList &list, const QTextBlock &block)
{
    return listStart(list.format()) + list.itemNumber(block);
}

namespace {

constexpr int kLettersInAlphabet = 26;
constexpr int kLargestRoman = 3999;

QString letters(int number, char16_t a)
{
    // a..z, then aa, ab...: as Qt numbers its lists.
    QString result;
    for (int n = number; n > 0; n = (n - 1) / kLettersInAlphabet)
        result.prepend(QChar(char16_t(a + (n - 1) % kLettersInAlphabet)));
    return result;
}

QString roman(int number, bool upper)
{
    static const struct {
        int value;
        const char *digits;
    } parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
                 {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString result;
    int n = number;
    for (const auto &part : parts) {
        for (; n >= part.value; n -= part.value)
            result += QLatin1String(part.digits);
    }
    return upper ? result.toUpper() : result;
}

} // namespace

QString listNumberText(ListStyle style, int number)
{
    QString text;
    const bool inLetterRange = number > 0;
    const bool inRomanRange = number > 0 && number <= kLargestRoman;
    switch (style) {
    case ListStyle::None:
    case ListStyle::Bullet: return QString();
    case ListStyle::LoCaseLetter: text = inLetterRange ? letters(number, u'a') : QString::number(number); break;
    case ListStyle::UpCaseLetter: text = inLetterRange ? letters(number, u'A') : QString::number(number); break;
    case ListStyle::LoCaseRoman: text = inRomanRange ? roman(number, false) : QString::number(number); break;
    case ListStyle::UpCaseRoman: text = inRomanRange ? roman(number, true) : QString::number(number); break;
    case ListStyle::ArabicNumbers: text = QString::number(number); break;
    }
    return text + QLatin1Char('.');
}

QString listItemText(const QTextList &list, const QTextBlock &block)
{
    return listNumberText(fromQtListStyle(list.format().style()), listItemNumber(list, block));
}

} // namespace paraformat
