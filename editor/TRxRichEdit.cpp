#include "editor/TRxRichEdit.h"
#include "editor/TextMarks.h"
#include "editor/TableKeys.h"

#include "editor/DisplayLines.h"
#include "editor/EditorDocument.h"
#include "editor/EditorLayout.h"
#include "editor/Links.h"
#include "editor/MouseSelection.h"
#include "editor/PiecedCaret.h"
#include "editor/PastedPiece.h"
#include "editor/PastedPictures.h"
#include "editor/PlainTextFiles.h"
#include "editor/ReadableText.h"
#include "editor/RichEditStrings.h"
#include "editor/TablePlainText.h"
#include "formats/RtfReader.h"
#include "formats/RtfWriter.h"
#include "formats/TableFormat.h"
#include "platform/BusyCursor.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTextOption>
#include <QTextTable>
#include <QTimer>
#include <QUrl>

#include <optional>

namespace {

constexpr int kInitialFontPoints = 14;
constexpr qreal kDialogUnitsPerAverageChar = 4.0;
// After the last explicit stop tabs fall every half inch.
constexpr qreal kDefaultTabPixels = 48.0;
// How much of a replaced text a screen reader is sent with the change.
constexpr int kAnnouncedCharacters = 4096;
// A step of a file's load between the user's keys.
constexpr qint64 kLoadStepNanoseconds = 10 * 1000 * 1000;

const QString kRtfMimeTypes[] = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                                 QStringLiteral("text/richtext")};

// The document's characters as the program counts them: a paragraph end is
// `paragraphEnd`, a soft line break a vertical tab. One pass: QString::replace
// with a longer replacement moves the tail once per match.
QString programText(const QString &raw, const QString &paragraphEnd)
{
    const qsizetype ends = raw.count(QChar::ParagraphSeparator);
    QString text(raw.size() + ends * (paragraphEnd.size() - 1), Qt::Uninitialized);
    QChar *out = text.data();
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator) {
            for (const QChar e : paragraphEnd)
                *out++ = e;
        } else {
            *out++ = c == QChar::LineSeparator ? QChar(u'\v') : c;
        }
    }
    return text;
}

} // namespace

TRxRichEdit::TRxRichEdit(QWidget *parent) : QTextEdit(parent), lines_(std::make_unique<TRichEditStrings>(*this))
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(kInitialFontPoints);
    setFont(font);
    setAcceptRichText(true);
    setTabChangesFocus(false); // Tab types a tab into the text
    setLineWrapMode(QTextEdit::WidgetWidth);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHideSelection(false);
    setColor(color_); // white paper, whatever the desktop's theme
    textOption_ = document()->defaultTextOption();
    loadTimer_ = new QTimer(this);
    loadTimer_->setInterval(0);
    connect(loadTimer_, &QTimer::timeout, this, [this] { continueLoading(kLoadStepNanoseconds, false); });
    adoptDocument(newDocument().release());
    piecedCaret_ = new PiecedCaret(*this);
    connect(this, &QTextEdit::selectionChanged, this, [this] {
        if (!quiet_ && !selectionQuiet_)
            Q_EMIT OnSelectionChange();
    });
}

TRxRichEdit::~TRxRichEdit()
{
    // Our documents are children of this widget and go in QWidget's destructor,
    // when this object is no longer a TRxRichEdit: nothing of theirs may reach us.
    for (QTextDocument *document : findChildren<QTextDocument *>(Qt::FindDirectChildrenOnly))
        document->disconnect(this);
    load_.reset(); // its reader stops before the document goes
    displayLines_.reset();
}

EditorLayout &TRxRichEdit::editorLayout() const
{
    // Every document of the editor is made by newDocument(), with this layout.
    return *static_cast<EditorLayout *>(document()->documentLayout());
}

QVariant TRxRichEdit::loadResource(int, const QUrl &)
{
    return {};
}

std::unique_ptr<QTextDocument> TRxRichEdit::newDocument() const
{
    std::unique_ptr<QTextDocument> document = std::make_unique<EditorDocument>();
    document->setDocumentLayout(new EditorLayout(document.get()));
    document->setDefaultFont(font());
    document->setDefaultTextOption(textOption_);
    document->setUndoRedoEnabled(true);
    // Laid out from the start at the width it is shown at: a file's text is
    // put in before the document is shown.
    if (QTextDocument *current = this->document())
        document->setPageSize(current->pageSize());
    return document;
}

void TRxRichEdit::adoptDocument(QTextDocument *document)
{
    // The document being loaded goes for good: its file is read no further.
    load_.reset();
    loadTimer_->stop();
    // The control deletes the document it made itself; the ones we made are ours.
    QTextDocument *old = QTextEdit::document();
    const bool oldIsOurs = old && old != document && old->parent() == this;
    installDocument(document, old ? old->characterCount() - 1 : 0);
    if (oldIsOurs)
        old->deleteLater();
    replaced_.clear();
    undoDepth_ = 0;
    redoDepth_ = 0;
}

