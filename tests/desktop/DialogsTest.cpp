// Every window on a small screen at the usual text sizes, with the test fonts and with the fonts
// a desktop usually has: each dialog's frame lies inside the screen's available area.
#include "desktop/DesktopSession.h"
#include "platform/Colors.h"

#include <gtest/gtest.h>

using namespace desktop;

namespace {

struct TLook {
    int Dpi;
    bool DesktopFonts; // Noto Sans as the default sans-serif font
    int Taal;
    testsupport::TTheme Theme;
    const char *Name;
};

// The strongest text in a part of the screen, against the colour most of it has.
double Contrast(const TDesktop &desktop, const QRect &rect)
{
    return testsupport::InkContrast(desktop.Grab(rect));
}

// The toolbar buttons that open a dialog, counted from the left.
constexpr int DialogButtons[] = {0, 1, 3, 4};
constexpr int ButtonSize = 30;

TEST(Dialogs, EveryDialogsFrameLiesInsideTheScreen)
{
    using testsupport::TTheme;
    const TLook looks[] = {
        {96, false, 0, TTheme::Light, "96-nl"},           {144, false, 1, TTheme::Light, "144-en"},
        {96, true, 1, TTheme::Light, "96-noto-en"},       {144, true, 0, TTheme::Light, "144-noto-nl"},
        {96, false, 0, TTheme::Dark, "96-nl-dark"},       {144, true, 1, TTheme::HighContrast, "144-noto-en-contrast"},
    };
    for (const TLook &look : looks) {
        TDesktop desktop(look.Dpi);
        ASSERT_TRUE(desktop.Ready()) << look.Name;
        QProcessEnvironment environment = DesktopEnvironment(desktop);
        if (look.DesktopFonts)
            environment.insert("FONTCONFIG_FILE", qEnvironmentVariable("ORVANI_SOURCE_DIR") +
                                                      "/tests/desktop/fonts-desktop.conf");
        TProgram program({QStringLiteral("Algemeen\\Taal=dword:%1").arg(look.Taal, 8, 10, QChar('0'))});
        program.SetTheme(look.Theme);
        program.Start(environment);
        std::optional<TClientWindow> main;
        ASSERT_TRUE(WaitFor([&] {
            const auto windows = desktop.Windows(program.Pid());
            if (windows.size() == 1 && windows.front().State == TDesktop::Normal && !windows.front().Frame.isNull())
                main = windows.front();
            return main.has_value();
        })) << look.Name;
        EXPECT_TRUE(desktop.WorkArea().contains(main->FrameRect())) << look.Name;
        const double scale = look.Dpi / 96.0;
        // The status bar's date and clock and the toolbar read once drawn; the dialogs follow.
        const QRect client = main->Client;
        const int strip = qRound(20 * scale);
        const std::pair<const char *, QRect> parts[] = {
            {" status bar", QRect(client.left(), client.bottom() - strip, qRound(160 * scale), strip)},
            {" toolbar", QRect(client.topLeft(), QSize(client.width(), qRound(ButtonSize * scale)))}};
        for (const auto &[part, rect] : parts)
            EXPECT_TRUE(WaitFor([&] { return Contrast(desktop, rect) >= ReadableContrast; }))
                << look.Name << part;
        testsupport::SaveScreenshot(desktop.Grab(), QStringLiteral("desktop-main-%1").arg(look.Name));

        for (const int button : DialogButtons) {
            desktop.Click(main->Client.topLeft() +
                          QPoint(qRound((button + 0.5) * ButtonSize * scale), qRound(ButtonSize / 2 * scale)));
            std::optional<TClientWindow> dialog;
            ASSERT_TRUE(WaitFor([&] {
                const auto windows = desktop.Windows(program.Pid());
                if (windows.size() == 2 && windows.back().State == TDesktop::Normal && !windows.back().Frame.isNull())
                    dialog = windows.back();
                return dialog.has_value();
            })) << look.Name << " button " << button;
            // Placed once the frame is known: the program has seen it, the window manager has done the move.
            ASSERT_TRUE(desktop.Ping(dialog->Id) && desktop.WindowManagerRoundTrip()) << look.Name;
            dialog = desktop.Windows(program.Pid()).back();
            const QRect frame = dialog->FrameRect();
            EXPECT_TRUE(desktop.WorkArea().contains(frame))
                << look.Name << " button " << button << ": " << frame.x() << "," << frame.y() << " " << frame.width()
                << "x" << frame.height();
            EXPECT_GE(Contrast(desktop, dialog->Client), ReadableContrast) << look.Name << " button " << button;
            testsupport::SaveScreenshot(desktop.Grab(),
                                        QStringLiteral("desktop-dialog%1-%2").arg(button).arg(look.Name));
            desktop.Close(dialog->Id);
            ASSERT_TRUE(WaitFor([&] { return desktop.Windows(program.Pid()).size() == 1; }))
                << look.Name << " button " << button;
        }
        EXPECT_EQ(program.Terminate(), 0) << look.Name;
    }
}

} // namespace
