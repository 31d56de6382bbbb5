#include "ui_text/MessageTexts.h"

namespace ui_text {

namespace {

struct MessageRow {
    Message message;
    const char *russian;
    const char *english;
};

const MessageRow kMessages[] = {
    {Message::ChangedOnDiskQuestion,
     "Файл \"%1\" изменён другой программой после того, как он был открыт или сохранён здесь. "
     "Записать текст поверх этих изменений?",
     "The file \"%1\" was changed by another program after it was opened or saved here. "
     "Write the text over those changes?"},
    {Message::OverwriteButton, "&Перезаписать", "&Overwrite"},
    {Message::SaveAsButton, "Сохранить &как...", "Save &As..."},
    {Message::CancelButton, "Отмена", "Cancel"},
    {Message::ReloadQuestion, "Файл \"%1\" изменён другой программой. Загрузить его заново?",
     "The file \"%1\" was changed by another program. Load it again?"},
    {Message::ChangedOnDiskMark, " [изменён на диске]", " [changed on disk]"},
    {Message::TableTitle, "Вставить таблицу", "Insert table"},
    {Message::TableRows, "Строк:", "Rows:"},
    {Message::TableColumns, "Столбцов:", "Columns:"},
    {Message::OkButton, "ОК", "OK"},
    {Message::AddToDictionary, "Добавить в словарь", "Add to dictionary"},
    {Message::IgnoreAll, "Пропустить все", "Ignore all"},
    {Message::NoMisspelling, "Слов с ошибками не найдено", "No misspelled words found"},
    {Message::NoDictionaryHint, "Нет словарей для проверки орфографии: установите пакеты %1",
     "No spelling dictionaries: install the packages %1"},
    {Message::DictionariesHint, "Словари: %1", "Dictionaries: %1"},
    {Message::LayoutSwitchRefused,
     "Этот рабочий стол не позволяет программам переключать раскладку клавиатуры. "
     "Переключите её сочетанием клавиш или индикатором раскладки рабочего стола.",
     "This desktop does not let programs switch the keyboard layout. "
     "Switch it with the desktop's own shortcut or its layout indicator."},
};

} // namespace

QString messageText(Message message, bool english)
{
    for (const MessageRow &row : kMessages) {
        if (row.message == message)
            return QString::fromUtf8(english ? row.english : row.russian);
    }
    return QString();
}

} // namespace ui_text
