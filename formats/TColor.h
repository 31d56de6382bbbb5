#pragma once

#include <QColor>
#include <QPalette>

// A colour as the program's formats and colour boxes know it: either a fixed
// RGB value or one of the desktop's system colours, which follow the palette.
// The window-text system colour stands for the automatic text colour.
class TColor {
public:
    enum class System {
        ScrollBar, Background, ActiveCaption, InactiveCaption, Menu, Window, WindowFrame, MenuText,
        WindowText, CaptionText, ActiveBorder, InactiveBorder, AppWorkSpace, Highlight, HighlightText,
        ButtonFace, ButtonShadow, GrayText, ButtonText, InactiveCaptionText, ButtonHighlight, DarkShadow3D,
        Light3D, InfoText, InfoBackground
    };

    TColor() = default;
    static TColor fromRgb(QRgb rgb) { return TColor(false, rgb & 0xffffff); }
    static TColor fromQColor(const QColor &color) { return fromRgb(color.rgb()); }
    static TColor system(System which) { return TColor(true, static_cast<QRgb>(which)); }
    static TColor windowText() { return system(System::WindowText); }

    bool isSystem() const { return system_; }
    System systemColor() const { return static_cast<System>(value_); }
    // The RGB value; a system colour resolved against the palette.
    QColor toQColor(const QPalette &palette = QPalette()) const;

    bool operator==(const TColor &other) const { return system_ == other.system_ && value_ == other.value_; }
    bool operator!=(const TColor &other) const { return !(*this == other); }

private:
    TColor(bool system, QRgb value) : system_(system), value_(value) {}

    bool system_ = false;
    QRgb value_ = 0;
};

Q_DECLARE_METATYPE(TColor)
