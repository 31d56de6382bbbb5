#include "spelling/Dictionary.h"

#include "formats/CodePages.h"

#include <QFile>
#include <QFileInfo>

#include <hunspell.hxx>

namespace spelling {

namespace {

constexpr char16_t kPastLatin1 = 0x100;
// ISO 8859-5: 0xA1..0xFF are U+0401..U+045F but for three bytes of its own.
constexpr unsigned char kIso8859_5FirstCyrillicByte = 0xA1;
constexpr char16_t kIso8859_5Offset = 0x0401 - 0xA1;
constexpr unsigned char kIso8859_5SoftHyphenByte = 0xAD;
constexpr unsigned char kIso8859_5NumeroByte = 0xF0;
constexpr unsigned char kIso8859_5SectionByte = 0xFD;
constexpr char16_t kSoftHyphen = 0x00AD;
constexpr char16_t kNumero = 0x2116;
constexpr char16_t kSection = 0x00A7;

QChar iso8859_5Char(unsigned char byte)
{
    if (byte < kIso8859_5FirstCyrillicByte)
        return QChar(char16_t(byte));
    switch (byte) {
    case kIso8859_5SoftHyphenByte: return QChar(kSoftHyphen);
    case kIso8859_5NumeroByte: return QChar(kNumero);
    case kIso8859_5SectionByte: return QChar(kSection);
    default: return QChar(char16_t(byte + kIso8859_5Offset));
    }
}

int iso8859_5Byte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < kIso8859_5FirstCyrillicByte)
        return u;
    switch (u) {
    case kSoftHyphen: return kIso8859_5SoftHyphenByte;
    case kNumero: return kIso8859_5NumeroByte;
    case kSection: return kIso8859_5SectionByte;
    default: break;
    }
    const int byte = u - kIso8859_5Offset;
    if (byte < kIso8859_5FirstCyrillicByte || byte > 0xFF || byte == kIso8859_5SoftHyphenByte
        || byte == kIso8859_5NumeroByte || byte == kIso8859_5SectionByte)
        return -1;
    return byte;
}

std::string upper(std::string s)
{
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

} // namespace

Dictionary::Dictionary(std::unique_ptr<Hunspell> hunspell, Encoding encoding, QString encodingName)
    : hunspell_(std::move(hunspell)), encoding_(encoding), encodingName_(std::move(encodingName))
{
}

Dictionary::~Dictionary() = default;

std::optional<Dictionary::Encoding> Dictionary::encodingNamed(const std::string &name)
{
    const std::string n = upper(name);
    if (n == "UTF-8" || n == "UTF8")
        return Encoding::Utf8;
    if (n == "KOI8-R" || n == "KOI8R")
        return Encoding::Koi8r;
    if (n == "MICROSOFT-CP1251" || n == "CP1251" || n == "WINDOWS-1251")
        return Encoding::Windows1251;
    if (n == "ISO8859-1" || n == "ISO-8859-1" || n == "LATIN1")
        return Encoding::Latin1;
    if (n == "ISO8859-5" || n == "ISO-8859-5")
        return Encoding::Iso8859_5;
    return std::nullopt;
}

std::unique_ptr<Dictionary> Dictionary::open(const QString &affPath, const QString &dicPath)
{
    // Hunspell reports no error for a missing or unreadable file: it just knows no words.
    if (!QFileInfo(affPath).isReadable() || !QFileInfo(dicPath).isReadable())
        return nullptr;
    auto hunspell = std::make_unique<Hunspell>(QFile::encodeName(affPath).constData(),
                                               QFile::encodeName(dicPath).constData());
    const std::string &name = hunspell->get_dict_encoding();
    const std::optional<Encoding> encoding = encodingNamed(name);
    if (!encoding)
        return nullptr;
    return std::unique_ptr<Dictionary>(
        new Dictionary(std::move(hunspell), *encoding, QString::fromStdString(name)));
}

std::optional<std::string> Dictionary::encode(QStringView word) const
{
    bool lossless = true;
    QByteArray bytes;
    switch (encoding_) {
    case Encoding::Utf8:
        bytes = word.toUtf8();
        break;
    case Encoding::Koi8r:
        bytes = codepage::encodeKoi8r(word, &lossless);
        break;
    case Encoding::Windows1251:
        bytes = codepage::encodeWindows1251(word, &lossless);
        break;
    case Encoding::Latin1:
        for (QChar c : word)
            lossless = lossless && c.unicode() < kPastLatin1;
        bytes = word.toLatin1();
        break;
    case Encoding::Iso8859_5:
        bytes.reserve(word.size());
        for (QChar c : word) {
            const int b = iso8859_5Byte(c);
            lossless = lossless && b >= 0;
            bytes.append(char(b < 0 ? '?' : b));
        }
        break;
    }
    if (!lossless)
        return std::nullopt;
    return bytes.toStdString();
}

QString Dictionary::decode(const std::string &bytes) const
{
    const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    switch (encoding_) {
    case Encoding::Utf8: return QString::fromUtf8(view);
    case Encoding::Koi8r: return codepage::decodeKoi8r(view);
    case Encoding::Windows1251: return codepage::decodeWindows1251(view);
    case Encoding::Latin1: return QString::fromLatin1(view);
    case Encoding::Iso8859_5: {
        QString text;
        text.reserve(view.size());
        for (char b : view)
            text.append(iso8859_5Char((unsigned char)b));
        return text;
    }
    }
    return {};
}

bool Dictionary::spell(QStringView word) const
{
    const std::optional<std::string> bytes = encode(word);
    return bytes && hunspell_->spell(*bytes);
}

QStringList Dictionary::suggest(QStringView word) const
{
    const std::optional<std::string> bytes = encode(word);
    if (!bytes)
        return {};
    QStringList list;
    for (const std::string &s : hunspell_->suggest(*bytes))
        list.append(decode(s));
    return list;
}

} // namespace spelling
