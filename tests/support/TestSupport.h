#pragma once
#include "date/DateCore.h"
#include "platform/Shell.h"

#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QString>
#include <QTest>
#include <QWidget>
#include <ostream>
#include <vector>

namespace testsupport {

// Saves a picture to build/screenshots/<name>.png for a person to look at; a failed save fails
// the test.
QString SaveScreenshot(const QImage &picture, const QString &name);
inline QString SaveScreenshot(QWidget *widget, const QString &name)
{
    return SaveScreenshot(widget->grab().toImage(), name);
}

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

// Handles events until the condition holds (tests wait for events, never for a time), for at most
// the time limit; whether it came to hold.
template <typename Condition> bool WaitFor(Condition condition, int milliseconds = 30000)
{
    return QTest::qWaitFor(condition, milliseconds);
}

// Stand-ins for the program's seams, each set for its life and undone by its destructor, also
// when an assertion ends the test early.

// The settings: TScopedSettings (SettingsSupport.h).

// A clock that stands still at the given moment.
class TScopedClock {
public:
    explicit TScopedClock(TDateTime now) { Set(now); }
    ~TScopedClock() { SetClock(nullptr); }
    TScopedClock(const TScopedClock &) = delete;
    TScopedClock &operator=(const TScopedClock &) = delete;
    void Set(TDateTime now)
    {
        SetClock([now] { return now; });
    }
};

// One request to the shell: an address or document opened (no program), or a program started
// with its arguments, joined by '|', in a working folder.
struct TShellRequest {
    QString Program;
    QString Target;
    QString Folder;
    bool operator==(const TShellRequest &) const = default;
};
void PrintTo(const TShellRequest &request, std::ostream *out);

// A shell that opens nothing and keeps what it was asked to open.
class TRecordingShell final : public TShell {
public:
    TRecordingShell() { SetShell(this); }
    ~TRecordingShell() override { SetShell(nullptr); }
    TRecordingShell(const TRecordingShell &) = delete;
    TRecordingShell &operator=(const TRecordingShell &) = delete;
    bool OpenUrl(const QString &address) override;
    bool StartProgram(const QString &program, const QStringList &arguments, const QString &folder) override;

    std::vector<TShellRequest> Requests;
    QStringList Opened; // the address or program of each request
};

} // namespace testsupport
