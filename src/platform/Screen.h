#pragma once
// The primary screen's size and logical dots per inch, behind a seam for tests.

#include <QRect>
#include <optional>

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
void SetScreenMetricsForTests(std::optional<TScreenMetrics> metrics);
