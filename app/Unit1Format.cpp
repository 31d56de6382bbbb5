// Character and paragraph formatting, the status bars and the view switches.
#include "app/Unit1.h"

#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/RulerGeometry.h"
#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"
#include "widgets/UpDown.h"
#include "platform/Platform.h"
#include "tools/Inserts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTextBlock>

namespace {

enum StatusBar1Panel { CaretPanel = 0, ModifiedPanel = 1, FontNamePanel = 2, FontSizePanel = 3,
                       AlignmentPanel = 5, ClockPanel = 6, LengthPanel = 7 };
constexpr int kIndentStepPoints = 20;

const char kModifiedMarker[] = "Изменён";

} // namespace

// Character formatting ----------------------------------------------------------

void TForm1::ComboBox1Change()
{
    handlerRan(__func__);
    // The entry at the selected index, not the typed text.
    const int index = ComboBox1->currentIndex();
    RxRichEdit1->SelectionFormat().setName(index < 0 ? QString() : ComboBox1->itemText(index));
}

void TForm1::UpDown1Changing()
{
    handlerRan(__func__);
    // The value shown before the step.
    RxRichEdit1->SelectionFormat().setSize(UpDown1->position());
}

void TForm1::ColorBox2Select()
{
    handlerRan(__func__);
    RxRichEdit1->SelectionFormat().setColor(ColorBox2->selected());
}

