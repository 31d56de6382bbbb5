#pragma once

#include "platform/DesktopLayouts.h"
#include "platform/Platform.h"

#include <QHash>

namespace platform {

// A desktop that keeps its own list of layouts and switches by index in it.
// A handle names that index (see layoutHandle); the layouts' keys come from
// the system's keyboard data by their names, as no X server may be there.
class ListedKeyboardLayouts : public KeyboardLayouts {
public:
    explicit ListedKeyboardLayouts(QList<DesktopLayout> layouts);

    QList<quint32> installed(int maxCount) override;
    QList<LayoutKey> keys(quint32 handle) override;
    void setChangeHandler(std::function<void()> handler) override { changeHandler_ = std::move(handler); }

protected:
    int indexOf(quint32 handle) const; // -1 for a handle not of this list
    std::optional<quint32> handleAt(int index) const;
    int count() const { return int(layouts_.size()); }
    void changed() const
    {
        if (changeHandler_)
            changeHandler_();
    }

private:
    QList<DesktopLayout> layouts_;
    QHash<int, QList<LayoutKey>> keys_; // compiled once each, when first asked
    std::function<void()> changeHandler_;
};

// Each desktop's keyboard, or nullptr where that desktop does not answer.
std::unique_ptr<KeyboardLayouts> probeKdeKeyboardLayouts();
std::unique_ptr<KeyboardLayouts> probeSwayKeyboardLayouts();
std::unique_ptr<KeyboardLayouts> probeGnomeKeyboardLayouts();
std::unique_ptr<KeyboardLayouts> probeIbusKeyboardLayouts();

// Every call to a desktop's bus or socket gives up after this long.
constexpr int kDesktopCallTimeoutMs = 250;

} // namespace platform
