#include "platform/ReadableStyle.h"

#include "platform/Colors.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

namespace {

// The base style's icon, asked for when it is first needed.
class TDeferredIconEngine final : public QIconEngine {
public:
    TDeferredIconEngine(const QStyle *style, QStyle::StandardPixmap icon) : FStyle(style), FIcon(icon) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        Loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Loaded().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().availableSizes(mode, state);
    }
    QIconEngine *clone() const override { return new TDeferredIconEngine(*this); }

private:
    const QIcon &Loaded()
    {
        if (FStyle) {
            FLoaded = FStyle->standardIcon(FIcon);
            FStyle = nullptr;
        }
        return FLoaded;
    }

    QPointer<const QStyle> FStyle; // until the icon is read; gone with a style replaced meanwhile
    QStyle::StandardPixmap FIcon;
    QIcon FLoaded;
};

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

QIcon TReadableStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton)
        return QIcon(new TDeferredIconEngine(baseStyle(), icon));
    return QProxyStyle::standardIcon(icon, option, widget);
}
