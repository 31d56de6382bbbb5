#include "formats/RtfReader.h"

#include "formats/RtfDocumentBuilder.h"
#include "formats/RtfParser.h"

#include <cstring>

namespace rtf {

namespace {

const uchar *skipLeadingSpace(const uchar *p, const uchar *end)
{
    if (end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        p += 3;
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\f'))
        ++p;
    return p;
}

detail::Parser parserFor(QByteArrayView data, detail::Extent extent = detail::Extent::Document)
{
    const auto *begin = reinterpret_cast<const uchar *>(data.data());
    const uchar *end = begin + data.size();
    return detail::Parser(skipLeadingSpace(begin, end), end, extent);
}

bool readInto(QByteArrayView data, QTextDocument &document, detail::Extent extent,
              LoadStatus *status = nullptr)
{
    if (!looksLikeRtf(data))
        return false;
    detail::Parser parser = parserFor(data, extent);
    parser.parse();
    if (status)
        *status = parser.status();
    detail::buildDocument(parser.takeContent(), document);
    return true;
}

} // namespace

namespace detail {

int parseOnly(QByteArrayView data)
{
    if (!looksLikeRtf(data))
        return -1;
    Parser parser = parserFor(data);
    parser.parse();
    return parser.paragraphCount();
}

} // namespace detail

bool looksLikeRtf(QByteArrayView data)
{
    const auto *begin = reinterpret_cast<const uchar *>(data.data());
    const uchar *end = begin + data.size();
    const uchar *p = skipLeadingSpace(begin, end);
    return end - p >= 5 && std::memcmp(p, "{\\rtf", 5) == 0;
}

bool read(QByteArrayView data, QTextDocument &document)
{
    return readInto(data, document, detail::Extent::Document);
}

bool read(QByteArrayView data, QTextDocument &document, LoadStatus &status)
{
    return readInto(data, document, detail::Extent::Document, &status);
}

bool readFragment(QByteArrayView data, QTextDocument &document)
{
    return readInto(data, document, detail::Extent::Fragment);
}

} // namespace rtf
