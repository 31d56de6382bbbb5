#include "platform/WindowSystem.h"

#include <QGuiApplication>

namespace platform {

bool windowPositionsKnown()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace platform
