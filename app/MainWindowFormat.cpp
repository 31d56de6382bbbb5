// Character and paragraph formatting.
#include "app/Unit1.h"

#include "app/FontDialogChoice.h"
#include "app/StatusPanels.h"
#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "widgets/ColorBox.h"
#include "widgets/UpDown.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

namespace {
constexpr int kIndentStepPoints = 20;
}

void TForm1::ComboBox1Change()
{
    // The entry at the selected index, not the typed text.
    const int index = ComboBox1->currentIndex();
    RxRichEdit1->SelectionFormat().setName(index < 0 ? QString() : ComboBox1->itemText(index));
}

void TForm1::UpDown1Changing()
{
    // The value shown before the step.
    RxRichEdit1->SelectionFormat().setSize(UpDown1->position());
}

void TForm1::ColorBox2Select()
{
    RxRichEdit1->SelectionFormat().setColor(ColorBox2->selected());
}

void TForm1::ToolButton37Click()
{
    TRxTextAttributes &format = RxRichEdit1->SelectionFormat();
    const platform::FontChoice initial = fontdialog::choiceOf(format, RxRichEdit1->palette());
    platform::FontChoice choice = initial;
    TColor color = format.Color();
    if (const std::optional<platform::FontChoice> chosen = platform_.formatDialogs().askFont(this, initial)) {
        choice = *chosen;
        color = fontdialog::applyChoice(format, initial, choice);
    }
    RxRichEdit1->setFocus();
    ComboBox1->setEditText(choice.font.family());
    Edit1->setText(QString::number(choice.font.pointSize()));
    ColorBox2->setSelected(color);
}

void TForm1::changeStyle(FontStyle flag, bool add)
{
    TRxTextAttributes &format = RxRichEdit1->SelectionFormat();
    format.setStyle(format.Style().setFlag(flag, add));
}

void TForm1::ToolButton28Click() { changeStyle(FontStyle::Italic, true); }
void TForm1::ToolButton29Click() { changeStyle(FontStyle::Underline, true); }
void TForm1::ToolButton30Click() { changeStyle(FontStyle::Bold, true); }
void TForm1::N119Click() { changeStyle(FontStyle::Italic, false); }
void TForm1::N120Click() { changeStyle(FontStyle::Italic, true); }
void TForm1::N121Click() { changeStyle(FontStyle::Underline, false); }
void TForm1::N122Click() { changeStyle(FontStyle::Underline, true); }
void TForm1::N123Click() { changeStyle(FontStyle::Bold, false); }
void TForm1::N124Click() { changeStyle(FontStyle::Bold, true); }

void TForm1::align(TAlignment alignment)
{
    RxRichEdit1->ParagraphFormat().setAlignment(alignment);
    status_->showAlignment(alignment, Lang);
}

void TForm1::ToolButton31Click() { align(TAlignment::LeftJustify); }
void TForm1::ToolButton32Click() { align(TAlignment::Center); }
void TForm1::ToolButton33Click() { align(TAlignment::RightJustify); }

void TForm1::ToolButton35Click()
{
    RxRichEdit1->ParagraphFormat().setListStyle(paraformat::ListStyle::Bullet);
}

void TForm1::ToolButton36Click()
{
    RxRichEdit1->ParagraphFormat().setListStyle(paraformat::ListStyle::None);
}

void TForm1::ToolButton42Click()
{
    TRxParaAttributes &paragraph = RxRichEdit1->ParagraphFormat();
    paragraph.setFirstLineIndent(paragraph.FirstLineIndent() + kIndentStepPoints);
}

void TForm1::ToolButton43Click()
{
    TRxParaAttributes &paragraph = RxRichEdit1->ParagraphFormat();
    paragraph.setFirstLineIndent(paragraph.FirstLineIndent() - kIndentStepPoints); // no lower limit
}

// Opening the "Marker" submenu flips the bullet switch, chosen or not.
void TForm1::N45Click()
{
    flipCheck(QStringLiteral("N96"));
    flipCheck(QStringLiteral("N45"));
}

// A numbering from the submenu: its style while the switch is on, none otherwise.
void TForm1::numberParagraphs(paraformat::ListStyle style)
{
    const bool on = menuItem(QStringLiteral("N45"))->isChecked();
    RxRichEdit1->ParagraphFormat().setListStyle(on ? style : paraformat::ListStyle::None);
}

void TForm1::N44Click() { numberParagraphs(paraformat::ListStyle::Bullet); }
void TForm1::N91Click() { numberParagraphs(paraformat::ListStyle::ArabicNumbers); }
void TForm1::N125Click() { numberParagraphs(paraformat::ListStyle::LoCaseRoman); }
void TForm1::N126Click() { numberParagraphs(paraformat::ListStyle::UpCaseRoman); }
void TForm1::N127Click() { numberParagraphs(paraformat::ListStyle::LoCaseLetter); }
void TForm1::N128Click() { numberParagraphs(paraformat::ListStyle::UpCaseLetter); }

void TForm1::N96Click()
{
    flipCheck(QStringLiteral("N96"));
    flipCheck(QStringLiteral("N45"));
    numberParagraphs(paraformat::ListStyle::Bullet);
}

