#include "platform/Colors.h"

#include "date/Rounding.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace {

struct SystemColor {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Windows system-colour index -> palette colour. Indices with no palette counterpart
// (desktop, captions, borders) take the nearest role.
constexpr SystemColor SystemColors[] = {
    {QPalette::Active, QPalette::Button},          // 0 scroll bar
    {QPalette::Active, QPalette::Dark},            // 1 desktop
    {QPalette::Active, QPalette::Highlight},       // 2 active caption
    {QPalette::Inactive, QPalette::Mid},           // 3 inactive caption
    {QPalette::Active, QPalette::Window},          // 4 menu
    {QPalette::Active, QPalette::Base},            // 5 window
    {QPalette::Active, QPalette::Shadow},          // 6 window frame
    {QPalette::Active, QPalette::WindowText},      // 7 menu text
    {QPalette::Active, QPalette::Text},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 caption text
    {QPalette::Active, QPalette::Window},          // 10 active border
    {QPalette::Inactive, QPalette::Window},        // 11 inactive border
    {QPalette::Active, QPalette::Dark},            // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlight text
    {QPalette::Active, QPalette::Button},          // 15 button face
    {QPalette::Active, QPalette::Mid},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},          // 17 grey text
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Inactive, QPalette::WindowText},    // 19 inactive caption text
    {QPalette::Active, QPalette::Light},           // 20 button highlight
    {QPalette::Active, QPalette::Shadow},          // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},     // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 tooltip background
    {QPalette::Active, QPalette::Button},          // 25 (unused index)
    {QPalette::Active, QPalette::Link},            // 26 hot light
    {QPalette::Active, QPalette::Highlight},       // 27 gradient active caption
    {QPalette::Inactive, QPalette::Mid},           // 28 gradient inactive caption
    {QPalette::Active, QPalette::Highlight},       // 29 menu highlight
    {QPalette::Active, QPalette::Window},          // 30 menu bar
};

} // namespace

QColor ToQColor(TColor color)
{
    if (IsSystemColor(color)) {
        const unsigned index = color & 0xFF;
        if (index < std::size(SystemColors)) {
            const SystemColor &entry = SystemColors[index];
            return QGuiApplication::palette().color(entry.group, entry.role);
        }
        return QColor(Qt::black);
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor FromQColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return TColor(rgb.red()) | (TColor(rgb.green()) << 8) | (TColor(rgb.blue()) << 16);
}

namespace {

// x to the power 2.4 for x in (0, 1]: x squared times the fifth root of x squared, found by
// Newton's method from 1, whose steps fall monotonically onto the root. Written out so that the
// compiler builds the table below: std::pow is not constexpr, and calling it would map a good
// part of libm into the program at its first frame.
constexpr double Power2_4(double x)
{
    const double square = x * x;
    double root = 1;
    for (;;) {
        const double fourth = root * root * root * root;
        const double next = root - (root - square / fourth) / 5;
        if (next >= root)
            return square * root;
        root = next;
    }
}

// Each 8-bit sRGB channel value as linear light.
constexpr auto LinearChannels = [] {
    std::array<double, 256> linear{};
    for (int channel = 0; channel < 256; ++channel) {
        const double c = channel / 255.0;
        linear[channel] = c <= 0.03928 ? c / 12.92 : Power2_4((c + 0.055) / 1.055);
    }
    return linear;
}();

double Linear(int channel)
{
    return LinearChannels[channel & 0xFF];
}

double Luminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

QColor Mixed(const QColor &from, const QColor &to, double share)
{
    const auto mix = [share](int a, int b) { return int(rounding::HalfAway(a + (b - a) * share)); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsDarkPalette(const QPalette &palette)
{
    return Luminance(palette.color(QPalette::Window)) < Luminance(palette.color(QPalette::WindowText));
}

QColor ReadableOn(const QColor &color, const QColor &background)
{
    const QColor rgb = color.toRgb();
    // Towards white on a dark background, towards black on a light one: one of them reaches 4.5:1.
    const QColor end = Luminance(background) < 0.18 ? QColor(Qt::white) : QColor(Qt::black);
    for (int step = 0; step <= 20; ++step) {
        const QColor shade = Mixed(rgb, end, step / 20.0);
        if (ContrastRatio(shade, background) >= ReadableContrast)
            return shade;
    }
    return end;
}
