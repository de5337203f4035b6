// Icons that read their SVG file on first use draw exactly as Qt's own SVG icons do.

#include "platform/SvgIcon.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

const char *const Files[] = {":/art/app/goto.svg", ":/art/app/orvani.svg", ":/art/app/about-strip.svg",
                             ":/art/options/example.svg", ":/art/fonttypes/truetype-ansi.svg"};

QImage Painted(const QIcon &icon, QSize size, QIcon::Mode mode)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(QPoint(), size), Qt::AlignCenter, mode);
    return image;
}

TEST(SvgIcon, DrawsAsQtsOwnSvgIconInEveryModeStateAndSize)
{
    for (const char *file : Files) {
        const QIcon ours = SvgIcon(file);
        const QIcon qts(file);
        ASSERT_FALSE(ours.isNull()) << file;
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
            for (const QIcon::State state : {QIcon::Off, QIcon::On}) {
                for (const QSize size : {QSize(16, 16), QSize(24, 24), QSize(48, 48), QSize(48, 20)}) {
                    SCOPED_TRACE(testing::Message() << file << " mode " << mode << " state " << state << " "
                                                    << size.width() << "x" << size.height());
                    EXPECT_EQ(ours.actualSize(size, mode, state), qts.actualSize(size, mode, state));
                    EXPECT_EQ(ours.pixmap(size, mode, state).toImage(),
                              qts.pixmap(size, mode, state).toImage());
                }
            }
            EXPECT_EQ(Painted(ours, QSize(24, 24), mode), Painted(qts, QSize(24, 24), mode)) << file;
        }
    }
}

// A second request of a size comes from the cache, unchanged; copies of the icon share it.
TEST(SvgIcon, RepeatedRequestsAndCopiesGiveTheSamePicture)
{
    const QIcon icon = SvgIcon(":/art/app/info.svg");
    const QImage first = icon.pixmap(24).toImage();
    const QIcon copy = icon;
    EXPECT_EQ(icon.pixmap(24).toImage(), first);
    EXPECT_EQ(copy.pixmap(24).toImage(), first);
    QIcon detached = icon;
    detached.addPixmap(QPixmap(8, 8), QIcon::Active); // forces the engine to be cloned
    EXPECT_EQ(detached.pixmap(24).toImage(), first);
}

TEST(SvgIcon, MissingFilesGiveNullIconsAndBrokenOnesDrawNothing)
{
    EXPECT_TRUE(SvgIcon(":/art/app/no-such-picture.svg").isNull());
    EXPECT_TRUE(SvgIcon("").isNull());
    // A file that is there but holds no SVG draws nothing.
    QTemporaryFile file(QDir::tempPath() + "/XXXXXX.svg");
    ASSERT_TRUE(file.open());
    file.write("not a picture");
    file.close();
    const QIcon broken = SvgIcon(file.fileName());
    EXPECT_TRUE(broken.pixmap(16).isNull());
    EXPECT_EQ(broken.actualSize(QSize(16, 16)), QSize());
}

} // namespace
