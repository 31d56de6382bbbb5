#include "app/FontDialogChoice.h"

#include "editor/RichEditAttributes.h"

namespace fontdialog {

platform::FontChoice choiceOf(const TRxTextAttributes &format, const QPalette &palette)
{
    platform::FontChoice choice;
    TColor color;
    format.assignTo(choice.font, &color);
    choice.color = color.toQColor(palette);
    return choice;
}

TColor applyChoice(TRxTextAttributes &format, const platform::FontChoice &initial, const platform::FontChoice &choice)
{
    const QFont &from = initial.font;
    const QFont &to = choice.font;
    if (to.family() != from.family())
        format.setName(to.family());
    if (to.pointSize() != from.pointSize())
        format.setSize(to.pointSize());
    if (to.bold() != from.bold() || to.italic() != from.italic() || to.underline() != from.underline() ||
        to.strikeOut() != from.strikeOut()) {
        FontStyles style;
        style.setFlag(FontStyle::Bold, to.bold());
        style.setFlag(FontStyle::Italic, to.italic());
        style.setFlag(FontStyle::Underline, to.underline());
        style.setFlag(FontStyle::StrikeOut, to.strikeOut());
        format.setStyle(style);
    }
    // The automatic colour comes back from the dialog as its RGB value.
    const TColor before = format.Color();
    if (choice.color == initial.color)
        return before;
    const TColor color = TColor::fromQColor(choice.color);
    format.setColor(color);
    return color;
}

} // namespace fontdialog
