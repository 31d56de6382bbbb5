#pragma once

#include <QString>

// Messages of both interface languages that are not captions or hints. A
// "%1" in a text stands for the file's full path unless its row says otherwise.
namespace ui_text {

enum class Message {
    ChangedOnDiskQuestion, // before writing over a file another program wrote
    OverwriteButton,
    SaveAsButton,
    CancelButton,
    ReloadQuestion,        // the window activated, the document unmodified
    ChangedOnDiskMark,     // in the title, after the file's name
    TableTitle,            // the insert-table dialog
    TableRows,
    TableColumns,
    OkButton,
    AddToDictionary,       // the context menu of a flagged word
    IgnoreAll,
    NoMisspelling,         // Shift+F7 found no flagged word
    NoDictionaryHint,      // the spell check's items without dictionaries; %1: the packages
    DictionariesHint,      // the spell check's items; %1: the installed dictionaries' languages
    LayoutSwitchRefused    // a layout command where the desktop lets no program switch
};

QString messageText(Message message, bool english);

} // namespace ui_text
