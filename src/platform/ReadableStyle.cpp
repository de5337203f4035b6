#include "platform/ReadableStyle.h"

#include "platform/Colors.h"

#include <QPainter>
#include <QStyleOption>

namespace {

enum class TOutline { Box, Circle };

void DrawOutline(const QStyleOption *option, QPainter *painter, TOutline shape)
{
    const QPalette &palette = option->palette;
    if (!IsDarkPalette(palette))
        return;
    const QColor window = palette.color(QPalette::Window);
    const QColor text = palette.color(QPalette::WindowText);
    const QColor outline((window.red() + text.red()) / 2, (window.green() + text.green()) / 2,
                         (window.blue() + text.blue()) / 2);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, shape == TOutline::Circle);
    painter->setPen(outline);
    painter->setBrush(Qt::NoBrush);
    const QRectF edge = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    if (shape == TOutline::Circle)
        painter->drawEllipse(edge);
    else
        painter->drawRect(edge);
    painter->restore();
}

} // namespace

void TReadableStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                   const QWidget *widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element == PE_IndicatorRadioButton)
        DrawOutline(option, painter, TOutline::Circle);
    else if (element == PE_IndicatorCheckBox || element == PE_FrameLineEdit)
        DrawOutline(option, painter, TOutline::Box);
}

void TReadableStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                        QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_SpinBox) {
        if (static_cast<const QStyleOptionSpinBox *>(option)->frame)
            DrawOutline(option, painter, TOutline::Box);
    }
}