void TRxRichEdit::installDocument(QTextDocument *document, int oldLength)
{
    document->setParent(this); // made by newDocument(), with the control's font and tabs
    setDocument(document);
    // A cursor moved to the end needs the last paragraph laid out: with only
    // that one done, it does not wait for the whole document's layout.
    static_cast<EditorLayout *>(document->documentLayout())->layoutParagraph(document->lastBlock());
    announceReplacedText(oldLength);

    displayLines_ = std::make_unique<DisplayLines>(document);
    editorLayout().setLinksShown(autoUrlDetect_);
    editorLayout().setTextMarks(marks_);
    if (marks_)
        marks_->setDocument(document);

    // A document put aside keeps its connections to nobody.
    disconnect(changeConnection_);
    disconnect(undoConnection_);
    changeConnection_ = connect(document, &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed == 0 && added == 0)
            return;
        modified_ = true;
        if (!quiet_)
            Q_EMIT OnChange();
    });
    undoConnection_ = connect(document, &QTextDocument::undoCommandAdded, this, [this] {
        if (!typingInPieces_)
            countUndoStep();
    });
}

ReplacedDocuments::Kept TRxRichEdit::releaseDocument(int redoDepth)
{
    QTextDocument *current = document();
    const QTextCursor cursor = textCursor();
    ReplacedDocuments::Kept kept;
    kept.undoDepth = undoDepth_;
    kept.redoDepth = redoDepth;
    kept.position = cursor.position();
    kept.anchor = cursor.anchor();
    current->setParent(nullptr); // still shown until the next one is installed
    kept.document.reset(current);
    return kept;
}

void TRxRichEdit::replaceDocument(std::unique_ptr<QTextDocument> replacement)
{
    finishLoading(); // the document put aside for undo is whole
    // One undo step: the document replaced is put aside whole, with formats.
    const int oldLength = document()->characterCount() - 1;
    ReplacedDocuments::Kept before = releaseDocument(0); // the replacement ends its redo
    installDocument(replacement.release(), oldLength);
    if (oldLength == 0 && before.undoDepth == 0 && replaced_.canUndo())
        before.document.release()->deleteLater(); // the empty page of a clear just made: same step
    else
        replaced_.replaced(std::move(before));
    replaced_.trimTo(kUndoLimit);
    undoDepth_ = 0;
    redoDepth_ = 0;
}

