#include "support/TestSupport.h"

#include "platform/Colors.h"

#include <QApplication>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QStyle>
#include <QWidget>
#include <gtest/gtest.h>

namespace testsupport {

QString SaveScreenshot(const QImage &picture, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVANI_BUILD_DIR", QDir::currentPath()) + "/screenshots";
    const QString path = dir + "/" + name + ".png";
    EXPECT_TRUE(QDir().mkpath(dir) && picture.save(path)) << "cannot save " << path.toStdString();
    return path;
}

const char *ThemeName(TTheme theme)
{
    switch (theme) {
    case TTheme::Dark:
        return "dark";
    case TTheme::HighContrast:
        return "contrast";
    default:
        return "light";
    }
}

namespace {

// The roles a desktop theme sets, in the order of QPalette::ColorRole.
struct TThemeColors {
    const char *Window, *WindowText, *Base, *AlternateBase, *Text, *Button, *ButtonText, *Highlight,
        *HighlightedText, *Link, *ToolTipBase, *ToolTipText, *Disabled;
};

constexpr TThemeColors DarkColors = {"#2b2d31", "#e6e6e6", "#1f2023", "#292a2e", "#e6e6e6", "#35373c", "#e6e6e6",
                                     "#1d5fa8", "#ffffff", "#8ab4f8", "#3a3c42", "#f0f0f0", "#9a9a9a"};
constexpr TThemeColors ContrastColors = {"#000000", "#ffffff", "#000000", "#000000", "#ffffff",
                                         "#000000", "#ffffff", "#1aebff", "#000000", "#ffff00",
                                         "#000000", "#ffffff", "#3ff23f"};

QPalette PaletteOf(const TThemeColors &c)
{
    QPalette palette(QColor(c.Button), QColor(c.Window));
    const auto set = [&](QPalette::ColorRole role, const char *color) { palette.setColor(role, QColor(color)); };
    set(QPalette::Window, c.Window);
    set(QPalette::WindowText, c.WindowText);
    set(QPalette::Base, c.Base);
    set(QPalette::AlternateBase, c.AlternateBase);
    set(QPalette::Text, c.Text);
    set(QPalette::Button, c.Button);
    set(QPalette::ButtonText, c.ButtonText);
    set(QPalette::Highlight, c.Highlight);
    set(QPalette::HighlightedText, c.HighlightedText);
    set(QPalette::Link, c.Link);
    set(QPalette::LinkVisited, c.Link);
    set(QPalette::ToolTipBase, c.ToolTipBase);
    set(QPalette::ToolTipText, c.ToolTipText);
    set(QPalette::BrightText, c.WindowText);
    set(QPalette::PlaceholderText, c.Disabled);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(c.Disabled));
    return palette;
}

} // namespace

QPalette ThemePalette(TTheme theme)
{
    switch (theme) {
    case TTheme::Dark:
        return PaletteOf(DarkColors);
    case TTheme::HighContrast:
        return PaletteOf(ContrastColors);
    default:
        return QApplication::style()->standardPalette();
    }
}

TScopedTheme::TScopedTheme(TTheme theme) : FSaved(QApplication::palette())
{
    QApplication::setPalette(ThemePalette(theme));
}

TScopedTheme::~TScopedTheme()
{
    QApplication::setPalette(FSaved);
}

double InkContrast(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++counts[line[x]];
    }
    if (counts.isEmpty())
        return 1;
    QRgb background = counts.constBegin().key();
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it) {
        if (it.value() > counts.value(background))
            background = it.key();
    }
    double strongest = 1;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        strongest = std::max(strongest, ContrastRatio(QColor(it.key()), QColor(background)));
    return strongest;
}

bool TRecordingShell::OpenUrl(const QString &address)
{
    Requests.push_back({{}, address, {}});
    Opened << address;
    return true;
}

bool TRecordingShell::StartProgram(const QString &program, const QStringList &arguments,
                                   const QString &folder)
{
    Requests.push_back({program, arguments.join('|'), folder});
    Opened << program;
    return true;
}

void PrintTo(const TShellRequest &request, std::ostream *out)
{
    *out << '{' << request.Program.toStdString() << ", " << request.Target.toStdString() << ", "
         << request.Folder.toStdString() << '}';
}

} // namespace testsupport
