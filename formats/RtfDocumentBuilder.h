#pragma once

#include "formats/RtfContent.h"

class QTextDocument;

// Turns what the RTF parser read into the document's paragraphs, lists,
// formats and images (see ParagraphFormat.h for how paragraphs are kept).
namespace rtf::detail {

// Replaces the whole content of the document, as one step that is not undone.
void buildDocument(const Content &content, QTextDocument &document);

} // namespace rtf::detail
