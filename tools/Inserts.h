#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

// The texts the "Insert" menu puts at the caret: the date and time, a file's
// contents and a file's name.
namespace inserts {

// The user's short date, a space and the long time; within the first second
// after midnight the date alone.
QString dateTimeText(const QDateTime &moment, const QLocale &locale);

// The locale's long time format without its time zone, which the
// hours-minutes-seconds time of the inserted text never carried.
QString longTimeFormat(const QLocale &locale);

// The name after the last folder separator: "/home/u/letter.txt" gives
// "letter.txt".
QString fileNamePart(const QString &path);

// The bytes before the first zero byte, decoded as the editor decodes a
// plain-text file.
QString textUpToFirstZero(QByteArrayView bytes);

// The text of the file up to its first zero byte. Nothing when the path is not
// a regular file, the file cannot be read, or its text would be longer than
// `maxCharacters` (the editor could not hold it); the file is read only as far
// as it has to be.
std::optional<QString> readFileText(const QString &path, qsizetype maxCharacters);

} // namespace inserts
