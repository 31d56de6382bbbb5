#include "platform/ListedKeyboardLayouts.h"

#include "platform/X11Keyboard.h"
#include "platform/XkbcommonKeys.h"

namespace platform {

ListedKeyboardLayouts::ListedKeyboardLayouts(QList<DesktopLayout> layouts) : layouts_(std::move(layouts)) {}

QList<quint32> ListedKeyboardLayouts::installed(int maxCount)
{
    QList<quint32> handles;
    for (int index = 0; index < count() && index < maxCount; ++index)
        handles << layoutHandle(index, layouts_[index].languageId);
    return handles;
}

QList<LayoutKey> ListedKeyboardLayouts::keys(quint32 handle)
{
    const int index = indexOf(handle);
    if (index < 0)
        return {};
    const auto known = keys_.constFind(index);
    if (known != keys_.constEnd())
        return *known;
    const DesktopLayout &layout = layouts_[index];
    XkbLayoutNames names{layout.symbols, layout.variant};
    // A description may name a variant the symbols name leaves out.
    if (layout.variant.isEmpty()) {
        const std::optional<XkbLayoutNames> described = xkbNamesOfDescription(layout.description);
        if (described && (layout.symbols.isEmpty() || described->symbols == layout.symbols))
            names = *described;
    }
    const QList<LayoutKey> keys = keysOfXkbLayout(names.symbols, names.variant);
    keys_.insert(index, keys);
    return keys;
}

int ListedKeyboardLayouts::indexOf(quint32 handle) const
{
    const int index = int(handle >> 16) - 1;
    if (index < 0 || index >= count() || layoutHandle(index, layouts_[index].languageId) != handle)
        return -1;
    return index;
}

std::optional<quint32> ListedKeyboardLayouts::handleAt(int index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    return layoutHandle(index, layouts_[index].languageId);
}

} // namespace platform
