#include "dialogs/OptiesPictures.h"

#include "support/TestSupport.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace optiespictures;

struct TNamedPicture {
    const char *Name;
    QPixmap Picture;
};

std::vector<TNamedPicture> AllPictures(qreal scale)
{
    return {
        {"view", ViewPicture(false, false, scale, 1)},
        {"view today", ViewPicture(false, true, scale, 1)},
        {"view weeks", ViewPicture(true, false, scale, 1)},
        {"view both", ViewPicture(true, true, scale, 1)},
        {"toolbar grey caption", ToolbarPicture(true, true, scale, 1)},
        {"toolbar colour caption", ToolbarPicture(false, true, scale, 1)},
        {"toolbar grey", ToolbarPicture(true, false, scale, 1)},
        {"toolbar colour", ToolbarPicture(false, false, scale, 1)},
        {"first month", PositionPicture(false, scale, 1)},
        {"last month", PositionPicture(true, scale, 1)},
        {"language", ArtPicture(":/art/options/language.svg", PictureSize, scale, 1)},
        {"startup", ArtPicture(":/art/options/startup.svg", PictureSize, scale, 1)},
        {"font", ArtPicture(":/art/options/font.svg", PictureSize, scale, 1)},
        {"colours", ArtPicture(":/art/options/colors.svg", PictureSize, scale, 1)},
        {"date format", ArtPicture(":/art/options/dateformat.svg", PictureSize, scale, 1)},
        {"task bar", ArtPicture(":/art/options/taskbar.svg", TaskBarSize, scale, 1)},
        {"arrow", ArtPicture(":/art/options/arrow.svg", ArrowSize, scale, 1)},
        {"example", ArtPicture(":/art/options/example.svg", QSize(16, 16), scale, 1)},
    };
}

bool HasInk(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                return true;
            }
        }
    }
    return false;
}

// Every picture has something on it and takes the screen's scale; a sheet of them all at three
// times the size is kept for a person to look at.
TEST(OptiesPicturesTest, EveryPictureIsDrawnAtTheScreensScale)
{
    const std::vector<TNamedPicture> pictures = AllPictures(3);
    QImage sheet(6 * 160, 3 * 130, QImage::Format_ARGB32);
    sheet.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const TNamedPicture &picture = pictures[i];
        SCOPED_TRACE(picture.Name);
        EXPECT_TRUE(HasInk(picture.Picture.toImage()));
        painter.drawPixmap(static_cast<int>(i % 6) * 160 + 8, static_cast<int>(i / 6) * 130 + 8,
                           picture.Picture);
    }
    painter.end();
    EXPECT_EQ(pictures[0].Picture.size(), QSize(96, 96));
    EXPECT_EQ(pictures[15].Picture.size(), QSize(144, 120));
    QLabel view;
    view.setPixmap(QPixmap::fromImage(sheet));
    view.resize(sheet.size());
    testsupport::SaveScreenshot(&view, "opties-pictures");
}

// Each state of a preview has its own picture.
TEST(OptiesPicturesTest, PreviewStatesLookDifferent)
{
    const std::vector<TNamedPicture> pictures = AllPictures(1);
    for (std::size_t a = 0; a < 10; ++a) {
        for (std::size_t b = a + 1; b < 10; ++b) {
            EXPECT_NE(pictures[a].Picture.toImage(), pictures[b].Picture.toImage())
                << pictures[a].Name << " / " << pictures[b].Name;
        }
    }
}

TEST(OptiesPicturesTest, HighDensityScreensGetSharperPicturesOfTheSameSize)
{
    const QPixmap sharp = ViewPicture(true, true, 1, 2);
    EXPECT_EQ(sharp.size(), QSize(64, 64));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(32, 32));
}

} // namespace
