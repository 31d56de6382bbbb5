#include "app/CommandRoutes.h"

#include <cstring>
#include <iterator>

namespace {

constexpr RouteKind Click = RouteKind::ClickButton;
constexpr RouteKind Flip = RouteKind::FlipCheckBox;
constexpr RouteKind Twin = RouteKind::ClickMenuItem;
constexpr RouteKind Own = RouteKind::OwnHandler;

const MenuRoute kRoutes[] = {
    // File
    {"N7", Click, "ToolButton1"}, {"N61", Click, "ToolButton1"},
    {"N8", Click, "ToolButton2"}, {"N62", Click, "ToolButton2"},
    {"N9", Click, "ToolButton3"}, {"N63", Click, "ToolButton3"},
    {"N10", Click, "ToolButton4"}, {"N64", Click, "ToolButton4"},
    {"N109", Own, nullptr}, {"N16", Own, nullptr},
    {"N13", Click, "ToolButton5"}, {"N65", Click, "ToolButton5"},
    {"N12", Click, "ToolButton6"}, {"N66", Click, "ToolButton6"},
    {"N48", Own, nullptr}, {"N94", Own, nullptr},
    {"N15", Click, "ToolButton7"}, {"N67", Click, "ToolButton7"},
    // Edit
    {"N17", Click, "ToolButton8"}, {"N68", Click, "ToolButton8"},
    {"N18", Click, "ToolButton9"}, {"N69", Click, "ToolButton9"},
    {"N20", Click, "ToolButton10"}, {"N70", Click, "ToolButton10"},
    {"N21", Click, "ToolButton11"}, {"N72", Click, "ToolButton11"},
    {"N22", Click, "ToolButton12"}, {"N71", Click, "ToolButton12"},
    {"N23", Click, "ToolButton13"}, {"N73", Click, "ToolButton13"},
    {"N29", Click, "ToolButton17"}, {"N76", Click, "ToolButton17"},
    {"N25", Click, "ToolButton14"}, {"N74", Click, "ToolButton14"},
    {"N26", Click, "ToolButton20"}, {"N75", Click, "ToolButton20"},
    // View
    {"N27", Own, nullptr}, {"N77", Own, nullptr},
    {"N28", Own, nullptr}, {"N78", Own, nullptr},
    // Insert
    {"N31", Click, "ToolButton18"}, {"N80", Click, "ToolButton18"},
    {"N32", Click, "ToolButton19"}, {"N81", Click, "ToolButton19"},
    {"N35", Click, "ToolButton23"}, {"N82", Click, "ToolButton23"},
    {"N36", Click, "ToolButton24"}, {"N83", Click, "ToolButton24"},
    {"Delphi1", Own, nullptr}, {"Delphi2", Twin, "Delphi1"},
    {"Pascal1", Own, nullptr}, {"ObjectPascal1", Twin, "Pascal1"},
    {"HTML1", Own, nullptr}, {"HTML2", Twin, "HTML1"},
    {"Cheader1", Own, nullptr}, {"CHeader2", Twin, "Cheader1"},
    {"CPP1", Own, nullptr}, {"CPP2", Twin, "CPP1"},
    {"N113", Own, nullptr}, {"N114", RouteKind::NoAction, nullptr},
    // Format
    {"N37", Click, "ToolButton25"}, {"N84", Click, "ToolButton25"},
    {"N38", Click, "ToolButton26"}, {"N85", Click, "ToolButton26"},
    {"N39", Click, "ToolButton27"}, {"N86", Click, "ToolButton27"},
    {"N41", Click, "ToolButton31"}, {"N88", Click, "ToolButton31"},
    {"N42", Click, "ToolButton32"}, {"N89", Click, "ToolButton32"},
    {"N43", Click, "ToolButton33"}, {"N90", Click, "ToolButton33"},
    {"N44", Own, nullptr}, {"N91", Own, nullptr},
    {"N125", Own, nullptr}, {"N126", Own, nullptr},
    {"N127", Own, nullptr}, {"N128", Own, nullptr},
    {"N96", Own, nullptr},
    {"N46", Click, "ToolButton37"}, {"N92", Click, "ToolButton37"},
    {"N47", Own, nullptr}, {"N93", Own, nullptr},
    {"N49", Click, "ToolButton39"}, {"N95", Click, "ToolButton39"},
    {"N53", Click, "ToolButton40"}, {"N97", Click, "ToolButton40"},
    {"N50", Click, "ToolButton41"}, {"N98", Click, "ToolButton41"},
    {"N51", Flip, "CB1"}, {"N99", Flip, "CB1"},
    {"RTF1", Flip, "CB2"}, {"RTF2", Flip, "CB2"},
    {"N52", Flip, "CB3"}, {"N100", Flip, "CB3"},
    {"N105", Own, nullptr}, {"N110", Own, nullptr},
    // The context menu's copy of "numbers to words" runs the main menu's command,
    // so its shortcut, which the context menu sees first, works in the editor.
    {"N106", Own, nullptr}, {"N111", Twin, "N106"},
    {"Koir1", Own, nullptr}, {"Koir8Win2", Twin, "Koir1"},
    {"Koir8Win1", Own, nullptr}, {"Koir8Win3", Twin, "Koir8Win1"},
    {"WinUTF81", Own, nullptr}, {"WinUTF82", Twin, "WinUTF81"},
    {"UTF8Win1", Own, nullptr}, {"UTFWin1", Twin, "UTF8Win1"},
    {"N115", Own, nullptr}, {"N117", Twin, "N115"},
    {"N116", Own, nullptr}, {"N118", Twin, "N116"},
    {"N30", Own, nullptr},
    // Help
    {"N33", Click, "ToolButton21"}, {"N101", Click, "ToolButton21"},
    {"N34", Click, "ToolButton22"}, {"N102", Click, "ToolButton22"},
    {"N54", Own, nullptr}, {"N103", Twin, "N54"},
    // The drop-down menus of the italic, underline and bold buttons
    {"N119", Own, nullptr}, {"N120", Own, nullptr},
    {"N121", Own, nullptr}, {"N122", Own, nullptr},
    {"N123", Own, nullptr}, {"N124", Own, nullptr},
};

} // namespace

const MenuRoute *menuRoutes(std::size_t *count)
{
    *count = std::size(kRoutes);
    return kRoutes;
}

const MenuRoute *findMenuRoute(const char *item)
{
    for (const MenuRoute &route : kRoutes) {
        if (std::strcmp(route.item, item) == 0)
            return &route;
    }
    return nullptr;
}
