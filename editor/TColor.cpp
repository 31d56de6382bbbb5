#include "editor/TColor.h"

namespace {

QPalette::ColorRole roleOf(TColor::System which)
{
    switch (which) {
    case TColor::System::WindowText: return QPalette::Text;
    case TColor::System::Window: return QPalette::Base;
    case TColor::System::ButtonFace: return QPalette::Button;
    case TColor::System::ButtonText: return QPalette::ButtonText;
    case TColor::System::Highlight: return QPalette::Highlight;
    case TColor::System::HighlightText: return QPalette::HighlightedText;
    case TColor::System::InfoBackground: return QPalette::ToolTipBase;
    case TColor::System::InfoText: return QPalette::ToolTipText;
    case TColor::System::GrayText: return QPalette::PlaceholderText;
    case TColor::System::ActiveCaption: return QPalette::Highlight;
    case TColor::System::InactiveCaption: return QPalette::Mid;
    }
    return QPalette::Text;
}

} // namespace

QColor TColor::toQColor(const QPalette &palette) const
{
    if (!system_)
        return QColor::fromRgb(value_);
    return palette.color(QPalette::Active, roleOf(systemColor()));
}
