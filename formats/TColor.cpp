#include "formats/TColor.h"

namespace {

QPalette::ColorRole roleOf(TColor::System which)
{
    using S = TColor::System;
    switch (which) {
    case S::ScrollBar: return QPalette::Button;
    case S::Background: return QPalette::Dark;
    case S::ActiveCaption: return QPalette::Highlight;
    case S::InactiveCaption: return QPalette::Mid;
    case S::Menu: return QPalette::Window;
    case S::Window: return QPalette::Base;
    case S::WindowFrame: return QPalette::Shadow;
    case S::MenuText: return QPalette::WindowText;
    case S::WindowText: return QPalette::Text;
    case S::CaptionText: return QPalette::HighlightedText;
    case S::ActiveBorder: return QPalette::Button;
    case S::InactiveBorder: return QPalette::Button;
    case S::AppWorkSpace: return QPalette::Dark;
    case S::Highlight: return QPalette::Highlight;
    case S::HighlightText: return QPalette::HighlightedText;
    case S::ButtonFace: return QPalette::Button;
    case S::ButtonShadow: return QPalette::Mid;
    case S::GrayText: return QPalette::PlaceholderText;
    case S::ButtonText: return QPalette::ButtonText;
    case S::InactiveCaptionText: return QPalette::WindowText;
    case S::ButtonHighlight: return QPalette::Light;
    case S::DarkShadow3D: return QPalette::Shadow;
    case S::Light3D: return QPalette::Midlight;
    case S::InfoText: return QPalette::ToolTipText;
    case S::InfoBackground: return QPalette::ToolTipBase;
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
