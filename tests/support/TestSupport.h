#pragma once
#include <QPalette>
#include <QString>

class QImage;
class QWidget;

namespace testsupport {

// Saves a picture of the widget to build/screenshots/<name>.png for a person to look at.
QString SaveScreenshot(QWidget *widget, const QString &name);

// The desktop themes every window is looked at under: the style's own light palette, a dark one,
// and a high-contrast one (white on black).
enum class TTheme { Light, Dark, HighContrast };
inline constexpr TTheme Themes[] = {TTheme::Light, TTheme::Dark, TTheme::HighContrast};
const char *ThemeName(TTheme theme);
QPalette ThemePalette(TTheme theme);

// The application's palette as a desktop theme gives it, for the object's life.
class TScopedTheme {
public:
    explicit TScopedTheme(TTheme theme);
    ~TScopedTheme();
    TScopedTheme(const TScopedTheme &) = delete;
    TScopedTheme &operator=(const TScopedTheme &) = delete;

private:
    QPalette FSaved;
};

// How well what is drawn reads: the contrast of the pixel that stands out most from the most
// common colour (the background); 1 for a picture of one colour.
double InkContrast(const QImage &image);

} // namespace testsupport
