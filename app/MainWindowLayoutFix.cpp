// Keyboard layouts: switching between the two, the status marker, and fixing
// text typed in the wrong one.
#include "app/Unit1.h"

#include "app/AppTitle.h"
#include "app/KeyboardLayoutChoice.h"
#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "tools/LayoutFix.h"
#include "ui_text/MessageTexts.h"

#include <QTextBlock>
#include <QTextCursor>

// The keys of the two layouts found, where the system tells them; the
// standard Russian and US layouts otherwise.
void TForm1::readLayoutKeys()
{
    std::optional<layoutfix::KeyMapping> mapping;
    if (EnglishLayout != 0 && RussianLayout != 0) {
        platform::KeyboardLayouts &layouts = platform_.keyboardLayouts();
        mapping = layoutfix::KeyMapping::fromLayouts(layouts.keys(EnglishLayout), layouts.keys(RussianLayout));
    }
    layoutFixer_ = std::make_unique<layoutfix::LayoutFixer>(mapping.value_or(layoutfix::KeyMapping::standard()));
}

// `layout` (0: none found) becomes active where the desktop lets programs
// switch. Where it lets none, the user who asks is told so once, rather than
// shown a switch that did not happen; nothing needs telling when the desktop
// has that layout active already.
void TForm1::switchKeyboardLayout(quint32 layout, bool russian, bool byUser)
{
    platform::KeyboardLayouts &layouts = platform_.keyboardLayouts();
    if (layout != 0 && layouts.canActivate()) {
        layouts.activate(layout);
    } else if (layout != 0 && byUser && !layoutRefusalShown_) {
        const std::optional<quint32> current = layouts.current();
        const KeyboardLayoutChoice active = chooseKeyboardLayouts(current ? QList<quint32>{*current} : QList<quint32>{});
        if ((russian ? active.russian : active.english) == 0) {
            layoutRefusalShown_ = true;
            platform_.messageBoxes().showMessage(this, platform::MessageIcon::Information,
                                                 QString::fromUtf8(kAppTitle),
                                                 ui_text::messageText(ui_text::Message::LayoutSwitchRefused, Lang));
        }
    }
    if (!showDesktopLayout())
        showKeyboardLayout(russian);
}

// The marker from the layout the desktop says is active; false where it does
// not say. A layout of neither language leaves the marker as it was.
bool TForm1::showDesktopLayout()
{
    const std::optional<quint32> current = platform_.keyboardLayouts().current();
    if (!current)
        return false;
    const KeyboardLayoutChoice active = chooseKeyboardLayouts({*current});
    if (active.russian != 0 || active.english != 0)
        showKeyboardLayout(active.russian != 0);
    return true;
}

// Fix layout: the selection, or else what was just typed before the caret in
// the wrong layout (see caretRunLength), as the other layout would have typed
// it; the result stays selected, so the key pressed again brings the text
// back, and the layout switches to the one the text is now in, as the layout
// commands switch it.
void TForm1::N129Click()
{
    if (!layoutFixer_)
        readLayoutKeys(); // on first use: compiling a layout's keys takes a while
    QTextCursor cursor = RxRichEdit1->textCursor();
    if (!cursor.hasSelection()) {
        const QString beforeCaret = cursor.block().text().left(cursor.positionInBlock());
        const int length = layoutfix::caretRunLength(beforeCaret);
        if (length == 0)
            return;
        const int caret = cursor.position();
        cursor.setPosition(caret - length);
        cursor.setPosition(caret, QTextCursor::KeepAnchor); // the caret stays after the word
        RxRichEdit1->setTextCursor(cursor);
    }
    const layoutfix::LayoutFixer::Fix fix =
        layoutFixer_->fix(RxRichEdit1->SelectedText(), RxRichEdit1->SelectionStart());
    RxRichEdit1->replaceSelectedCharacters(fix.text);
    if (fix.direction == layoutfix::Direction::ToEnglish)
        ToolButton26Click();
    else
        ToolButton27Click();
}
