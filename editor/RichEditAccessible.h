#pragma once

#include "editor/EditorLayout.h"

#include <QAccessibleWidget>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class TRxRichEdit;

// What a screen reader reads of the editor, and where on the screen.
//
// Offsets are document positions: a paragraph end is one position, "\n" in
// the text. Lines are display lines as they are painted; a line, like a
// paragraph, takes in the paragraph end that closes it. Places are where the
// characters are painted, scrolled or not.
//
// Each question reads only the paragraphs it is about: text of a range, the
// line, word or sentence at an offset, the count of characters and the
// attributes of a run cost those paragraphs and not the document, also while
// a large file is still coming in. Only the whole text asked for (a range
// over all of it, NoBoundary) reads all of it; the Value text is the start of
// the document, not all of it.
class RichEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit RichEditAccessible(TRxRichEdit *editor);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString &text) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    struct Range {
        int start = 0;
        int end = 0;
    };

    TRxRichEdit *editor() const;
    QTextDocument *document() const;
    // The offset a question means: -2 the caret, -1 the end; -1 when invalid.
    int resolve(int offset) const;
    // The line, word, sentence, ... that holds the offset.
    Range segmentAt(int offset, QAccessible::TextBoundaryType type) const;
    Range lineAt(int offset) const;
    Range boundaryAt(int offset, bool sentence) const;
    QString answer(Range range, int *startOffset, int *endOffset) const;
    // The paragraph with its display lines, as painted.
    QTextBlock withLines(int offset) const;
    // The display line at an offset; `placed` off, where it is in the
    // document is not worked out (nothing above its paragraph is laid out).
    EditorLayout::ShownLine shownLine(int offset, bool placed) const;
    // The character's box in document coordinates; null when there is none.
    QRectF documentRect(int offset) const;
    QPoint scrollOffset() const;
    QTextCharFormat formatAt(const QTextBlock &block, int offset, Range *run) const;
    void edit(int startOffset, int endOffset, const QString &text);
};
