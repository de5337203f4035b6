// Saving a control as JPEG: the written file is read back with libjpeg itself.

#include "platform/JpegSave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <csetjmp>
#include <cstdio>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <vector>

#include <jpeglib.h>

namespace {

// Left half pure red, right half pure blue, so swapped channels would show.
class TwoColours : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(0, 0, width() / 2, height(), Qt::red);
        painter.fillRect(width() / 2, 0, width() - width() / 2, height(), Qt::blue);
    }
};

struct Decoded {
    bool jfif = false;
    bool progressive = false;
    int components = 0;
    int width = 0;
    int height = 0;
    std::vector<int> lumaTable;
    std::vector<int> chromaTable;
    std::vector<unsigned char> rgb;
    QRgb Pixel(int x, int y) const
    {
        const unsigned char *p = &rgb[std::size_t(y * width + x) * 3];
        return qRgb(p[0], p[1], p[2]);
    }
};

struct DecodeErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<DecodeErrors *>(info->err)->jump, 1);
}

std::vector<int> TableOf(const JQUANT_TBL *table)
{
    return table ? std::vector<int>(table->quantval, table->quantval + DCTSIZE2) : std::vector<int>();
}

// Reads the file's header and pixels; false when libjpeg cannot read it.
bool Decode(const QByteArray &data, Decoded &out)
{
    jpeg_decompress_struct info;
    DecodeErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpOnError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()), data.size());
    jpeg_read_header(&info, TRUE);
    out.jfif = info.saw_JFIF_marker;
    out.progressive = jpeg_has_multiple_scans(&info);
    out.components = info.num_components;
    out.lumaTable = TableOf(info.quant_tbl_ptrs[0]);
    out.chromaTable = TableOf(info.quant_tbl_ptrs[1]);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = int(info.output_width);
    out.height = int(info.output_height);
    out.rgb.resize(std::size_t(out.width) * out.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out.rgb[std::size_t(info.output_scanline) * out.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

std::optional<Decoded> DecodeFile(const QString &path)
{
    QFile file(path);
    Decoded decoded;
    if (!file.open(QIODevice::ReadOnly) || !Decode(file.readAll(), decoded))
        return std::nullopt;
    return decoded;
}

// The start-of-frame marker kinds in the file: 0xC0 is baseline.
std::vector<int> FrameMarkers(const QByteArray &data)
{
    std::vector<int> frames;
    for (qsizetype at = 2; at + 4 <= data.size() && uchar(data[at]) == 0xFF;) {
        const int marker = uchar(data[at + 1]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            frames.push_back(marker);
        if (marker == 0xDA) // start of scan: the headers end here
            break;
        at += 2 + (uchar(data[at + 2]) << 8 | uchar(data[at + 3]));
    }
    return frames;
}

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ColourNear(QRgb actual, QRgb expected)
{
    return std::abs(qRed(actual) - qRed(expected)) <= 4 && std::abs(qGreen(actual) - qGreen(expected)) <= 4 &&
           std::abs(qBlue(actual) - qBlue(expected)) <= 4;
}

class JpegSaveTest : public testing::Test {
protected:
    JpegSaveTest() { control.resize(120, 80); }
    QString PathOf(const QString &name) const { return folder.filePath(name); }
    QTemporaryDir folder;
    TwoColours control;
};

TEST_F(JpegSaveTest, WritesABaselineJfifPictureOfTheControl)
{
    const qreal ratio = control.devicePixelRatioF(); // 2 under QT_SCALE_FACTOR=2
    std::cout << "device pixel ratio " << ratio << std::endl;
    const QString path = PathOf("month.jpg");
    ASSERT_TRUE(SaveControlAsJpeg(&control, path, 100));
    EXPECT_EQ(FrameMarkers(Contents(path)), std::vector<int>{0xC0});
    const std::optional<Decoded> picture = DecodeFile(path);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->jfif);
    EXPECT_FALSE(picture->progressive);
    EXPECT_EQ(picture->components, 3);
    EXPECT_EQ(picture->width, qRound(120 * ratio));
    EXPECT_EQ(picture->height, qRound(80 * ratio));
    EXPECT_EQ(picture->lumaTable, std::vector<int>(DCTSIZE2, 1));
    EXPECT_EQ(picture->chromaTable, std::vector<int>(DCTSIZE2, 1));
    EXPECT_TRUE(ColourNear(picture->Pixel(qRound(20 * ratio), qRound(40 * ratio)), qRgb(255, 0, 0)));
    EXPECT_TRUE(ColourNear(picture->Pixel(qRound(100 * ratio), qRound(40 * ratio)), qRgb(0, 0, 255)));
    EXPECT_TRUE(ColourNear(picture->Pixel(qRound(119 * ratio), qRound(79 * ratio)), qRgb(0, 0, 255)));
}

// A scaled screen: the test above, run again in a program that Qt scales by 2.
TEST(JpegSaveScaled, ASavedPictureHasTheScreensPixels)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", "2");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=JpegSaveTest.WritesABaselineJfifPictureOfTheControl"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    EXPECT_TRUE(output.contains("device pixel ratio 2")) << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
}

// A control that paints nothing shows its palette's background, whether the toolkit paints it or,
// for a control that asks for no background, the save does; never whatever memory held before.
TEST_F(JpegSaveTest, AControlThatPaintsNothingShowsItsBackground)
{
    for (const bool noBackground : {false, true}) {
        QWidget blank;
        blank.resize(64, 48);
        QPalette palette = blank.palette();
        palette.setColor(QPalette::Window, QColor(0, 160, 0));
        blank.setPalette(palette);
        blank.setAttribute(Qt::WA_NoSystemBackground, noBackground);
        const QString path = PathOf("blank.jpg");
        ASSERT_TRUE(SaveControlAsJpeg(&blank, path, 100));
        const std::optional<Decoded> picture = DecodeFile(path);
        ASSERT_TRUE(picture);
        EXPECT_TRUE(ColourNear(picture->Pixel(10, 10), qRgb(0, 160, 0))) << noBackground;
        EXPECT_TRUE(ColourNear(picture->Pixel(63, 47), qRgb(0, 160, 0))) << noBackground;
    }
}

TEST_F(JpegSaveTest, QualityShapesTheTables)
{
    const QString path = PathOf("low.jpg");
    ASSERT_TRUE(SaveControlAsJpeg(&control, path, 50));
    const std::optional<Decoded> picture = DecodeFile(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->lumaTable.at(0), 16); // the standard table at quality 50
}

TEST_F(JpegSaveTest, ABiggerControlGivesABiggerPicture)
{
    control.resize(500, 300);
    const QString path = PathOf("big.jpg");
    ASSERT_TRUE(SaveControlAsJpeg(&control, path, 100));
    const std::optional<Decoded> picture = DecodeFile(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 500);
    EXPECT_EQ(picture->height, 300);
}

TEST_F(JpegSaveTest, ReplacesAnExistingFileAndLeavesNothingElse)
{
    const QString path = PathOf("month.jpg");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older picture");
    old.close();
    ASSERT_TRUE(SaveControlAsJpeg(&control, path, 100));
    EXPECT_TRUE(DecodeFile(path));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"month.jpg"});
}

