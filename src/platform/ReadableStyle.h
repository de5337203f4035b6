#pragma once
// The desktop's widget style with outlines that read under a dark scheme, and with the toolbar's
// overflow icon read only when it is drawn.

#include <QProxyStyle>

// Under a dark desktop scheme the widget style draws the outlines of fields, check boxes and radio
// buttons in a shade of the window itself, which vanishes on black: a user would not see which
// choices there are. This style draws those outlines once more, halfway between the window and its
// text (3:1 at least against the window, as controls need), and leaves light schemes untouched.
class TReadableStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    // Every toolbar makes its overflow button at once, and the style's picture for it is read
    // through the image reader, which loads every image format plugin (and libjpeg) to look at
    // it. The main window is never narrower than its toolbar, so the button seldom shows: its
    // icon reads the picture when it is first drawn or measured.
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
