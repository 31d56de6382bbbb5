#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QTextBlock;
class QTextDocument;

// Spans of the text marked over it where it is shown (a red wave) and told to
// a screen reader as invalid: never part of the document, its copies or its
// files. The editor asks; another part of the program (spelling) answers.
class TextMarks : public QObject {
    Q_OBJECT
public:
    struct Span {
        int start = 0; // in the paragraph's text
        int length = 0;
    };
    using QObject::QObject;

    virtual bool active() const = 0;
    // What a screen reader is told the spans are ("spelling").
    virtual QString kind() const = 0;
    // The document whose paragraphs are marked.
    virtual void setDocument(QTextDocument *document) = 0;
    // The spans of a paragraph as shown; the one being typed in may have none
    // for now. nullptr: none.
    virtual const std::vector<Span> *shownIn(const QTextBlock &block) = 0;
    // The spans of a paragraph, found now whatever it is.
    virtual std::vector<Span> foundIn(const QTextBlock &block) = 0;

Q_SIGNALS:
    // The spans changed where they are shown: the view paints again.
    void marksChanged();
};
