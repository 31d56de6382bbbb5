#pragma once

#include "platform/Platform.h"

namespace platform {

class QtMessageBoxes : public MessageBoxes {
public:
    void showMessage(QWidget *owner, MessageIcon icon, const QString &title, const QString &text) override;
    Answer ask(QWidget *owner, const Question &question) override;
};

} // namespace platform
