#pragma once

#include "spelling/Speller.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <vector>

class QTextBlock;
class QTextDocument;

// The words a speller flags in a document, paragraph by paragraph: found when
// a paragraph is first shown, kept for as long as its text stays the same,
// and found for the rest of the document when the program is idle. They are
// shown over the text and never become part of it.
class SpellingMarks : public QObject {
    Q_OBJECT
public:
    explicit SpellingMarks(QObject *parent = nullptr);

    // Not owned; nullptr or off: nothing is flagged.
    void setSpeller(spelling::Speller *speller);
    void setEnabled(bool enabled);
    bool active() const { return speller_ && speller_->available() && enabled_; }
    spelling::Speller *speller() const { return speller_; }

    // The document whose paragraphs are checked when idle.
    void setDocument(QTextDocument *document);

    // The flags of a paragraph, as shown. The one typed in waits for a pause
    // in typing: nothing is flagged in it meanwhile. nullptr: nothing to show.
    const std::vector<spelling::Flag> *flagsOf(const QTextBlock &block);
    // The same, found now whatever the paragraph; empty when off.
    std::vector<spelling::Flag> flagsNow(const QTextBlock &block);

    // The speller's answer changed (a word added, ignored, the personal list
    // read again): everything is checked anew.
    void spellerChanged();

Q_SIGNALS:
    // Flags changed where they are shown: the view paints again.
    void marksChanged();

private:
    struct Found {
        quint64 generation = 0;
        std::vector<spelling::Flag> flags;
    };
    static quint64 keyOf(const QString &text);
    const Found &check(const QString &text);
    void changed(int position);
    void checkWhenIdle();
    void typingPaused();

    spelling::Speller *speller_ = nullptr;
    bool enabled_ = true;
    QTextDocument *document_ = nullptr;
    QHash<quint64, Found> found_; // by the paragraph's text (keyOf)
    QTimer idle_;                 // the rest of the document, a slice at a time
    QTimer pause_;                // the paragraph typed in, once typing pauses
    QMetaObject::Connection changes_;
    int nextIdleBlock_ = 0;
    int typedAt_ = -1; // where the text changed since typing last paused; -1: it paused
};
