#include "app/FramePlacement.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr int most = std::numeric_limits<int>::max();
const QMargins frame(1, 22, 1, 5);
const QList<QRect> oneScreen = {QRect(0, 0, 1024, 744)};
const QList<QRect> twoScreens = {QRect(0, 0, 1024, 744), QRect(1024, 0, 800, 600)};

TEST(FramePlacement, TheFrameStandsWhereItsUserCanReachIt)
{
    struct Case {
        TPlacement stored;
        QMargins margins;
        QList<QRect> areas;
        QSize least;
        TFramePlace expected;
    };
    const Case cases[] = {
        {{410, 272, 204, 223}, frame, twoScreens, {1, 1}, {{410, 272}, {204, 223}}},     // on the screen: as asked
        {{900, 700, 204, 223}, frame, twoScreens, {1, 1}, {{818, 494}, {204, 223}}},     // off the bottom right
        {{-143, 100, 204, 223}, frame, twoScreens, {1, 1}, {{0, 100}, {204, 223}}},      // off the left edge
        {{300, -50, 204, 223}, frame, twoScreens, {1, 1}, {{300, 0}, {204, 223}}},       // off the top edge
        {{300, 730, 204, 223}, frame, twoScreens, {1, 1}, {{300, 494}, {204, 223}}},     // title strip below the area
        {{1700, 100, 204, 223}, frame, oneScreen, {1, 1}, {{818, 100}, {204, 223}}},     // off the right edge
        {{900, 700, 204, 223}, {}, oneScreen, {1, 1}, {{820, 521}, {204, 223}}},         // not framed yet
        {{1000, 100, 204, 223}, frame, twoScreens, {1, 1}, {{1000, 100}, {204, 223}}},   // across two screens
        {{1700, 100, 204, 223}, frame, twoScreens, {1, 1}, {{1618, 100}, {204, 223}}},   // strip on the right one
        {{1000, 500, 204, 223}, frame, twoScreens, {1, 1}, {{1024, 350}, {204, 223}}},   // too little strip on the left
        {{100000, -5000, 204, 223}, frame, twoScreens, {1, 1}, {{1618, 0}, {204, 223}}}, // the nearest screen
        {{0, 0, 100000, 100000}, frame, twoScreens, {1, 1}, {{0, 0}, {1022, 717}}},      // screen smaller than the frame
        {{500, 100, 2000, 200}, frame, oneScreen, {1, 1}, {{0, 100}, {1022, 200}}},     // too wide: limited, moved inside
        {{700, 400, 204, 223}, frame, twoScreens, {400, 300}, {{622, 400}, {204, 223}}}, // stored at a smaller scale
        {{most, most, most, most}, frame, twoScreens, {1, 1}, {{1024, 0}, {798, 573}}},  // absurd numbers
        {{-most - 1, 0, 0, -7}, frame, twoScreens, {1, 1}, {{0, 0}, {1, 1}}},            // the least client area
        {{-5000, 5, 10, 10}, {}, {}, {1, 1}, {{-5000, 5}, {10, 10}}},                    // no screen known: as asked
    };
    for (const Case &c : cases) {
        const TPlacement &s = c.stored;
        EXPECT_EQ(PlaceOnScreens(s, c.least, c.margins, c.areas), c.expected)
            << s.Left << "," << s.Top << " " << s.Width << "x" << s.Height << " least " << c.least.width() << "x"
            << c.least.height();
    }
}

// Beyond what the content needs the window's size is the user's; at that need the user's own
// size may be smaller, and is kept.
TEST(FramePlacement, TheUsersSizeIsWhatTheWindowHasBeyondItsContentsNeed)
{
    const struct {
        QSize user, size, least, expected;
    } cases[] = {
        {{204, 223}, {300, 260}, {180, 200}, {300, 260}},
        {{204, 223}, {420, 260}, {420, 200}, {204, 260}},
        {{500, 223}, {420, 200}, {420, 200}, {420, 200}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UserSizeAfterResize(c.user, c.size, c.least), c.expected) << c.size.width() << "x" << c.size.height();
}

TEST(FramePlacement, AtCloseAWindowNeverShownKeepsItsStoredPlacement)
{
    const TPlacement stored{11, 22, 307, 324};
    EXPECT_EQ(PlacementToStore(stored, true, {410, 272}, {204, 223}), (TPlacement{410, 272, 204, 223}));
    EXPECT_EQ(PlacementToStore(stored, false, {410, 272}, {204, 223}), stored);
}

} // namespace
