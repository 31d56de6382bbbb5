#pragma once

#include "formats/RtfLoadStatus.h"
#include <QString>
#include <QStringList>

// The document's file names, the window title they give and the two file
// dialogs' settings.
namespace documents {

// "letter.rtf - Veltrix 3.0" for a file letter.rtf in any folder; `mark`
// follows the name.
QString titleFor(const QString &path, const QString &mark = QString());
QString folderOf(const QString &path); // empty for an empty path
QString nameOf(const QString &path);
// Both name one file (through links too); never an empty name.
bool sameFile(const QString &a, const QString &b);

// "text|pattern" pairs, 24 each, in their own orders.
const QStringList &openFilters();
const QStringList &saveFilters();
inline constexpr char kDefaultExtension[] = "RTF";

// The two prompts of closing, in the interface language.
QString exitPromptText(bool english);
QString closePromptText(bool english, const QString &fileName);
// The question at start when a recovery copy of `fileName` (empty: an untitled
// document) was left by a run that did not close normally.
QString recoveryPromptText(bool english, const QString &fileName);
// Told once at start when the folder of the recovery copies is not the user's own.
QString recoveryFolderNotOursText(bool english, const QString &folder);
// In the status bar when a recovery copy could not be written.
QString recoveryCopyFailedText(bool english);
// What an opened RTF file held that the editor cannot keep; empty when nothing.
QString leftOutText(bool english, const rtf::LoadStatus &status);

} // namespace documents

// A file dialog's state between uses: what it was last set to and chose.
struct FileDialogState {
    QString initialFolder;
    QString fileName;
};
