#pragma once

#include <QObject>
#include <QVariant>
#include <QTimer>
#include <optional>

class EditorLayout;
class QKeyEvent;
class QTextEdit;

// The caret in a paragraph laid out in pieces. Qt's text control finds lines
// in a paragraph's own layout, which such a paragraph leaves empty: it would
// move the caret by paragraphs, scroll to the paragraph's top and repaint the
// caret there. This moves the caret by display lines and pages, keeps it in
// view and repaints it where it blinks; everywhere else Qt's control does.
class PiecedCaret : public QObject {
    Q_OBJECT
public:
    explicit PiecedCaret(QTextEdit &edit);

    // Moves the caret for a line, line-end or page key near a long
    // paragraph; false when the key is Qt's to handle.
    bool moveByKey(QKeyEvent *event);
    // Types a character, or takes one out with Backspace or Delete, in a long
    // paragraph: Qt's control would look for the caret's line in the
    // paragraph's own layout, which costs the whole paragraph at every key.
    // Keys in a row at the same place are one undo step, as Qt makes them.
    bool typeByKey(QKeyEvent *event);
    // After an event that may have scrolled to the wrong place: back to
    // where the view was before it, then only as far as brings the caret in.
    // Unless `always`, an event that scrolled nothing leaves the view as it is
    // (a mouse move over a view scrolled away from the caret).
    void show(std::optional<int> valueBefore, bool always = true);
    // What an input method asks about the caret in a long paragraph: its
    // box, and text around it (Qt's control would hand over the whole
    // paragraph); nothing where Qt's control answers.
    std::optional<QVariant> inputMethodQuery(Qt::InputMethodQuery query) const;

private:
    EditorLayout &layout() const;
    bool inPieces() const;
    void caretMoved();
    void blink();

    QTextEdit &edit_;
    QTimer blink_;
    // The caret's x for moves up and down, kept while they go on.
    qreal stickyX_ = 0;
    int stickyPosition_ = -1;
    // The run of keys typed or taken out that the next key joins.
    enum class Run { None, Typed, Removed };
    Run run_ = Run::None;
    int runPosition_ = -1;
    int runSteps_ = -1;
    int runRevision_ = -1;
    // Where the caret was last brought into view.
    int shownPosition_ = -1;
    int shownRevision_ = -1;
};