void TRxRichEdit::swapDocument(bool back)
{
    finishLoading();
    const int oldLength = document()->characterCount() - 1;
    ReplacedDocuments::Kept current = releaseDocument(redoDepth_);
    ReplacedDocuments::Kept next = back ? replaced_.undo(std::move(current)) : replaced_.redo(std::move(current));
    QTextDocument *document = next.document.release();
    installDocument(document, oldLength);
    undoDepth_ = next.undoDepth;
    redoDepth_ = next.redoDepth;
    QTextCursor cursor(document);
    cursor.setPosition(next.anchor);
    cursor.setPosition(next.position, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    modified_ = true;
    Q_EMIT OnChange();
}

void TRxRichEdit::announceReplacedText(int oldLength)
{
    // Swapping documents tells a screen reader nothing by itself. The event
    // carries the start of the old and new text only: one with megabytes in it
    // stalls the accessibility bus and every listener on it for seconds, and
    // the reader fetches what it needs through the text interface anyway.
    if (!QAccessible::isActive())
        return;
    QString text; // paragraphs apart by U+2029, as in Qt's own change events
    for (QTextBlock block = document()->begin(); block.isValid() && text.size() < kAnnouncedCharacters;
         block = block.next()) {
        if (block != document()->begin())
            text += QChar::ParagraphSeparator;
        text += block.text();
    }
    text.truncate(kAnnouncedCharacters);
    if (oldLength == 0 && text.isEmpty())
        return;
    QAccessibleTextUpdateEvent event(this, 0, QString(std::min(oldLength, kAnnouncedCharacters), QLatin1Char(' ')), text);
    QAccessible::updateAccessibility(&event);
}

// Whole text and selection --------------------------------------------------

QString TRxRichEdit::Text() const
{
    return programText(tableplaintext::rawText(*document()), QStringLiteral("\r\n"));
}

void TRxRichEdit::setText(const QString &text)
{
    replaceDocument(plainDocument(text));
    moveCursor(QTextCursor::Start);
    modified_ = true;
    Q_EMIT OnChange();
}

std::unique_ptr<QTextDocument> TRxRichEdit::plainDocument(const QString &text) const
{
    auto document = newDocument();
    QString normalized = text;
    normalized.replace(QLatin1Char('\v'), QChar::LineSeparator);
    document->setPlainText(normalized);
    return document;
}

void TRxRichEdit::replaceWithPlainText(const QString &text)
{
    adoptQuietly(plainDocument(text));
}

void TRxRichEdit::adoptQuietly(std::unique_ptr<QTextDocument> document)
{
    const bool wasQuiet = quiet_;
    quiet_ = true;
    adoptDocument(document.release());
    quiet_ = wasQuiet;
    moveCursor(QTextCursor::Start);
}

void TRxRichEdit::showLoaded(std::unique_ptr<QTextDocument> document)
{
    adoptQuietly(std::move(document));
    ensureCursorVisible();
    modified_ = true;
    Q_EMIT OnChange();
}

QString TRxRichEdit::SelectedText() const
{
    return programText(tableplaintext::selectedText(textCursor()), QStringLiteral("\r"));
}

void TRxRichEdit::insertTextWithBreaks(QTextCursor &cursor, const QString &text, const QTextCharFormat &format)
{
    QString normalized = text;
    normalized.replace(QLatin1Char('\v'), QChar::LineSeparator);
    normalized.replace(QChar::Null, QChar(0x2400));
    cursor.insertText(normalized, format);
}

void TRxRichEdit::setSelectedText(const QString &text)
{
    if (textCursor().hasComplexSelection() && replaceSelectedCells(text)) {
        ensureCursorVisible();
        return;
    }
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const QTextCharFormat format = formatAtSelectionStart();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertTextWithBreaks(cursor, text, format);
    cursor.endEditBlock();
    const int end = cursor.position();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

// Each cell takes its part of the text: a text tool's result stays in the
// cells it came from, where Qt would empty them all and put the whole text in
// one. A part as long as the cell's text keeps its paragraphs (SelectedText
// joins them with spaces); another becomes the cell's one paragraph.
bool TRxRichEdit::replaceSelectedCells(const QString &text)
{
    const QTextCursor selection = textCursor();
    QTextTable *table = selection.currentTable();
    int firstRow = 0;
    int rows = 0;
    int firstColumn = 0;
    int columns = 0;
    selection.selectedTableCells(&firstRow, &rows, &firstColumn, &columns);
    const QStringList lines = text.split(QLatin1Char('\r'));
    if (!table || rows <= 0 || columns <= 0 || lines.size() != rows)
        return false;
    std::vector<std::pair<QTextTableCell, QString>> parts;
    for (int row = firstRow; row < firstRow + rows; ++row) {
        const QStringList cells = lines[row - firstRow].split(QLatin1Char('\t'));
        qsizetype taken = 0;
        for (int column = firstColumn; column < firstColumn + columns; ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (!cell.isValid() || cell.row() != row || cell.column() != column)
                continue;
            if (taken == cells.size())
                return false;
            parts.emplace_back(cell, cells[taken++]);
        }
        if (taken != cells.size())
            return false;
    }
    const QTextCharFormat format = formatAtSelectionStart();
    const QTextTableCell anchorCell = table->cellAt(selection.anchor());
    const QTextTableCell positionCell = table->cellAt(selection.position());
    const auto isBreak = [](QChar c) {
        return c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1); // frames' marks
    };
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const auto &[cell, part] : parts) {
        const int start = cell.firstPosition();
        cursor.setPosition(start);
        cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
        const QString old = cursor.selectedText();
        if (old.size() != part.size()) {
            insertTextWithBreaks(cursor, part, format);
            continue;
        }
        for (qsizetype from = 0; from < old.size();) {
            qsizetype to = from;
            while (to < old.size() && !isBreak(old[to]))
                ++to;
            if (to > from) {
                cursor.setPosition(start + int(from));
                cursor.setPosition(start + int(to), QTextCursor::KeepAnchor);
                insertTextWithBreaks(cursor, part.mid(from, to - from), format);
            }
            from = to + 1;
        }
    }
    cursor.endEditBlock();
    const bool forward = selection.anchor() <= selection.position();
    cursor.setPosition(forward ? anchorCell.firstPosition() : anchorCell.lastPosition());
    cursor.setPosition(forward ? positionCell.lastPosition() : positionCell.firstPosition(), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    return true;
}

namespace {

// Part of a format run that a character-for-character replacement changes:
// from its first changed character to its last.
struct ChangedStretch {
    int from;
    int to;
    QTextCharFormat format;
};

QList<ChangedStretch> changedStretches(const QTextDocument &document, int start, const QString &old,
                                       const QString &text)
{
    const int end = start + int(text.size());
    QList<ChangedStretch> stretches;
    for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            int from = std::max(start, fragment.position());
            int to = std::min(end, fragment.position() + fragment.length());
            while (from < to && text[from - start] == old[from - start])
                ++from;
            while (to > from && text[to - 1 - start] == old[to - 1 - start])
                --to;
            if (from < to)
                stretches.append({from, to, fragment.charFormat()});
        }
    }
    return stretches;
}

} // namespace

void TRxRichEdit::replaceSelectedCharacters(const QString &text)
{
    const QTextCursor selection = textCursor();
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    const QString old = SelectedText();
    if (text.size() != end - start || text == old)
        return;
    // Found first: rewriting splits and merges the runs being walked.
    const QList<ChangedStretch> stretches = changedStretches(*document(), start, old, text);
    // Each stretch goes in after the old one, which then goes: the selection's
    // ends stay where they are, so the view is not moved to show them, which
    // would lay out everything before them anew.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const ChangedStretch &stretch : stretches) {
        cursor.setPosition(stretch.to);
        insertTextWithBreaks(cursor, text.mid(stretch.from - start, stretch.to - stretch.from), stretch.format);
        cursor.setPosition(stretch.from);
        cursor.setPosition(stretch.to, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
}

int TRxRichEdit::TextLength() const
{
    return document()->characterCount() - 1;
}

int TRxRichEdit::SelectionStart() const
{
    return textCursor().selectionStart();
}

void TRxRichEdit::setSelectionStart(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, TextLength()));
    setTextCursor(cursor);
}

