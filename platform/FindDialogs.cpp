#include "platform/FindDialogs.h"

namespace platform {

QString findFieldText(const QString &typed)
{
    QString text = typed;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            text.truncate(i);
            break;
        }
    }
    if (text.size() > kFindFieldMaxLength) {
        text.truncate(kFindFieldMaxLength);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

} // namespace platform
