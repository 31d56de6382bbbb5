#include "ui_text/TextTables.h"

#include <cstring>

namespace ui_text {

namespace {

// Component, initial hint (nullptr = the Russian one), Russian hint, English hint.
const HintText kHints[] = {
    // Hints of the file and edit tool bar (ToolBar1)
    {"ToolButton1", nullptr, "Новый", "New"},
    {"ToolButton2", nullptr, "Открыть", "Open"},
    {"ToolButton3", nullptr, "Сохранить", "Save"},
    {"ToolButton4", "Сохранить как", "Сохранить как...", "Save As..."},
    {"ToolButton5", "Параметры страницы для печати", "Параметры страницы", "Printer Setup"},
    {"ToolButton6", nullptr, "Печать", "Print"},
    {"ToolButton7", nullptr, "Выход", "Exit"},
    {"ToolButton8", nullptr, "Отмена", "Undo"},
    {"ToolButton9", "Отмена отмены", "Откат отмены", "Redo"},
    {"ToolButton10", nullptr, "Копировать", "Copy"},
    {"ToolButton11", nullptr, "Вырезать", "Cut"},
    {"ToolButton12", nullptr, "Вставить", "Paste"},
    {"ToolButton13", nullptr, "Удалить", "Delete"},
    {"ToolButton14", nullptr, "Найти", "Find"},
    {"ToolButton15", nullptr, "Скрыть панель", "Panel visible"},
    {"ToolButton17", "Выбрать всё", "Выделить всё", "Select all"},
    {"ToolButton18", "Вставить текущую дату и время", "Вставить дату и время", "Insert date and time"},
    {"ToolButton19", nullptr, "Обратный порядок букв", "Reverse text"},
    {"ToolButton20", nullptr, "Заменить", "Replace"},
    {"ToolButton21", nullptr, "Помощь", "Help"},
    {"ToolButton22", nullptr, "О...", "About"},
    {"ToolButton23", nullptr, "Вставить содержимое файла", "Insert file"},
    {"ToolButton24", nullptr, "Вставить имя файла", "Insert filename"},
    {"ToolButton25", nullptr, "Сортировка по возрастанию", "Sorting"},
    {"ToolButton26", "Переключиться на английскую раскладку", "Английская раскладка клавиатуры", "English keyboard layout"},
    {"ToolButton27", "Переключиться на русскую раскладку", "Русская раскладка клавиатуры", "Russian keyboard layout"},
    // Hints of the format tool bar (ToolBar2) and its font controls
    {"ToolButton28", nullptr, "Курсив", "Italic"},
    {"ToolButton29", "Подчеркнуть", "Подчёркнутый", "Underline"},
    {"ToolButton30", nullptr, "Полужирный", "Bold"},
    {"ToolButton31", "Выравнивание текста по левому краю", "По левому краю", "Left justify"},
    {"ToolButton32", "Выравнивание текста по центру", "По центру", "Center"},
    {"ToolButton33", "Выравнивание текста по правому краю", "По правому краю", "Right justify"},
    {"ToolButton35", nullptr, "Маркер", "Marker"},
    {"ToolButton36", nullptr, "Нет маркера", "Normal"},
    {"ToolButton37", "Выбор шрифта", "Шрифт", "Font"},
    {"ToolButton39", nullptr, "Почта", "E-mail"},
    {"ToolButton40", nullptr, "Календарь", "Calendar"},
    {"ToolButton41", nullptr, "Калькулятор", "Calculator"},
    {"ToolButton42", "Отступ вправо", "Вправо", "Right tab"},
    {"ToolButton43", "Отступ влево", "Влево", "Left tab"},
    {"ComboBox1", nullptr, "Выбор шрифта", "Font name"},
    {"Edit1", nullptr, "Размер шрифта", "Font size"},
    {"UpDown1", nullptr, "Покрути", "Updown"},
    // Hints of the ruler image and the controls beside the editor
    {"Image1", nullptr, "Линейка", "Slider"},
    {"ColorBox1", nullptr, "Цвет", "Color"},
    {"CB1", nullptr, "Автоматический перенос строк", "Wordwrap"},
    {"CB2", nullptr, "Режим RTF/Текстовый режим", "Plain text"},
    {"ColorBox2", nullptr, "Цвет шрифта", "Font color"},
    {"CB3", nullptr, "Русский интерфейс", "English interface"},
};

// The main menu. Columns: name, depth, kind, shortcut, initial caption,
// Russian caption, English caption, check mark at start.
const MenuItemText kMainMenu1[] = {
    {"N1", 0, ItemKind::Command, "", nullptr, "Файл", "File", false},
    {"N7", 1, ItemKind::Command, "Ctrl+N", nullptr, "Новый", "New", false},
    {"N8", 1, ItemKind::Command, "Ctrl+O", nullptr, "Открыть", "Open", false},
    {"N9", 1, ItemKind::Command, "Ctrl+S", nullptr, "Сохранить", "Save", false},
    {"N10", 1, ItemKind::Command, "Ctrl+W", "Сохранить как", "Сохранить как...", "Save As...", false},
    {"N109", 1, ItemKind::Command, "Ctrl+Shift+F12", "Автосохранение документа", "Автосохранение", "Autosave", false},
    {"N11", 1, ItemKind::Separator, "", nullptr, nullptr, nullptr, false},
    {"N12", 1, ItemKind::Command, "Ctrl+P", nullptr, "Печать", "Print", false},
    {"N13", 1, ItemKind::Command, "Ctrl+Alt+P", "Параметры страницы", "Установки принтера", "Printer setup", false},
    {"N14", 1, ItemKind::Separator, "", nullptr, nullptr, nullptr, false},
    {"N15", 1, ItemKind::Command, "Esc", nullptr, "Выход", "Exit", false},
    {"N2", 0, ItemKind::Command, "", nullptr, "Правка", "Edit", false},
    {"N17", 1, ItemKind::Command, "Ctrl+Z", nullptr, "Отмена", "Undo", false},
    {"N18", 1, ItemKind::Command, "Ctrl+B", nullptr, "Откат отмены", "Redo", false},
    {"N19", 1, ItemKind::Separator, "", nullptr, nullptr, nullptr, false},
    {"N20", 1, ItemKind::Command, "Ctrl+C", nullptr, "Копировать", "Copy", false},
    {"N21", 1, ItemKind::Command, "Ctrl+X", nullptr, "Вырезать", "Cut", false},
    {"N22", 1, ItemKind::Command, "Ctrl+V", nullptr, "Вставить", "Paste", false},
    {"N23", 1, ItemKind::Command, "Del", nullptr, "Удалить", "Delete", false},
    {"N24", 1, ItemKind::Separator, "", nullptr, nullptr, nullptr, false},
    {"N25", 1, ItemKind::Command, "Ctrl+F", "Поиск", "Найти", "Find", false},
    {"N26", 1, ItemKind::Command, "Ctrl+H", "Замена", "Заменить", "Replace", false},
    {"N29", 1, ItemKind::Command, "Ctrl+A", "Выделить всё", "Выбрать всё", "Select all", false},
    {"N3", 0, ItemKind::Command, "", nullptr, "Вид", "View", false},
    {"N27", 1, ItemKind::Command, "Ctrl+Q", nullptr, "Панель", "Panel visible", true},
    {"N28", 1, ItemKind::Command, "Ctrl+U", nullptr, "Строка состояния", "Statusbar visible", true},
    {"N4", 0, ItemKind::Command, "", nullptr, "Вставка", "Insert", false},
    {"N31", 1, ItemKind::Command, "F5", nullptr, "Вставить дату и время", "Insert date and time", false},
    {"N32", 1, ItemKind::Command, "F4", nullptr, "Обратный порядок букв", "Reverse text", false},
    {"N35", 1, ItemKind::Command, "Ctrl+E", nullptr, "Вставить содержимое файла", "Insert file", false},
    {"N36", 1, ItemKind::Command, "F10", "Вставить название файла", "Вставить имя файла", "Insert filename", false},
    {"N108", 1, ItemKind::Command, "", nullptr, "Специальная вставка", "Special inserting", false},
    {"Delphi1", 2, ItemKind::Fixed, "", nullptr, "Delphi", nullptr, false},
    {"Pascal1", 2, ItemKind::Fixed, "", nullptr, "Object Pascal", nullptr, false},
    {"HTML1", 2, ItemKind::Fixed, "", nullptr, "HTML", nullptr, false},
    {"Cheader1", 2, ItemKind::Fixed, "", nullptr, "C++ header", nullptr, false},
    {"CPP1", 2, ItemKind::Fixed, "", nullptr, "CPP", nullptr, false},
    {"N113", 1, ItemKind::Command, "Ins", nullptr, "Вставить объект", "Insert object", false},
    {"N131", 1, ItemKind::Command, "", nullptr, "Вставить таблицу…", "Insert table…", false},
    {"N5", 0, ItemKind::Command, "", nullptr, "Формат", "Format", false},
    {"N37", 1, ItemKind::Command, "Ctrl+Alt+B", nullptr, "Сортировка по возрастанию", "Sorting", false},
    {"N38", 1, ItemKind::Command, "Ctrl+Alt+E", nullptr, "Английская раскладка клавиатуры", "English keyboard layout", false},
    {"N39", 1, ItemKind::Command, "Ctrl+Alt+R", nullptr, "Русская раскладка клавиатуры", "Russian keyboard layout", false},
    {"N129", 1, ItemKind::Command, "Pause", nullptr, "Исправить раскладку", "Fix layout", false},
    {"N40", 1, ItemKind::Command, "", nullptr, "Выравнивание", "Alignment", false},
    {"N41", 2, ItemKind::Command, "", nullptr, "По левому краю", "Left justify", false},
    {"N42", 2, ItemKind::Command, "", nullptr, "По центру", "Center", false},
    {"N43", 2, ItemKind::Command, "", nullptr, "По правому краю", "Right justify", false},
    {"N45", 1, ItemKind::Command, "", nullptr, "Маркер", "Marker", false},
    {"N44", 2, ItemKind::Command, "", nullptr, "Точки", "nsBullet", false},
    {"N91", 2, ItemKind::Command, "", nullptr, "Арабские цифры", "nsArabicNumbers", false},
    {"N125", 2, ItemKind::Command, "", nullptr, "Римские малые", "nsLoCaseRoman", false},
    {"N126", 2, ItemKind::Command, "", nullptr, "Римские большие", "nsUpCaseRoman", false},
    {"N127", 2, ItemKind::Command, "", nullptr, "Письменные малые", "nsLoCaseLetter", false},
    {"N128", 2, ItemKind::Command, "", nullptr, "Письменные большие", "nsUpCaseLetter", false},
    {"N46", 1, ItemKind::Command, "Shift+Ins", nullptr, "Шрифт", "Font", false},
    {"N47", 1, ItemKind::Command, "Ctrl+Ins", nullptr, "Цвет", "Color", false},
    {"N48", 1, ItemKind::Command, "Shift+Alt+Backspace", nullptr, "Параметры страницы", "Page setup", false},
    {"N49", 1, ItemKind::Command, "Ctrl+J", nullptr, "Почта", "E-mail", false},
    {"N53", 1, ItemKind::Command, "F12", nullptr, "Календарь", "Calendar", false},
    {"N50", 1, ItemKind::Command, "Ctrl+F1", nullptr, "Калькулятор", "Calculator", false},
    {"N51", 1, ItemKind::Command, "F7", nullptr, "Автоматический перенос строк", "Wordwrap", true},
    {"RTF1", 1, ItemKind::Command, "F8", nullptr, "Режим RTF/текстовый режим", "Plaintext", true},
    {"N52", 1, ItemKind::Command, "F9", nullptr, "Русский интерфейс", "English interface", true},
    {"N105", 1, ItemKind::Command, "Ctrl+L", nullptr, "Линия", "Line", true},
    {"N106", 1, ItemKind::Command, "Ctrl+Shift+F10", nullptr, "Числа в слова", "Integers to words", false},
    {"N107", 1, ItemKind::Command, "", "Перекодировка", "Кодировка", "Coding", false},
    {"Koir1", 2, ItemKind::Command, "", nullptr, "Win в Koir8", "Win to Koir8", false},
    {"Koir8Win1", 2, ItemKind::Command, "", nullptr, "Koir8 в Win", "Koir8 to Win", false},
    {"WinUTF81", 2, ItemKind::Command, "", nullptr, "Win в UTF8", "Win to UTF8", false},
    {"UTF8Win1", 2, ItemKind::Command, "", nullptr, "UTF8 в Win", "UTF8 to Win", false},
    {"N115", 1, ItemKind::Command, "F2", "В верхний регистр", "К верхнему регистру", "Upper case", false},
    {"N116", 1, ItemKind::Command, "F3", "В нижний регистр", "К нижнему регистру", "Lower case", false},
    {"N30", 1, ItemKind::Command, "Ctrl+Alt+R", nullptr, "Автоссылки", "AutoURLdetect", true},
    {"N132", 1, ItemKind::Command, "", nullptr, "Проверка орфографии", "Spell check", false},
    {"N133", 1, ItemKind::Command, "Shift+F7", nullptr, "Следующее слово с ошибкой", "Next misspelled word", false},
    {"N6", 0, ItemKind::Command, "", nullptr, "Справка", "Know", false},
    {"N33", 1, ItemKind::Command, "F1", nullptr, "Помощь", "Help", false},
    {"N34", 1, ItemKind::Command, "Ctrl+Alt+W", nullptr, "О...", "About", false},
    {"N54", 1, ItemKind::Command, "Ctrl+Shift+F1", nullptr, "Статистика", "Statistics", false},
};

// The context menu of the editor and the cool bar: the main menu again, with
// other item names, no separators and a few captions of its own.
const MenuItemText kPopupMenu1[] = {
    {"N55", 0, ItemKind::Command, "", nullptr, "Файл", "File", false},
    {"N61", 1, ItemKind::Command, "Ctrl+N", nullptr, "Новый", "New", false},
    {"N62", 1, ItemKind::Command, "Ctrl+O", nullptr, "Открыть", "Open", false},
    {"N63", 1, ItemKind::Command, "Ctrl+S", nullptr, "Сохранить", "Save", false},
    {"N64", 1, ItemKind::Command, "Ctrl+W", nullptr, "Сохранить как...", "Save As...", false},
    {"N16", 1, ItemKind::Command, "Ctrl+Shift+F12", "Автосохранение документа", "Автосохранение", "Autosave", false},
    {"N65", 1, ItemKind::Command, "Ctrl+Alt+P", "Параметры страницы для печати", "Установки принтера", "Printer setup", false},
    {"N66", 1, ItemKind::Command, "Ctrl+P", nullptr, "Печать", "Print", false},
    {"N67", 1, ItemKind::Command, "Esc", nullptr, "Выход", "Exit", false},
    {"N56", 0, ItemKind::Command, "", nullptr, "Правка", "Edit", false},
    {"N68", 1, ItemKind::Command, "Ctrl+Z", nullptr, "Отмена", "Undo", false},
    {"N69", 1, ItemKind::Command, "Ctrl+B", "Откат", "Откат отмены", "Redo", false},
    {"N70", 1, ItemKind::Command, "Ctrl+C", nullptr, "Копировать", "Copy", false},
    {"N72", 1, ItemKind::Command, "Ctrl+X", nullptr, "Вырезать", "Cut", false},
    {"N71", 1, ItemKind::Command, "Ctrl+V", nullptr, "Вставить", "Paste", false},
    {"N73", 1, ItemKind::Command, "Del", nullptr, "Удалить", "Delete", false},
    {"N74", 1, ItemKind::Command, "Ctrl+F", nullptr, "Найти", "Find", false},
    {"N75", 1, ItemKind::Command, "Ctrl+H", "Замена", "Заменить", "Replace", false},
    {"N76", 1, ItemKind::Command, "Ctrl+A", "Выделить всё", "Выбрать всё", "Select all", false},
    {"N57", 0, ItemKind::Command, "", nullptr, "Вид", "View", false},
    {"N77", 1, ItemKind::Command, "Ctrl+Q", nullptr, "Панель", "Panel visible", true},
    {"N78", 1, ItemKind::Command, "Ctrl+U", nullptr, "Строка состояния", "Statusbar visible", true},
    {"N58", 0, ItemKind::Command, "", nullptr, "Вставка", "Insert", false},
    {"N80", 1, ItemKind::Command, "F5", nullptr, "Вставить дату и время", "Insert date and time", false},
    {"N81", 1, ItemKind::Command, "F4", nullptr, "Обратный порядок букв", "Reverse text", false},
    {"N82", 1, ItemKind::Command, "Ctrl+E", nullptr, "Вставить содержимое файла", "Insert file", false},
    {"N83", 1, ItemKind::Command, "F10", nullptr, "Вставить название файла", "Insert filename", false},
    {"N104", 1, ItemKind::Command, "", nullptr, "Специальная вставка", "Special inserting", false},
    {"Delphi2", 2, ItemKind::Fixed, "", nullptr, "Delphi", nullptr, false},
    {"ObjectPascal1", 2, ItemKind::Fixed, "", nullptr, "Object Pascal", nullptr, false},
    {"HTML2", 2, ItemKind::Fixed, "", nullptr, "HTML", nullptr, false},
    {"CHeader2", 2, ItemKind::Fixed, "", nullptr, "C++ Header", nullptr, false},
    {"CPP2", 2, ItemKind::Fixed, "", nullptr, "CPP", nullptr, false},
    {"N114", 1, ItemKind::Command, "Ins", nullptr, "Вставить объект", "Insert object", false},
    {"N59", 0, ItemKind::Command, "", nullptr, "Формат", "Format", false},
    {"N84", 1, ItemKind::Command, "Ctrl+Alt+B", nullptr, "Сортировка по возрастанию", "Sorting", false},
    {"N85", 1, ItemKind::Command, "Ctrl+Alt+E", nullptr, "Английская раскладка клавиатуры", "English keyboard layout", false},
    {"N86", 1, ItemKind::Command, "Ctrl+Alt+R", nullptr, "Русская раскладка клавиатуры", "Russian keyboard layout", false},
    {"N130", 1, ItemKind::Command, "Pause", nullptr, "Исправить раскладку", "Fix layout", false},
    {"N87", 1, ItemKind::Command, "", "Выравнивание текста", "Выравнивание", "Alignment", false},
    {"N88", 2, ItemKind::Command, "", nullptr, "По левому краю", "Left justify", false},
    {"N89", 2, ItemKind::Command, "", nullptr, "По центру", "Center", false},
    {"N90", 2, ItemKind::Command, "", nullptr, "По правому краю", "Right justify", false},
    {"N96", 1, ItemKind::Command, "Ctrl+M", nullptr, "Маркер", "Marker", false},
    {"N92", 1, ItemKind::Command, "Shift+Ins", nullptr, "Шрифт", "Font", false},
    {"N93", 1, ItemKind::Command, "Ctrl+Ins", nullptr, "Цвет", "Color", false},
    {"N94", 1, ItemKind::Command, "Shift+Alt+Backspace", nullptr, "Параметры страницы", "Page setup", false},
    {"N95", 1, ItemKind::Command, "Ctrl+J", nullptr, "Почта", "E-mail", false},
    {"N97", 1, ItemKind::Command, "F12", nullptr, "Календарь", "Calendar", false},
    {"N98", 1, ItemKind::Command, "Ctrl+F1", nullptr, "Калькулятор", "Calculator", false},
    {"N99", 1, ItemKind::Command, "F7", nullptr, "Автоматический перенос строк", "Wordwrap", true},
    {"RTF2", 1, ItemKind::Command, "F8", nullptr, "Режим RTF/текстовый режим", "Plaintext", true},
    {"N100", 1, ItemKind::Command, "F9", nullptr, "Русский интерфейс", "English interface", true},
    {"N110", 1, ItemKind::Command, "Ctrl+L", nullptr, "Линия", "Line", true},
    {"N111", 1, ItemKind::Command, "Ctrl+Shift+F10", nullptr, "Числа в слова", "Integers to words", false},
    {"N112", 1, ItemKind::Command, "", "Перекодировка", "Кодировка", "Coding", false},
    {"Koir8Win2", 2, ItemKind::Command, "", nullptr, "Win в Koir8", "Win to Koir8", false},
    {"Koir8Win3", 2, ItemKind::Command, "", nullptr, "Koir8 в Win", "Koir8 to Win", false},
    {"WinUTF82", 2, ItemKind::Command, "", nullptr, "Win в UTF8", "Win to UTF8", false},
    {"UTFWin1", 2, ItemKind::Command, "", "UTF в Win", "UTF8 в Win", "UTF8 to Win", false},
    {"N117", 1, ItemKind::Command, "F2", "В верхний регистр", "К верхнему регистру", "Upper case", false},
    {"N118", 1, ItemKind::Command, "F3", "В нижний регистр", "К нижнему регистру", "Lower case", false},
    {"N134", 1, ItemKind::Command, "", nullptr, "Проверка орфографии", "Spell check", false},
    {"N60", 0, ItemKind::Command, "", nullptr, "Справка", "Know", false},
    {"N101", 1, ItemKind::Command, "F1", nullptr, "Помощь", "Help", false},
    {"N102", 1, ItemKind::Command, "Ctrl+Alt+W", nullptr, "О...", "About", false},
    {"N103", 1, ItemKind::Command, "Ctrl+Shift+F1", nullptr, "Статистика", "Statistics", false},
};

// The drop-down menus of the italic, underline and bold buttons: cancel, apply.
const MenuItemText kPopupMenu2[] = {
    {"N119", 0, ItemKind::Command, "", nullptr, "Отменить", "Undo", false},
    {"N120", 0, ItemKind::Command, "", "Принять", "Применить", "Use", false},
};

const MenuItemText kPopupMenu3[] = {
    {"N121", 0, ItemKind::Command, "", nullptr, "Отменить", "Undo", false},
    {"N122", 0, ItemKind::Command, "", "Принять", "Применить", "Use", false},
};

const MenuItemText kPopupMenu4[] = {
    {"N123", 0, ItemKind::Command, "", nullptr, "Отменить", "Undo", false},
    {"N124", 0, ItemKind::Command, "", "Принять", "Применить", "Use", false},
};

template <typename T, std::size_t N>
constexpr std::size_t countOf(const T (&)[N])
{
    return N;
}

const MenuTable kMenus[] = {
    {"MainMenu1", kMainMenu1, countOf(kMainMenu1)},
    {"PopupMenu1", kPopupMenu1, countOf(kPopupMenu1)},
    {"PopupMenu2", kPopupMenu2, countOf(kPopupMenu2)},
    {"PopupMenu3", kPopupMenu3, countOf(kPopupMenu3)},
    {"PopupMenu4", kPopupMenu4, countOf(kPopupMenu4)},
};

} // namespace

const HintText *hintTexts(std::size_t *count)
{
    if (count)
        *count = countOf(kHints);
    return kHints;
}

const MenuTable *menuTables(std::size_t *count)
{
    if (count)
        *count = countOf(kMenus);
    return kMenus;
}

const MenuTable *findMenuTable(const char *menuName)
{
    if (!menuName)
        return nullptr;
    for (const MenuTable &table : kMenus) {
        if (std::strcmp(table.menuName, menuName) == 0)
            return &table;
    }
    return nullptr;
}

} // namespace ui_text