int TRxRichEdit::SelectionLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TRxRichEdit::setSelectionLength(int length)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    cursor.setPosition(start);
    cursor.setPosition(std::clamp(start + length, 0, TextLength()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TRxRichEdit::SelectWholeText()
{
    selectAll();
}

void TRxRichEdit::ClearAll()
{
    // Undoable like any replacement: a command that clears and then fills the
    // document (sort, the templates) is one undo step, since filling an empty
    // document a replacement left adds no step of its own.
    replaceDocument(newDocument());
    Q_EMIT OnChange();
    modified_ = false;
}

// Modes ------------------------------------------------------------------------

void TRxRichEdit::setPlainTextMode(bool plain)
{
    if (plain == plainText_)
        return;
    const bool modified = modified_;
    if (plain) {
        // Every character stays, a table's rows as lines; formats and objects go.
        QString text = tableplaintext::rawText(*document());
        text.remove(QChar::ObjectReplacementCharacter);
        text.replace(QChar::LineSeparator, QLatin1Char('\v'));
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        replaceWithPlainText(text);
    }
    // Back to rich text the content keeps the one format it has.
    plainText_ = plain;
    modified_ = modified;
}

void TRxRichEdit::setWordWrap(bool wrap)
{
    wordWrap_ = wrap;
    setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void TRxRichEdit::setAutoURLDetect(bool detect)
{
    autoUrlDetect_ = detect;
    editorLayout().setLinksShown(detect);
}

void TRxRichEdit::setHideSelection(bool hide)
{
    hideSelection_ = hide;
    QPalette pal = palette();
    const QColor highlight = hide ? pal.color(QPalette::Active, QPalette::Base) : pal.color(QPalette::Active, QPalette::Highlight);
    const QColor highlighted = hide ? pal.color(QPalette::Active, QPalette::Text)
                                    : pal.color(QPalette::Active, QPalette::HighlightedText);
    pal.setColor(QPalette::Inactive, QPalette::Highlight, highlight);
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, highlighted);
    setPalette(pal);
}

void TRxRichEdit::setColor(const TColor &color)
{
    color_ = color;
    QPalette pal = palette();
    const QColor paper = color.toQColor(pal);
    // Text without a colour of its own takes the theme's text colour, or black
    // where that would vanish on this paper (a dark theme's light text on white).
    const QColor text = readableTextColor(QApplication::palette(this).color(QPalette::Active, QPalette::Text), paper);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Base, paper);
        pal.setColor(group, QPalette::Text, text);
    }
    setPalette(pal);
}

// Formats ------------------------------------------------------------------------

QTextCharFormat TRxRichEdit::formatAtSelectionStart() const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return currentCharFormat();
    QTextCursor probe(document());
    const int start = cursor.selectionStart();
    probe.setPosition(start);
    if (!probe.atBlockStart() && !probe.atBlockEnd())
        probe.setPosition(start + 1);
    return probe.charFormat();
}

void TRxRichEdit::applyCharFormat(const QTextCharFormat &format, bool clearForeground, bool toDefault)
{
    if (toDefault || plainText_) {
        QFont defaultFont = font();
        if (format.hasProperty(QTextFormat::FontFamilies))
            defaultFont.setFamilies(format.fontFamilies().toStringList());
        if (format.hasProperty(QTextFormat::FontPointSize))
            defaultFont.setPointSizeF(format.fontPointSize());
        if (format.hasProperty(QTextFormat::FontWeight))
            defaultFont.setBold(format.fontWeight() >= QFont::Bold);
        if (format.hasProperty(QTextFormat::FontItalic))
            defaultFont.setItalic(format.fontItalic());
        if (format.hasProperty(QTextFormat::FontUnderline) || format.hasProperty(QTextFormat::TextUnderlineStyle))
            defaultFont.setUnderline(format.fontUnderline());
        if (format.hasProperty(QTextFormat::FontStrikeOut))
            defaultFont.setStrikeOut(format.fontStrikeOut());
        setFont(defaultFont);
        document()->setDefaultFont(defaultFont);
        if (!plainText_)
            return;
    }
    QTextCursor cursor = textCursor();
    if (plainText_)
        cursor.select(QTextCursor::Document);
    if (!cursor.hasSelection()) {
        QTextCharFormat typing = currentCharFormat();
        typing.merge(format);
        if (clearForeground)
            typing.clearForeground();
        setCurrentCharFormat(typing);
        return;
    }
    cursor.beginEditBlock();
    cursor.mergeCharFormat(format);
    if (clearForeground) {
        // A merge cannot remove a property: rewrite each fragment without it.
        const int start = cursor.selectionStart();
        const int end = cursor.selectionEnd();
        for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
             block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const int from = std::max(start, fragment.position());
                const int to = std::min(end, fragment.position() + fragment.length());
                if (from >= to)
                    continue;
                QTextCharFormat stripped = fragment.charFormat();
                stripped.clearForeground();
                QTextCursor part(document());
                part.setPosition(from);
                part.setPosition(to, QTextCursor::KeepAnchor);
                part.setCharFormat(stripped);
            }
        }
    }
    cursor.endEditBlock();
    if (plainText_) {
        QTextCharFormat typing = currentCharFormat();
        typing.merge(format);
        if (clearForeground)
            typing.clearForeground();
        setCurrentCharFormat(typing);
    }
}

