#pragma once

#include <QtGlobal>
#include <memory>

class QDialog;
class QWidget;
class TRxRichEdit;

// The "Statistics" command: three counts of the document in a window built
// anew for each showing.
namespace statistics {

struct DocumentCounts {
    int lines = 0;           // the lines the editor shows, a last empty one left out
    qsizetype characters = 0; // the whole text, a paragraph end counting two (CR LF)
    qsizetype selected = 0;   // the selection, a paragraph end counting one
};

DocumentCounts countDocument(TRxRichEdit &editor);

// The modal window showing `counts`, its texts in the interface language. OK
// (the default button) or the close box closes it; Escape does not. It is
// 250 x 150 unless a count is too wide for that, and centred on the screen of
// `owner`.
std::unique_ptr<QDialog> buildStatisticsWindow(const DocumentCounts &counts, bool english, QWidget *owner);

} // namespace statistics
