#include "dialogs/OptiesPictures.h"

#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QtMath>

namespace optiespictures {

namespace {

const QColor Frame(0x5a, 0x64, 0x78);
const QColor CaptionTop(0x3a, 0x6f, 0xd0);
const QColor CaptionBottom(0x1c, 0x3f, 0x94);
const QColor DayText(0x30, 0x30, 0x38);
const QColor TrailingText(0xa8, 0xa8, 0xb8);
const QColor WeekText(0x3a, 0x6f, 0xd0);
const QColor TodayMark(0xd0, 0x10, 0x10);
const QColor Highlight(0xff, 0xf0, 0xa0);
const QColor HighlightFrame(0xe0, 0x8a, 0x00);

// Draws in 96-dpi pixels onto a transparent picture of the given size.
template <class Draw> QPixmap Painted(QSize size, qreal scale, qreal pixelRatio, Draw draw)
{
    const qreal factor = scale * pixelRatio;
    QPixmap pixmap(qCeil(size.width() * factor), qCeil(size.height() * factor));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(factor, factor);
    draw(painter);
    painter.end();
    pixmap.setDevicePixelRatio(pixelRatio);
    return pixmap;
}

void DrawWindow(QPainter &p, const QRectF &outline)
{
    p.setPen(QPen(Frame, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(outline, 1.5, 1.5);
    const QRectF caption(outline.left() + 0.5, outline.top() + 0.5, outline.width() - 1, 5);
    QLinearGradient shade(caption.topLeft(), caption.bottomLeft());
    shade.setColorAt(0, CaptionTop);
    shade.setColorAt(1, CaptionBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRect(caption);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(caption.right() - 4, caption.top() + 1.5, 2.5, 2));
}

void Dot(QPainter &p, QPointF centre, const QColor &color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRect(QRectF(centre.x() - 0.9, centre.y() - 0.7, 1.8, 1.4));
}

// An arrow along y = `y` from `from` to the point `to`.
void Arrow(QPainter &p, qreal from, qreal to, qreal y)
{
    const qreal direction = to > from ? 1 : -1;
    p.setPen(QPen(TodayMark, 1.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(from, y), QPointF(to - 2.5 * direction, y));
    QPainterPath head;
    head.moveTo(to, y);
    head.lineTo(to - 3.5 * direction, y - 2.8);
    head.lineTo(to - 3.5 * direction, y + 2.8);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(TodayMark);
    p.drawPath(head);
}

void DrawMonthTile(QPainter &p, const QRectF &tile, bool chosen)
{
    p.setPen(QPen(chosen ? HighlightFrame : Frame, chosen ? 1.2 : 0.8));
    p.setBrush(chosen ? Highlight : QColor(Qt::white));
    p.drawRect(tile);
    p.setPen(Qt::NoPen);
    p.setBrush(CaptionBottom);
    p.drawRect(QRectF(tile.left(), tile.top(), tile.width(), 2.5));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            p.setBrush(DayText);
            p.drawRect(QRectF(tile.left() + 1.6 + column * 2.4, tile.top() + 3.9 + row * 1.9, 1.1, 1.1));
        }
    }
}

QImage Greyed(QImage image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 96 + qGray(line[x]) * 2 / 5;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return image;
}

} // namespace

QPixmap ViewPicture(bool weekNumbers, bool today, qreal scale, qreal pixelRatio)
{
    return Painted(PictureSize, scale, pixelRatio, [&](QPainter &p) {
        DrawWindow(p, QRectF(1.5, 2.5, 29, 27));
        const qreal firstColumn = weekNumbers ? 10.5 : 5.5;
        const qreal columnStep = weekNumbers ? 2.9 : 3.5;
        constexpr qreal firstRow = 14;
        constexpr qreal rowStep = 3;
        // Weekday header.
        p.setPen(QPen(TrailingText, 0.8));
        p.drawLine(QPointF(firstColumn - 1.5, firstRow - 2),
                   QPointF(firstColumn + 6 * columnStep + 1.5, firstRow - 2));
        for (int column = 0; column < 7; ++column) {
            Dot(p, QPointF(firstColumn + column * columnStep, firstRow - 3.6), Frame);
        }
        for (int row = 0; row < 5; ++row) {
            const qreal y = firstRow + row * rowStep;
            if (weekNumbers) {
                Dot(p, QPointF(5.5, y), WeekText);
            }
            for (int column = 0; column < 7; ++column) {
                const bool trailing = (row == 0 && column < 2) || (row == 4 && column > 3);
                Dot(p, QPointF(firstColumn + column * columnStep, y), trailing ? TrailingText : DayText);
            }
        }
        if (weekNumbers) {
            p.setPen(QPen(TrailingText, 0.8));
            p.drawLine(QPointF(8, firstRow - 5), QPointF(8, firstRow + 4 * rowStep + 1.5));
        }
        if (today) {
            const QPointF centre(firstColumn + 3 * columnStep, firstRow + 2 * rowStep);
            p.setPen(QPen(TodayMark, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(centre.x() - 2.1, centre.y() - 1.9, 4.2, 3.8));
        }
    });
}

QPixmap ToolbarPicture(bool greyed, bool caption, qreal scale, qreal pixelRatio)
{
    const QSize iconSize = caption ? QSize(20, 20) : QSize(24, 24);
    QImage icon = ArtPicture(":/art/app/options.svg", iconSize, scale, pixelRatio).toImage();
    if (greyed) {
        icon = Greyed(icon);
    }
    return Painted(PictureSize, scale, pixelRatio, [&](QPainter &p) {
        const qreal left = (PictureSize.width() - iconSize.width()) / 2.0;
        const qreal top = caption ? 0.5 : (PictureSize.height() - iconSize.height()) / 2.0;
        p.drawImage(QRectF(QPointF(left, top), QSizeF(iconSize)), icon);
        if (caption) {
            QFont font = QApplication::font();
            font.setPixelSize(8);
            p.setFont(font);
            p.setPen(DayText);
            p.drawText(QRectF(0, 21, PictureSize.width(), 11), Qt::AlignCenter, "Opties");
        }
    });
}

QPixmap PositionPicture(bool last, qreal scale, qreal pixelRatio)
{
    return Painted(PictureSize, scale, pixelRatio, [&](QPainter &p) {
        const QRectF tiles[] = {{7, 5.5, 9, 10}, {16.5, 5.5, 9, 10}, {7, 16.5, 9, 10}, {16.5, 16.5, 9, 10}};
        for (int i = 0; i < 4; ++i) {
            DrawMonthTile(p, tiles[i], i == (last ? 3 : 0));
        }
        if (last) {
            Arrow(p, 31.5, 26.5, tiles[3].center().y());
        } else {
            Arrow(p, 0.5, 6, tiles[0].center().y());
        }
    });
}

QPixmap ArtPicture(const QString &path, QSize size, qreal scale, qreal pixelRatio)
{
    QSvgRenderer renderer(path);
    return Painted(size, scale, pixelRatio, [&](QPainter &p) {
        if (renderer.isValid()) {
            renderer.render(&p, QRectF(QPointF(), QSizeF(size)));
        }
    });
}

} // namespace optiespictures