void TForm1::ToolButton37Click()
{
    handlerRan(__func__);
    TRxTextAttributes &format = RxRichEdit1->SelectionFormat();
    platform::FontChoice choice;
    TColor color;
    format.assignTo(choice.font, &color);
    choice.color = color.toQColor(RxRichEdit1->palette());
    const std::optional<platform::FontChoice> chosen = platform_.formatDialogs().askFont(this, choice);
    if (chosen) {
        choice = *chosen;
        format.setName(choice.font.family());
        format.setSize(choice.font.pointSize());
        FontStyles style;
        style.setFlag(FontStyle::Bold, choice.font.bold());
        style.setFlag(FontStyle::Italic, choice.font.italic());
        style.setFlag(FontStyle::Underline, choice.font.underline());
        style.setFlag(FontStyle::StrikeOut, choice.font.strikeOut());
        format.setStyle(style);
        // The automatic colour comes back from the dialog as its RGB value.
        color = choice.color == color.toQColor(RxRichEdit1->palette()) ? color : TColor::fromQColor(choice.color);
        format.setColor(color);
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

void TForm1::ToolButton28Click() { handlerRan(__func__); changeStyle(FontStyle::Italic, true); }
void TForm1::ToolButton29Click() { handlerRan(__func__); changeStyle(FontStyle::Underline, true); }
void TForm1::ToolButton30Click() { handlerRan(__func__); changeStyle(FontStyle::Bold, true); }
void TForm1::N119Click() { handlerRan(__func__); changeStyle(FontStyle::Italic, false); }
void TForm1::N120Click() { handlerRan(__func__); changeStyle(FontStyle::Italic, true); }
void TForm1::N121Click() { handlerRan(__func__); changeStyle(FontStyle::Underline, false); }
void TForm1::N122Click() { handlerRan(__func__); changeStyle(FontStyle::Underline, true); }
void TForm1::N123Click() { handlerRan(__func__); changeStyle(FontStyle::Bold, false); }
void TForm1::N124Click() { handlerRan(__func__); changeStyle(FontStyle::Bold, true); }

// Paragraph formatting -----------------------------------------------------------

void TForm1::align(TAlignment alignment, const char *russian, const char *english)
{
    RxRichEdit1->ParagraphFormat().setAlignment(alignment);
    StatusBar1->setPanelText(AlignmentPanel, QString::fromUtf8(Lang ? english : russian));
}

void TForm1::ToolButton31Click() { handlerRan(__func__); align(TAlignment::LeftJustify, "По левому краю", "LeftJustify"); }
void TForm1::ToolButton32Click() { handlerRan(__func__); align(TAlignment::Center, "По центру", "Center"); }
void TForm1::ToolButton33Click() { handlerRan(__func__); align(TAlignment::RightJustify, "По правому краю", "RightJustify"); }

void TForm1::ToolButton35Click()
{
    handlerRan(__func__);
    RxRichEdit1->ParagraphFormat().setListStyle(paraformat::ListStyle::Bullet);
}

void TForm1::ToolButton36Click()
{
    handlerRan(__func__);
    RxRichEdit1->ParagraphFormat().setListStyle(paraformat::ListStyle::None);
}

void TForm1::ToolButton42Click()
{
    handlerRan(__func__);
    TRxParaAttributes &paragraph = RxRichEdit1->ParagraphFormat();
    paragraph.setFirstLineIndent(paragraph.FirstLineIndent() + kIndentStepPoints);
}

void TForm1::ToolButton43Click()
{
    handlerRan(__func__);
    TRxParaAttributes &paragraph = RxRichEdit1->ParagraphFormat();
    paragraph.setFirstLineIndent(paragraph.FirstLineIndent() - kIndentStepPoints); // no lower limit
}

// Opening the "Marker" submenu flips the bullet switch, chosen or not.
void TForm1::N45Click()
{
    handlerRan(__func__);
    flipCheck(QStringLiteral("N96"));
    flipCheck(QStringLiteral("N45"));
}

// A numbering from the submenu: its style while the switch is on, none otherwise.
void TForm1::numberParagraphs(paraformat::ListStyle style)
{
    const bool on = menuItem(QStringLiteral("N45"))->isChecked();
    RxRichEdit1->ParagraphFormat().setListStyle(on ? style : paraformat::ListStyle::None);
}

void TForm1::N44Click() { handlerRan(__func__); numberParagraphs(paraformat::ListStyle::Bullet); }
void TForm1::N91Click() { handlerRan(__func__); numberParagraphs(paraformat::ListStyle::ArabicNumbers); }
void TForm1::N125Click() { handlerRan(__func__); numberParagraphs(paraformat::ListStyle::LoCaseRoman); }
void TForm1::N126Click() { handlerRan(__func__); numberParagraphs(paraformat::ListStyle::UpCaseRoman); }
void TForm1::N127Click() { handlerRan(__func__); numberParagraphs(paraformat::ListStyle::LoCaseLetter); }
void TForm1::N128Click() { handlerRan(__func__); numberParagraphs(paraformat::ListStyle::UpCaseLetter); }

void TForm1::N96Click()
{
    handlerRan(__func__);
    flipCheck(QStringLiteral("N96"));
    flipCheck(QStringLiteral("N45"));
    numberParagraphs(paraformat::ListStyle::Bullet);
}

// Status tracking ----------------------------------------------------------------

QString TForm1::caretPositionText() const
{
    const int start = RxRichEdit1->SelectionStart();
    const int line = RxRichEdit1->LineFromChar(start);
    const int column = start - RxRichEdit1->LineIndex(line);
    return QString::asprintf("Стр: %3d   Кол: %3d", line + 1, column + 1);
}

void TForm1::RxRichEdit1Change()
{
    StatusBar1->setPanelText(CaretPanel, caretPositionText());
    StatusBar1->setPanelText(ModifiedPanel, QString::fromUtf8(kModifiedMarker));
    StatusBar1->setPanelText(FontNamePanel, RxRichEdit1->SelectionFormat().Name());
    StatusBar1->setPanelText(FontSizePanel, QString::number(RxRichEdit1->SelectionFormat().Size()));
    // The length of the text with CR LF paragraph ends, known without reading it.
    const int length = RxRichEdit1->TextLength() + RxRichEdit1->document()->blockCount() - 1;
    StatusBar1->setPanelText(LengthPanel, QString::number(length));
}

void TForm1::RxRichEdit1MouseDown(Qt::MouseButton, QPoint)
{
    StatusBar1->setPanelText(CaretPanel, caretPositionText());
    StatusBar1->setPanelText(FontNamePanel, RxRichEdit1->SelectionFormat().Name());
    StatusBar1->setPanelText(FontSizePanel, QString::number(RxRichEdit1->SelectionFormat().Size()));
    ColorBox2->setSelected(RxRichEdit1->SelectionFormat().Color());
    ColorBox1->setSelected(RxRichEdit1->Color());
    Edit1->setText(QString::number(RxRichEdit1->SelectionFormat().Size()));
}

void TForm1::RxRichEdit1SelectionChange()
{
    ColorBox2->setSelected(RxRichEdit1->SelectionFormat().Color());
    ColorBox1->setSelected(RxRichEdit1->Color());
    Edit1->setText(QString::number(RxRichEdit1->SelectionFormat().Size()));
    const TRxParaAttributes &paragraph = RxRichEdit1->ParagraphFormat();
    const int first = paragraph.FirstLineIndent();
    Panel1->CurPos->move(ruler::firstLineMarkerLeft(first), Panel1->CurPos->y());
    Panel1->LeftIndent->move(ruler::leftIndentMarkerLeft(first, paragraph.OtherLinesIndent()), Panel1->LeftIndent->y());
    Panel1->RightIndent->move(ruler::rightIndentMarkerLeft(paragraph.RightEdgeIndent()), Panel1->RightIndent->y());
}

void TForm1::Timer1Timer()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = platform_.clock().now();
    StatusBar1->setPanelText(ClockPanel, locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                                             locale.toString(now.time(), inserts::longTimeFormat(locale)));
    platform::LockKeys &keys = platform_.lockKeys();
    StatusBar2->setPanelText(0, keys.isOn(platform::LockKey::CapsLock) ? QStringLiteral("CAPS") : QString());
    StatusBar2->setPanelText(1, keys.isOn(platform::LockKey::ScrollLock) ? QStringLiteral("SCROLL") : QString());
    StatusBar2->setPanelText(2, keys.isOn(platform::LockKey::NumLock) ? QStringLiteral("NUM") : QString());
}

// View switches -----------------------------------------------------------------

void TForm1::CB1Click()
{
    handlerRan(__func__);
    flipCheck(QStringLiteral("N99"));
    flipCheck(QStringLiteral("N51"));
    RxRichEdit1->setWordWrap(CB1->isChecked());
}

void TForm1::CB2Click()
{
    handlerRan(__func__);
    flipCheck(QStringLiteral("RTF2"));
    flipCheck(QStringLiteral("RTF1"));
    RxRichEdit1->setPlainTextMode(!CB2->isChecked());
}

void TForm1::N30Click()
{
    handlerRan(__func__);
    flipCheck(QStringLiteral("N30"));
    RxRichEdit1->setAutoURLDetect(!RxRichEdit1->AutoURLDetect());
}

void TForm1::ColorBox1Select()
{
    handlerRan(__func__);
    RxRichEdit1->setColor(ColorBox1->selected());
}

void TForm1::choosePaperColor()
{
    const std::optional<QColor> chosen = platform_.formatDialogs().askColor(this, ColorDialog1);
    if (chosen) {
        ColorDialog1 = *chosen;
        RxRichEdit1->setColor(TColor::fromQColor(ColorDialog1));
    }
    // The box shows the dialog's colour, also after a cancel.
    ColorBox1->setSelected(TColor::fromQColor(ColorDialog1));
}

void TForm1::N47Click() { handlerRan(__func__); choosePaperColor(); }
void TForm1::N93Click() { handlerRan(__func__); choosePaperColor(); }

// Each of the six controls is flipped on its own.
void TForm1::flipToolPanel()
{
    flipCheck(QStringLiteral("N27"));
    flipCheck(QStringLiteral("N77"));
    for (QWidget *control : {CoolBar1, static_cast<QWidget *>(ColorBox1), static_cast<QWidget *>(ColorBox2),
                             static_cast<QWidget *>(CB1), static_cast<QWidget *>(CB2), static_cast<QWidget *>(CB3)})
        control->setHidden(!control->isHidden());
}

void TForm1::ToolButton15Click() { handlerRan(__func__); flipToolPanel(); }
void TForm1::N27Click() { handlerRan(__func__); flipToolPanel(); }
void TForm1::N77Click() { handlerRan(__func__); flipToolPanel(); }

void TForm1::flipStatusBar()
{
    flipCheck(QStringLiteral("N78"));
    flipCheck(QStringLiteral("N28"));
    StatusBar1->setHidden(!StatusBar1->isHidden());
}

void TForm1::N28Click() { handlerRan(__func__); flipStatusBar(); }
void TForm1::N78Click() { handlerRan(__func__); flipStatusBar(); }

void TForm1::flipRuler()
{
    flipCheck(QStringLiteral("N110"));
    flipCheck(QStringLiteral("N105"));
    Panel1->setHidden(!Panel1->isHidden());
}

void TForm1::N105Click() { handlerRan(__func__); flipRuler(); }
void TForm1::N110Click() { handlerRan(__func__); flipRuler(); }
