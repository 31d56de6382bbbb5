#include "app/ShortcutTable.h"

#include "app/CommandTable.h"
#include "ui_text/TextTables.h"

#include <QKeySequence>

namespace {

QList<ShortcutTable::Entry> entriesOf(const char *menuName)
{
    QList<ShortcutTable::Entry> entries;
    const ui_text::MenuTable *table = ui_text::findMenuTable(menuName);
    if (!table)
        return entries;
    for (std::size_t i = 0; i < table->count; ++i) {
        const ui_text::MenuItemText &item = table->items[i];
        if (!item.shortcut || !*item.shortcut)
            continue;
        const QKeySequence sequence = QKeySequence::fromString(QString::fromLatin1(item.shortcut), QKeySequence::PortableText);
        if (sequence.isEmpty())
            continue;
        const Command *command = findCommand(QString::fromLatin1(item.name));
        const bool hasAction =
            command && command->kind != CommandKind::NoAction && command->kind != CommandKind::SubmenuShown;
        entries.append({QString::fromLatin1(item.name), sequence[0], hasAction});
    }
    return entries;
}

} // namespace

ShortcutTable ShortcutTable::fromMenus()
{
    ShortcutTable table;
    table.setContextMenu(entriesOf("PopupMenu1"));
    table.setMainMenu(entriesOf("MainMenu1"));
    return table;
}

const ShortcutTable::Entry *ShortcutTable::find(QKeyCombination key, bool contextMenuFirst) const
{
    if (contextMenuFirst) {
        if (const Entry *entry = findIn(context_, key))
            return entry;
    }
    return findIn(main_, key);
}

const ShortcutTable::Entry *ShortcutTable::findIn(const QList<Entry> &entries, QKeyCombination key)
{
    for (const Entry &entry : entries) {
        if (entry.key == key)
            return &entry;
    }
    return nullptr;
}
