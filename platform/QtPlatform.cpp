#include "platform/QtPlatform.h"

#include "platform/QtMessageBoxes.h"

namespace platform {

namespace {

// Until the desktop's keyboard is read, no layout is known: the layout commands
// then only write their status text.
class NoKeyboardLayouts : public KeyboardLayouts {
public:
    QList<quint32> installed(int) override { return {}; }
    void activate(quint32) override {}
};

} // namespace

QtPlatform::QtPlatform()
    : messageBoxes_(std::make_unique<QtMessageBoxes>()),
      keyboardLayouts_(std::make_unique<NoKeyboardLayouts>())
{
}

QtPlatform::~QtPlatform() = default;

MessageBoxes &QtPlatform::messageBoxes() { return *messageBoxes_; }
KeyboardLayouts &QtPlatform::keyboardLayouts() { return *keyboardLayouts_; }

} // namespace platform
