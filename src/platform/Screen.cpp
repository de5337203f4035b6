#include "platform/Screen.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

std::optional<TScreenMetrics> overrideMetrics;

// Far beyond any desktop, and small enough that no sum of two of them overflows.
constexpr int CoordinateLimit = 1 << 24;
// The least of the title strip a user needs to see to take hold of the window.
constexpr int StripWidth = 64;
constexpr int StripHeight = 16;

int Limited(int value, int low)
{
    return std::clamp(value, low, CoordinateLimit);
}

// How far apart two rectangles are: 0 when they touch or overlap.
long long Distance(const QRect &a, const QRect &b)
{
    const long long dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const long long dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

bool HoldsTitleStrip(const QRect &area, const QRect &strip)
{
    const QRect part = area & strip;
    return part.width() >= std::min(StripWidth, strip.width()) && part.height() >= strip.height();
}

// Whether the frame lies wholly on the screens, maybe across two of them.
bool LiesOn(const QList<QRect> &areas, const QRect &frame)
{
    QRegion outside(frame);
    for (const QRect &area : areas)
        outside -= area;
    return outside.isEmpty();
}

} // namespace

TScreenMetrics PrimaryScreenMetrics()
{
    if (overrideMetrics)
        return *overrideMetrics;
    TScreenMetrics metrics;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        metrics.Width = screen->geometry().width();
        metrics.Height = screen->geometry().height();
        metrics.Dpi = screen->logicalDotsPerInch();
        metrics.Available = screen->availableGeometry();
    }
    return metrics;
}

QRect PrimaryAvailableArea()
{
    const TScreenMetrics metrics = PrimaryScreenMetrics();
    return metrics.Available.isEmpty() ? QRect(0, 0, metrics.Width, metrics.Height) : metrics.Available;
}

QRect AvailableAreaOf(const QScreen *screen)
{
    if (overrideMetrics || !screen || screen->availableGeometry().isEmpty())
        return PrimaryAvailableArea();
    return screen->availableGeometry();
}

void SetScreenMetricsForTests(std::optional<TScreenMetrics> metrics)
{
    overrideMetrics = metrics;
}

QList<QRect> AvailableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        if (area.isEmpty())
            continue;
        // At a fractional scale the area is rounded to whole pixels of the program and may end a
        // fraction of a screen pixel beyond the real one; a frame kept a pixel inside stays on it.
        const qreal scale = screen->devicePixelRatio();
        areas << (scale == std::floor(scale) ? area : area.adjusted(0, 0, -1, -1));
    }
    return areas;
}

QRect ReachableFrame(QPoint topLeft, QSize clientSize, const QMargins &frameMargins, const QList<QRect> &areas)
{
    const QSize client(Limited(clientSize.width(), 1), Limited(clientSize.height(), 1));
    QRect frame(QPoint(Limited(topLeft.x(), -CoordinateLimit), Limited(topLeft.y(), -CoordinateLimit)),
                client.grownBy(frameMargins));
    if (areas.isEmpty() || LiesOn(areas, frame))
        return frame;
    // A frame partly off the screens (a placement stored at another scale or on a larger screen)
    // moves wholly inside the area that holds its title strip, or else the nearest one.
    const QRect strip(frame.topLeft(), QSize(frame.width(), std::min(StripHeight, frame.height())));
    const auto reachable = std::find_if(areas.begin(), areas.end(),
                                        [&](const QRect &area) { return HoldsTitleStrip(area, strip); });
    const QRect area = reachable != areas.end()
                           ? *reachable
                           : *std::min_element(areas.begin(), areas.end(), [&](const QRect &a, const QRect &b) {
                                 return Distance(a, strip) < Distance(b, strip);
                             });
    frame.setSize(frame.size().boundedTo(area.size()));
    frame.moveTo(std::clamp(frame.left(), area.left(), area.right() + 1 - frame.width()),
                 std::clamp(frame.top(), area.top(), area.bottom() + 1 - frame.height()));
    return frame;
}
