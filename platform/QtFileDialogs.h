#pragma once

#include "platform/Platform.h"

namespace platform {

class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> openFileName(QWidget *owner, const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(QWidget *owner, const FileDialogRequest &request) override;
};

// "text|pattern" pairs as the file dialog shows them: "*.RTF files (*.rtf)".
QStringList qtNameFilters(const QStringList &filters);

} // namespace platform
