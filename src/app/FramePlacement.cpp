#include "app/FramePlacement.h"

#include "dialogs/DialogHelpers.h"
#include "platform/Screen.h"
#include "platform/WindowSystem.h"

#include <QEvent>
#include <QRegion>
#include <QResizeEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

// Far beyond any desktop, and small enough that no sum of two of them overflows.
constexpr int CoordinateLimit = 1 << 24;
// The least of the title strip a user needs to see to take hold of the window.
constexpr int StripWidth = 64;
constexpr int StripHeight = 16;

int Limited(int value, int low)
{
    return std::clamp(value, low, CoordinateLimit);
}

// How far apart two rectangles are: 0 when they touch or overlap.
long long Distance(const QRect &a, const QRect &b)
{
    const long long dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const long long dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

bool HoldsTitleStrip(const QRect &area, const QRect &strip)
{
    const QRect part = area & strip;
    return part.width() >= std::min(StripWidth, strip.width()) && part.height() >= strip.height();
}

// Whether the frame lies wholly on the screens, maybe across two of them.
bool LiesOn(const QList<QRect> &areas, const QRect &frame)
{
    QRegion outside(frame);
    for (const QRect &area : areas)
        outside -= area;
    return outside.isEmpty();
}

// The frame of a client area of the given size with its top left asked for, where its user can
// reach it. Absurd numbers are first brought within what a desktop can hold.
QRect ReachableFrame(QPoint topLeft, QSize clientSize, const QMargins &frameMargins, const QList<QRect> &areas)
{
    const QSize client(Limited(clientSize.width(), 1), Limited(clientSize.height(), 1));
    QRect frame(QPoint(Limited(topLeft.x(), -CoordinateLimit), Limited(topLeft.y(), -CoordinateLimit)),
                client.grownBy(frameMargins));
    if (areas.isEmpty() || LiesOn(areas, frame))
        return frame;
    // A frame partly off the screens (a placement stored at another scale or on a larger screen)
    // moves wholly inside the area that holds its title strip, or else the nearest one.
    const QRect strip(frame.topLeft(), QSize(frame.width(), std::min(StripHeight, frame.height())));
    const auto reachable = std::find_if(areas.begin(), areas.end(),
                                        [&](const QRect &area) { return HoldsTitleStrip(area, strip); });
    const QRect area = reachable != areas.end()
                           ? *reachable
                           : *std::min_element(areas.begin(), areas.end(), [&](const QRect &a, const QRect &b) {
                                 return Distance(a, strip) < Distance(b, strip);
                             });
    frame.setSize(frame.size().boundedTo(area.size()));
    frame.moveTo(std::clamp(frame.left(), area.left(), area.right() + 1 - frame.width()),
                 std::clamp(frame.top(), area.top(), area.bottom() + 1 - frame.height()));
    return frame;
}

} // namespace

TFramePlace PlaceOnScreens(const TPlacement &stored, QSize leastSize, const QMargins &frameMargins,
                           const QList<QRect> &areas)
{
    const QPoint topLeft(stored.Left, stored.Top);
    const QSize userSize =
        ReachableFrame(topLeft, {stored.Width, stored.Height}, frameMargins, areas).size().shrunkBy(frameMargins);
    return {ReachableFrame(topLeft, userSize.expandedTo(leastSize), frameMargins, areas).topLeft(), userSize};
}

QSize UserSizeAfterResize(QSize userSize, QSize size, QSize leastSize)
{
    return {size.width() > leastSize.width() ? size.width() : std::min(userSize.width(), size.width()),
            size.height() > leastSize.height() ? size.height() : std::min(userSize.height(), size.height())};
}

TPlacement PlacementToStore(const TPlacement &stored, bool shown, QPoint framePosition, QSize userSize)
{
    if (!shown)
        return stored;
    return {framePosition.x(), framePosition.y(), userSize.width(), userSize.height()};
}

TFramePlacement::TFramePlacement(QWidget *window, const TPlacement &stored)
    : QObject(window), FWindow(window), FStored(stored)
{
    window->installEventFilter(this);
}

void TFramePlacement::PlaceAtStart()
{
    Place();
}

void TFramePlacement::Shown()
{
    FShown = true;
}

// The window is placed together with its size: where it may stand depends on its size.
void TFramePlacement::PlaceAtFirstShow()
{
    FRefitPending = true;
    Place();
}

// A size the layout took in later, from the event loop, would reach the window system while it
// still had the frame's position as the client's: the window would stand off by its frame.
void TFramePlacement::SettleFirstShow()
{
    SettleLayouts(FWindow);
    Place();
}

TPlacement TFramePlacement::ToStore() const
{
    return PlacementToStore(FStored, FShown, FramePosition(), FUserSize);
}

// Places the frame where the user can reach it, with the client area of the user's size (or
// larger while the content needs more).
void TFramePlacement::Place()
{
    const TFramePlace place = Placement();
    FUserSize = place.UserSize;
    FPlacedAt = place.FramePosition;
    FWindow->resize(FUserSize);
    if (QWindow *window = FWindow->windowHandle())
        window->setFramePosition(place.FramePosition);
    else
        FWindow->move(place.FramePosition);
}

TFramePlace TFramePlacement::Placement() const
{
    return PlaceOnScreens(FStored, FWindow->minimumSize(), FrameMargins(), AvailableScreenAreas());
}

// Where the frame stands as the window system has it: Qt's own idea may be stale or, at a
// fractional scale, rounded apart from where the frame was placed.
QPoint TFramePlacement::FramePosition() const
{
    return FramePositionNow(FWindow->windowHandle()).value_or(FWindow->pos());
}

QMargins TFramePlacement::FrameMargins() const
{
    QWindow *window = FWindow->windowHandle();
    if (!window)
        return {};
    return FrameMarginsNow(window).value_or(window->frameMargins());
}

// The frame is known only once the window manager has framed the window: the first placement
// is made again with it, so that a window brought onto the screen lies on it with its frame.
void TFramePlacement::RefitWhenFramed()
{
    if (!FRefitPending || !FWindow->isVisible() || FWindow->isMinimized() || FrameMargins().isNull())
        return;
    FRefitPending = false;
    const QPoint framePosition = FramePosition();
    if (framePosition != FPlacedAt)
        return; // moved since, by the user or the window manager: theirs
    if (Placement() != TFramePlace{framePosition, FUserSize})
        Place();
}

bool TFramePlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != FWindow)
        return false;
    // Checked after the window system's geometry change has been taken in, not within it.
    if (event->type() == QEvent::Move && FRefitPending)
        QMetaObject::invokeMethod(this, &TFramePlacement::RefitWhenFramed, Qt::QueuedConnection);
    if (event->type() == QEvent::Resize && FShown)
        FUserSize = UserSizeAfterResize(FUserSize, static_cast<QResizeEvent *>(event)->size(), FWindow->minimumSize());
    return false;
}
