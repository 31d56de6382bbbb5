#pragma once

#include <QString>

#include <optional>

// The one kind of RTF field the document model holds as such: a hyperlink,
// whose instruction reads HYPERLINK "address" with optional switches.
namespace rtf::detail {

// The link's address, a \l "bookmark" as "#bookmark"; nothing when the
// instruction is not a hyperlink.
std::optional<QString> hyperlinkAddress(QStringView instruction);

// The instruction that gives this address back.
QString hyperlinkInstruction(const QString &address);

} // namespace rtf::detail
