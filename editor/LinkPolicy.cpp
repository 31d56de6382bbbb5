#include "editor/LinkPolicy.h"

#include "editor/RunnableFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace linkpolicy {

namespace {

using Kind = LinkAction::Kind;

// Control and bidirectional formatting characters could make the path the
// user is asked about read as another one.
bool hasControlCharacters(const QString &text)
{
    for (const QChar c : text) {
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            break;
        }
    }
    return false;
}

LinkAction webAddress(const QString &address)
{
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    return {Kind::OpenInBrowser, url.toString(QUrl::FullyEncoded)};
}

// Recipients as a mail program takes them. "?", "&", "%" and "#" have no
// place in an address and could smuggle in fields once a program decodes it.
bool isAddressList(const QString &addresses)
{
    static const QRegularExpression address(QStringLiteral("^[^\\s@<>()\\[\\]\\\\,;:\"?&%#]+@[^\\s@<>()\\[\\]\\\\,;:\"?&%#]+$"));
    const QStringList parts = addresses.split(QLatin1Char(','));
    for (const QString &part : parts) {
        if (!address.match(part.trimmed()).hasMatch())
            return false;
    }
    return true;
}

// Only the recipients, the subject and the body survive: attachments and
// the other fields would let a document mail out files or headers the user
// never sees.
LinkAction mailAddress(const QString &link)
{
    const QUrl url(link, QUrl::TolerantMode);
    if (!url.isValid())
        return {};
    const QString to = url.path(QUrl::FullyDecoded);
    if (!to.isEmpty() && !isAddressList(to))
        return {};
    static const QByteArray kAddressCharacters = "@,+";
    QStringList fields;
    const QUrlQuery query(url);
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        const QString field = key.toLower();
        const bool kept = (field == QLatin1String("to") && isAddressList(value)) || field == QLatin1String("subject")
                          || field == QLatin1String("body");
        if (kept) {
            const QByteArray encoded = QUrl::toPercentEncoding(value, field == QLatin1String("to") ? kAddressCharacters : QByteArray());
            fields.append(field + QLatin1Char('=') + QString::fromLatin1(encoded));
        }
    }
    QString address = QStringLiteral("mailto:") + QString::fromLatin1(QUrl::toPercentEncoding(to, kAddressCharacters));
    if (!fields.isEmpty())
        address += QLatin1Char('?') + fields.join(QLatin1Char('&'));
    return {Kind::OpenMail, address};
}

LinkAction localFile(const QString &link, const QString &documentFolder)
{
    const QUrl url(link, QUrl::TolerantMode);
    if (!url.isValid())
        return {};
    // A file on another machine is not this one's to open.
    if (!url.host().isEmpty() && url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return {};
    QString path = url.path(QUrl::FullyDecoded);
    if (path.isEmpty() || hasControlCharacters(path))
        return {};
    // Joined by hand: QDir takes a name starting with ":" for a resource of
    // the program.
    const QChar slash = QLatin1Char('/');
    if (!path.startsWith(slash)) {
        if (!documentFolder.startsWith(slash))
            return {};
        path = documentFolder + slash + path;
    }
    path = QDir::cleanPath(path);
    // The path the user is shown is the file that opens, whatever links lead there.
    const QString real = QFileInfo(path).canonicalFilePath();
    // A name too long for the system still gets a canonical path from Qt.
    if (!path.startsWith(slash) || !real.startsWith(slash) || !QFileInfo::exists(real))
        return {};
    if (runnablefiles::isRunnable(path) || runnablefiles::isRunnable(real))
        return {Kind::ShowInFileManager, real};
    return {Kind::AskThenOpenFile, real};
}

} // namespace

LinkAction decide(const QString &link, const QString &documentFolder)
{
    if (link.isEmpty() || hasControlCharacters(link) || link.contains(QLatin1Char(' ')))
        return {};
    if (link.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return webAddress(QStringLiteral("http://") + link);
    static const QRegularExpression schemePattern(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    const QRegularExpressionMatch match = schemePattern.match(link);
    if (!match.hasMatch())
        return {};
    const QString scheme = match.captured(1).toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ftp"))
        return webAddress(link);
    if (scheme == QLatin1String("mailto"))
        return mailAddress(link);
    if (scheme == QLatin1String("file"))
        return localFile(link, documentFolder);
    return {};
}

} // namespace linkpolicy
