#pragma once

#include <QList>
#include <QSyntaxHighlighter>

// Shows the web and mail addresses in the text as links. The link format is
// only painted: it is not part of the document, adds no undo step and leaves
// the modified flag alone.
class LinkHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

    struct Link {
        int start; // within the paragraph
        int length;
    };
    // The addresses in one paragraph's text, in order.
    static QList<Link> findLinks(const QString &text);

protected:
    void highlightBlock(const QString &text) override;
};
