#pragma once

#include "platform/Platform.h"

#include <memory>

namespace platform {

// The keyboard layouts of the running desktop: the first of its own services
// that answers (see keyboardBackendOrder), else XKB on X11, else none.
std::unique_ptr<KeyboardLayouts> makeDesktopKeyboardLayouts();

} // namespace platform
