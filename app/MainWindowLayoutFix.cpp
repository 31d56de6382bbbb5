// Fixing text typed in the wrong keyboard layout.
#include "app/Unit1.h"

#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "tools/LayoutFix.h"

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

// Fix layout: the selection, or else what was just typed before the caret in
// the wrong layout (see caretRunLength), as the other layout would have typed
// it; the result stays selected, so the key pressed again brings the text
// back, and the layout switches to the one the text is now in, as the layout
// commands switch it.
void TForm1::N129Click()
{
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
