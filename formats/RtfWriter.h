#pragma once

#include <QByteArray>

class QTextDocument;

// Writing the program's document model as RTF the way the Windows rich edit
// control writes it, with Word's list table added so that other programs keep
// letter and roman numbering.
namespace rtf {

// The whole document.
QByteArray write(const QTextDocument &document);

// The characters at positions from..to-1 (the clipboard's selection). A
// paragraph ends with \par only when its end is inside the range.
QByteArray write(const QTextDocument &document, int from, int to);

} // namespace rtf
