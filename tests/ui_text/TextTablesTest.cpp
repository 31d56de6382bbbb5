#include "ui_text/TextTables.h"

#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace ui_text;

namespace {

std::vector<const MenuTable *> allMenus()
{
    std::size_t n = 0;
    const MenuTable *tables = menuTables(&n);
    std::vector<const MenuTable *> out;
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(&tables[i]);
    return out;
}

const MenuItemText *findItem(const MenuTable *menu, const std::string &name)
{
    for (std::size_t i = 0; i < menu->count; ++i)
        if (name == menu->items[i].name)
            return &menu->items[i];
    return nullptr;
}

// Also fails for text that is not valid UTF-8.
bool hasCyrillic(const char *s)
{
    for (QChar c : QString::fromUtf8(s))
        if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF)
            return true;
    return false;
}

} // namespace

TEST(TextTables, MenusComeInOrderAndAreFoundByName)
{
    const char *names[] = {"MainMenu1", "PopupMenu1", "PopupMenu2", "PopupMenu3", "PopupMenu4"};
    const auto menus = allMenus();
    ASSERT_EQ(menus.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_STREQ(menus[i]->menuName, names[i]);
        EXPECT_EQ(findMenuTable(names[i]), menus[i]);
        EXPECT_TRUE(i < 2 || menus[i]->count == 2u); // cancel and apply
    }
    EXPECT_TRUE(!findMenuTable("PopupMenu5") && !findMenuTable(nullptr));
}

TEST(TextTables, ItemsAreUniqueAndCaptionsMatchTheirKind)
{
    std::set<std::string> names, checked;
    for (const MenuTable *menu : allMenus())
        for (std::size_t i = 0; i < menu->count; ++i) {
            const MenuItemText &it = menu->items[i];
            SCOPED_TRACE(it.name);
            EXPECT_TRUE(names.insert(it.name).second);
            if (it.checked)
                checked.insert(it.name);
            ASSERT_NE(it.shortcut, nullptr);
            if (it.kind == ItemKind::Separator) {
                EXPECT_TRUE(!it.russian && !it.english && !it.initial && !*it.shortcut);
                continue;
            }
            ASSERT_TRUE(it.russian && *it.russian);
            // an initial text equal to the Russian one is left out
            EXPECT_TRUE(!it.initial || std::strcmp(it.initial, it.russian) != 0);
            if (it.kind == ItemKind::Fixed) {
                EXPECT_EQ(it.english, nullptr);
                EXPECT_FALSE(hasCyrillic(it.russian));
            } else {
                ASSERT_TRUE(it.english && *it.english);
                EXPECT_TRUE(hasCyrillic(it.russian));
                EXPECT_FALSE(hasCyrillic(it.english));
            }
        }
    EXPECT_EQ(checked, (std::set<std::string>{"N27", "N28", "N51", "RTF1", "N52", "N105", "N30", "N77",
                                              "N78", "N99", "RTF2", "N100", "N110"}));
}

TEST(TextTables, ItemTreesAreWellFormed)
{
    for (const MenuTable *menu : allMenus()) {
        ASSERT_GT(menu->count, 0u);
        EXPECT_EQ(menu->items[0].depth, 0);
        for (std::size_t i = 0; i < menu->count; ++i) {
            const MenuItemText &it = menu->items[i];
            SCOPED_TRACE(it.name);
            EXPECT_TRUE(i == 0 || it.depth <= menu->items[i - 1].depth + 1);
            const bool opensSubmenu = i + 1 < menu->count && menu->items[i + 1].depth > it.depth;
            EXPECT_TRUE(!opensSubmenu || (it.kind == ItemKind::Command && !*it.shortcut && !it.checked));
            if (it.kind == ItemKind::Separator) { // never at a submenu's edge, never doubled
                ASSERT_TRUE(it.depth > 0 && i > 0 && i + 1 < menu->count);
                EXPECT_TRUE(menu->items[i - 1].depth == it.depth && menu->items[i + 1].depth == it.depth);
                EXPECT_NE(menu->items[i + 1].kind, ItemKind::Separator);
            }
        }
    }
}