// The paragraphs a paragraph command changes: those the selection covers part
// of. A selection that ends where a paragraph starts (Home, Shift+Down) does
// not take that paragraph in; with nothing selected, the caret's paragraph.
QList<QTextBlock> TRxRichEdit::selectedParagraphs() const
{
    const QTextCursor cursor = textCursor();
    const int start = plainText_ ? 0 : cursor.selectionStart();
    const int end = plainText_ ? TextLength() : cursor.selectionEnd();
    const QTextBlock first = document()->findBlock(start);
    QList<QTextBlock> blocks{first};
    for (QTextBlock block = first.next(); block.isValid() && block.position() < end; block = block.next())
        blocks.append(block);
    return blocks;
}

void TRxRichEdit::applyBlockChange(const std::function<void(QTextBlockFormat &, const QTextBlock &)> &change)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    for (const QTextBlock &block : selectedParagraphs()) {
        QTextBlockFormat format = block.blockFormat();
        change(format, block);
        QTextCursor(block).setBlockFormat(format);
    }
    cursor.endEditBlock();
}

namespace {

bool sameKind(const QTextList *a, const QTextList *b)
{
    return a && b && a->format().style() == b->format().style()
           && paraformat::listLevel(a->format()) == paraformat::listLevel(b->format());
}

// Moves `block` and the paragraphs after it that are in the same list, up to
// the first that is not, into `to`. (A list left without paragraphs is
// deleted by Qt at once.)
void moveRun(QTextBlock block, QTextList *to)
{
    QList<QTextBlock> run;
    for (const QTextList *from = block.textList(); block.isValid() && block.textList() == from; block = block.next())
        run.append(block);
    for (const QTextBlock &item : std::as_const(run)) {
        item.textList()->remove(item);
        to->add(item);
    }
}

} // namespace

// The paragraphs take the style as one list. A list they leave that goes on
// after them starts again there, as the gap ends its numbering; a list of the
// same style and level just before or after them takes them in. Lists the
// paragraphs were not in keep their numbering as it was.
void TRxRichEdit::applyListStyle(paraformat::ListStyle style)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    const QList<QTextBlock> blocks = selectedParagraphs();
    QList<QPointer<QTextList>> left; // a list whose paragraphs all leave is deleted
    for (const QTextBlock &block : blocks) {
        if (QTextList *list = block.textList()) {
            if (!left.contains(list))
                left.append(list);
            list->remove(block);
        }
    }
    const QTextBlock after = blocks.last().next();
    for (QTextList *list : std::as_const(left)) {
        if (!list || list->item(0).position() > blocks.first().position())
            continue;
        QList<QTextBlock> rest;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i).position() > blocks.last().position())
                rest.append(list->item(i));
        }
        if (rest.isEmpty())
            continue;
        QTextList *again = QTextCursor(rest.first()).createList(list->format());
        for (const QTextBlock &item : std::as_const(rest).sliced(1)) {
            list->remove(item);
            again->add(item);
        }
    }
    if (style != paraformat::ListStyle::None) {
        QTextCursor range(document());
        range.setPosition(blocks.first().position());
        range.setPosition(blocks.last().position(), QTextCursor::KeepAnchor);
        QTextList *list = range.createList(paraformat::listFormat(style));
        QTextList *before = blocks.first().previous().textList();
        if (sameKind(before, list)) {
            moveRun(blocks.first(), before);
            list = before;
        }
        if (after.isValid() && after.textList() != list && sameKind(after.textList(), list))
            moveRun(after, list);
    }
    for (const QTextBlock &block : blocks) {
        QTextBlockFormat format = block.blockFormat();
        format.setIndent(0);
        paraformat::setIndents(format, paraformat::indents(format), style != paraformat::ListStyle::None);
        QTextCursor(block).setBlockFormat(format);
    }
    cursor.endEditBlock();
}

// Search -----------------------------------------------------------------------

int TRxRichEdit::FindInText(const QString &text, int start, int length) const
{
    if (text.isEmpty())
        return -1;
    const QString haystack = programText(tableplaintext::rawText(*document()), QStringLiteral("\r"));
    const qsizetype from = std::clamp<qsizetype>(start, 0, haystack.size());
    const qsizetype to = std::clamp<qsizetype>(qsizetype(start) + std::abs(length), 0, haystack.size());
    const qsizetype found = haystack.indexOf(text, from, Qt::CaseInsensitive);
    if (found < 0 || found + text.size() > to)
        return -1;
    return static_cast<int>(found);
}

// Direct requests --------------------------------------------------------------

bool TRxRichEdit::CanUndo() const
{
    return (undoDepth_ > 0 && document()->isUndoAvailable()) || replaced_.canUndo();
}

void TRxRichEdit::Undo()
{
    if (undoDepth_ == 0 || !document()->isUndoAvailable()) {
        // Past this document's own first step: the one it replaced comes back.
        if (replaced_.canUndo())
            swapDocument(true);
        return;
    }
    undo();
    --undoDepth_;
    ++redoDepth_;
}

bool TRxRichEdit::CanRedo() const
{
    return (redoDepth_ > 0 && document()->isRedoAvailable()) || replaced_.canRedo();
}

void TRxRichEdit::Redo()
{
    if (redoDepth_ == 0 || !document()->isRedoAvailable()) {
        if (replaced_.canRedo())
            swapDocument(false);
        return;
    }
    const int redoLeft = redoDepth_ - 1;
    redo();
    redoDepth_ = redoLeft; // redo adds no new step
    undoDepth_ = std::min(undoDepth_ + 1, kUndoLimit);
}

