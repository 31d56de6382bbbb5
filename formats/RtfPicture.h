#pragma once

#include "formats/RtfContent.h"

#include <QByteArray>

#include <optional>

// A {\pict} group being read: its data from hex digits or \bin, its declared
// kind and displayed size, and the decoding of what it holds into an image
// within limits on size and count.
namespace rtf::detail {

// What \pngblip, \jpegblip and the other picture kinds declare.
constexpr int kPictureUnknown = 0;
constexpr int kPicturePng = 1;
constexpr int kPictureJpeg = 2;
constexpr int kPictureDib = 3;    // a BMP without its file header
constexpr int kPictureWmf = 4;    // metafiles: shown as a box, kept as read
constexpr int kPictureEmf = 5;
constexpr int kPictureOther = -1; // kinds we do not show

class PictureReader
{
public:
    void start();
    // The kind, with the number of its word (\wmetafile8's mapping mode).
    void setType(int type, int parameter)
    {
        m_type = type;
        m_typeParameter = parameter;
    }
    void setWidth(int units);
    void setHeight(int units);
    void setWidthGoal(int twips);
    void setHeightGoal(int twips);
    void setScaleX(int percent);
    void setScaleY(int percent);

    // Hex digits in pairs; anything else between them is ignored.
    void appendHex(const uchar *begin, const uchar *end);
    void appendBinary(const uchar *begin, const uchar *end);

    // Ends the picture. Returns it when it is to be shown, is a PNG or JPEG
    // image and is within the limits; the data is dropped either way.
    std::optional<Image> finish(bool shown);
    // Pictures with data that finish did not give back.
    int dropped() const { return m_dropped; }

private:
    std::optional<Image> read(bool shown);
    std::optional<Image> decode(QByteArray &data, const char *format);
    Image metafileBox(QByteArray data) const;
    QByteArray declaration() const;
    void setDisplayedSize(Image &image) const;

    QByteArray m_data;
    int m_nibble = -1; // the first digit of a pair, until the second comes
    int m_type = kPictureUnknown;
    int m_typeParameter = 0;
    int m_width = 0; // \picw, \pich: pixels, or a metafile's own units
    int m_height = 0;
    bool m_tooBig = false;
    int m_widthGoal = 0; // twips
    int m_heightGoal = 0;
    int m_scaleX = 100;  // percent
    int m_scaleY = 100;
    qint64 m_totalPixels = 0;
    int m_attempts = 0;
    int m_dropped = 0;
    bool m_hadData = false;
};

} // namespace rtf::detail