TEST_F(JpegSaveTest, FailuresAreQuiet)
{
    const QString aFile = PathOf("plain.txt");
    QFile plain(aFile);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    QWidget empty;
    empty.resize(0, 0);

    EXPECT_FALSE(SaveControlAsJpeg(&control, PathOf("missing/month.jpg"), 100));
    EXPECT_FALSE(SaveControlAsJpeg(&control, aFile + "/month.jpg", 100)); // the folder is a file
    EXPECT_FALSE(SaveControlAsJpeg(&control, folder.path(), 100));        // the name is a folder
    EXPECT_FALSE(SaveControlAsJpeg(&control, QString(), 100));
    EXPECT_FALSE(SaveControlAsJpeg(nullptr, PathOf("none.jpg"), 100));
    EXPECT_FALSE(SaveControlAsJpeg(&empty, PathOf("empty.jpg"), 100));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"plain.txt"});
}

TEST_F(JpegSaveTest, AFailedSaveKeepsTheExistingPicture)
{
    const QString path = PathOf("month.jpg");
    ASSERT_TRUE(SaveControlAsJpeg(&control, path, 100));
    const QByteArray before = Contents(path);
    control.resize(70000, 2); // wider than a JPEG picture can be: compression fails after it started
    EXPECT_FALSE(SaveControlAsJpeg(&control, path, 100));
    EXPECT_EQ(Contents(path), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"month.jpg"});
}

} // namespace
