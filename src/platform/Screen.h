#pragma once
// The primary screen's size and logical dots per inch, behind a seam for tests; where a window
// may stand on the screens.

#include <QList>
#include <QMargins>
#include <QPoint>
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

// Where a window frame is to stand so that its user can reach it: the frame of a client area of
// the given size, with the frame's top left asked for. A frame that does not lie wholly on the
// areas is moved inside the area that holds a usable part of its title strip, or else the
// nearest one; a frame larger than that area is limited to it. Any numbers are taken: absurd
// ones are first brought within what a desktop can hold.
QRect ReachableFrame(QPoint topLeft, QSize clientSize, const QMargins &frameMargins, const QList<QRect> &areas);
