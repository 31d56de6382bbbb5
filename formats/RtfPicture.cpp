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
// Pictures are written back as PNG, and libpng reads no side above a million
// pixels: a longer picture would be shown but lost on saving.
constexpr int kMaxImagePixelSide = 65535;
constexpr int kTwipsPerPixel = 15;   // at 96 dots per inch
constexpr int kMaxScalePercent = 10000;
constexpr int kMaxPictureUnits = 1'000'000; // \picw, \pich
constexpr double kPixelsPerInch = 96;
constexpr double kMillimetresPerInch = 25.4;
constexpr int kBoxSide = 32; // the box standing for a metafile, before scaling
constexpr QRgb kBoxFrame = 0xFF808080;
constexpr QRgb kBoxInside = 0xFFF0F0F0;

constexpr qsizetype kBitmapFileHeaderBytes = 14;
constexpr qsizetype kCoreHeaderBytes = 12;   // BITMAPCOREHEADER
constexpr qsizetype kInfoHeaderBytes = 40;   // BITMAPINFOHEADER
constexpr quint32 kBitFields = 3;            // BI_BITFIELDS: three masks follow a 40-byte header
constexpr int kMaxPaletteBits = 8;

quint32 littleEndian(const QByteArray &data, qsizetype at, int bytes)
{
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | uchar(data[at + i]);
    return value;
}

// A DIB is a BMP file without its 14-byte file header: put one before it,
// pointing past the info header and the palette to the pixels.
bool addBitmapFileHeader(QByteArray &dib)
{
    if (dib.size() < kCoreHeaderBytes)
        return false;
    const quint32 headerSize = littleEndian(dib, 0, 4);
    qsizetype offset = 0;
    if (headerSize == kCoreHeaderBytes) {
        const quint32 bits = littleEndian(dib, 10, 2);
        offset = kCoreHeaderBytes + (bits <= kMaxPaletteBits ? (qsizetype(1) << bits) * 3 : 0);
    } else if (headerSize >= kInfoHeaderBytes && qsizetype(headerSize) <= dib.size()) {
        const quint32 bits = littleEndian(dib, 14, 2);
        const quint32 compression = littleEndian(dib, 16, 4);
        const quint32 used = littleEndian(dib, 32, 4);
        qsizetype colours = used != 0 ? qsizetype(qMin<quint32>(used, 256)) : 0;
        if (used == 0 && bits <= kMaxPaletteBits)
            colours = qsizetype(1) << bits;
        offset = headerSize + colours * 4;
        if (headerSize == kInfoHeaderBytes && compression == kBitFields)
            offset += 12;
    } else {
        return false;
    }
    if (offset > dib.size())
        return false;
    QByteArray header("BM");
    const auto put32 = [&header](quint32 v) {
        for (int i = 0; i < 4; ++i)
            header += char((v >> (8 * i)) & 0xFF);
    };
    put32(quint32(kBitmapFileHeaderBytes + dib.size()));
    put32(0);
    put32(quint32(kBitmapFileHeaderBytes + offset));
    dib.prepend(header);
    return true;
}

} // namespace

void PictureReader::start()
{
    m_data.clear();
    m_nibble = -1;
    m_type = kPictureUnknown;
    m_tooBig = false;
    m_widthGoal = m_heightGoal = 0;
    m_width = m_height = 0;
    m_typeParameter = 0;
    m_scaleX = m_scaleY = 100;
}

void PictureReader::setWidth(int units)
{
    m_width = std::clamp(units, 0, kMaxPictureUnits);
}

void PictureReader::setHeight(int units)
{
    m_height = std::clamp(units, 0, kMaxPictureUnits);
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
    std::optional<Image> image = read(shown);
    if (!image && (m_hadData || m_tooBig))
        ++m_dropped;
    return image;
}

std::optional<Image> PictureReader::read(bool shown)
{
    QByteArray data;
    data.swap(m_data);
    m_hadData = !data.isEmpty();
    if (m_type <= kPictureUnknown || m_tooBig || data.isEmpty() || !shown
        || m_attempts >= kMaxImages)
        return std::nullopt;
    ++m_attempts;
    if (m_type == kPictureWmf || m_type == kPictureEmf)
        return metafileBox(std::move(data));
    if (m_type == kPictureDib) {
        if (!addBitmapFileHeader(data))
            return std::nullopt;
        return decode(data, "bmp");
    }
    // Trust the data's signature over the declared type.
    if (data.startsWith("\x89PNG"))
        return decode(data, "png");
    if (data.startsWith("\xFF\xD8"))
        return decode(data, "jpeg");
    return std::nullopt;
}

std::optional<Image> PictureReader::decode(QByteArray &data, const char *format)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    const qint64 pixels = qint64(size.width()) * size.height();
    if (size.width() > kMaxImagePixelSide || size.height() > kMaxImagePixelSide || pixels > kMaxImagePixels
        || m_totalPixels + pixels > kMaxTotalImagePixels)
        return std::nullopt;
    Image result;
    if (!reader.read(&result.image) || result.image.isNull())
        return std::nullopt;
    m_totalPixels += pixels;
    setDisplayedSize(result);
    return result;
}

void PictureReader::setDisplayedSize(Image &result) const
{
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
}

// A metafile is not drawn: a framed box of its displayed size stands for it,
// and its bytes are kept to be written back.
Image PictureReader::metafileBox(QByteArray data) const
{
    Image result;
    result.image = QImage(kBoxSide, kBoxSide, QImage::Format_RGB32);
    result.image.fill(kBoxFrame);
    for (int y = 1; y < kBoxSide - 1; ++y)
        for (int x = 1; x < kBoxSide - 1; ++x)
            result.image.setPixel(x, y, kBoxInside);
    // Without a goal, \picw and \pich are hundredths of a millimetre.
    const auto fromHundredthsMm = [](int units) { return units / 100.0 / kMillimetresPerInch * kPixelsPerInch; };
    setDisplayedSize(result);
    if (result.width <= 0)
        result.width = m_width > 0 ? qMin<double>(fromHundredthsMm(m_width), kMaxImageSide) : kBoxSide;
    if (result.height <= 0)
        result.height = m_height > 0 ? qMin<double>(fromHundredthsMm(m_height), kMaxImageSide) : kBoxSide;
    result.keptWords = declaration();
    result.keptData = std::move(data);
    return result;
}

QByteArray PictureReader::declaration() const
{
    QByteArray words = m_type == kPictureEmf ? QByteArray("\\emfblip")
                                              : "\\wmetafile" + QByteArray::number(m_typeParameter);
    const auto add = [&words](const char *word, int value) {
        words += word;
        words += QByteArray::number(value);
    };
    if (m_width > 0)
        add("\\picw", m_width);
    if (m_height > 0)
        add("\\pich", m_height);
    if (m_widthGoal > 0)
        add("\\picwgoal", m_widthGoal);
    if (m_heightGoal > 0)
        add("\\pichgoal", m_heightGoal);
    if (m_scaleX != 100)
        add("\\picscalex", m_scaleX);
    if (m_scaleY != 100)
        add("\\picscaley", m_scaleY);
    return words;
}

} // namespace rtf::detail
