#include "platform/Colors.h"
#include "platform/ReadableStyle.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <link.h>
#include <memory>
#include <vector>

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

TEST(Colors, ContrastIsMeasuredAsWcagDoesAndOwnColoursAreShadedUntilTheyRead)
{
    struct Case {
        QColor color, background;
        double contrast; // of the colour as given
    };
    const Case cases[] = {
        {Qt::black, Qt::white, 21.0},
        {QColor(0, 0, 128), QColor(0xF1, 0xF2, 0xF5), 14.30},  // navy titles on the default background
        {QColor(0, 0, 128), QColor(0x2b, 0x2d, 0x31), 1.16},   // the same on a dark window
        {QColor(204, 32, 32), QColor(0x1e, 0x21, 0x27), 2.92}, // the today circle on a dark month
        {QColor(0x77, 0x77, 0x77), Qt::white, 4.48},
    };
    for (const Case &c : cases) {
        EXPECT_NEAR(ContrastRatio(c.color, c.background), c.contrast, 0.01) << c.color.name().toStdString();
        const QColor shown = ReadableOn(c.color, c.background);
        EXPECT_GE(ContrastRatio(shown, c.background), ReadableContrast) << c.color.name().toStdString();
        if (c.contrast >= ReadableContrast)
            EXPECT_EQ(shown, c.color);
        else // a shade of the same colour, lighter on dark and darker on light
            EXPECT_EQ(shown.lightness() > c.color.lightness(), c.background.lightness() < 128);
    }
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2d, 0x31));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    EXPECT_TRUE(IsDarkPalette(dark));
    EXPECT_FALSE(IsDarkPalette(QApplication::style()->standardPalette()));
}

// Fields and radio buttons show their edges under every scheme: under a dark one an outline that
// stands out from the window (3:1, as controls need); a light one is drawn as the style draws it.
TEST(Colors, ControlEdgesStandOutUnderEveryScheme)
{
    const std::function<std::unique_ptr<QWidget>()> makers[] = {
        [] { return std::make_unique<QRadioButton>(); },
        [] { return std::make_unique<QLineEdit>(); },
    };
    TReadableStyle readable("Fusion");
    const std::unique_ptr<QStyle> plain(QStyleFactory::create("Fusion"));
    using namespace testsupport;
    for (const TTheme theme : Themes) {
        const TScopedTheme scope(theme);
        const QColor window = QApplication::palette().color(QPalette::Window);
        for (const auto &make : makers) {
            const auto widget = make(), original = make();
            widget->setStyle(&readable);
            original->setStyle(plain.get());
            widget->resize(60, 30);
            original->resize(60, 30);
            const QImage shown = widget->grab().toImage(), drawn = original->grab().toImage();
            SCOPED_TRACE(testing::Message() << ThemeName(theme) << " " << widget->metaObject()->className());
            if (!IsDarkPalette(QApplication::palette())) {
                EXPECT_EQ(shown, drawn);
                continue;
            }
            double edge = 1;
            for (int x = 0; x < shown.width(); ++x)
                edge = std::max(edge, ContrastRatio(shown.pixelColor(x, shown.height() / 2), window));
            EXPECT_GE(edge, 3.0);
        }
    }
}

// Every toolbar makes an overflow button; its icon is the style's own, read only when drawn, so a
// toolbar costs no image format plugins (and their libraries) at start-up.
TEST(Colors, TheToolbarOverflowIconIsTheStylesAndReadWhenDrawn)
{
    const auto formatPluginsLoaded = [] {
        int count = 0;
        dl_iterate_phdr(
            [](dl_phdr_info *info, size_t, void *found) {
                *static_cast<int *>(found) += std::strstr(info->dlpi_name, "/imageformats/") != nullptr;
                return 0;
            },
            &count);
        return count;
    };
    ASSERT_EQ(formatPluginsLoaded(), 0); // else nothing below could show a plugin loaded too early
    TReadableStyle readable("Fusion");
    const std::unique_ptr<QStyle> plain(QStyleFactory::create("Fusion"));
    const QStyle::StandardPixmap icons[] = {QStyle::SP_ToolBarHorizontalExtensionButton,
                                            QStyle::SP_ToolBarVerticalExtensionButton};
    std::vector<QIcon> made;
    for (const auto icon : icons)
        made.push_back(readable.standardIcon(icon));
    EXPECT_EQ(formatPluginsLoaded(), 0);
    for (std::size_t i = 0; i < made.size(); ++i) {
        const QImage drawn = plain->standardIcon(icons[i]).pixmap(16).toImage();
        EXPECT_EQ(made[i].pixmap(16).toImage(), drawn) << icons[i];
        QIcon copy = made[i]; // changed, so it draws from a copy of the engine, read already
        copy.addPixmap(QPixmap(8, 8));
        EXPECT_EQ(copy.pixmap(16).toImage(), drawn) << icons[i];
    }
}
