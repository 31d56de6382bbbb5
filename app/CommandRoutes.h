#pragma once

#include <cstddef>

// Which command each menu item runs. Buttons and check boxes carry the command
// handlers; most menu items only click a button, flip a check box or click their
// main-menu twin; a few have handlers of their own.
enum class RouteKind {
    ClickButton,   // performs the click of the tool button `target`
    FlipCheckBox,  // inverts the tick of the check box `target`, whose click handler acts
    ClickMenuItem, // runs what the menu item `target` runs
    OwnHandler,    // runs the item's own handler, named after the item
    NoAction       // carries a shortcut that it swallows, does nothing
};

struct MenuRoute {
    const char *item;
    RouteKind kind;
    const char *target;
};

// Every menu item that runs something when chosen. Items that only open a
// submenu are not listed.
const MenuRoute *menuRoutes(std::size_t *count);
const MenuRoute *findMenuRoute(const char *item);
