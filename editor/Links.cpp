#include "editor/Links.h"

#include <QRegularExpression>
#include <QTextCharFormat>

namespace links {

namespace {

const QRegularExpression &linkPattern()
{
    // Only the schemes a click may follow are links; any other address stays
    // text, so that a click on it is a click in the text.
    static const QRegularExpression pattern(
        QStringLiteral("(?:\\b(?:https?|ftp|file|mailto):|\\bwww\\.)"
                       "[^\\s<>\"\\x{2028}\\x{2029}]+"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Punctuation that ends a sentence is not part of the address before it.
int trimmedLength(const QString &text, int start, int length)
{
    static const QString kTrailing = QStringLiteral(".,;:!?)]}'");
    while (length > 0 && kTrailing.contains(text.at(start + length - 1)))
        --length;
    return length;
}

} // namespace

QList<Link> find(const QString &text)
{
    QList<Link> links;
    // Every address has a colon or "www." in it: most paragraphs need no regex.
    if (!text.contains(QLatin1Char(':')) && !text.contains(QLatin1String("www."), Qt::CaseInsensitive))
        return links;
    auto it = linkPattern().globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const int start = static_cast<int>(match.capturedStart());
        const int length = trimmedLength(text, start, static_cast<int>(match.capturedLength()));
        // A scheme with nothing after it ("http:") is no address.
        if (length > 0 && !text.mid(start, length).endsWith(QLatin1Char(':')))
            links.append({start, length});
    }
    return links;
}

QTextCharFormat format()
{
    QTextCharFormat link;
    link.setForeground(QColor(Qt::blue));
    link.setFontUnderline(true);
    return link;
}

} // namespace links
