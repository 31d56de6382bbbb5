#pragma once

#include "tools/FindReplaceMatcher.h"

#include <QList>
#include <QString>

class QTextDocument;
class TRxRichEdit;

// The searches behind the find and replace dialogs: from what the user sees
// (the caret or the selection), under the dialog's options, around the
// document's end once.
namespace findreplace {

struct SearchOptions {
    bool matchCase = false; // off: letters match in either case (Ё and ё too)
    bool wholeWord = false; // an occurrence may not cut a word short
    bool down = true;
};

// One search text under one set of options, over a document's paragraphs
// (table cells among them). Positions are the document's; an occurrence lies
// within one paragraph, since the text holds no paragraph end. A search
// reads the paragraphs near where it starts one by one, then, when it has to
// go further, the document's raw text: a copy made at the speed of memory,
// where each paragraph's own text costs an allocation and a lookup.
class Search {
public:
    Search(const QString &text, SearchOptions options);

    int length() const { return static_cast<int>(text_.size()); }

    // The start of the nearest occurrence from `from` in the options'
    // direction (down: starting at or after it; up: ending at or before it),
    // going on from the other end once; -1 when there is none at all.
    int next(const QTextDocument &document, int from) const;
    // Whether [start, start + length) is an occurrence.
    bool isAt(const QTextDocument &document, int start, int length) const;
    // The starts of every occurrence from the document's start, none
    // overlapping the one before.
    QList<int> all(const QTextDocument &document) const;

private:
    // The nearest occurrence in the paragraphs near `from`, without going round.
    int nearby(const QTextDocument &document, int from) const;
    // The first or last occurrence lying wholly within [from, to] of `text`.
    qsizetype forward(QStringView text, qsizetype from, qsizetype to) const;
    qsizetype backward(QStringView text, qsizetype from, qsizetype to) const;
    bool acceptable(QStringView text, qsizetype start) const;

    QString text_;
    SearchOptions options_;
    bool searchable_;
    TextMatcher matcher_;
};

// Selects the next occurrence from the selection (down from its end, up from
// its start), keeps it visible and scrolls to it. False, with the selection
// untouched, when the document holds none (also for an empty `text`).
bool selectNext(TRxRichEdit &editor, const QString &text, SearchOptions options);

enum class ReplaceOutcome {
    Replaced,     // the selection was an occurrence; the new text is selected
    SelectedNext, // it was not: the next occurrence is selected instead
    NotFound      // there is none; nothing changed
};
// The replace dialog's Replace.
ReplaceOutcome replaceSelectionOrSelectNext(TRxRichEdit &editor, const QString &text, const QString &replacement,
                                            SearchOptions options);

// Replaces every occurrence as one undo step, each taking the format of the
// first character it replaces, and puts the caret after the last; the number
// replaced. Raises, changing nothing, when the text would grow too long.
int replaceAll(TRxRichEdit &editor, const QString &text, const QString &replacement, SearchOptions options);

// The find dialog's not-found message, naming the text.
QString notFoundText(bool english, const QString &text);
// The replace dialog's not-found message.
QString nextNotFoundText(bool english);
// What Replace All says it did.
QString replacedCountText(bool english, int count);

} // namespace findreplace
