#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
std::optional<TScreenMetrics> overrideMetrics;
}

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

void SetScreenMetricsForTests(std::optional<TScreenMetrics> metrics)
{
    overrideMetrics = metrics;
}
