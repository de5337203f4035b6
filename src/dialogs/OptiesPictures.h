#pragma once
// The Options dialog's illustrations: the live previews drawn for each state, and the fixed
// pictures of the program's artwork. Sizes are in pixels at 96 dpi; `scale` is the screen's dpi
// over 96 and `pixelRatio` its device pixel ratio, so the pictures stay crisp at every size.

#include <QPixmap>
#include <QSize>
#include <QString>

namespace optiespictures {

// Size of every picture but the task bar's.
inline constexpr QSize PictureSize{32, 32};
// The task bar picture; the arrow (ArrowSize) stands above its left button or its tray.
inline constexpr QSize TaskBarSize{48, 40};
inline constexpr QSize ArrowSize{8, 8};
inline constexpr int ArrowTop = 21;
inline constexpr int ArrowLeftAtTaskBar = 7;
inline constexpr int ArrowLeftAtTray = 34;

// A small window with a month grid, optionally with week numbers at the left and today marked.
QPixmap ViewPicture(bool weekNumbers, bool today, qreal scale, qreal pixelRatio);
// The Options toolbar icon, grey (as it shows until the pointer lights it up) or in colour,
// optionally with its caption under it.
QPixmap ToolbarPicture(bool greyed, bool caption, qreal scale, qreal pixelRatio);
// A block of four months; the first (arrow from the left) or the last (arrow from the right)
// stands out.
QPixmap PositionPicture(bool last, qreal scale, qreal pixelRatio);
// A picture of the artwork (":/art/...") at the given size.
QPixmap ArtPicture(const QString &path, QSize size, qreal scale, qreal pixelRatio);

} // namespace optiespictures
