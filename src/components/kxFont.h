#pragma once
// A font together with its colour. Qt keeps a text colour in the palette, not in the font; the
// component set's fonts carry both, so a look (normal, hot, visited) is one value.

#include "platform/Colors.h"

#include <QFont>
#include <QPalette>

class QWidget;

constexpr TColor clBlue = 0xFF0000;

struct TkxFont {
    QFont Font;
    TColor Color = clWindowText;
};

// The font with the given colour.
TkxFont MakeKxFont(const QFont &font, TColor color, bool underline = false);

// Shows the font on the widget: face, size and style as its font, colour as its text role.
void ShowKxFont(QWidget &widget, const TkxFont &font, QPalette::ColorRole textRole);
