// The ruler's markers: a dropped marker sets the paragraph's indent; a
// repaint pulls markers that left the scale's left end back onto it.
#include "app/Unit1.h"

#include "editor/TRxRichEdit.h"
#include "widgets/Ruler.h"
#include "widgets/RulerGeometry.h"

using Marker = RulerBand::Marker;

void TForm1::CurPosMouseUp()
{
    RxRichEdit1->ParagraphFormat().setFirstLineIndent(
        ruler::firstLineIndentAt(Panel1->markerLeft(Marker::CurPos), Panel1->grabOffset()));
}

void TForm1::LeftIndentMouseUp()
{
    TRxParaAttributes &paragraph = RxRichEdit1->ParagraphFormat();
    const int first = paragraph.FirstLineIndent();
    paragraph.setOtherLinesIndent(
        ruler::otherLinesIndentAt(Panel1->markerLeft(Marker::LeftIndent), Panel1->grabOffset(), first));
    RxRichEdit1SelectionChange();
}

void TForm1::RightIndentMouseUp()
{
    RxRichEdit1->ParagraphFormat().setRightEdgeIndent(
        ruler::rightEdgeIndentAt(Panel1->markerLeft(Marker::RightIndent), Panel1->grabOffset()));
}

// The markers placed from the indents of the paragraph at the selection.
void TForm1::placeRulerMarkers()
{
    const TRxParaAttributes &paragraph = RxRichEdit1->ParagraphFormat();
    const int first = paragraph.FirstLineIndent();
    Panel1->placeMarker(Marker::CurPos, ruler::firstLineMarkerLeft(first));
    Panel1->placeMarker(Marker::LeftIndent, ruler::leftIndentMarkerLeft(first, paragraph.OtherLinesIndent()));
    Panel1->placeMarker(Marker::RightIndent, ruler::rightIndentMarkerLeft(paragraph.RightEdgeIndent()));
}

void TForm1::FormPaint()
{
    if (Panel1->pullMarkersOntoScale())
        RxRichEdit1->ParagraphFormat().setOtherLinesIndent(ruler::kSnappedOtherLinesIndent);
}