TEST(TextTables, ShortcutsAreSingleKeysAndOnlyCtrlAltRIsShared)
{
    for (const MenuTable *menu : allMenus()) {
        std::map<QKeySequence, std::vector<std::string>> byKey;
        for (std::size_t i = 0; i < menu->count; ++i) {
            const MenuItemText &it = menu->items[i];
            if (!*it.shortcut)
                continue;
            const auto seq = QKeySequence::fromString(QString::fromLatin1(it.shortcut), QKeySequence::PortableText);
            ASSERT_EQ(seq.count(), 1) << it.name << " " << it.shortcut;
            EXPECT_NE(seq[0].key(), Qt::Key_unknown) << it.name;
            byKey[seq].push_back(it.name);
        }
        if (std::strcmp(menu->menuName, "MainMenu1") == 0) { // the layout item comes first and wins
            const QKeySequence ctrlAltR(Qt::CTRL | Qt::ALT | Qt::Key_R);
            EXPECT_EQ(byKey[ctrlAltR], (std::vector<std::string>{"N39", "N30"}));
            byKey.erase(ctrlAltR);
        }
        for (const auto &[key, items] : byKey)
            EXPECT_EQ(items.size(), 1u) << menu->menuName << " " << key.toString().toStdString();
    }
    const std::pair<const char *, Qt::Key> plainKeys[] = {{"N23", Qt::Key_Delete}, {"N113", Qt::Key_Insert},
                                                           {"N15", Qt::Key_Escape}};
    for (const auto &[name, key] : plainKeys)
        EXPECT_EQ(QKeySequence(QString::fromLatin1(findItem(findMenuTable("MainMenu1"), name)->shortcut)),
                  QKeySequence(key)) << name;
}

TEST(TextTables, ContextItemsMirrorTheirMainMenuTwins)
{
    // Main-menu item and its context-menu twin.
    const QStringList twins = QStringLiteral(
        "N1:N55 N7:N61 N8:N62 N9:N63 N10:N64 N109:N16 N13:N65 N12:N66 N15:N67 N2:N56 N17:N68 N18:N69 "
        "N20:N70 N21:N72 N22:N71 N23:N73 N25:N74 N26:N75 N29:N76 N3:N57 N27:N77 N28:N78 N4:N58 "
        "N31:N80 N32:N81 N35:N82 N36:N83 N108:N104 Delphi1:Delphi2 Pascal1:ObjectPascal1 HTML1:HTML2 "
        "Cheader1:CHeader2 CPP1:CPP2 N113:N114 N5:N59 N37:N84 N38:N85 N39:N86 N129:N130 N40:N87 N41:N88 N42:N89 "
        "N43:N90 N46:N92 N47:N93 N48:N94 N49:N95 N53:N97 N50:N98 N51:N99 RTF1:RTF2 N52:N100 N105:N110 "
        "N106:N111 N107:N112 Koir1:Koir8Win2 Koir8Win1:Koir8Win3 WinUTF81:WinUTF82 UTF8Win1:UTFWin1 "
        "N115:N117 N116:N118 N132:N134 N6:N60 N33:N101 N34:N102 N54:N103").split(QLatin1Char(' '));
    const MenuTable *main = findMenuTable("MainMenu1");
    const MenuTable *context = findMenuTable("PopupMenu1");
    ASSERT_TRUE(main && context);
    for (const QString &pair : twins) {
        SCOPED_TRACE(pair.toStdString());
        const MenuItemText *a = findItem(main, pair.section(QLatin1Char(':'), 0, 0).toStdString());
        const MenuItemText *b = findItem(context, pair.section(QLatin1Char(':'), 1, 1).toStdString());
        ASSERT_TRUE(a && b);
        EXPECT_STREQ(a->shortcut, b->shortcut);
        EXPECT_TRUE(a->depth == b->depth && a->kind == b->kind && a->checked == b->checked);
        EXPECT_STREQ(a->english, b->english);
    }
    // The one context item without a twin: the marker item, Ctrl+M and no submenu.
    EXPECT_EQ(context->count, std::size_t(twins.size()) + 1);
    EXPECT_STREQ(findItem(context, "N96")->shortcut, "Ctrl+M");
}

TEST(TextTables, EveryControlWithAHintIsListedOnce)
{
    std::set<std::string> expected = {"ComboBox1", "Edit1", "UpDown1", "Image1", "ColorBox1",
                                      "ColorBox2", "CB1", "CB2", "CB3"};
    for (int n = 1; n <= 43; ++n)
        if (n != 16 && n != 34 && n != 38)
            expected.insert("ToolButton" + std::to_string(n));
    std::size_t count = 0;
    const HintText *hints = hintTexts(&count);
    std::set<std::string> seen;
    std::map<std::string, std::string> shownAtStart;
    for (std::size_t i = 0; i < count; ++i) {
        const HintText &h = hints[i];
        SCOPED_TRACE(h.component);
        EXPECT_TRUE(seen.insert(h.component).second);
        ASSERT_TRUE(h.russian && h.english);
        EXPECT_TRUE(hasCyrillic(h.russian));
        EXPECT_FALSE(hasCyrillic(h.english));
        EXPECT_TRUE(!h.initial || std::strcmp(h.initial, h.russian) != 0);
        shownAtStart[h.component] = h.initial ? h.initial : h.russian;
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(shownAtStart["CB1"], "Автоматический перенос строк");
    EXPECT_EQ(shownAtStart["CB2"], "Режим RTF/Текстовый режим");
    EXPECT_EQ(shownAtStart["CB3"], "Русский интерфейс");
}
