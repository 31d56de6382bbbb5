#pragma once

#include "formats/TColor.h"

#include <QComboBox>

// A drop-down list of colours, each entry a swatch and a name: the standard,
// the extended and the system colours.
class TColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit TColorBox(QWidget *parent = nullptr);

    // The colour of the selected entry; the box's default colour when none is.
    TColor selected() const;
    // Selects the entry of that colour; a colour the list lacks selects nothing.
    void setSelected(const TColor &color);
    TColor defaultColor() const { return defaultColor_; }
    void setDefaultColor(const TColor &color) { defaultColor_ = color; }

Q_SIGNALS:
    // A colour picked by the user.
    void colorSelected(const TColor &color);

private:
    TColor defaultColor_ = TColor::fromRgb(0x000000);
};
