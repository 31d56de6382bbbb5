#include "app/WindowPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace placement {

namespace {

constexpr int kSmallestCoordinate = std::numeric_limits<std::int16_t>::min();
constexpr int kLargestCoordinate = std::numeric_limits<std::int16_t>::max();

int inRange(int value, int fallback, int smallest)
{
    return value >= smallest && value <= kLargestCoordinate ? value : fallback;
}

qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

qint64 distance(const QRect &a, const QRect &b)
{
    const QPoint d = a.center() - b.center();
    return qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
}

QRect screenFor(const QRect &window, const QList<QRect> &screens)
{
    return *std::max_element(screens.begin(), screens.end(), [&](const QRect &a, const QRect &b) {
        const qint64 overlapA = overlap(window, a), overlapB = overlap(window, b);
        if (overlapA != overlapB)
            return overlapA < overlapB;
        return distance(window, a) > distance(window, b);
    });
}

} // namespace

QRect fitted(const QRect &stored, const QRect &fallback, const QList<QRect> &screens)
{
    QRect window(inRange(stored.x(), fallback.x(), kSmallestCoordinate),
                 inRange(stored.y(), fallback.y(), kSmallestCoordinate),
                 inRange(stored.width(), fallback.width(), 1), inRange(stored.height(), fallback.height(), 1));
    if (screens.isEmpty())
        return window;
    const QRect screen = screenFor(window, screens);
    window.setSize(window.size().boundedTo(screen.size()));
    window.moveLeft(std::clamp(window.left(), screen.left(), screen.left() + screen.width() - window.width()));
    window.moveTop(std::clamp(window.top(), screen.top(), screen.top() + screen.height() - window.height()));
    return window;
}

} // namespace placement
