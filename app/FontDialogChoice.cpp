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

TColor applyChoice(TRxTextAttributes &format, const platform::FontChoice &choice, const QPalette &palette)
{
    const TColor before = format.Color();
    format.setName(choice.font.family());
    format.setSize(choice.font.pointSize());
    FontStyles style;
    style.setFlag(FontStyle::Bold, choice.font.bold());
    style.setFlag(FontStyle::Italic, choice.font.italic());
    style.setFlag(FontStyle::Underline, choice.font.underline());
    style.setFlag(FontStyle::StrikeOut, choice.font.strikeOut());
    format.setStyle(style);
    // The automatic colour comes back from the dialog as its RGB value.
    const TColor color = choice.color == before.toQColor(palette) ? before : TColor::fromQColor(choice.color);
    format.setColor(color);
    return color;
}

} // namespace fontdialog
