// Inserts, keyboard layouts and statistics.
#include "app/Unit1.h"

#include "app/Document.h"
#include "editor/TRxRichEdit.h"
#include "platform/BusyCursor.h"
#include "platform/Platform.h"
#include "tools/Inserts.h"
#include "tools/Statistics.h"
#include "tools/Templates.h"
#include "ui_text/MessageTexts.h"

#include <QDialog>
#include <QLocale>

void TForm1::ToolButton18Click()
{
    RxRichEdit1->setSelectedText(inserts::dateTimeText(platform_.clock().now(), QLocale::system()));
}

void TForm1::ToolButton23Click()
{
    const std::optional<QString> chosen = document_->chooseFileToInsert();
    if (!chosen)
        return;
    const BusyCursor busy;
    // A file that cannot be read, or is too long for the editor, inserts nothing.
    const std::optional<QString> text = inserts::readFileText(*chosen, TRxRichEdit::kMaxLength);
    if (text)
        RxRichEdit1->setSelectedText(*text);
}

void TForm1::ToolButton24Click()
{
    const std::optional<QString> chosen = document_->chooseFileToInsert();
    if (chosen)
        RxRichEdit1->setSelectedText(inserts::fileNamePart(*chosen));
}

void TForm1::Delphi1Click()
{
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::Delphi);
}

void TForm1::Pascal1Click()
{
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::ObjectPascal);
}

void TForm1::HTML1Click()
{
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::Html);
}

void TForm1::Cheader1Click()
{
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::CppHeader);
}

void TForm1::CPP1Click()
{
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::Cpp);
}

// Whether an object went in does not matter to the command.
void TForm1::N113Click()
{
    RxRichEdit1->InsertObjectByDialog();
}

void TForm1::N131Click()
{
    using ui_text::Message;
    platform::TableSizeRequest request;
    request.title = ui_text::messageText(Message::TableTitle, english());
    request.rowsLabel = ui_text::messageText(Message::TableRows, english());
    request.columnsLabel = ui_text::messageText(Message::TableColumns, english());
    request.okCaption = ui_text::messageText(Message::OkButton, english());
    request.cancelCaption = ui_text::messageText(Message::CancelButton, english());
    request.maxRows = TRxRichEdit::kMaxInsertedRows;
    request.maxColumns = TRxRichEdit::kMaxInsertedColumns;
    if (const std::optional<platform::TableSize> size = platform_.objectDialogs().askTableSize(this, request))
        RxRichEdit1->InsertTable(size->rows, size->columns);
}

// The panel tells the layout the desktop has active, where it says; else the
// one last chosen here, installed or not.
void TForm1::ToolButton26Click()
{
    switchKeyboardLayout(EnglishLayout, false, true);
}

void TForm1::ToolButton27Click()
{
    switchKeyboardLayout(RussianLayout, true, true);
}

// The counts are taken once, as the window opens.
void TForm1::N54Click()
{
    const statistics::DocumentCounts counts = [this] {
        const BusyCursor busy;
        return statistics::countDocument(*RxRichEdit1);
    }();
    const std::unique_ptr<QDialog> window = statistics::buildStatisticsWindow(counts, Lang, this);
    platform_.modalWindows().exec(*window);
}
