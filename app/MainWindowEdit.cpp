// Edit commands: one request each to the editor; none moves the focus.
#include "app/Unit1.h"

#include "editor/TRxRichEdit.h"

void TForm1::ToolButton8Click()
{
    if (RxRichEdit1->CanUndo())
        RxRichEdit1->Undo();
}

void TForm1::ToolButton9Click()
{
    if (RxRichEdit1->CanRedo())
        RxRichEdit1->Redo();
}

void TForm1::ToolButton10Click()
{
    RxRichEdit1->Copy();
}

void TForm1::ToolButton11Click()
{
    RxRichEdit1->Cut();
}

void TForm1::ToolButton12Click()
{
    RxRichEdit1->Paste();
}

void TForm1::ToolButton13Click()
{
    RxRichEdit1->Clear();
}

void TForm1::ToolButton17Click()
{
    RxRichEdit1->SelectWholeText();
}
