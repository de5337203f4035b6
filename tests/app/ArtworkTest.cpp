// The program's artwork: every picture must load, and the application icon must stay
// recognisable from the smallest menu size to the largest desktop size.

#include "support/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cctype>
#include <gtest/gtest.h>
#include <string>

namespace {

const char *const kArtwork[] = {
    "orvani.svg",    "goto.svg",        "options.svg", "info.svg", "exit.svg",
    "stayontop.svg", "dateinfo.svg",    "today.svg",   "copy.svg", "savejpg.svg",
    "open.svg",      "about-strip.svg", "convert.svg", "ok.svg",   "ok-hot.svg",
};

QString ArtPath(const char *file)
{
    return QStringLiteral(":/art/app/") + QString::fromLatin1(file);
}

// Draws the picture into a transparent square, keeping its proportions.
QImage Render(QSvgRenderer &renderer, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSizeF picture = renderer.viewBoxF().size();
    picture.scale(size, size, Qt::KeepAspectRatio);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), picture));
    return image;
}

int OpaquePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}

class ArtworkFile : public testing::TestWithParam<const char *> {};

TEST_P(ArtworkFile, LoadsAsValidSvgWithAPicture)
{
    QSvgRenderer renderer(ArtPath(GetParam()));
    ASSERT_TRUE(renderer.isValid());
    EXPECT_FALSE(renderer.viewBoxF().isEmpty());
}

std::string TestName(const testing::TestParamInfo<const char *> &info)
{
    std::string name = info.param;
    for (char &c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(All, ArtworkFile, testing::ValuesIn(kArtwork), TestName);

TEST(Artwork, ApplicationIconCoversMostOfItsSquareAtEverySize)
{
    QSvgRenderer renderer(ArtPath("orvani.svg"));
    for (int size : {16, 256}) {
        const int covered = OpaquePixels(Render(renderer, size));
        EXPECT_GT(covered, size * size / 2) << size << " px";
    }
}

TEST(Artwork, ApplicationIconShowsTodayInRed)
{
    QSvgRenderer renderer(ArtPath("orvani.svg"));
    const QImage image = Render(renderer, 256);
    const QColor today = image.pixelColor(152, 168);
    EXPECT_GT(today.red(), 180);
    EXPECT_LT(today.green(), 90);
}

TEST(Artwork, ToolbarImagesAreDesignedForTwentyFourPixels)
{
    for (const char *file :
         {"goto.svg", "options.svg", "info.svg", "exit.svg", "stayontop.svg", "dateinfo.svg"}) {
        QSvgRenderer renderer(ArtPath(file));
        EXPECT_EQ(renderer.defaultSize(), QSize(24, 24)) << file;
    }
}

// Every picture shows something at menu, toolbar and large size; a sheet of them on the
// toolbar's silver is kept for a person to judge.
TEST(Artwork, EveryPictureShowsAtEverySize)
{
    const int sizes[] = {16, 24, 48};
    const int rowHeight = 56;
    QImage sheet(260, rowHeight * int(std::size(kArtwork)) + 8, QImage::Format_RGB32);
    sheet.fill(QColor(0xc0, 0xc0, 0xc0));
    QPainter painter(&sheet);
    int y = 4;
    for (const char *file : kArtwork) {
        QSvgRenderer renderer(ArtPath(file));
        int x = 8;
        for (int size : sizes) {
            const QImage picture = Render(renderer, size);
            EXPECT_GT(OpaquePixels(picture), 0) << file << " at " << size << " px";
            painter.drawImage(x, y + (48 - size) / 2, picture);
            x += size + 12;
        }
        painter.drawText(QRect(x, y, sheet.width() - x, 48), Qt::AlignVCenter, QString::fromLatin1(file));
        y += rowHeight;
    }
    painter.end();
    testsupport::SaveScreenshot(sheet, "artwork");
}

} // namespace
