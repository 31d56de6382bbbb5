#pragma once

#include <QString>
#include <cstddef>

class TForm1;

// Every command the main window's buttons, check boxes and menu items carry.
// Buttons and check boxes hold the handlers; most menu items only click a
// button, flip a check box or run their twin in the other menu; a few menu
// items have handlers of their own.
enum class CommandKind {
    Button,        // a tool button; its handler runs on each click
    CheckBox,      // a check box; its handler runs on each change of the tick
    ClickButton,   // a menu item that performs the click of the button `target`
    FlipCheckBox,  // a menu item that inverts the tick of the check box `target`
    RunTwin,       // a menu item that runs what the menu item `target` runs
    OwnHandler,    // a menu item with a handler of its own
    SubmenuShown,  // a submenu whose opening runs its handler
    NoAction       // a menu item that carries a shortcut, swallows it and does nothing
};

// The tool bar a button stands on; buttons stand in table order.
enum class ToolBarPlace { None, ToolBar1, ToolBar2 };

// What a command does with a file still coming in: most work on the whole
// text and take the rest in first; a few leave the document as it is or ask
// before anything is written, and let it come in meanwhile.
enum class WhileLoading { TakesRestFirst, LeavesLoadRunning };

struct Command {
    using Handler = void (TForm1::*)();

    const char *name;        // the component: "ToolButton2", "CB1", "N8"
    CommandKind kind;
    const char *target;      // ClickButton, FlipCheckBox, RunTwin: the component acted on
    Handler handler;         // Button, CheckBox, OwnHandler, SubmenuShown
    const char *handlerName; // "ToolButton2Click"
    bool checkable;          // a menu item that shows a check mark, flipped by handlers
    ToolBarPlace place;
    WhileLoading whileLoading = WhileLoading::TakesRestFirst;
};

struct CommandTable {
    const Command *begin() const { return rows; }
    const Command *end() const { return rows + count; }
    const Command *rows;
    std::size_t count;
};

const CommandTable &commandTable();
// The row of a component, or nullptr.
const Command *findCommand(const QString &name);
// What the handler of that name does with a file still coming in; a handler
// that is no command's (timers, the font boxes, dialogs' buttons) takes it in.
WhileLoading whileLoadingOf(const char *handlerName);
