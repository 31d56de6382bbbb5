// Spelling: the words the speller flags, found, gone through and replaced.
#include "editor/TRxRichEdit.h"

#include "editor/SpellingMarks.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void TRxRichEdit::setSpeller(spelling::Speller *speller)
{
    spelling_->setSpeller(speller);
}

void TRxRichEdit::setSpellCheck(bool on)
{
    spelling_->setEnabled(on);
}

bool TRxRichEdit::spellCheckActive() const
{
    return spelling_->active();
}

std::optional<TRxRichEdit::FlaggedWord> TRxRichEdit::flaggedWordAt(QPoint viewportPosition)
{
    if (!spelling_->active())
        return std::nullopt;
    const QTextCursor at = cursorForPosition(viewportPosition);
    const QTextBlock block = at.block();
    const int inBlock = at.position() - block.position();
    for (const spelling::Flag &flag : spelling_->flagsNow(block)) {
        // The click may fall just after the word's last letter.
        if (inBlock >= flag.start && inBlock <= flag.start + flag.length)
            return FlaggedWord{block.position() + flag.start, flag.length, block.text().mid(flag.start, flag.length)};
    }
    return std::nullopt;
}

bool TRxRichEdit::selectNextMisspelling()
{
    if (!spelling_->active())
        return false;
    finishLoading();
    const int from = textCursor().selectionEnd();
    // The first flagged word that starts in [after, before), paragraph by paragraph.
    const auto select = [this](QTextBlock block, int after, int before) {
        for (; block.isValid() && block.position() < before; block = block.next()) {
            for (const spelling::Flag &flag : spelling_->flagsNow(block)) {
                const int start = block.position() + flag.start;
                if (start < after || start >= before)
                    continue;
                QTextCursor found(document());
                found.setPosition(start);
                found.setPosition(start + flag.length, QTextCursor::KeepAnchor);
                setTextCursor(found);
                ensureCursorVisible();
                return true;
            }
        }
        return false;
    };
    // From the caret to the end, then from the start up to the caret.
    const int end = document()->characterCount();
    return select(document()->findBlock(from), from, end) || select(document()->begin(), 0, from);
}

void TRxRichEdit::replaceFlaggedWord(const FlaggedWord &word, const QString &replacement)
{
    QTextCursor cursor(document());
    cursor.setPosition(word.start + 1);
    const QTextCharFormat format = cursor.charFormat(); // the word's first character's
    cursor.setPosition(word.start);
    cursor.setPosition(word.start + word.length, QTextCursor::KeepAnchor);
    if (cursor.selectedText() != word.word)
        return; // the text changed under the menu
    cursor.insertText(replacement, format);
    setTextCursor(cursor);
}
