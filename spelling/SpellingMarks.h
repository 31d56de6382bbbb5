#pragma once

#include "editor/TextMarks.h"
#include "spelling/Speller.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QTextBlock>

#include <functional>
#include <QMetaObject>
#include <QTimer>

// The words a speller flags in a document, paragraph by paragraph, as marks
// over the text: found when a paragraph is first shown, kept for as long as
// its text stays the same, and found for the rest of the document when the
// program is idle. The paragraph typed in waits for a pause in typing.
class SpellingMarks : public TextMarks {
    Q_OBJECT
public:
    explicit SpellingMarks(QObject *parent = nullptr);

    // Not owned; nullptr: nothing is flagged.
    void setSpeller(spelling::Speller *speller);
    spelling::Speller *speller() const { return speller_; }
    void setEnabled(bool enabled);
    // The speller's answer changed (a word added, ignored, the personal list
    // read again): everything is checked anew.
    void spellerChanged();
    // While this says so (a file still coming in) the rest of the document
    // waits; what is shown is still checked.
    void setHeld(std::function<bool()> held);

    bool active() const override { return speller_ && speller_->available() && enabled_; }
    QString kind() const override { return QStringLiteral("spelling"); }
    void setDocument(QTextDocument *document) override;
    const std::vector<Span> *shownIn(const QTextBlock &block) override;
    std::vector<Span> foundIn(const QTextBlock &block) override;

private:
    struct Found {
        quint64 generation = 0;
        std::vector<Span> spans;
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
    QElapsedTimer sinceChange_;
    QMetaObject::Connection changes_;
    QList<QTextBlock> shownUnchecked_; // painted before they were checked
    std::function<bool()> held_;
    int nextIdleBlock_ = 0;
    int typedAt_ = -1; // where the text changed since typing last paused; -1: it paused
};
