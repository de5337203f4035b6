#pragma once
// The primary screen's size and logical dots per inch, behind a seam for tests; where a window
// may stand on the screens.

#include <QList>
#include <QRect>
#include <QSize>
#include <optional>

class QScreen;

struct TScreenMetrics {
    int Width = 1024;
    int Height = 768;
    double Dpi = 96.0;
    // Where windows may stand (without panels and docks); empty means the whole screen.
    QRect Available;
};

TScreenMetrics PrimaryScreenMetrics();
// The primary screen's area where windows may stand, through the same seam.
QRect PrimaryAvailableArea();
// The area where windows may stand on the given screen (the one that holds the window a dialog
// belongs to); the primary screen's where there is none, and always under the tests' seam.
QRect AvailableAreaOf(const QScreen *screen);
void SetScreenMetricsForTests(std::optional<TScreenMetrics> metrics);

// The part of each screen that windows may use (without panels and docks); never empty rectangles.
QList<QRect> AvailableScreenAreas();
