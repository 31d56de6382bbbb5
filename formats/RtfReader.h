#pragma once

#include "formats/RtfLoadStatus.h"

#include <QByteArrayView>

class QTextDocument;

// Reading RTF into the program's document model (see ParagraphFormat.h).
namespace rtf {

// True when the data starts, after optional white space or a UTF-8 byte order
// mark, with "{\rtf".
bool looksLikeRtf(QByteArrayView data);

// Replaces the whole content of the document with the RTF's content. Returns
// false and leaves the document untouched when the data is not RTF at all.
// Any other input loads as much as can be made of it: the reader never throws,
// never recurses on the input's nesting, and takes time and memory in
// proportion to the input.
bool read(QByteArrayView data, QTextDocument &document);

// The groups of a file's header that the document does not show, kept as read
// for the writer to write back: a QByteArrayList in this property of the
// document, absent when there are none.
inline constexpr char kKeptHeaderProperty[] = "rtfKeptHeaderGroups";
// The same, telling in `status` what the document held that it cannot.
bool read(QByteArrayView data, QTextDocument &document, LoadStatus &status);

// The same for a piece of a document, as the clipboard and drag and drop carry
// it: a final \par is a paragraph end of its own, so the document then ends
// with an empty paragraph, as a QTextDocumentFragment of a selection that
// ends with a paragraph end does. A whole file's last \par is not.
bool readFragment(QByteArrayView data, QTextDocument &document);

namespace detail {
// The tokenizer and table readers alone, without building a document (for
// measuring). Returns the number of paragraphs, or -1 when not RTF.
int parseOnly(QByteArrayView data);
} // namespace detail

} // namespace rtf
