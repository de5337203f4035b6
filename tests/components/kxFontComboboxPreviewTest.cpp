// The font combo box's drawing and its preview window: pictures, used colour, the line under
// the used block, the sample text and where the preview stands on the screen.
#include "components/kxFontCombobox.h"
#include "platform/Colors.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <gmock/gmock.h>

namespace {

TkxFontFamily Outline(const QString &name)
{
    return {name, true, false, true, false};
}

std::vector<TkxFontFamily> Machine()
{
    return {Outline("DejaVu Sans"),
            Outline("DejaVu Serif"),
            Outline("Liberation Sans"),
            Outline("Liberation Serif"),
            TkxFontFamily{"Standard Symbols PS", true, false, false, true}, // the symbol set, not Latin
            TkxFontFamily{"Fixed", false, true, true, false}};
}

class FontPreviewTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetScreenMetricsForTests(TScreenMetrics{1000, 700, 96, {}});
        combo.SetFontSource(Machine);
        combo.move(100, 100);
        combo.show();
    }
    void TearDown() override
    {
        combo.hidePopup();
        QCoreApplication::processEvents();
        SetScreenMetricsForTests(std::nullopt);
    }

    int Row(const QString &entry) const { return combo.findText(entry); }

    void Highlight(const QString &entry)
    {
        combo.view()->setCurrentIndex(combo.model()->index(Row(entry), 0));
    }

    // One entry drawn on white, as the list draws it.
    QImage DrawnEntry(int index, bool inList) const
    {
        QImage image(200, combo.ItemHeight(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        combo.DrawEntry(p, image.rect(), index, inList);
        return image;
    }

    TkxFontComboBox combo;
};

QImage Picture(const QString &file)
{
    QImage image(200, 18, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QIcon(":/art/fonttypes/" + file).paint(&p, QRect(2, 1, 16, 16));
    return image.copy(2, 1, 16, 16);
}

int InkedPixels(const QImage &image)
{
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += qGray(image.pixel(x, y)) < 200;
    return inked;
}

// The darkest pixel of an entry's name (right of the picture, above the bottom row): the ink.
QColor Ink(const QImage &entry)
{
    QRgb ink = qRgb(255, 255, 255);
    for (int y = 0; y < entry.height() - 1; ++y)
        for (int x = 20; x < entry.width(); ++x)
            if (qGray(entry.pixel(x, y)) < qGray(ink))
                ink = entry.pixel(x, y);
    return QColor(ink);
}

// Glyph edges blend with the background, so the ink's tint is compared, not exact pixels.
bool Bluish(const QColor &ink)
{
    return ink.blue() > qMax(ink.red(), ink.green()) + 0x40;
}
bool Reddish(const QColor &ink)
{
    return ink.red() > qMax(ink.green(), ink.blue()) + 0x40;
}
bool Neutral(const QColor &ink)
{
    return qMax(ink.red(), ink.blue()) - qMin(ink.red(), ink.blue()) < 0x10;
}

TEST_F(FontPreviewTest, EachKindHasItsPictureAtTheLeft)
{
    combo.SetFontTypes({ftTrueTypeAnsi, ftTrueTypeSymbol, ftRaster});
    const struct {
        const char *Entry;
        const char *File;
    } cases[] = {
        {"DejaVu Sans=TA", "truetype-ansi.svg"},
        {"Standard Symbols PS=TS", "truetype-symbol.svg"},
        {"Fixed=R", "raster.svg"},
    };
    for (const auto &c : cases) {
        const QImage expected = Picture(c.File);
        EXPECT_GT(InkedPixels(expected), 30) << c.File; // the artwork is there
        EXPECT_EQ(DrawnEntry(Row(c.Entry), true).copy(2, 1, 16, 16), expected) << c.Entry;
    }
    EXPECT_NE(Picture("truetype-ansi.svg"), Picture("raster.svg"));
}

TEST_F(FontPreviewTest, WithoutPicturesTheNameMovesLeft)
{
    const int row = Row("DejaVu Sans=TA");
    const QImage with = DrawnEntry(row, true);
    combo.SetShowImagesFontType(false);
    const QImage without = DrawnEntry(row, true);
    EXPECT_TRUE(with.copy(0, 0, 4, 18).allGray());
    // the text now starts 16 pixels further left
    EXPECT_EQ(without.copy(4, 0, 100, 18), with.copy(20, 0, 100, 18));
}

TEST_F(FontPreviewTest, UsedEntriesTakeTheirColourOnlyWhileOpen)
{
    combo.SetFontName("Liberation Serif");
    ASSERT_EQ(combo.UsedCount(), 1);
    EXPECT_TRUE(Neutral(Ink(DrawnEntry(0, true))));
    combo.showPopup();
    EXPECT_TRUE(Bluish(Ink(DrawnEntry(0, true))));
    EXPECT_TRUE(Neutral(Ink(DrawnEntry(2, true))));
    EXPECT_TRUE(Bluish(Ink(DrawnEntry(0, false)))); // the closed box too, while open
    combo.SetColorUsed(0x0000FF);
    EXPECT_TRUE(Reddish(Ink(DrawnEntry(0, true))));
    combo.hidePopup();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Neutral(Ink(DrawnEntry(0, true))));
}

TEST_F(FontPreviewTest, LineRunsUnderTheLastUsedEntryWhileOpen)
{
    combo.SetFontName("Liberation Serif");
    combo.SetFontName("DejaVu Serif");
    ASSERT_EQ(combo.UsedCount(), 2);
    combo.showPopup();
    QAbstractItemView *view = combo.view();
    const QImage image = view->viewport()->grab().toImage();
    const auto blackRow = [&](int y) {
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0)
                return false;
        return true;
    };
    const QRect last = view->visualRect(combo.model()->index(1, 0));
    EXPECT_EQ(last.height(), 18);
    EXPECT_TRUE(blackRow(last.bottom()));
    EXPECT_FALSE(blackRow(last.bottom() - 1));
    EXPECT_FALSE(blackRow(view->visualRect(combo.model()->index(0, 0)).bottom()));
    EXPECT_FALSE(blackRow(view->visualRect(combo.model()->index(2, 0)).bottom()));
}

