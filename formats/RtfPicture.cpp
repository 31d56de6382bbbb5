#include "formats/RtfPicture.h"

#include "formats/RtfTokenizer.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace rtf::detail {

namespace {

constexpr qsizetype kMaxPictureBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxImagePixels = 40'000'000;
constexpr qint64 kMaxTotalImagePixels = 160'000'000;
constexpr int kMaxImages = 10000;    // pictures decoded, whether they load or not
constexpr int kMaxImageSide = 20000; // displayed size in pixels
constexpr int kTwipsPerPixel = 15;   // at 96 dots per inch
constexpr int kMaxScalePercent = 10000;

} // namespace

void PictureReader::start()
{
    m_data.clear();
    m_nibble = -1;
    m_type = kPictureUnknown;
    m_tooBig = false;
    m_widthGoal = m_heightGoal = 0;
    m_scaleX = m_scaleY = 100;
}

void PictureReader::setWidthGoal(int twips)
{
    m_widthGoal = std::clamp(twips, 0, kMaxImageSide * kTwipsPerPixel);
}

void PictureReader::setHeightGoal(int twips)
{
    m_heightGoal = std::clamp(twips, 0, kMaxImageSide * kTwipsPerPixel);
}

void PictureReader::setScaleX(int percent)
{
    m_scaleX = std::clamp(percent, 1, kMaxScalePercent);
}

void PictureReader::setScaleY(int percent)
{
    m_scaleY = std::clamp(percent, 1, kMaxScalePercent);
}

void PictureReader::appendHex(const uchar *begin, const uchar *end)
{
    for (const uchar *p = begin; p < end; ++p) {
        const int h = hexDigitValue(*p);
        if (h < 0 || m_tooBig)
            continue;
        if (m_nibble < 0) {
            m_nibble = h;
            continue;
        }
        if (m_data.size() >= kMaxPictureBytes)
            m_tooBig = true;
        else
            m_data.append(char(m_nibble * 16 + h));
        m_nibble = -1;
    }
}

void PictureReader::appendBinary(const uchar *begin, const uchar *end)
{
    if (m_tooBig)
        return;
    const qsizetype n = end - begin;
    if (m_data.size() + n > kMaxPictureBytes)
        m_tooBig = true;
    else
        m_data.append(reinterpret_cast<const char *>(begin), n);
}

std::optional<Image> PictureReader::finish(bool shown)
{
    QByteArray data;
    data.swap(m_data);
    if (m_type <= kPictureUnknown || m_tooBig || data.isEmpty() || !shown
        || m_attempts >= kMaxImages)
        return std::nullopt;
    ++m_attempts;
    // Trust the data's signature over the declared type.
    const char *format = nullptr;
    if (data.startsWith("\x89PNG"))
        format = "png";
    else if (data.startsWith("\xFF\xD8"))
        format = "jpeg";
    if (!format)
        return std::nullopt;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > kMaxImagePixels || m_totalPixels + pixels > kMaxTotalImagePixels)
        return std::nullopt;
    Image result;
    if (!reader.read(&result.image) || result.image.isNull())
        return std::nullopt;
    m_totalPixels += pixels;

    const double sx = m_scaleX / 100.0;
    const double sy = m_scaleY / 100.0;
    if (m_widthGoal > 0)
        result.width = m_widthGoal / double(kTwipsPerPixel) * sx;
    else if (m_scaleX != 100)
        result.width = result.image.width() * sx;
    if (m_heightGoal > 0)
        result.height = m_heightGoal / double(kTwipsPerPixel) * sy;
    else if (m_scaleY != 100)
        result.height = result.image.height() * sy;
    result.width = qMin<double>(result.width, kMaxImageSide);
    result.height = qMin<double>(result.height, kMaxImageSide);
    return result;
}

} // namespace rtf::detail
