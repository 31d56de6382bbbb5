#include "editor/PastedPictures.h"

#include "editor/EditorDocument.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <optional>
#include <vector>

namespace pastedpictures {

namespace {

constexpr int kBytesPerPixel = 4; // as decoded: 32-bit pixels at most
const QByteArray kDecoders[] = {"png", "jpeg", "gif", "bmp"};

std::atomic<quint64> g_nextPictureId{1};

bool isPicture(const QVariant &resource)
{
    return resource.userType() == QMetaType::QImage || resource.userType() == QMetaType::QPixmap;
}

// The bytes of a data: address of an image type (RFC 2397), base64 or
// percent-encoded; nothing for any other address or past the limit.
std::optional<QByteArray> dataAddressBytes(const QString &address)
{
    if (!address.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return std::nullopt;
    const qsizetype comma = address.indexOf(QLatin1Char(','));
    if (comma < 0 || address.size() - comma - 1 > kMaxEncodedBytes)
        return std::nullopt;
    const QStringList parameters = QStringView(address).mid(5, comma - 5).toString().split(QLatin1Char(';'));
    if (!parameters.first().trimmed().startsWith(QLatin1String("image/"), Qt::CaseInsensitive))
        return std::nullopt;
    const bool base64 = parameters.last().trimmed().compare(QLatin1String("base64"), Qt::CaseInsensitive) == 0;
    QByteArray encoded = QByteArray::fromPercentEncoding(QStringView(address).mid(comma + 1).toLatin1());
    if (!base64)
        return encoded;
    // Addresses in HTML are often broken over lines.
    encoded.removeIf([](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
    QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(std::move(encoded), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return std::move(*decoded);
}

// The picture a data: address holds, when one of our decoders reads it and
// its pixels fit within `budget` bytes.
QImage pictureOf(const QString &address, qint64 budget)
{
    std::optional<QByteArray> data = dataAddressBytes(address);
    if (!data)
        return {};
    QBuffer buffer(&*data);
    buffer.open(QIODevice::ReadOnly);
    // Only these decoders, whatever the address calls its data.
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (std::find(std::begin(kDecoders), std::end(kDecoders), format) == std::end(kDecoders))
        return {};
    buffer.seek(0);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    // The size the data claims, checked before anything is decoded.
    const QSize size = reader.size();
    const qint64 limit = qMin(budget, kMaxPictureBytes);
    if (!size.isValid() || qint64(size.width()) * size.height() * kBytesPerPixel > limit)
        return {};
    QImage image = reader.read();
    if (image.sizeInBytes() > limit)
        return {};
    return image;
}

struct Picture {
    int position;
    int length; // one fragment: as many pictures of one format side by side
    QTextImageFormat format;
};

} // namespace

void takeInto(EditorDocument &piece, EditorDocument &target, rtf::LoadStatus &status)
{
    std::vector<Picture> pictures;
    for (QTextBlock block = piece.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                pictures.push_back({fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
        }
    }
    qint64 budget = kMaxPieceBytes;
    // From the end, so that taking one out leaves the positions of those before.
    for (auto it = pictures.rbegin(); it != pictures.rend(); ++it) {
        QTextCursor cursor(&piece);
        cursor.setPosition(it->position);
        cursor.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
        const QUrl name(it->format.name());
        const QVariant held = piece.resource(QTextDocument::ImageResource, name);
        if (isPicture(held)) {
            target.addResource(QTextDocument::ImageResource, name, held);
            continue;
        }
        if (isPicture(target.resource(QTextDocument::ImageResource, name)))
            continue;
        const QImage image = pictureOf(it->format.name(), budget);
        if (!image.isNull()) {
            budget -= image.sizeInBytes();
            const QString own = QStringLiteral("veltrix-pasted:%1").arg(g_nextPictureId.fetch_add(1));
            target.addResource(QTextDocument::ImageResource, QUrl(own), image);
            QTextImageFormat format = it->format;
            format.setName(own);
            cursor.setCharFormat(format);
            continue;
        }
        cursor.removeSelectedText();
        for (int i = 0; i < it->length; ++i)
            status.add(rtf::Loss::Pictures);
    }
}

} // namespace pastedpictures
