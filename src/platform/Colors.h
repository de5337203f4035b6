#pragma once
// The program's colour values: 0x00BBGGRR for a plain colour (red in the lowest byte);
// a high byte of 0xFF names a system colour whose low byte is a Windows system-colour
// index, shown as the matching colour of the current palette.

#include <QColor>
#include <cstdint>

class QPalette;

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clScrollBar = clSystemColor | 0x00;
constexpr TColor clWindow = clSystemColor | 0x05;
constexpr TColor clWindowText = clSystemColor | 0x08;
constexpr TColor clHighlight = clSystemColor | 0x0D;
constexpr TColor clHighlightText = clSystemColor | 0x0E;
constexpr TColor clBtnFace = clSystemColor | 0x0F;
constexpr TColor clBtnShadow = clSystemColor | 0x10;
constexpr TColor clGrayText = clSystemColor | 0x11;
constexpr TColor clBtnText = clSystemColor | 0x12;
constexpr TColor clBtnHighlight = clSystemColor | 0x14;
constexpr TColor clInfoText = clSystemColor | 0x17;
constexpr TColor clInfoBk = clSystemColor | 0x18;

constexpr bool IsSystemColor(TColor color) { return (color >> 24) == 0xFF; }

// A plain or system colour as Qt shows it. Any other high byte is ignored (as a plain colour).
QColor ToQColor(TColor color);

// Qt's colour as a plain colour value (alpha dropped).
TColor FromQColor(const QColor &color);

// Contrast of two colours as WCAG 2 measures it: 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor &a, const QColor &b);
// The contrast WCAG 2 asks of text: 4.5:1.
constexpr double ReadableContrast = 4.5;

// A dark scheme: the window's text is lighter than the window.
bool IsDarkPalette(const QPalette &palette);

// A colour of the program's own drawn on a background it does not choose: the colour where it
// reads there (4.5:1), else the nearest shade of it, lighter or darker, that does.
QColor ReadableOn(const QColor &color, const QColor &background);
