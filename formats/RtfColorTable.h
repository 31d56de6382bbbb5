#pragma once

#include "formats/RtfContent.h"

#include <vector>

// The colours of \colortbl, by index. An entry without components is the
// automatic colour, and so is any index the table lacks.
namespace rtf::detail {

class ColorTable
{
public:
    void startTable();
    // shift: 16 for red, 8 for green, 0 for blue.
    void setComponent(int shift, int value);
    void commit(); // at ';'
    void endTable();

    quint32 colour(int index) const
    {
        if (index <= 0 || index >= int(m_colors.size()))
            return kAutoColor;
        return m_colors[size_t(index)];
    }

private:
    std::vector<quint32> m_colors;
    quint32 m_pending = 0;
    bool m_pendingHasComponent = false;
};

} // namespace rtf::detail
