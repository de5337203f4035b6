// The main window under a window manager: where it stands, in which state it starts, and what
// it stores.
#include "desktop/DesktopSession.h"

#include <gtest/gtest.h>
#include <functional>

using namespace desktop;

namespace {

QString Dword(int value)
{
    return QStringLiteral("dword:%1").arg(quint32(value), 8, 16, QChar('0'));
}

// The main window once the window manager shows it in the given state, framed, and settled as
// wanted (a window manager may move a window through a few places while it shows it); else the
// last one seen.
std::optional<TClientWindow> MainWindowIn(const TDesktop &desktop, const TProgram &program, int state,
                                          const std::function<bool(const QRect &frame)> &settled = {})
{
    std::optional<TClientWindow> found;
    WaitFor([&] {
        const auto windows = desktop.Windows(program.Pid());
        if (windows.empty() || windows.front().State != state || windows.front().Frame.isNull())
            return false;
        found = windows.front();
        return !settled || settled(found->FrameRect());
    });
    return found;
}

class Placement : public testing::TestWithParam<TWindowManager> {};

INSTANTIATE_TEST_SUITE_P(WindowManagers, Placement, testing::ValuesIn(WindowManagers()), WindowManagerName);

// How the window is started and, when it starts minimised, brought back.
struct TStart {
    const char *Name;
    int Dpi;
    QStringList Values; // stored besides the placement
    QStringList Arguments;
    enum { Shown, ByTaskBar, BySecondStart } Restore;
    testsupport::TTheme Theme = testsupport::TTheme::Light;
    int FontPoints = 9;      // the desktop's font
    QSize Size = {240, 260}; // stored, and stored again at the close
};

TEST_P(Placement, StartAndCloseLeaveTheWindowWhereItWas)
{
    const TStart starts[] = {
        {"plain", 96, {}, {}, TStart::Shown},
        // Narrower than its content: it grows once its texts are set, before its frame is known.
        {"dark-narrow", 96, {}, {}, TStart::Shown, testsupport::TTheme::Dark, 12, {100, 260}},
        {"plain-144", 144, {}, {}, TStart::Shown},
        {"on-top", 96, {"Positie\\OpVoorgrond=" + Dword(1)}, {}, TStart::Shown},
        {"--minimized", 96, {}, {"--minimized"}, TStart::ByTaskBar},
        {"stored-minimised", 96, {"Algemeen\\GeminimaliseerdOpstarten=" + Dword(1)}, {}, TStart::BySecondStart},
    };
    std::optional<TDesktop> desktop;
    int desktopDpi = 0;
    for (const TStart &start : starts) {
        if (desktopDpi != start.Dpi)
            desktop.emplace(desktopDpi = start.Dpi, QSize(1024, 768), GetParam());
        ASSERT_TRUE(desktop->Ready()) << start.Name;
        // The stored placement is in the program's pixels, which the X server scales by dpi / 96.
        const QPoint expected = QPoint(101, 80) * start.Dpi / 96;
        TProgram program(QStringList{"Positie\\Links=" + Dword(101), "Positie\\Boven=" + Dword(80),
                                     "Positie\\Breedte=" + Dword(start.Size.width()),
                                     "Positie\\Hoogte=" + Dword(start.Size.height())} +
                         start.Values);
        program.SetTheme(start.Theme, start.FontPoints);
        for (int cycle = 0; cycle < 3; ++cycle) {
            const std::string label = std::string(start.Name) + " cycle " + std::to_string(cycle);
            program.Start(DesktopEnvironment(*desktop), start.Arguments);
            if (start.Restore != TStart::Shown) {
                const auto iconic = MainWindowIn(*desktop, program, TDesktop::Iconic);
                ASSERT_TRUE(iconic) << label;
                if (start.Restore == TStart::ByTaskBar)
                    desktop->Activate(iconic->Id);
                else
                    EXPECT_EQ(program.StartAgain(DesktopEnvironment(*desktop)), 0) << label;
            }
            const auto window = MainWindowIn(*desktop, program, TDesktop::Normal,
                                             [&](const QRect &frame) { return frame.topLeft() == expected; });
            ASSERT_TRUE(window) << label;
            EXPECT_EQ(window->FrameRect().topLeft(), expected) << label;
            ASSERT_EQ(program.Terminate(), 0) << label << program.ErrorOutput().toStdString();
            EXPECT_EQ(program.StoredInt("Positie\\Links"), 101) << label;
            EXPECT_EQ(program.StoredInt("Positie\\Boven"), 80) << label;
            EXPECT_EQ(program.StoredInt("Positie\\Breedte"), start.Size.width()) << label;
            EXPECT_EQ(program.StoredInt("Positie\\Hoogte"), start.Size.height()) << label;
        }
    }
}

TEST_P(Placement, APlacementOutOfReachComesBackOntoTheScreen)
{
    const std::pair<int, QStringList> cases[] = {
        {96, {"Positie\\Links=" + Dword(100000), "Positie\\Boven=" + Dword(-5000)}},
        {96, {"Positie\\Links=" + Dword(-3000), "Positie\\Boven=" + Dword(300)}},
        {96, {"Positie\\Breedte=" + Dword(100000), "Positie\\Hoogte=" + Dword(100000)}},
        {96, {"Positie\\Links=" + Dword(-100), "Positie\\Boven=" + Dword(-100), "Positie\\Breedte=" + Dword(5000)}},
        // The title strip on the screen, the status bar under the task bar.
        {96, {"Positie\\Links=" + Dword(700), "Positie\\Boven=" + Dword(600)}},
        // Stored at 96 dpi, where it was wholly on the screen.
        {144, {"Positie\\Links=" + Dword(100), "Positie\\Boven=" + Dword(300), "Positie\\Breedte=" + Dword(204),
               "Positie\\Hoogte=" + Dword(223)}},
    };
    std::optional<TDesktop> desktop;
    int desktopDpi = 0;
    for (const auto &[dpi, values] : cases) {
        if (desktopDpi != dpi)
            desktop.emplace(desktopDpi = dpi, QSize(1024, 768), GetParam());
        ASSERT_TRUE(desktop->Ready());
        TProgram program(values);
        program.Start(DesktopEnvironment(*desktop));
        const auto window = MainWindowIn(*desktop, program, TDesktop::Normal,
                                         [&](const QRect &frame) { return desktop->WorkArea().contains(frame); });
        ASSERT_TRUE(window) << values.join(' ').toStdString();
        const QRect frame = window->FrameRect();
        ASSERT_TRUE(desktop->Ping(window->Id)); // the program has taken in where the window stands
        EXPECT_TRUE(desktop->WorkArea().contains(frame))
            << dpi << " " << values.join(' ').toStdString() << ": " << frame.x() << "," << frame.y() << " "
            << frame.width() << "x" << frame.height() << program.ErrorOutput().toStdString();
        ASSERT_EQ(program.Terminate(), 0);
        // What was shown is stored, in the program's pixels.
        EXPECT_EQ(program.StoredInt("Positie\\Links"), qRound(frame.left() * 96.0 / dpi));
        EXPECT_EQ(program.StoredInt("Positie\\Boven"), qRound(frame.top() * 96.0 / dpi));
        EXPECT_LE(program.StoredInt("Positie\\Breedte"), window->Client.width());
        EXPECT_LE(program.StoredInt("Positie\\Hoogte"), window->Client.height());
    }
}

TEST_P(Placement, AMinimisedStartIsAnIconicTaskBarEntryUntilRestored)
{
    TDesktop desktop(96, {1024, 768}, GetParam());
    ASSERT_TRUE(desktop.Ready());
    TProgram program({"Algemeen\\GeminimaliseerdOpstarten=" + Dword(1), "Positie\\Links=" + Dword(300),
                      "Positie\\Boven=" + Dword(200)});
    program.Start(DesktopEnvironment(desktop));
    const auto iconic = MainWindowIn(desktop, program, TDesktop::Iconic);
    ASSERT_TRUE(iconic);
    // And it stays so: the program is done with its start, the window manager with its requests.
    ASSERT_TRUE(desktop.Ping(iconic->Id) && desktop.WindowManagerRoundTrip());
    ASSERT_FALSE(desktop.Windows(program.Pid()).empty());
    EXPECT_EQ(desktop.Windows(program.Pid()).front().State, TDesktop::Iconic);

    desktop.Activate(desktop.Windows(program.Pid()).front().Id);
    const auto shown = MainWindowIn(desktop, program, TDesktop::Normal,
                                    [](const QRect &frame) { return frame.topLeft() == QPoint(300, 200); });
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->FrameRect().topLeft(), QPoint(300, 200));
    EXPECT_EQ(program.Terminate(), 0);
}

TEST_P(Placement, ATrayStartShowsOnlyTheTrayIconAndAnyDoubleClickOpens)
{
    TDesktop desktop(96, {1024, 768}, GetParam());
    ASSERT_TRUE(desktop.Ready());
    for (const int button : {1, 3}) {
        TProgram program({"Algemeen\\GeminimaliseerdOpstarten=" + Dword(1), "Algemeen\\SysteemLade=" + Dword(1)});
        program.Start(DesktopEnvironment(desktop));
        QRect icon;
        ASSERT_TRUE(WaitFor([&] { return !(icon = desktop.TrayIcon(program.Pid())).isEmpty(); })) << button;
        EXPECT_TRUE(desktop.Windows(program.Pid()).empty()) << button;

        desktop.Click(icon.center(), button, 2);
        EXPECT_TRUE(MainWindowIn(desktop, program, TDesktop::Normal)) << button;
        EXPECT_EQ(program.Terminate(), 0);
    }
}

} // namespace
