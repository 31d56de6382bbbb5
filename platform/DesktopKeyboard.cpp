#include "platform/DesktopKeyboard.h"

#include "platform/DesktopLayouts.h"
#include "platform/ListedKeyboardLayouts.h"
#include "platform/X11Keyboard.h"

namespace platform {

namespace {

class NoKeyboardLayouts : public KeyboardLayouts {
public:
    QList<quint32> installed(int) override { return {}; }
    void activate(quint32) override {}
    QList<LayoutKey> keys(quint32) override { return {}; }
    bool canActivate() override { return true; }
    std::optional<quint32> current() override { return std::nullopt; }
    void setChangeHandler(std::function<void()>) override {}
};

std::unique_ptr<KeyboardLayouts> probe(KeyboardBackend backend)
{
    switch (backend) {
    case KeyboardBackend::Kde: return probeKdeKeyboardLayouts();
    case KeyboardBackend::Sway: return probeSwayKeyboardLayouts();
    case KeyboardBackend::Gnome: return probeGnomeKeyboardLayouts();
    case KeyboardBackend::Ibus: return probeIbusKeyboardLayouts();
    case KeyboardBackend::Xkb: return makeXkbKeyboardLayouts();
    }
    return nullptr;
}

} // namespace

std::unique_ptr<KeyboardLayouts> makeDesktopKeyboardLayouts()
{
    for (const KeyboardBackend backend : keyboardBackendOrder(qEnvironmentVariable("XDG_CURRENT_DESKTOP"))) {
        if (std::unique_ptr<KeyboardLayouts> layouts = probe(backend))
            return layouts;
    }
    return std::make_unique<NoKeyboardLayouts>();
}

} // namespace platform
