// Inserts, keyboard layouts and statistics.
#include "app/Unit1.h"

#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "tools/Inserts.h"
#include "tools/Statistics.h"
#include "tools/Templates.h"

#include <QDialog>
#include <QHash>
#include <QLocale>

namespace {

// OpenDialog3, shared by the two file inserts, keeps the file last chosen for
// the next use. One per window, gone with it.
FileDialogState &openDialog3(TForm1 *form)
{
    static QHash<const TForm1 *, FileDialogState> states;
    if (!states.contains(form))
        QObject::connect(form, &QObject::destroyed, [form] { states.remove(form); });
    return states[form];
}

std::optional<QString> chooseFileToInsert(TForm1 *form, platform::Platform &platform)
{
    FileDialogState &state = openDialog3(form);
    platform::FileDialogRequest request;
    request.filters = QStringList{QStringLiteral("All files (*.*)|*.*")};
    request.fileName = state.fileName;
    const std::optional<QString> chosen = platform.fileDialogs().openFileName(form, request);
    if (chosen)
        state.fileName = *chosen;
    return chosen;
}

} // namespace

void TForm1::ToolButton18Click()
{
    handlerRan(__func__);
    RxRichEdit1->setSelectedText(inserts::dateTimeText(platform_.clock().now(), QLocale::system()));
}

void TForm1::ToolButton23Click()
{
    handlerRan(__func__);
    const std::optional<QString> chosen = chooseFileToInsert(this, platform_);
    if (!chosen)
        return;
    // A file that cannot be read, or is too long for the editor, inserts nothing.
    const std::optional<QString> text = inserts::readFileText(*chosen, TRxRichEdit::kMaxLength);
    if (text)
        RxRichEdit1->setSelectedText(*text);
}

void TForm1::ToolButton24Click()
{
    handlerRan(__func__);
    const std::optional<QString> chosen = chooseFileToInsert(this, platform_);
    if (chosen)
        RxRichEdit1->setSelectedText(inserts::fileNamePart(*chosen));
}

void TForm1::Delphi1Click()
{
    handlerRan(__func__);
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::Delphi);
}

void TForm1::Pascal1Click()
{
    handlerRan(__func__);
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::ObjectPascal);
}

void TForm1::HTML1Click()
{
    handlerRan(__func__);
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::Html);
}

void TForm1::Cheader1Click()
{
    handlerRan(__func__);
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::CppHeader);
}

void TForm1::CPP1Click()
{
    handlerRan(__func__);
    templates::putTemplate(*RxRichEdit1, templates::CodeTemplate::Cpp);
}

// Whether an object went in does not matter to the command.
void TForm1::N113Click()
{
    handlerRan(__func__);
    RxRichEdit1->InsertObjectByDialog();
}

// The panel tells the layout last chosen here, installed or not.
void TForm1::ToolButton26Click()
{
    handlerRan(__func__);
    if (EnglishLayout != 0)
        platform_.keyboardLayouts().activate(EnglishLayout);
    writeLayoutMarker(false);
}

void TForm1::ToolButton27Click()
{
    handlerRan(__func__);
    if (RussianLayout != 0)
        platform_.keyboardLayouts().activate(RussianLayout);
    writeLayoutMarker(true);
}

// The counts are taken once, as the window opens.
void TForm1::N54Click()
{
    handlerRan(__func__);
    const statistics::DocumentCounts counts = statistics::countDocument(*RxRichEdit1);
    const std::unique_ptr<QDialog> window = statistics::buildStatisticsWindow(counts, Lang, this);
    platform_.modalWindows().exec(*window);
}
