#pragma once

#include "platform/Platform.h"

namespace platform {

class QtFormatDialogs : public FormatDialogs {
public:
    std::optional<FontChoice> askFont(QWidget *owner, const FontChoice &initial) override;
    std::optional<QColor> askColor(QWidget *owner, const QColor &initial) override;
};

} // namespace platform
