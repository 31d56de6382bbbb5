#include "formats/RtfColorTable.h"

#include <algorithm>

namespace rtf::detail {

namespace {

// Colours kept; a hostile table cannot grow past them.
constexpr size_t kMaxColors = 16384;
constexpr int kMaxComponent = 255;

} // namespace

void ColorTable::startTable()
{
    m_pending = 0;
    m_pendingHasComponent = false;
}

void ColorTable::setComponent(int shift, int value)
{
    const auto component = quint32(std::clamp(value, 0, kMaxComponent));
    m_pending = (m_pending & ~(quint32(kMaxComponent) << shift)) | component << shift;
    m_pendingHasComponent = true;
}

void ColorTable::commit()
{
    if (m_colors.size() < kMaxColors)
        m_colors.push_back(m_pendingHasComponent ? m_pending : kAutoColor);
    m_pending = 0;
    m_pendingHasComponent = false;
}

void ColorTable::endTable()
{
    if (m_pendingHasComponent)
        commit();
}

} // namespace rtf::detail
