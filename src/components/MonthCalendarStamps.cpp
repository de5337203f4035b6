#include "components/MonthCalendarStamps.h"

#include <QPainter>
#include <cmath>

void TMonthCalendarStamps::Make(int count, QSize size, const QColor &background, qreal ratio,
                                const TPaintStamp &paint)
{
    FCount = 0;
    FImage = QImage();
    if (count <= 0 || size.isEmpty() || !(ratio > 0))
        return;
    FSize = size;
    FRatio = ratio;
    // Opaque stamps are plain copies when drawn; a translucent background needs blending.
    const QImage::Format format =
        background.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    FImage = QImage(std::ceil(count * size.width() * ratio), std::ceil(size.height() * ratio), format);
    if (FImage.isNull())
        return;
    FImage.setDevicePixelRatio(ratio);
    FImage.fill(background);
    QPainter painter(&FImage);
    for (int i = 0; i < count; ++i)
        paint(painter, i, QRect(QPoint(i * size.width(), 0), size));
    FCount = count;
}

void TMonthCalendarStamps::Draw(QPainter &painter, QPoint topLeft, int index, int count) const
{
    if (index < 0 || count < 1 || index + count > FCount)
        return;
    const QRectF source(index * FSize.width() * FRatio, 0, count * FSize.width() * FRatio,
                        FSize.height() * FRatio);
    painter.drawImage(QPointF(topLeft), FImage, source);
}
