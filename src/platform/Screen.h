#pragma once
// The primary screen's size and logical dots per inch, behind a seam for tests.

#include <optional>

struct TScreenMetrics {
    int Width = 1024;
    int Height = 768;
    double Dpi = 96.0;
};

TScreenMetrics PrimaryScreenMetrics();
void SetScreenMetricsForTests(std::optional<TScreenMetrics> metrics);