TEST_F(FontPreviewTest, PreviewShowsTheHighlightedFontSymbolFontsIncluded)
{
    combo.showPopup();
    ASSERT_TRUE(combo.Preview()->isVisible());
    Highlight("Standard Symbols PS=TS");
    const QFont sample = combo.Preview()->PanelPreview->font();
    EXPECT_EQ(sample.family(), "Standard Symbols PS");
    EXPECT_EQ(sample.pixelSize(), 24);
    EXPECT_TRUE(sample.bold());
    EXPECT_EQ(combo.Preview()->PanelFontName->text(), "Standard Symbols PS");
    EXPECT_EQ(combo.EntryFont(Row("Standard Symbols PS=TS"), true).family(), combo.font().family());
    Highlight("Liberation Sans=TA");
    EXPECT_EQ(combo.Preview()->PanelPreview->font().family(), "Liberation Sans");
    EXPECT_EQ(combo.Preview()->PanelFontName->text(), "Liberation Sans");
}

TEST_F(FontPreviewTest, BlankPreviewTextShowsTheDefaultSample)
{
    const struct {
        const char *Text;
        const char *Shown;
    } cases[] = {{"", "AaBbYyZz"}, {"   ", "AaBbYyZz"}, {"Hello", "Hello"}, {" x ", " x "}};
    for (const auto &c : cases) {
        combo.SetPreviewText(c.Text);
        EXPECT_EQ(combo.PreviewText(), c.Text);
        EXPECT_EQ(combo.Preview()->PanelPreview->text(), c.Shown) << '"' << c.Text << '"';
    }
}

TEST_F(FontPreviewTest, PreviewPropertiesShapeTheWindow)
{
    combo.SetPreviewWidth(300);
    combo.SetPreviewHeight(90);
    EXPECT_EQ(combo.Preview()->size(), QSize(300, 90));
    combo.SetShowPreviewFontName(false);
    EXPECT_TRUE(combo.Preview()->PanelFontName->isHidden());
    combo.SetShowPreviewFontName(true);
    EXPECT_FALSE(combo.Preview()->PanelFontName->isHidden());
}