void TRxRichEdit::clearUndo()
{
    replaced_.clear();
    document()->clearUndoRedoStacks();
    undoDepth_ = 0;
    redoDepth_ = 0;
}

void TRxRichEdit::Cut()
{
    cut();
}

void TRxRichEdit::Copy()
{
    copy();
}

void TRxRichEdit::Paste()
{
    paste();
}

void TRxRichEdit::Clear()
{
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        cursor.removeSelectedText();
        setTextCursor(cursor);
    }
}

void TRxRichEdit::setTabStops(const QList<int> &dialogUnits, const QFont &dialogFont)
{
    const qreal unit = QFontMetricsF(dialogFont).averageCharWidth() / kDialogUnitsPerAverageChar;
    QList<QTextOption::Tab> tabs;
    for (int du : dialogUnits)
        tabs.append(QTextOption::Tab(du * unit, QTextOption::LeftTab));
    textOption_.setTabs(tabs);
    textOption_.setTabStopDistance(kDefaultTabPixels);
    document()->setDefaultTextOption(textOption_);
}

QList<qreal> TRxRichEdit::tabStopPixels() const
{
    QList<qreal> result;
    for (const QTextOption::Tab &tab : document()->defaultTextOption().tabs())
        result.append(tab.position);
    return result;
}

int TRxRichEdit::LineFromChar(int position) const
{
    return displayLines_->lineOfPosition(position);
}

int TRxRichEdit::LineIndex(int line) const
{
    return displayLines_->firstPosition(line);
}

int TRxRichEdit::LineLength(int line) const
{
    return displayLines_->lineLength(line);
}

int TRxRichEdit::LineCount() const
{
    return displayLines_->count();
}

// Mouse, keys, clipboard --------------------------------------------------------

QString TRxRichEdit::linkAt(QPoint viewportPosition, int *start, int *end) const
{
    if (!autoUrlDetect_)
        return {};
    const QPointF documentPoint = viewportPosition + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int position = document()->documentLayout()->hitTest(documentPoint, Qt::ExactHit);
    if (position < 0)
        return {};
    const QTextBlock block = document()->findBlock(position);
    const int inBlock = position - block.position();
    const QString text = block.text();
    for (const links::Link &link : links::find(text)) {
        if (inBlock >= link.start && inBlock < link.start + link.length) {
            *start = block.position() + link.start;
            *end = *start + link.length;
            return text.mid(link.start, link.length);
        }
    }
    return {};
}

// The strip left of the text: a click there selects the line beside it, a
// double click its paragraph, a drag whole lines.
bool TRxRichEdit::inSelectionBar(QPoint viewportPosition) const
{
    return viewportPosition.x() < document()->documentMargin();
}

int TRxRichEdit::positionBesideBar(QPoint viewportPosition) const
{
    return cursorForPosition(QPoint(int(document()->documentMargin()), viewportPosition.y())).position();
}

void TRxRichEdit::selectRange(int anchor, int position)
{
    QTextCursor cursor(document());
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void TRxRichEdit::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && inSelectionBar(at)) {
        barAnchor_ = positionBesideBar(at);
        const mouseselection::Range line = mouseselection::lineAt(*document(), barAnchor_);
        selectRange(line.anchor, line.position);
        Q_EMIT OnMouseDown(event->button(), at);
        return;
    }
    QTextEdit::mousePressEvent(event);
    // A drag from a plain click widens to whole words once it leaves the word.
    const bool freshClick = event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier) &&
                            !textCursor().hasSelection();
    wordAnchor_ = freshClick ? textCursor().position() : -1;
    int start = -1, end = -1;
    const bool onLink = !linkAt(event->position().toPoint(), &start, &end).isEmpty();
    const Qt::MouseButton button = event->button();
    if (onLink && (button == Qt::LeftButton || button == Qt::RightButton)) {
        linkStart_ = start;
        linkEnd_ = end;
        linkButton_ = button;
    } else {
        linkStart_ = linkEnd_ = -1;
        linkButton_ = Qt::NoButton;
    }
    Q_EMIT OnMouseDown(button, event->position().toPoint());
}

void TRxRichEdit::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const bool dragging = event->buttons() & Qt::LeftButton;
    if (barAnchor_ >= 0 && dragging) {
        const mouseselection::Range lines = mouseselection::linesBetween(*document(), barAnchor_, positionBesideBar(at));
        selectRange(lines.anchor, lines.position);
        return;
    }
    QTextEdit::mouseMoveEvent(event);
    if (wordAnchor_ >= 0 && dragging) {
        const mouseselection::Range words =
            mouseselection::wordsBetween(*document(), wordAnchor_, cursorForPosition(at).position());
        selectRange(words.anchor, words.position);
    }
    if (!dragging) {
        if (inSelectionBar(at))
            viewport()->setCursor(Qt::ArrowCursor);
        else if (viewport()->cursor().shape() == Qt::ArrowCursor)
            viewport()->setCursor(Qt::IBeamCursor);
    }
}

void TRxRichEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    wordAnchor_ = -1; // a double click's drag goes by words already
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && inSelectionBar(at)) {
        const mouseselection::Range paragraph = mouseselection::paragraphAt(*document(), positionBesideBar(at));
        selectRange(paragraph.anchor, paragraph.position);
    } else {
        QTextEdit::mouseDoubleClickEvent(event);
    }
    // The second press of a double click is a press too.
    Q_EMIT OnMouseDown(event->button(), at);
}

void TRxRichEdit::mouseReleaseEvent(QMouseEvent *event)
{
    wordAnchor_ = -1;
    if (barAnchor_ >= 0) {
        barAnchor_ = -1;
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
    int start = -1, end = -1;
    const QString link = linkAt(event->position().toPoint(), &start, &end);
    const bool sameLink = !link.isEmpty() && start == linkStart_ && end == linkEnd_ && event->button() == linkButton_;
    linkStart_ = linkEnd_ = -1;
    linkButton_ = Qt::NoButton;
    if (sameLink)
        Q_EMIT OnURLClick(link, event->button());
}

bool TRxRichEdit::viewportEvent(QEvent *event)
{
    // A right click on a link opens the link instead of the context menu. Where
    // the menu comes with the press (X11) it would also take the release, so
    // the link would never open.
    if (event->type() == QEvent::ContextMenu) {
        const auto *request = static_cast<QContextMenuEvent *>(event);
        int start = -1, end = -1;
        if (request->reason() == QContextMenuEvent::Mouse && !linkAt(request->pos(), &start, &end).isEmpty()) {
            event->accept();
            return true;
        }
    }
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove ||
        type == QEvent::MouseButtonRelease) {
        const int valueBefore = verticalScrollBar()->value();
        const bool handled = QTextEdit::viewportEvent(event);
        piecedCaret_->show(valueBefore, false);
        return handled;
    }
    return QTextEdit::viewportEvent(event);
}

QVariant TRxRichEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (std::optional<QVariant> answer = piecedCaret_->inputMethodQuery(query))
        return *answer;
    return QTextEdit::inputMethodQuery(query);
}

void TRxRichEdit::countUndoStep()
{
    undoDepth_ = std::min(undoDepth_ + 1, kUndoLimit);
    redoDepth_ = 0;
    replaced_.dropRedo();
    replaced_.trimTo(kUndoLimit - undoDepth_);
}

bool TRxRichEdit::typeInPieces(QKeyEvent *event)
{
    // A key that joins the step before adds none, though Qt says it does.
    const int steps = document()->availableUndoSteps();
    typingInPieces_ = true;
    const bool typed = piecedCaret_->typeByKey(event);
    typingInPieces_ = false;
    if (typed && document()->availableUndoSteps() > steps)
        countUndoStep();
    return typed;
}

void TRxRichEdit::keyPressEvent(QKeyEvent *event)
{
    // Undo and redo go through the step count that keeps the undo limit.
    if (event->matches(QKeySequence::Undo)) {
        Undo();
        return;
    }
    // Qt's redo key on X11 is Ctrl+Shift+Z; Ctrl+Y redoes as it does on Windows.
    const bool ctrlY = event->key() == Qt::Key_Y && (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
    if (event->matches(QKeySequence::Redo) || ctrlY) {
        Redo();
        return;
    }
    // The end of the document is the end of the file, all of it in first.
    if (isLoading() &&
        (event->matches(QKeySequence::MoveToEndOfDocument) || event->matches(QKeySequence::SelectEndOfDocument))) {
        const BusyCursor busy;
        continueLoading(-1, false);
    }
    if (piecedCaret_->moveByKey(event) || typeInPieces(event))
        return;
    const bool noCtrlOrAlt = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && noCtrlOrAlt) {
        const bool backwards = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        if (const std::optional<QTextCursor> to = tablekeys::moveByTab(textCursor(), backwards, !isReadOnly())) {
            setTextCursor(*to);
            return;
        }
    }
    const int valueBefore = verticalScrollBar()->value();
    QTextEdit::keyPressEvent(event);
    piecedCaret_->show(valueBefore);
}

namespace {

// Files from a file manager, copied or dragged; nothing when any address is
// not a local file.
QStringList localFiles(const QMimeData *source)
{
    QStringList files;
    for (const QUrl &url : source->urls()) {
        if (!url.isLocalFile())
            return {};
        files.append(url.toLocalFile());
    }
    return files;
}

} // namespace

bool TRxRichEdit::canInsertFromMimeData(const QMimeData *source) const
{
    for (const QString &type : kRtfMimeTypes) {
        if (source->hasFormat(type))
            return true;
    }
    if (!plainText_ && (source->hasImage() || !localFiles(source).isEmpty()))
        return true;
    return QTextEdit::canInsertFromMimeData(source);
}

