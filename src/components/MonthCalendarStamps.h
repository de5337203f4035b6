#pragma once
// Small pieces of the calendar (day numbers, week numbers, the weekday row) drawn once
// onto their background and then copied wherever they are shown: far cheaper than laying
// out glyphs again for each of the thousands of cells a large view holds.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <cmath>
#include <functional>

class QPainter;

class TMonthCalendarStamps {
public:
    // Paints stamp `index` into `rect` of a painter whose background is already filled.
    using TPaintStamp = std::function<void(QPainter &painter, int index, const QRect &rect)>;

    // Draws `count` stamps of `size` logical pixels at the device pixel ratio `ratio`.
    void Make(int count, QSize size, const QColor &background, qreal ratio, const TPaintStamp &paint);
    // Draws `count` stamps from `index` on, side by side as they lie in the strip.
    void Draw(QPainter &painter, QPoint topLeft, int index, int count = 1) const;
    // Whether stamps side by side in the strip can be copied together: each covers whole pixels.
    bool Joinable() const { return FSize.width() * FRatio == std::floor(FSize.width() * FRatio); }
    bool IsEmpty() const { return FCount == 0; }

private:
    QImage FImage;
    QSize FSize;
    qreal FRatio = 1;
    int FCount = 0;
};
