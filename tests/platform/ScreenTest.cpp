#include "platform/Screen.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(Screen, ReachableFrame)
{
    constexpr int most = std::numeric_limits<int>::max();
    const QMargins frame(1, 22, 1, 5);
    const QList<QRect> areas = {QRect(0, 0, 1024, 744), QRect(1024, 0, 800, 600)};
    struct Case {
        QPoint topLeft;
        QSize client;
        QRect expected;
    };
    const Case cases[] = {
        {{410, 272}, {204, 223}, {410, 272, 206, 250}},      // on the screen: as asked
        {{900, 700}, {204, 223}, {818, 494, 206, 250}},      // partly off: wholly inside
        {{1000, 100}, {204, 223}, {1000, 100, 206, 250}},    // across two screens
        {{1700, 100}, {204, 223}, {1618, 100, 206, 250}},    // 124 pixels of the strip on the right one
        {{1000, 500}, {204, 223}, {1024, 350, 206, 250}},    // too little of the strip on the left one
        {{-143, 100}, {204, 223}, {0, 100, 206, 250}},       // partly off the left edge
        {{100000, -5000}, {204, 223}, {1618, 0, 206, 250}},  // nearest screen: the right one
        {{300, 730}, {204, 223}, {300, 494, 206, 250}},      // title strip below the available area
        {{0, 0}, {100000, 100000}, {0, 0, 1024, 744}},       // limited to the screen
        {{500, 100}, {2000, 200}, {0, 100, 1024, 227}},      // too wide: limited and moved inside
        {{most, most}, {most, most}, {1024, 0, 800, 600}},   // absurd numbers
        {{-most - 1, 0}, {0, -7}, {0, 0, 3, 28}},            // the least client area
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ReachableFrame(c.topLeft, c.client, frame, areas), c.expected)
            << c.topLeft.x() << "," << c.topLeft.y() << " " << c.client.width() << "x" << c.client.height();
    }
    // Without any screen known nothing is moved.
    EXPECT_EQ(ReachableFrame({-5000, 5}, {10, 10}, {}, {}), QRect(-5000, 5, 10, 10));
}

} // namespace