namespace {

// Qt's own clipboard form of HTML, which it reads as HTML after this line.
const QString kQtRichTextMimeType = QStringLiteral("application/x-qrichtext");
const QString kQtRichTextHead = QStringLiteral("<meta name=\"qrichtext\" content=\"1\" />");

// HTML as a piece, with only the pictures PastedPictures lets in; nothing when
// it held no more than pictures that could not be had, so that the data's
// other forms (its own picture, its text) are taken instead.
std::optional<PastedPiece> htmlPiece(const QString &html, EditorDocument &target)
{
    // The target answers the importer's requests for style sheets and
    // background pictures with nothing.
    const QTextDocumentFragment fragment = QTextDocumentFragment::fromHtml(html, &target);
    if (!fragment.toRawText().contains(QChar::ObjectReplacementCharacter))
        return PastedPiece::of(fragment);
    EditorDocument piece;
    QTextCursor(&piece).insertFragment(fragment);
    rtf::LoadStatus status;
    pastedpictures::takeInto(piece, target, status);
    if (!status.complete() && piece.toPlainText().trimmed().isEmpty())
        return std::nullopt;
    return PastedPiece::of(QTextDocumentFragment(&piece));
}

// What the data holds in RTF or in HTML, RTF first; nothing without either.
// The pictures kept are added to `target`, which will hold them.
std::optional<PastedPiece> richPiece(const QMimeData *source, EditorDocument &target, const QFont &font)
{
    for (const QString &type : kRtfMimeTypes) {
        if (!source->hasFormat(type))
            continue;
        EditorDocument pasted;
        pasted.setDefaultFont(font);
        if (!rtf::readFragment(source->data(type), pasted))
            continue;
        rtf::LoadStatus status;
        pastedpictures::takeInto(pasted, target, status);
        return PastedPiece::of(pasted);
    }
    if (source->hasHtml())
        return htmlPiece(source->html(), target);
    if (source->hasFormat(kQtRichTextMimeType))
        return htmlPiece(kQtRichTextHead + QString::fromUtf8(source->data(kQtRichTextMimeType)), target);
    return std::nullopt;
}

} // namespace

// Rich text first; then files and pictures as objects; then plain text.
// QTextEdit's own insertion is never used: it would let pictures of HTML and
// Markdown in by their addresses.
void TRxRichEdit::insertFromMimeData(const QMimeData *source)
{
    QTextCursor cursor = textCursor();
    std::optional<PastedPiece> piece;
    if (!plainText_)
        piece = richPiece(source, *static_cast<EditorDocument *>(document()), font());
    if (!piece && !plainText_ && insertObjectsFrom(source))
        return;
    if (piece) {
        piece->insertAt(cursor);
    } else if (source->hasText()) {
        // As typed: a final line break ends a paragraph, and the paragraphs
        // keep the format of the one the text goes into.
        insertTextWithBreaks(cursor, source->text(), currentCharFormat());
    } else {
        return;
    }
    setTextCursor(cursor);
}

bool TRxRichEdit::insertObjectsFrom(const QMimeData *source)
{
    const QStringList files = localFiles(source);
    if (!files.isEmpty()) {
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        for (const QString &file : files) {
            if (file != files.first())
                moveCursor(QTextCursor::Right); // after the one before
            insertFileObject(file);
        }
        cursor.endEditBlock();
        return true;
    }
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (image.isNull())
            return false;
        insertObject(image, QStringLiteral("Bitmap Image"), QString());
        return true;
    }
    return false;
}

// The selection as a document of its own: cells selected across a table are
// a table of those cells alone, with the pictures they show; every cell has
// its whole format, as other programs read it.
void TRxRichEdit::copySelectionInto(QTextDocument &piece, const QTextCursor &selection) const
{
    piece.setDefaultFont(document()->defaultFont());
    QTextCursor(&piece).insertFragment(QTextDocumentFragment(selection));
    for (QTextBlock block = piece.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QUrl name(format.toImageFormat().name());
                piece.addResource(QTextDocument::ImageResource, name,
                                  document()->resource(QTextDocument::ImageResource, name));
            }
        }
    }
    if (selection.hasComplexSelection()) {
        int row = 0, rows = 0, column = 0, columns = 0;
        selection.selectedTableCells(&row, &rows, &column, &columns);
        const QList<QTextFrame *> tables = piece.rootFrame()->childFrames();
        if (auto *cells = tables.isEmpty() ? nullptr : qobject_cast<QTextTable *>(tables.first()))
            tableformat::spellOutCellFormats(*cells, column);
    }
    tableformat::spellOutCellFormats(piece);
}

QMimeData *TRxRichEdit::createMimeDataFromSelection() const
{
    // Qt's own clipboard data lists a fixed set of formats: build our own.
    auto *data = new QMimeData;
    const QTextCursor cursor = textCursor();
    if (!plainText_ && cursor.hasSelection()) {
        QByteArray rtfData;
        if (document()->rootFrame()->childFrames().isEmpty()) {
            data->setHtml(QTextDocumentFragment(cursor).toHtml()); // no tables to spell out
        } else {
            QTextDocument piece;
            copySelectionInto(piece, cursor);
            data->setHtml(QTextDocumentFragment(&piece).toHtml());
            if (cursor.hasComplexSelection())
                rtfData = rtf::write(piece);
        }
        if (rtfData.isEmpty())
            rtfData = rtf::write(*document(), cursor.selectionStart(), cursor.selectionEnd());
        data->setData(kRtfMimeTypes[0], rtfData);
        data->setData(kRtfMimeTypes[1], rtfData);
    }
    // Plain text with the paragraph ends other programs expect.
    data->setText(programText(tableplaintext::selectedText(cursor), QStringLiteral("\n")).replace(QLatin1Char('\v'), QLatin1Char('\n')));
    return data;
}
