#include "components/kxFont.h"

#include <QWidget>

TkxFont MakeKxFont(const QFont &font, TColor color, bool underline)
{
    TkxFont result{font, color};
    result.Font.setUnderline(underline);
    return result;
}

void ShowKxFont(QWidget &widget, const TkxFont &font, QPalette::ColorRole textRole)
{
    widget.setFont(font.Font);
    QPalette palette = widget.palette();
    palette.setColor(textRole, ToQColor(font.Color));
    widget.setPalette(palette);
}
