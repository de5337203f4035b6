#include "components/MonthCalendarStamps.h"

#include <QPainter>
#include <cmath>

void TMonthCalendarStamps::Make(int count, QSize size, const QColor &background, qreal ratio,
                                const TPaintStamp &paint)
{
    mCount = 0;
    mImage = QImage();
    if (count <= 0 || size.isEmpty() || !(ratio > 0))
        return;
    mSize = size;
    mRatio = ratio;
    // Opaque stamps are plain copies when drawn; a translucent background needs blending.
    const QImage::Format format =
        background.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    mImage = QImage(std::ceil(count * size.width() * ratio), std::ceil(size.height() * ratio), format);
    if (mImage.isNull())
        return;
    mImage.setDevicePixelRatio(ratio);
    mImage.fill(background);
    QPainter painter(&mImage);
    for (int i = 0; i < count; ++i)
        paint(painter, i, QRect(QPoint(i * size.width(), 0), size));
    mCount = count;
}

void TMonthCalendarStamps::Draw(QPainter &painter, QPoint topLeft, int index, int count) const
{
    if (index < 0 || count < 1 || index + count > mCount)
        return;
    const QRectF source(index * mSize.width() * mRatio, 0, count * mSize.width() * mRatio,
                        mSize.height() * mRatio);
    painter.drawImage(QPointF(topLeft), mImage, source);
}
