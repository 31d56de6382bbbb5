#pragma once

#include <QByteArray>
#include <QString>

// Helpers every test program shares.
namespace testhelpers {

// The tests' non-ASCII literals are UTF-8 source text.
inline QString u8(const char *text) { return QString::fromUtf8(text); }

// Replaces the file's content with these bytes. A file that cannot be written
// fails the running test, naming the file; the result says whether it was written.
bool writeFile(const QString &path, const QByteArray &bytes);

// The file's bytes; empty when it cannot be read.
QByteArray readFile(const QString &path);

} // namespace testhelpers
