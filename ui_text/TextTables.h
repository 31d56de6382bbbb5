#pragma once

#include <cstddef>

// The caption and hint tables of both interface languages. The window builds its
// menus from the menu tables (they give the item trees, in menu order) and the
// language switch is one pass over the tables.
namespace ui_text {

// Hint of a control. `initial` is the text of the window definition where it
// differs from the Russian text of the switch; nullptr means "same as russian".
struct HintText {
    const char *component;
    const char *initial;
    const char *russian;
    const char *english;
};

enum class ItemKind {
    Command,   // a captioned item whose caption switches with the language
    Separator, // a separator line: no caption
    Fixed      // a captioned item whose caption is the same in both languages
};

// One menu item. Rows stand in menu order, top to bottom; the items of a
// submenu follow their parent item with a depth one greater.
struct MenuItemText {
    const char *name;
    int depth;            // 0 = directly in the menu (top level of a menu bar)
    ItemKind kind;
    const char *shortcut; // portable key sequence text ("Ctrl+N", "Esc", "Del"); "" = none
    const char *initial;  // window-definition caption; nullptr = same as russian
    const char *russian;  // nullptr for separators; for Fixed items the caption
    const char *english;  // nullptr for separators and Fixed items
    bool checked;         // carries a check mark at start
};

struct MenuTable {
    const char *menuName; // "MainMenu1", "PopupMenu1" … "PopupMenu4"
    const MenuItemText *items;
    std::size_t count;
};

// The hint rows of both tool bars, the ruler image and the loose controls.
const HintText *hintTexts(std::size_t *count);

// The five menus: MainMenu1, PopupMenu1, PopupMenu2, PopupMenu3, PopupMenu4, in
// that order.
const MenuTable *menuTables(std::size_t *count);

// The menu table of the given name, or nullptr.
const MenuTable *findMenuTable(const char *menuName);

} // namespace ui_text
