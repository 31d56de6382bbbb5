// Selection and status tracking: the status panels and the clock.
#include "app/Unit1.h"

#include "app/StatusPanels.h"
#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/RulerGeometry.h"

#include <QLineEdit>
#include <QLocale>

void TForm1::showCaretPosition()
{
    const int start = RxRichEdit1->SelectionStart();
    const int line = RxRichEdit1->LineFromChar(start);
    status_->showCaret(line, start - RxRichEdit1->LineIndex(line));
}

void TForm1::RxRichEdit1Change()
{
    showCaretPosition();
    status_->showModified(true);
    status_->showFont(RxRichEdit1->SelectionFormat().Name(), RxRichEdit1->SelectionFormat().Size());
    // The length of the text with CR LF paragraph ends, known without reading it.
    status_->showLength(RxRichEdit1->TextLength() + RxRichEdit1->document()->blockCount() - 1);
}

void TForm1::RxRichEdit1MouseDown(Qt::MouseButton, QPoint)
{
    showCaretPosition();
    status_->showFont(RxRichEdit1->SelectionFormat().Name(), RxRichEdit1->SelectionFormat().Size());
    ColorBox2->setSelected(RxRichEdit1->SelectionFormat().Color());
    ColorBox1->setSelected(RxRichEdit1->Color());
    Edit1->setText(QString::number(RxRichEdit1->SelectionFormat().Size()));
}

void TForm1::RxRichEdit1SelectionChange()
{
    ColorBox2->setSelected(RxRichEdit1->SelectionFormat().Color());
    ColorBox1->setSelected(RxRichEdit1->Color());
    Edit1->setText(QString::number(RxRichEdit1->SelectionFormat().Size()));
    placeRulerMarkers();
}

void TForm1::Timer1Timer()
{
    status_->showClock(platform_.clock().now(), QLocale::system());
    platform::LockKeys &keys = platform_.lockKeys();
    status_->showLockKeys(keys.isOn(platform::LockKey::CapsLock), keys.isOn(platform::LockKey::ScrollLock),
                          keys.isOn(platform::LockKey::NumLock));
}

void TForm1::showKeyboardLayout(bool russian)
{
    status_->showKeyboardLayout(Lang, russian);
}
