#include "tools/FindReplace.h"

#include "editor/TRxRichEdit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace findreplace {

namespace {

// Letters and digits of any script; a combining mark belongs to its letter.
bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

char32_t codePointAt(const QString &text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    return c.unicode();
}

char32_t codePointBefore(const QString &text, qsizetype i)
{
    const QChar c = text.at(i - 1);
    if (c.isLowSurrogate() && i >= 2 && text.at(i - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(text.at(i - 2), c);
    return c.unicode();
}

// A word on both sides of `i`: an occurrence beginning or ending there would
// cut it. A paragraph's ends are never inside a word.
bool insideWord(const QString &paragraph, qsizetype i)
{
    return i > 0 && i < paragraph.size() && isWordCharacter(codePointBefore(paragraph, i)) &&
           isWordCharacter(codePointAt(paragraph, i));
}

int lastPosition(const QTextDocument &document)
{
    return document.characterCount() - 1;
}

int paragraphLength(const QTextBlock &block)
{
    return block.length() - 1; // without its end
}

Qt::CaseSensitivity sensitivity(SearchOptions options)
{
    return options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

void selectOccurrence(TRxRichEdit &editor, int start, int length)
{
    editor.setHideSelection(false);
    editor.setSelectionStart(start);
    editor.setSelectionLength(length);
}

} // namespace

Search::Search(const QString &text, SearchOptions options)
    : text_(text), options_(options), matcher_(text, sensitivity(options))
{
}

bool Search::acceptable(const QString &paragraph, qsizetype start) const
{
    return !options_.wholeWord || (!insideWord(paragraph, start) && !insideWord(paragraph, start + text_.size()));
}

int Search::forward(const QTextDocument &document, int from, int to) const
{
    const int n = length();
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() + n <= to;
         block = block.next()) {
        if (paragraphLength(block) < n)
            continue; // spares the copy of every short line
        const QString paragraph = block.text();
        const int base = block.position();
        const qsizetype latestStart = std::min<qsizetype>(paragraph.size(), to - base) - n;
        for (qsizetype i = std::max(0, from - base); i <= latestStart; ++i) {
            i = matcher_.indexIn(paragraph, i);
            if (i < 0 || i > latestStart)
                break;
            if (acceptable(paragraph, i))
                return base + static_cast<int>(i);
        }
    }
    return -1;
}

int Search::backward(const QTextDocument &document, int from, int to) const
{
    const int n = length();
    for (QTextBlock block = document.findBlock(to); block.isValid() && block.position() + paragraphLength(block) >= from + n;
         block = block.previous()) {
        if (paragraphLength(block) < n)
            continue;
        const QString paragraph = block.text();
        const int base = block.position();
        const qsizetype earliestStart = std::max(0, from - base);
        // lastIndexOf takes a negative start as counted from the end: stop first.
        for (qsizetype i = std::min<qsizetype>(paragraph.size(), to - base) - n; i >= earliestStart; --i) {
            i = paragraph.lastIndexOf(text_, i, sensitivity(options_));
            if (i < earliestStart)
                break;
            if (acceptable(paragraph, i))
                return base + static_cast<int>(i);
        }
    }
    return -1;
}

int Search::next(const QTextDocument &document, int from) const
{
    if (text_.isEmpty())
        return -1;
    const int end = lastPosition(document);
    from = std::clamp(from, 0, end);
    const int n = length();
    // The second pass takes only what the first could not: together one pass
    // over the document.
    if (options_.down) {
        const int found = forward(document, from, end);
        return found >= 0 ? found : forward(document, 0, std::min(end, from + n - 1));
    }
    const int found = backward(document, 0, from);
    return found >= 0 ? found : backward(document, std::max(0, from - n + 1), end);
}

bool Search::isAt(const QTextDocument &document, int start, int length) const
{
    if (text_.isEmpty() || length != this->length() || start < 0 || start + length > lastPosition(document))
        return false;
    const QTextBlock block = document.findBlock(start);
    const int offset = start - block.position();
    if (offset + length > paragraphLength(block))
        return false;
    const QString paragraph = block.text();
    return QStringView(paragraph).mid(offset, length).compare(text_, sensitivity(options_)) == 0 &&
           acceptable(paragraph, offset);
}

QList<int> Search::all(const QTextDocument &document) const
{
    QList<int> starts;
    if (text_.isEmpty())
        return starts;
    // One pass: a long paragraph holding many is copied once.
    const int n = length();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (paragraphLength(block) < n)
            continue;
        const QString paragraph = block.text();
        qsizetype i = matcher_.indexIn(paragraph);
        while (i >= 0) {
            const bool taken = acceptable(paragraph, i);
            if (taken)
                starts.append(block.position() + static_cast<int>(i));
            i = matcher_.indexIn(paragraph, i + (taken ? n : 1));
        }
    }
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
