#pragma once

#include <QList>
#include <QString>
#include <QTextCharFormat>

// Web, mail and "file:" addresses in the text, shown as links when the editor
// detects them. The link format is only painted: it is not part of the document, adds
// no undo step and leaves the modified flag alone.
namespace links {

struct Link {
    int start; // within the paragraph
    int length;
};

// The addresses in one paragraph's text, in order.
QList<Link> find(const QString &text);

// How an address is painted.
QTextCharFormat format();

} // namespace links
