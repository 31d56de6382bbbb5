#include "tools/Inserts.h"

#include "formats/PlainTextCodec.h"
#include "support/TestHelpers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace inserts;

namespace {

using testhelpers::u8;

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    testhelpers::writeFile(path, content);
    return path;
}

// The unquoted part of a date-time format.
QString unquoted(const QString &format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted)
            result.append(c);
    }
    return result;
}

} // namespace

TEST(InsertDateTime, ShortDateSpaceLongTimeAndTheDateAloneAtMidnight)
{
    struct Case {
        QLocale locale;
        QTime time;
        const char *expected;
    };
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale bg(QLocale::Bulgarian, QLocale::Bulgaria);
    const QLocale zh(QLocale::Chinese, QLocale::China);
    const Case cases[] = {
        {us, QTime(9, 5, 7), "12/8/26 9:05:07 AM"},
        {ru, QTime(9, 5, 7), "08.12.2026 09:05:07"},
        {de, QTime(21, 5, 7), "08.12.26 21:05:07"},
        // Quoted literals stay; the zone goes, wherever it stood.
        {bg, QTime(13, 14, 15), "8.12.26 г. 13:14:15 ч."},
        {zh, QTime(13, 14, 15), "2026/12/8 13:14:15"},
        // The first second after midnight: the date alone.
        {us, QTime(0, 0, 0), "12/8/26"},
        {ru, QTime(0, 0, 0, 999), "08.12.2026"},
        {ru, QTime(0, 0, 1), "08.12.2026 00:00:01"},
        {us, QTime(0, 1, 0), "12/8/26 12:01:00 AM"},
        {us, QTime(12, 0, 0), "12/8/26 12:00:00 PM"},
        {ru, QTime(23, 59, 59), "08.12.2026 23:59:59"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(dateTimeText(QDateTime(QDate(2026, 12, 8), c.time), c.locale), u8(c.expected))
            << c.locale.name().toStdString() << " " << c.time.toString().toStdString();
    }
}

TEST(InsertDateTime, NoLocaleShowsAZoneAndEveryOneShowsSeconds)
{
    const QTime time(13, 47, 58);
    const auto locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale &locale : locales) {
        const QString format = longTimeFormat(locale);
        EXPECT_FALSE(unquoted(format).contains(QLatin1Char('t'))) << locale.name().toStdString();
        const QString text = locale.toString(time, format);
        EXPECT_TRUE(text.contains(locale.toString(47)) && text.contains(locale.toString(58)))
            << locale.name().toStdString() << ": " << text.toStdString();
        EXPECT_EQ(text, text.trimmed()) << locale.name().toStdString();
    }
}

TEST(InsertFileName, ThePartAfterTheLastFolderSeparator)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/home/user/Docs/letter.txt", "letter.txt"},
        {"letter.txt", "letter.txt"},
        {"/home/user/.profile", ".profile"},
        {"/home/user/Docs/", ""},
        {"", ""},
        // Backslash and colon are ordinary characters of a name here.
        {"/tmp/a:b\\c.txt", "a:b\\c.txt"},
    };
    for (const auto &[path, expected] : cases)
        EXPECT_EQ(fileNamePart(u8(path)), u8(expected)) << path;
}

TEST(InsertFileContents, UpToTheFirstZeroByteDecodedAsPlainText)
{
    struct Case {
        QByteArray bytes;
        const char *expected;
    };
    const Case cases[] = {
        {"abc", "abc"},
        {QByteArray("a\0bc", 4), "a"},
        {QByteArray("\0abc", 4), ""},
        {QByteArray("A\0", 2), "A"}, // the second byte zero: the first byte only
        {"", ""},
        {"\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},               // Windows-1251
        {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "Привет"}, // UTF-8
        {"a\r\nb\rc\nd", "a\nb\nc\nd"},                        // every break style ends a paragraph
        {QByteArray("A\0B\0", 4), "A"},                       // UTF-16 without a mark
        {QByteArray("\xCF\xF0\0\xE8", 4), "Пр"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(textUpToFirstZero(c.bytes), u8(c.expected)) << c.bytes.toHex().toStdString();
}

TEST(InsertFileContents, AMarkCutShortReadsAsTheCharactersItsBytesAre)
{
    const struct {
        QByteArray bytes;
        const char *expected;
    } cases[] = {
        // Cut inside the first character: the mark's bytes and the odd byte are Windows-1251.
        {QByteArray("\xFF\xFE" "A\0B\0", 6), "яюA"},
        {QByteArray("\xFF\xFE\x1F\x04\x40\x04 \0", 8), "яю\x1F\x04@\x04 "},
        // Big-endian, cut inside a surrogate pair.
        {QByteArray("\xFE\xFF\xD8\x3D\xDE\0", 6), "юяШ=Ю"},
        // Whole UTF-16 before the zero keeps its mark's meaning.
        {QByteArray("\xFF\xFE\x1F\x04\x40\x04\0\0", 8), "Пр"},
        {QByteArray("\xFF\xFE\x3D\xD8\x42\xDE", 6), "\xF0\x9F\x99\x82"},
        // Whole UTF-8 with its mark is UTF-8.
        {QByteArray("\xEF\xBB\xBF\xD0\x9F\0x", 7), "П"},
    };
    for (const auto &c : cases) {
        const QString text = textUpToFirstZero(c.bytes);
        EXPECT_EQ(text, u8(c.expected)) << c.bytes.toHex().toStdString();
        EXPECT_FALSE(text.contains(QChar(0xFFFD))) << c.bytes.toHex().toStdString();
    }
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("utf16.txt"), cases[0].bytes);
    EXPECT_EQ(readFileText(path, 100), u8("яюA"));
}

TEST(InsertFileContents, ReadsTheFileOnlyAsFarAsItsFirstZero)
{
    QTemporaryDir dir;
    QByteArray longText(100000, 'a'); // the zero lies past the first block read
    QByteArray withLateZero = longText + QByteArray("\0tail", 5);
    struct Case {
        const char *name;
        QByteArray content;
        qsizetype limit;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"plain.txt", QByteArray("hello\r\nworld\0rest", 17), 100, u8("hello\nworld")},
        {"empty.txt", QByteArray(), 100, QString()},
        {"late-zero.bin", withLateZero, 200000, QString::fromLatin1(longText)},
        {"exact.txt", "12345", 5, u8("12345")},
        {"too-long.txt", "123456", 5, std::nullopt},
        // Only the text before the zero has to fit.
        {"cut-to-fit.txt", QByteArray("12345\0", 6) + QByteArray(1000, 'x'), 5, u8("12345")},
        // Two bytes a letter in UTF-8: the letters count, not the bytes.
        {"cyrillic.txt", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", 6, u8("Привет")},
    };
    for (const Case &c : cases) {
        const QString path = writeFile(dir, QString::fromLatin1(c.name), c.content);
        EXPECT_EQ(readFileText(path, c.limit), c.expected) << c.name;
    }
}

TEST(InsertFileContents, WhatIsNoReadableFileGivesNothing)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A pipe with no writer would block the program for good.
    EXPECT_EQ(readFileText(fifo, 100), std::nullopt);
    EXPECT_EQ(readFileText(dir.filePath(QStringLiteral("missing.txt")), 100), std::nullopt);
    EXPECT_EQ(readFileText(dir.path(), 100), std::nullopt);
    EXPECT_EQ(readFileText(QString(), 100), std::nullopt);
}
