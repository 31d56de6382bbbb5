// Printing, the about and calendar windows, mail, help and links.
#include "app/Unit1.h"

#include "accessories/AboutWindow.h"
#include "accessories/DeveloperInfo.h"
#include "accessories/LinkOpening.h"
#include "accessories/Mail.h"
#include "accessories/CalculatorWindow.h"
#include "app/Document.h"
#include "editor/TRxRichEdit.h"
#include "platform/BusyCursor.h"
#include "platform/Platform.h"

#include <QAction>

namespace {

// A print system takes a job name of a reasonable length and one line.
constexpr int kMaxJobTitle = 255;
const char kHelpFile[] = "HELP.chm";

QString jobTitle(const QString &text)
{
    QString title = text.left(kMaxJobTitle);
    for (QChar &c : title) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return title;
}

} // namespace

void TForm1::ToolButton6Click()
{
    if (!platform_.printing().askPrint(this))
        return;
    const BusyCursor busy;
    RxRichEdit1->PrintDocument(jobTitle(RxRichEdit1->Text()));
}

void TForm1::ToolButton5Click()
{
    platform_.printing().askPrinterSetup(this);
}

void TForm1::N48Click()
{
    platform_.printing().askPageSetup(this);
}

void TForm1::N94Click()
{
    platform_.printing().askPageSetup(this);
}

void TForm1::ToolButton22Click()
{
    AboutWindow about(
        Lang, [this] { Action1->trigger(); }, [this] { Action2->trigger(); }, this);
    platform_.modalWindows().exec(about);
}

void TForm1::ToolButton40Click()
{
    // Whatever goes wrong with the calendar is of no consequence: no message.
    try {
        CalendarWindow calendar(this);
        platform_.modalWindows().exec(calendar);
    } catch (...) {
    }
}

void TForm1::ToolButton39Click()
{
    platform_.shell().open(mailAddress(Lang, false, RxRichEdit1->Text()));
}

void TForm1::Action2Execute()
{
    platform_.shell().open(mailAddress(Lang, true, RxRichEdit1->Text()));
}

void TForm1::Action1Execute()
{
    platform_.shell().open(QString::fromLatin1(developer::kSite));
}

// The help file is looked for in the current folder, where the file dialogs
// leave the process.
void TForm1::ToolButton21Click()
{
    platform_.shell().open(QString::fromLatin1(kHelpFile));
}

// Both buttons follow the same rule.
void TForm1::RxRichEdit1URLClick(const QString &link, Qt::MouseButton)
{
    followLink(platform_, this, Lang, link, documents::folderOf(document_->currentFileName()));
}

// The calculator window: shown, or brought to the front when it is open.
void TForm1::ToolButton41Click()
{
    if (Form2)
        Form2->Show();
}
