// View switches: word wrap, RTF mode, links, paper colour, and the tool
// panel, status bar and ruler shown or hidden.
#include "app/Unit1.h"

#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/StatusBar.h"

#include <QAction>
#include <QCheckBox>

void TForm1::CB1Click()
{
    flipCheck(QStringLiteral("N99"));
    flipCheck(QStringLiteral("N51"));
    RxRichEdit1->setWordWrap(CB1->isChecked());
}

void TForm1::CB2Click()
{
    flipCheck(QStringLiteral("RTF2"));
    flipCheck(QStringLiteral("RTF1"));
    RxRichEdit1->setPlainTextMode(!CB2->isChecked());
}

void TForm1::N30Click()
{
    flipCheck(QStringLiteral("N30"));
    RxRichEdit1->setAutoURLDetect(!RxRichEdit1->AutoURLDetect());
}

void TForm1::ColorBox1Select()
{
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

void TForm1::N47Click() { choosePaperColor(); }
void TForm1::N93Click() { choosePaperColor(); }

// Each of the six controls is flipped on its own.
void TForm1::flipToolPanel()
{
    flipCheck(QStringLiteral("N27"));
    flipCheck(QStringLiteral("N77"));
    for (QWidget *control : {CoolBar1, static_cast<QWidget *>(ColorBox1), static_cast<QWidget *>(ColorBox2),
                             static_cast<QWidget *>(CB1), static_cast<QWidget *>(CB2), static_cast<QWidget *>(CB3)})
        control->setHidden(!control->isHidden());
}

void TForm1::ToolButton15Click() { flipToolPanel(); }
void TForm1::N27Click() { flipToolPanel(); }
void TForm1::N77Click() { flipToolPanel(); }

void TForm1::flipStatusBar()
{
    flipCheck(QStringLiteral("N78"));
    flipCheck(QStringLiteral("N28"));
    StatusBar1->setHidden(!StatusBar1->isHidden());
}

void TForm1::N28Click() { flipStatusBar(); }
void TForm1::N78Click() { flipStatusBar(); }

void TForm1::flipRuler()
{
    flipCheck(QStringLiteral("N110"));
    flipCheck(QStringLiteral("N105"));
    Panel1->setHidden(!Panel1->isHidden());
}

void TForm1::N105Click() { flipRuler(); }
void TForm1::N110Click() { flipRuler(); }
