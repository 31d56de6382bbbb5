#include "ui_text/LanguageApply.h"

#include "ui_text/TextTables.h"

#include <cstring>

namespace ui_text {

void applyLanguage(bool english, const TextSetter &set)
{
    std::size_t hintCount = 0;
    const HintText *hints = hintTexts(&hintCount);
    for (std::size_t i = 0; i < hintCount; ++i) {
        const HintText &row = hints[i];
        set(QString::fromLatin1(row.component), TextProperty::Hint,
            QString::fromUtf8(english ? row.english : row.russian));
    }

    std::size_t menuCount = 0;
    const MenuTable *menus = menuTables(&menuCount);
    for (std::size_t m = 0; m < menuCount; ++m) {
        for (std::size_t i = 0; i < menus[m].count; ++i) {
            const MenuItemText &item = menus[m].items[i];
            if (item.kind != ItemKind::Command)
                continue;
            set(QString::fromLatin1(item.name), TextProperty::Caption,
                QString::fromUtf8(english ? item.english : item.russian));
        }
    }
}

QString initialCaption(const char *menuName, const char *itemName)
{
    const MenuTable *table = findMenuTable(menuName);
    if (!table)
        return {};
    for (std::size_t i = 0; i < table->count; ++i) {
        const MenuItemText &item = table->items[i];
        if (std::strcmp(item.name, itemName) == 0)
            return QString::fromUtf8(item.initial ? item.initial : item.russian);
    }
    return {};
}

} // namespace ui_text
