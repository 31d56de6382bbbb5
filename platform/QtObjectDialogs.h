#pragma once

#include "platform/Platform.h"

namespace platform {

class QtObjectDialogs : public ObjectDialogs {
public:
    std::optional<InsertObjectChoice> askInsertObject(QWidget *owner) override;
    std::optional<TableSize> askTableSize(QWidget *owner, const TableSizeRequest &request) override;
    void showObjectProperties(QWidget *owner, const QString &typeName, const QString &details) override;
};

} // namespace platform
