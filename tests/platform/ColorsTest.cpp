#include "platform/Colors.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

TEST(Colors, PlainColorsHaveRedInTheLowestByte)
{
    struct Case {
        TColor value;
        QColor expected;
    };
    const Case cases[] = {
        {0x000000, QColor(0, 0, 0)},        {0x0000FF, QColor(255, 0, 0)},
        {0x00FF00, QColor(0, 255, 0)},      {0xFF0000, QColor(0, 0, 255)},
        {0xF5F2F1, QColor(0xF1, 0xF2, 0xF5)}, {clNavy, QColor(0, 0, 128)},
        {clPurple, QColor(128, 0, 128)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ToQColor(c.value), c.expected) << std::hex << c.value;
        EXPECT_EQ(FromQColor(c.expected), c.value) << std::hex << c.value;
    }
}

TEST(Colors, SystemColorsFollowThePalette)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::ToolTipBase, QColor(4, 5, 6));
    palette.setColor(QPalette::Active, QPalette::Base, QColor(7, 8, 9));
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(palette);

    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_FALSE(IsSystemColor(0x00FFFFFF));
    EXPECT_EQ(ToQColor(clBtnFace), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(clInfoBk), QColor(4, 5, 6));
    EXPECT_EQ(ToQColor(clWindow), QColor(7, 8, 9));
    EXPECT_EQ(ToQColor(clSystemColor | 0xEE), QColor(Qt::black)); // unknown index

    QApplication::setPalette(saved);
}
