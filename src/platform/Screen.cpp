#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {

std::optional<TScreenMetrics> overrideMetrics;

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
