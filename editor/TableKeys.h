#pragma once

#include <QTextCursor>

#include <optional>

// Tab and Shift+Tab in a table go to the next and the previous cell, row by
// row; Tab in the last cell adds a row like the last one (one step, undone
// at once) when `mayAddRow`.
namespace tablekeys {

// Where the caret goes; none when it stands outside a table.
std::optional<QTextCursor> moveByTab(const QTextCursor &cursor, bool backwards, bool mayAddRow);

} // namespace tablekeys
