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
    // A fixed colour (the blue of a link, the navy of a hot button) is shown on the desktop's
    // background for that text, in a shade that reads there.
    const QPalette::ColorRole background =
        textRole == QPalette::ButtonText ? QPalette::Button : textRole == QPalette::Text ? QPalette::Base : QPalette::Window;
    const QColor color = ToQColor(font.Color);
    palette.setColor(textRole, IsSystemColor(font.Color) ? color : ReadableOn(color, palette.color(background)));
    widget.setPalette(palette);
}
