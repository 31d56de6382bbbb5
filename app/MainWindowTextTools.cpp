// Text transforms, numbers to words and recoding.
#include "app/Unit1.h"

#include "app/AppTitle.h"
#include "editor/TRxRichEdit.h"
#include "platform/BusyCursor.h"
#include "platform/Platform.h"
#include "tools/NumberToWords.h"
#include "tools/Recoding.h"
#include "tools/Transforms.h"


namespace {

// Text that is not UTF-8 is refused rather than replaced by nothing.
constexpr char kNotUtf8Russian[] = "Текст не в кодировке UTF-8. Документ не изменён.";
constexpr char kNotUtf8English[] = "The text is not UTF-8. The document is unchanged.";

} // namespace

// Reverse letters: one replacement, so Undo brings the text back at once.
void TForm1::ToolButton19Click()
{
    const BusyCursor busy;
    RxRichEdit1->setSelectedText(transforms::Reversed(RxRichEdit1->SelectedText()));
}

// Sort ascending. Paragraphs, not the lines word wrap shows: those would cut
// paragraphs apart wherever the window's width happens to break them.
void TForm1::ToolButton25Click()
{
    const BusyCursor busy;
    QStringList lines = transforms::DocumentLines(RxRichEdit1->Text());
    transforms::SortLines(lines);
    RxRichEdit1->ClearAll();
    // The lines go in as one plain text after the clear, each with its break.
    if (!lines.isEmpty())
        RxRichEdit1->setText(transforms::JoinLines(lines));
}

// Upper and lower case: the selection is first replaced by itself, which gives
// it one character format, then by the converted text.
void TForm1::N115Click()
{
    if (RxRichEdit1->SelectedText().isEmpty())
        return;
    const BusyCursor busy;
    RxRichEdit1->setSelectedText(RxRichEdit1->SelectedText());
    RxRichEdit1->setSelectedText(transforms::UpperCase1251(RxRichEdit1->SelectedText()));
}

void TForm1::N116Click()
{
    if (RxRichEdit1->SelectedText().isEmpty())
        return;
    const BusyCursor busy;
    RxRichEdit1->setSelectedText(RxRichEdit1->SelectedText());
    RxRichEdit1->setSelectedText(transforms::LowerCase1251(RxRichEdit1->SelectedText()));
}

// Numbers to words; a selection that is not a number raises before anything
// is replaced.
void TForm1::N106Click()
{
    const QString words = numwords::NumberToWords(RxRichEdit1->SelectedText());
    RxRichEdit1->setSelectedText(words);
}

void TForm1::Koir1Click()
{
    const BusyCursor busy;
    RxRichEdit1->setText(recoding::windowsToKoi8(RxRichEdit1->Text()));
}

void TForm1::Koir8Win1Click()
{
    const BusyCursor busy;
    RxRichEdit1->setText(recoding::koi8ToWindows(RxRichEdit1->Text()));
}

void TForm1::WinUTF81Click()
{
    const BusyCursor busy;
    RxRichEdit1->setText(recoding::windowsToUtf8(RxRichEdit1->Text()));
}

void TForm1::UTF8Win1Click()
{
    const std::optional<QString> decoded = [this] {
        const BusyCursor busy;
        return recoding::utf8ToWindows(RxRichEdit1->Text());
    }();
    if (!decoded) {
        platform_.messageBoxes().showMessage(this, platform::MessageIcon::None, QString::fromUtf8(kAppTitle),
                                             QString::fromUtf8(Lang ? kNotUtf8English : kNotUtf8Russian));
        return;
    }
    const BusyCursor busy;
    RxRichEdit1->setText(*decoded);
}
