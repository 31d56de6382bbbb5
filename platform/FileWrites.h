#pragma once

#include <QByteArray>

class QIODevice;
class QSaveFile;

// Writing a file so that nothing fails silently and nothing the old file had
// is lost on the way.
namespace filewrites {

// Opens the file to be written straight through: every write reaches the
// system at once, so a failure carries the system's reason.
bool openForSaving(QSaveFile &file);

// Writes all of `bytes`; false when the device stops taking them, with the
// reason in its errorString(). A short write (a full disk) sets no error by
// itself: the rest is offered again until the system says why.
bool writeAll(QIODevice &device, const QByteArray &bytes);

// Gives the new file the owner and group of the file it replaces, where the
// user may set them (the group alone when only that is allowed). Call before
// commit(); nothing happens for a new file.
void keepOwnership(QSaveFile &file);

} // namespace filewrites
