#include "app/CommandTable.h"

#include "app/Unit1.h"

#include <iterator>

namespace {

constexpr ToolBarPlace Bar1 = ToolBarPlace::ToolBar1;
constexpr ToolBarPlace Bar2 = ToolBarPlace::ToolBar2;
constexpr bool Checkable = true;

#define BUTTON(n, bar) {"ToolButton" #n, CommandKind::Button, nullptr, &TForm1::ToolButton##n##Click, "ToolButton" #n "Click", false, bar}
// New starts another program; Open and Exit save through SaveFile, which
// takes the whole file in first.
#define BUTTON_LEAVING_LOAD(n, bar) {"ToolButton" #n, CommandKind::Button, nullptr, &TForm1::ToolButton##n##Click, "ToolButton" #n "Click", false, bar, WhileLoading::LeavesLoadRunning}
#define CHECKBOX(name) {#name, CommandKind::CheckBox, nullptr, &TForm1::name##Click, #name "Click", false, ToolBarPlace::None}
#define CLICK(item, n) {#item, CommandKind::ClickButton, "ToolButton" #n, nullptr, nullptr, false, ToolBarPlace::None}
#define FLIP(item, box) {#item, CommandKind::FlipCheckBox, #box, nullptr, nullptr, Checkable, ToolBarPlace::None}
#define TWIN(item, twin) {#item, CommandKind::RunTwin, #twin, nullptr, nullptr, false, ToolBarPlace::None}
#define OWN(item) {#item, CommandKind::OwnHandler, nullptr, &TForm1::item##Click, #item "Click", false, ToolBarPlace::None}
#define OWN_MARKED(item) {#item, CommandKind::OwnHandler, nullptr, &TForm1::item##Click, #item "Click", Checkable, ToolBarPlace::None}

const Command kCommands[] = {
    // ToolBar1, left to right
    BUTTON_LEAVING_LOAD(1, Bar1), BUTTON_LEAVING_LOAD(2, Bar1), BUTTON(3, Bar1), BUTTON(4, Bar1), BUTTON(5, Bar1), BUTTON(6, Bar1),
    BUTTON_LEAVING_LOAD(7, Bar1), BUTTON(8, Bar1), BUTTON(9, Bar1), BUTTON(10, Bar1), BUTTON(11, Bar1), BUTTON(12, Bar1),
    BUTTON(13, Bar1), BUTTON(14, Bar1), BUTTON(15, Bar1), BUTTON(17, Bar1), BUTTON(18, Bar1), BUTTON(19, Bar1),
    BUTTON(20, Bar1), BUTTON(21, Bar1), BUTTON(22, Bar1), BUTTON(23, Bar1), BUTTON(24, Bar1), BUTTON(25, Bar1),
    BUTTON(26, Bar1), BUTTON(27, Bar1),
    // ToolBar2, left to right; the font boxes follow the buttons
    BUTTON(28, Bar2), BUTTON(29, Bar2), BUTTON(30, Bar2), BUTTON(31, Bar2), BUTTON(32, Bar2), BUTTON(33, Bar2),
    BUTTON(35, Bar2), BUTTON(36, Bar2), BUTTON(37, Bar2), BUTTON(39, Bar2), BUTTON(40, Bar2), BUTTON(41, Bar2),
    BUTTON(42, Bar2), BUTTON(43, Bar2),
    // Word wrap, RTF mode, interface language
    CHECKBOX(CB1), CHECKBOX(CB2), CHECKBOX(CB3),

    // File
    CLICK(N7, 1), CLICK(N61, 1), CLICK(N8, 2), CLICK(N62, 2), CLICK(N9, 3), CLICK(N63, 3),
    CLICK(N10, 4), CLICK(N64, 4), OWN_MARKED(N109), OWN_MARKED(N16), CLICK(N13, 5), CLICK(N65, 5),
    CLICK(N12, 6), CLICK(N66, 6), OWN(N48), OWN(N94), CLICK(N15, 7), CLICK(N67, 7),
    // Edit
    CLICK(N17, 8), CLICK(N68, 8), CLICK(N18, 9), CLICK(N69, 9), CLICK(N20, 10), CLICK(N70, 10),
    CLICK(N21, 11), CLICK(N72, 11), CLICK(N22, 12), CLICK(N71, 12), CLICK(N23, 13), CLICK(N73, 13),
    CLICK(N29, 17), CLICK(N76, 17), CLICK(N25, 14), CLICK(N74, 14), CLICK(N26, 20), CLICK(N75, 20),
    // View
    OWN_MARKED(N27), OWN_MARKED(N77), OWN_MARKED(N28), OWN_MARKED(N78),
    // Insert
    CLICK(N31, 18), CLICK(N80, 18), CLICK(N32, 19), CLICK(N81, 19), CLICK(N35, 23), CLICK(N82, 23),
    CLICK(N36, 24), CLICK(N83, 24),
    OWN(Delphi1), TWIN(Delphi2, Delphi1), OWN(Pascal1), TWIN(ObjectPascal1, Pascal1),
    OWN(HTML1), TWIN(HTML2, HTML1), OWN(Cheader1), TWIN(CHeader2, Cheader1), OWN(CPP1), TWIN(CPP2, CPP1),
    OWN(N113), OWN(N131), {"N114", CommandKind::NoAction, nullptr, nullptr, nullptr, false, ToolBarPlace::None},
    // Format
    CLICK(N37, 25), CLICK(N84, 25), CLICK(N38, 26), CLICK(N85, 26), CLICK(N39, 27), CLICK(N86, 27),
    OWN(N129), TWIN(N130, N129),
    CLICK(N41, 31), CLICK(N88, 31), CLICK(N42, 32), CLICK(N89, 32), CLICK(N43, 33), CLICK(N90, 33),
    {"N45", CommandKind::SubmenuShown, nullptr, &TForm1::N45Click, "N45Click", Checkable, ToolBarPlace::None},
    OWN(N44), OWN(N91), OWN(N125), OWN(N126), OWN(N127), OWN(N128), OWN_MARKED(N96),
    CLICK(N46, 37), CLICK(N92, 37), OWN(N47), OWN(N93),
    CLICK(N49, 39), CLICK(N95, 39), CLICK(N53, 40), CLICK(N97, 40), CLICK(N50, 41), CLICK(N98, 41),
    FLIP(N51, CB1), FLIP(N99, CB1), FLIP(RTF1, CB2), FLIP(RTF2, CB2), FLIP(N52, CB3), FLIP(N100, CB3),
    OWN_MARKED(N105), OWN_MARKED(N110),
    // The context menu's copy of "numbers to words" runs the main menu's command,
    // so its shortcut, which the context menu sees first, works in the editor.
    OWN(N106), TWIN(N111, N106),
    OWN(Koir1), TWIN(Koir8Win2, Koir1), OWN(Koir8Win1), TWIN(Koir8Win3, Koir8Win1),
    OWN(WinUTF81), TWIN(WinUTF82, WinUTF81), OWN(UTF8Win1), TWIN(UTFWin1, UTF8Win1),
    OWN(N115), TWIN(N117, N115), OWN(N116), TWIN(N118, N116), OWN_MARKED(N30),
    OWN_MARKED(N132), OWN_MARKED(N134), OWN(N133),
    // Help
    CLICK(N33, 21), CLICK(N101, 21), CLICK(N34, 22), CLICK(N102, 22), OWN(N54), TWIN(N103, N54),
    // The drop-down menus of the italic, underline and bold buttons
    OWN(N119), OWN(N120), OWN(N121), OWN(N122), OWN(N123), OWN(N124),
};

#undef BUTTON
#undef BUTTON_LEAVING_LOAD
#undef CHECKBOX
#undef CLICK
#undef FLIP
#undef TWIN
#undef OWN
#undef OWN_MARKED

} // namespace

const CommandTable &commandTable()
{
    static const CommandTable table{kCommands, std::size(kCommands)};
    return table;
}

const Command *findCommand(const QString &name)
{
    for (const Command &command : commandTable()) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

WhileLoading whileLoadingOf(const char *handlerName)
{
    for (const Command &command : commandTable()) {
        if (command.handlerName && qstrcmp(handlerName, command.handlerName) == 0)
            return command.whileLoading;
    }
    return WhileLoading::TakesRestFirst;
}
