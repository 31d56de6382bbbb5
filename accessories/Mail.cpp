#include "accessories/Mail.h"

#include "accessories/DeveloperInfo.h"

#include <QUrl>

namespace {

QString encoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

QString mailAddress(bool english, bool withGreeting, const QString &documentText)
{
    const QString subject = QString::fromUtf8(english ? developer::kSubjectEnglish : developer::kSubjectRussian);
    const QString bodyStart = withGreeting
                                  ? QString::fromUtf8(english ? developer::kGreetingEnglish : developer::kGreetingRussian)
                                  : QStringLiteral(" ");
    return QStringLiteral("mailto:") + QString::fromLatin1(developer::kMail) + QStringLiteral("?Subject=") +
           encoded(subject) + QStringLiteral("&Body=") + encoded(bodyStart + documentText);
}
