#pragma once

#include <QKeyCombination>
#include <QList>
#include <QString>

// The shortcuts of the context menu and the main menu, each list in menu order
// (depth first), and the precedence between them: while a control that carries
// the context menu has the focus, the context menu is asked first; within a menu
// the first item with the key takes it.
class ShortcutTable {
public:
    struct Entry {
        QString item;
        QKeyCombination key;
        bool hasAction; // an item without an action swallows its key
    };

    // Builds both lists from the menu tables and the command routes.
    static ShortcutTable fromMenus();

    void setContextMenu(QList<Entry> entries) { context_ = std::move(entries); }
    void setMainMenu(QList<Entry> entries) { main_ = std::move(entries); }

    // The item that receives the key, or nullptr when no menu has it.
    const Entry *find(QKeyCombination key, bool contextMenuFirst) const;

private:
    static const Entry *findIn(const QList<Entry> &entries, QKeyCombination key);

    QList<Entry> context_;
    QList<Entry> main_;
};