TEST_F(FontPreviewTest, PreviewOpensBesideTheListWithoutTakingTheFocus)
{
    combo.activateWindow();
    QCoreApplication::processEvents();
    combo.showPopup();
    TFormExampleFont *preview = combo.Preview();
    ASSERT_TRUE(preview->isVisible());
    EXPECT_NE(QApplication::activeWindow(), preview);
    EXPECT_TRUE(preview->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(preview->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(preview->windowFlags() & Qt::WindowStaysOnTopHint);
    combo.hidePopup();
    QCoreApplication::processEvents();
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(FontPreviewTest, NoPreviewWhenSwitchedOff)
{
    combo.SetShowPreview(false);
    combo.showPopup();
    EXPECT_TRUE(combo.ListOpen());
    EXPECT_FALSE(combo.Preview()->isVisible());
}

TEST_F(FontPreviewTest, PreviewFlipsAtTheScreenEdges)
{
    // The screen is 1000 x 700; the control is 200 wide, the preview 240 x 60.
    const struct {
        QPoint Place;
        bool Left;
        bool Above;
    } cases[] = {
        {{100, 100}, false, false}, {{560, 100}, false, false}, // right edge exactly on the screen's
        {{561, 100}, true, false},  {{700, 100}, true, false},
        {{100, 650}, false, true},  {{700, 650}, true, true},
    };
    for (const auto &c : cases) {
        // place the control's client area (not its window frame) at the given screen point
        combo.move(c.Place - (combo.mapToGlobal(QPoint(0, 0)) - combo.pos()));
        ASSERT_EQ(combo.mapToGlobal(QPoint(0, 0)), c.Place);
        combo.showPopup();
        const QPoint topLeft = combo.mapToGlobal(QPoint(0, 0));
        const QPoint expected(c.Left ? topLeft.x() - 240 : topLeft.x() + combo.width(),
                              c.Above ? topLeft.y() - 60 : topLeft.y() + combo.height());
        EXPECT_EQ(combo.Preview()->pos(), expected) << "at " << c.Place.x() << ", " << c.Place.y();
        combo.hidePopup();
        QCoreApplication::processEvents();
    }
}

TEST_F(FontPreviewTest, ScreenshotOfEveryKind)
{
    combo.SetFontTypes({ftTrueTypeAnsi, ftTrueTypeSymbol, ftRaster});
    combo.SetFontName("Liberation Serif");
    combo.showPopup();
    Highlight("Fixed=R");
    EXPECT_EQ(combo.Preview()->PanelFontName->text(), "Fixed");
    testsupport::SaveScreenshot(combo.view()->window(), "FontCombo_EveryKind");
}

// The preview stands beside the open list, covering none of it, and both read.
TEST(FontPreview, TheOpenListAndThePreviewBesideItRead)
{
    TkxFontComboBox combo;
    combo.move(20, 20);
    combo.show();
    combo.SetFontName("Liberation Serif");
    combo.SetFontName("DejaVu Serif");
    combo.SetFontName("Liberation Sans");
    combo.showPopup();
    const int row = combo.findText("DejaVu Sans=TA");
    ASSERT_GE(row, 0);
    combo.view()->setCurrentIndex(combo.model()->index(row, 0));

    QWidget *list = combo.view()->window();
    QWidget *preview = combo.Preview();
    EXPECT_FALSE(preview->geometry().intersects(list->geometry()));
    for (QWidget *window : {list, preview})
        EXPECT_GE(testsupport::InkContrast(window->grab().toImage()), ReadableContrast);
    // A picture of the three windows as they stand on the screen.
    const QRect area =
        combo.geometry().united(list->geometry()).united(preview->geometry()).adjusted(-8, -8, 8, 8);
    QPixmap sheet(area.size());
    sheet.fill(QColor(0x3a, 0x6e, 0xa5));
    QPainter p(&sheet);
    for (QWidget *window : {static_cast<QWidget *>(&combo), list, preview})
        p.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    p.end();
    testsupport::SaveScreenshot(sheet.toImage(), "FontCombo_OpenWithPreview");
    combo.hidePopup();
    QCoreApplication::processEvents();
    testsupport::SaveScreenshot(&combo, "FontCombo_Closed");
    EXPECT_EQ(combo.FontName(), "Liberation Sans");
}

} // namespace
