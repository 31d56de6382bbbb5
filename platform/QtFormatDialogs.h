#pragma once

#include "platform/Platform.h"

namespace platform {

// What the font dialog ends with: the font it was opened on, with what the
// user changed there. A value the dialog showed differently (a family that is
// not installed, shown as its substitute) and was left alone stays as it was.
QFont keptUnlessChanged(const QFont &initial, const QFont &shown, const QFont &chosen);

class QtFormatDialogs : public FormatDialogs {
public:
    std::optional<FontChoice> askFont(QWidget *owner, const FontChoice &initial) override;
    std::optional<QColor> askColor(QWidget *owner, const QColor &initial) override;
};

} // namespace platform
