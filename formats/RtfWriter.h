#pragma once

#include <QByteArray>
#include <memory>

class QDeadlineTimer;
class QTextDocument;

// Writing the program's document model as RTF the way the Windows rich edit
// control writes it, with Word's list table added so that other programs keep
// letter and roman numbering, and tables as Word's rows of cells (\trowd ...
// \cellx, \intbl paragraphs, \cell, \row); a table inside a cell goes as
// paragraphs of that cell.
namespace rtf {

// The whole document.
QByteArray write(const QTextDocument &document);

// The characters at positions from..to-1 (the clipboard's selection). A
// paragraph ends with \par only when its end is inside the range. A range
// inside one table cell is its paragraphs; one that reaches into other cells
// takes every table row it touches whole.
QByteArray write(const QTextDocument &document, int from, int to);

// The whole document written a few paragraphs at a time, so that a caller on
// the UI thread can take events in between. The document must not change
// while the writing is under way: start again after any change.
class StepwiseWriter {
public:
    explicit StepwiseWriter(const QTextDocument &document);
    ~StepwiseWriter();
    // Writes on until `deadline` has passed (at least one paragraph each
    // time); true when the RTF is complete.
    bool step(const QDeadlineTimer &deadline);
    // The RTF, exactly what write() gives; finishes the writing first.
    QByteArray take();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace rtf
