// Dragging the ruler's markers sets the paragraph's indents; a repaint pulls
// markers that left the scale's left end back onto it.
#include "app/Unit1.h"

#include "widgets/Ruler.h"
#include "widgets/RulerGeometry.h"
#include "editor/TRxRichEdit.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

void moveBy(QLabel *marker, int x, int grabOffset)
{
    marker->move(marker->x() + x - grabOffset, marker->y());
}

} // namespace

void TForm1::markerPressed(QLabel *marker, int x)
{
    RulerGrabOffset = marker->width() / 2;
    moveBy(marker, x, RulerGrabOffset);
    RulerDragging = true;
}

void TForm1::markerMoved(QLabel *marker, int x)
{
    if (RulerDragging)
        moveBy(marker, x, RulerGrabOffset); // no bounds while dragging
}

void TForm1::CurPosMouseDown(int x) { markerPressed(Panel1->CurPos, x); }
void TForm1::CurPosMouseMove(int x) { markerMoved(Panel1->CurPos, x); }
void TForm1::LeftIndentMouseDown(int x) { markerPressed(Panel1->LeftIndent, x); }
void TForm1::LeftIndentMouseMove(int x) { markerMoved(Panel1->LeftIndent, x); }
void TForm1::RightIndentMouseDown(int x) { markerPressed(Panel1->RightIndent, x); }
void TForm1::RightIndentMouseMove(int x) { markerMoved(Panel1->RightIndent, x); }

void TForm1::CurPosMouseUp()
{
    RulerDragging = false;
    RxRichEdit1->ParagraphFormat().setFirstLineIndent(ruler::firstLineIndentAt(Panel1->CurPos->x(), RulerGrabOffset));
}

void TForm1::LeftIndentMouseUp()
{
    RulerDragging = false;
    TRxParaAttributes &paragraph = RxRichEdit1->ParagraphFormat();
    const int first = paragraph.FirstLineIndent();
    paragraph.setOtherLinesIndent(ruler::otherLinesIndentAt(Panel1->LeftIndent->x(), RulerGrabOffset, first));
    RxRichEdit1SelectionChange();
}

void TForm1::RightIndentMouseUp()
{
    RulerDragging = false;
    RxRichEdit1->ParagraphFormat().setRightEdgeIndent(ruler::rightEdgeIndentAt(Panel1->RightIndent->x(), RulerGrabOffset));
}

void TForm1::FormPaint()
{
    QLabel *first = Panel1->CurPos;
    if (first->x() < ruler::kLeftSnapLimit) {
        first->move(ruler::kSnapPosition, first->y());
        RulerDragging = false;
    }
    QLabel *left = Panel1->LeftIndent;
    if (left->x() < ruler::kLeftSnapLimit) {
        left->move(ruler::kSnapPosition, left->y());
        RxRichEdit1->ParagraphFormat().setOtherLinesIndent(ruler::kSnappedOtherLinesIndent);
        RulerDragging = false;
    }
}

bool TForm1::handleMarkerMouse(QObject *watched, QEvent *event)
{
    struct MarkerHandlers {
        QLabel *marker;
        void (TForm1::*down)(int);
        void (TForm1::*move)(int);
        void (TForm1::*up)();
    };
    const MarkerHandlers markers[] = {
        {Panel1->CurPos, &TForm1::CurPosMouseDown, &TForm1::CurPosMouseMove, &TForm1::CurPosMouseUp},
        {Panel1->LeftIndent, &TForm1::LeftIndentMouseDown, &TForm1::LeftIndentMouseMove, &TForm1::LeftIndentMouseUp},
        {Panel1->RightIndent, &TForm1::RightIndentMouseDown, &TForm1::RightIndentMouseMove, &TForm1::RightIndentMouseUp},
    };
    for (const MarkerHandlers &handlers : markers) {
        if (watched != handlers.marker)
            continue;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int x = static_cast<int>(mouse->position().x());
        // The press captures the pointer: moves outside the marker still come here.
        switch (event->type()) {
        case QEvent::MouseButtonPress: guarded([&] { (this->*handlers.down)(x); }); return true;
        case QEvent::MouseMove: guarded([&] { (this->*handlers.move)(x); }); return true;
        case QEvent::MouseButtonRelease: guarded([&] { (this->*handlers.up)(); }); return true;
        default: return false;
        }
    }
    return false;
}
