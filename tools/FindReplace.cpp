#include "tools/FindReplace.h"

#include "editor/TRxRichEdit.h"
#include "platform/VeltrixError.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <limits>

namespace findreplace {

namespace {

// Letters and digits of any script; a combining mark belongs to its letter.
bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

char32_t codePointAt(QStringView text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    return c.unicode();
}

char32_t codePointBefore(QStringView text, qsizetype i)
{
    const QChar c = text.at(i - 1);
    if (c.isLowSurrogate() && i >= 2 && text.at(i - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(text.at(i - 2), c);
    return c.unicode();
}

// A word on both sides of `i`: an occurrence beginning or ending there would
// cut it. What stands between paragraphs and cells is never part of a word.
bool insideWord(QStringView text, qsizetype i)
{
    return i > 0 && i < text.size() && isWordCharacter(codePointBefore(text, i)) &&
           isWordCharacter(codePointAt(text, i));
}

// How much of the document is read paragraph by paragraph before its whole
// text is copied, in characters; a paragraph costs as many besides its own.
constexpr int kNearbyCharacters = 1 << 20;
constexpr int kParagraphCharacters = 200;

constexpr char16_t kFrameStart = 0xFDD0; // Qt's marks around a table and its cells
constexpr char16_t kFrameEnd = 0xFDD1;

// What the raw text holds between paragraphs and table cells.
bool separatesParagraphs(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar(kFrameStart) || c == QChar(kFrameEnd);
}

int paragraphLength(const QTextBlock &block)
{
    return block.length() - 1; // without its end
}

void selectOccurrence(TRxRichEdit &editor, int start, int length)
{
    editor.setHideSelection(false);
    editor.setSelectionStart(start);
    editor.setSelectionLength(length);
}

} // namespace

Search::Search(const QString &text, SearchOptions options)
    : text_(text),
      options_(options),
      searchable_(!text.isEmpty() && std::none_of(text.cbegin(), text.cend(), separatesParagraphs)),
      matcher_(text, options.matchCase)
{
}

bool Search::acceptable(QStringView text, qsizetype start) const
{
    return !options_.wholeWord || (!insideWord(text, start) && !insideWord(text, start + text_.size()));
}

qsizetype Search::forward(QStringView text, qsizetype from, qsizetype to) const
{
    const qsizetype latestStart = to - text_.size();
    for (qsizetype i = matcher_.indexIn(text, from, latestStart); i >= 0; i = matcher_.indexIn(text, i + 1, latestStart)) {
        if (acceptable(text, i))
            return i;
    }
    return -1;
}

qsizetype Search::backward(QStringView text, qsizetype from, qsizetype to) const
{
    const qsizetype latestStart = to - text_.size();
    for (qsizetype i = matcher_.lastIndexIn(text, latestStart, from); i >= 0;
         i = matcher_.lastIndexIn(text, i - 1, from)) {
        if (acceptable(text, i))
            return i;
    }
    return -1;
}

int Search::nearby(const QTextDocument &document, int from) const
{
    int budget = kNearbyCharacters;
    for (QTextBlock block = document.findBlock(from); block.isValid() && budget > 0;
         block = options_.down ? block.next() : block.previous()) {
        budget -= paragraphLength(block) + kParagraphCharacters;
        if (paragraphLength(block) < length())
            continue;
        const QString paragraph = block.text();
        const int offset = from - block.position(); // beyond the paragraph once past it
        const qsizetype found = options_.down
                                    ? forward(paragraph, std::max(0, offset), paragraph.size())
                                    : backward(paragraph, 0, std::min<qsizetype>(paragraph.size(), offset));
        if (found >= 0)
            return block.position() + static_cast<int>(found);
    }
    return -1;
}

int Search::next(const QTextDocument &document, int from) const
{
    if (!searchable_)
        return -1;
    from = std::clamp(from, 0, document.characterCount() - 1);
    if (const int found = nearby(document, from); found >= 0)
        return found;
    const QString text = document.toRawText(); // a position for a character
    const qsizetype end = text.size();
    const qsizetype start = from;
    const qsizetype n = text_.size();
    // The second pass takes only what the first could not: together one pass
    // over the document.
    qsizetype found = -1;
    if (options_.down) {
        found = forward(text, start, end);
        if (found < 0)
            found = forward(text, 0, std::min(end, start + n - 1));
    } else {
        found = backward(text, 0, start);
        if (found < 0)
            found = backward(text, std::max<qsizetype>(0, start - n + 1), end);
    }
    return static_cast<int>(found);
}

bool Search::isAt(const QTextDocument &document, int start, int length) const
{
    if (!searchable_ || length != this->length() || start < 0 || start + length >= document.characterCount())
        return false;
    const QTextBlock block = document.findBlock(start);
    const int offset = start - block.position();
    if (offset + length > paragraphLength(block))
        return false;
    const QString paragraph = block.text();
    return matcher_.indexIn(paragraph, offset, offset) == offset && acceptable(paragraph, offset);
}

QList<int> Search::all(const QTextDocument &document) const
{
    QList<int> starts;
    if (!searchable_)
        return starts;
    const QString text = document.toRawText();
    for (qsizetype i = forward(text, 0, text.size()); i >= 0; i = forward(text, i + text_.size(), text.size()))
        starts.append(static_cast<int>(i));
    return starts;
}

bool selectNext(TRxRichEdit &editor, const QString &text, SearchOptions options)
{
    const Search search(text, options);
    const int from = options.down ? editor.SelectionStart() + editor.SelectionLength() : editor.SelectionStart();
    const int found = search.next(*editor.document(), from);
    if (found < 0)
        return false;
    selectOccurrence(editor, found, search.length());
    return true;
}

ReplaceOutcome replaceSelectionOrSelectNext(TRxRichEdit &editor, const QString &text, const QString &replacement,
                                            SearchOptions options)
{
    const Search search(text, options);
    const int start = editor.SelectionStart();
    if (!search.isAt(*editor.document(), start, editor.SelectionLength()))
        return selectNext(editor, text, options) ? ReplaceOutcome::SelectedNext : ReplaceOutcome::NotFound;
    editor.setSelectedText(replacement);
    selectOccurrence(editor, start, static_cast<int>(replacement.size()));
    return ReplaceOutcome::Replaced;
}

int replaceAll(TRxRichEdit &editor, const QString &text, const QString &replacement, SearchOptions options)
{
    const Search search(text, options);
    QTextDocument &document = *editor.document();
    const QList<int> starts = search.all(document);
    if (starts.isEmpty())
        return 0;
    QString inserted = replacement;
    inserted.replace(QChar::Null, QChar(0x2400)); // shown as the editor shows a typed one
    // Positions are ints: a text grown past them would be corrupted, so none is made.
    const qint64 grownLength =
        document.characterCount() + qint64(starts.size()) * (inserted.size() - search.length());
    if (grownLength > std::numeric_limits<int>::max())
        throw VeltrixError(QStringLiteral("Replace All would make the text too long"));

    // From the last to the first, so that the positions found stay true; the
    // caret, set after the last, moves with the text before it.
    QTextCursor cursor(&document);
    QTextCursor caret;
    cursor.beginEditBlock();
    for (auto it = starts.crbegin(); it != starts.crend(); ++it) {
        cursor.setPosition(*it + 1);
        const QTextCharFormat firstReplaced = cursor.charFormat();
        cursor.setPosition(*it);
        cursor.setPosition(*it + search.length(), QTextCursor::KeepAnchor);
        cursor.insertText(inserted, firstReplaced);
        if (caret.isNull())
            caret = cursor;
    }
    cursor.endEditBlock();
    editor.setTextCursor(caret);
    editor.ensureCursorVisible();
    return static_cast<int>(starts.size());
}

QString notFoundText(bool english, const QString &text)
{
    return english ? QStringLiteral("String ") + text + QStringLiteral(" isn*t found!")
                   : QStringLiteral("Строка ") + text + QStringLiteral(" не найдена!");
}

QString nextNotFoundText(bool english)
{
    return english ? QStringLiteral("Text isn*t found!") : QStringLiteral("Текст не найден!");
}

QString replacedCountText(bool english, int count)
{
    return (english ? QStringLiteral("Replaced: %1") : QStringLiteral("Заменено: %1")).arg(count);
}

} // namespace findreplace
