#include "dialogs/About.h"

#include "components/kxFeedway.h"
#include "components/kxLinkLabel.h"
#include "components/kxPointer.h"
#include "components/kxStandard.h"
#include "dialogs/ToolDialogTestSupport.h"
#include "platform/Screen.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace dialogtest;

// A file written for one test and removed after it.
class TScratchFile {
public:
    explicit TScratchFile(const QString &path) : FPath(path)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        FMade = !file.exists() && file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0;
    }
    ~TScratchFile()
    {
        if (FMade) {
            QFile::remove(FPath);
        }
    }
    bool Made() const { return FMade; }

private:
    QString FPath;
    bool FMade = false;
};

QString BesideProgram(const QString &name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

// Every HTTP request goes to a closed port on this machine, so it fails at once and nothing
// leaves 127.0.0.1.
class TNoNetwork {
public:
    TNoNetwork() : FSaved(QNetworkProxy::applicationProxy())
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 closedPort = probe.serverPort();
        probe.close();
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, "127.0.0.1", closedPort));
    }
    ~TNoNetwork() { QNetworkProxy::setApplicationProxy(FSaved); }

private:
    QNetworkProxy FSaved;
};

class AboutTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetScreenMetricsForTests(TScreenMetrics{1280, 800, 96});
        // The installed data folders are the test's own, empty ones.
        savedDataHome = qgetenv("XDG_DATA_HOME");
        savedDataDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        qputenv("XDG_DATA_DIRS", dataDirs.path().toUtf8());
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", savedDataHome);
        qputenv("XDG_DATA_DIRS", savedDataDirs);
        SetScreenMetricsForTests(std::nullopt);
    }

    void Open()
    {
        box.show();
        box.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    }

    testsupport::TRecordingShell shell;
    QTemporaryDir dataHome;
    QTemporaryDir dataDirs;
    QByteArray savedDataHome;
    QByteArray savedDataDirs;
    TAboutBox box;
};

TEST_F(AboutTest, MoreInfoOpensTheReadMeBesideTheProgramInTheInterfaceLanguage)
{
    const TScratchFile dutch(BesideProgram("Orvani_Leesmij.htm"));
    const TScratchFile english(BesideProgram("Orvani_Readme.htm"));
    ASSERT_TRUE(dutch.Made() && english.Made());
    const std::pair<int, const char *> cases[] = {
        {0, "Orvani_Leesmij.htm"}, {1, "Orvani_Readme.htm"}, {2, "Orvani_Readme.htm"},
        {3, "Orvani_Readme.htm"},  {4, "Orvani_Readme.htm"},
    };
    Open();
    for (const auto &[taal, page] : cases) {
        SCOPED_TRACE(taal);
        box.SetLanguage(LanguageOf(taal));
        shell.Opened.clear();
        QTest::mouseClick(box.BitBtn_Extra, Qt::LeftButton);
        EXPECT_EQ(shell.Opened, QStringList{BesideProgram(page)});
    }
    EXPECT_TRUE(box.isVisible());
}

TEST_F(AboutTest, MoreInfoFallsBackToTheInstalledDataFolder)
{
    const QString installed = dataDirs.filePath("orvani/Orvani_Readme.htm");
    const TScratchFile page(installed);
    ASSERT_TRUE(page.Made());
    box.SetLanguage(lnEnglish);
    Open();
    QTest::mouseClick(box.BitBtn_Extra, Qt::LeftButton);
    EXPECT_EQ(shell.Opened, QStringList{installed});

    // The copy beside the program comes first.
    const TScratchFile beside(BesideProgram("Orvani_Readme.htm"));
    ASSERT_TRUE(beside.Made());
    shell.Opened.clear();
    QTest::mouseClick(box.BitBtn_Extra, Qt::LeftButton);
    EXPECT_EQ(shell.Opened, QStringList{BesideProgram("Orvani_Readme.htm")});
}

TEST_F(AboutTest, AMissingReadMeOpensNothingAndSaysNothing)
{
    ASSERT_FALSE(QFileInfo::exists(BesideProgram("Orvani_Leesmij.htm")));
    ASSERT_FALSE(QFileInfo::exists(BesideProgram("Orvani_Readme.htm")));
    Open();
    for (const int taal : {0, 1}) {
        box.SetLanguage(LanguageOf(taal));
        QTest::mouseClick(box.BitBtn_Extra, Qt::LeftButton);
    }
    EXPECT_TRUE(shell.Requests.empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(box.isVisible());
}

TEST_F(AboutTest, TheLinksOpenMailAndTheHomePage)
{
    Open();
    EXPECT_EQ(box.ntLinkLabelEmail->text(), "info@example.org");
    EXPECT_EQ(box.ntLinkLabelWeb->text(), "http://www.example.org/");
    QTest::mouseClick(box.ntLinkLabelEmail, Qt::LeftButton);
    QTest::mouseClick(box.ntLinkLabelWeb, Qt::LeftButton);
    EXPECT_EQ(shell.Opened, (QStringList{"mailto:info@example.org", "http://www.example.org/"}));
    // A visited link keeps the standard look.
    for (const TkxLinkLabel *link : {box.ntLinkLabelEmail, box.ntLinkLabelWeb}) {
        EXPECT_TRUE(link->Used());
        EXPECT_EQ(link->palette().color(QPalette::WindowText), ToQColor(clWindowText));
        EXPECT_FALSE(link->font().underline());
    }
}

TEST_F(AboutTest, LinksAndButtonsHighlightUnderThePointer)
{
    Open();
    kxpointer::Enter(*box.ntLinkLabelWeb);
    EXPECT_TRUE(box.ntLinkLabelWeb->font().underline());
    EXPECT_EQ(box.ntLinkLabelWeb->palette().color(QPalette::WindowText), ToQColor(clBlue));
    EXPECT_EQ(box.ntLinkLabelWeb->cursor().shape(), Qt::PointingHandCursor);
    kxpointer::Leave(*box.ntLinkLabelWeb);
    EXPECT_FALSE(box.ntLinkLabelWeb->font().underline());

    for (TkxBitBtn *button : {box.BitBtn_Extra, box.BitBtn_OK}) {
        SCOPED_TRACE(button->objectName().toStdString());
        kxpointer::Enter(*button);
        EXPECT_TRUE(button->font().underline());
        EXPECT_EQ(button->palette().color(QPalette::ButtonText), ToQColor(clNavy));
        EXPECT_EQ(button->font().pointSizeF(), box.font().pointSizeF());
        kxpointer::Leave(*button);
        EXPECT_FALSE(button->font().underline());
    }
}

TEST_F(AboutTest, TheNewsButtonIsHiddenAndDisabled)
{
    Open();
    EXPECT_FALSE(box.BitBtn_Feedway->isVisible());
    EXPECT_FALSE(box.BitBtn_Feedway->isEnabled());
    EXPECT_FALSE(box.BitBtn_Feedway->Glyph().isNull());
    EXPECT_FALSE(box.kxFeedway1->NetDialog()->isVisible());
}

// The buttons' pictures, drawn at the first showing, are there at every showing.
TEST_F(AboutTest, TheButtonsShowTheirPicturesFromTheFirstShowingOn)
{
    for (int showing = 0; showing < 2; ++showing) {
        Open();
        for (TkxBitBtn *button : {box.BitBtn_Extra, box.BitBtn_OK}) {
            EXPECT_FALSE(button->Glyph().isNull()) << button->objectName().toStdString();
            EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
        }
        box.close();
    }
}

TEST_F(AboutTest, TheNewsButtonOpensTheNewsListInTheInterfaceLanguage)
{
    const TNoNetwork noNetwork;
    struct Case {
        int taal;
        TkxLanguage language;
        const char *title;
        const char *url;
    };
    const char *dutchTitle = "Laatste nieuws KX - http://www.example.org/";
    const char *dutchList = "http://www.example.org/orvani/Feedway_Ned.inf";
    const char *englishTitle = "Latest news KX - http://www.example.org/";
    const char *englishList = "http://www.example.org/orvani/Feedway_Eng.inf";
    const Case cases[] = {
        {0, lgNederlands, dutchTitle, dutchList},  {1, lgEnglish, englishTitle, englishList},
        {2, lgEnglish, englishTitle, englishList}, {3, lgEnglish, englishTitle, englishList},
        {4, lgEnglish, englishTitle, englishList},
    };
    Open();
    TkxNetDialog *window = box.kxFeedway1->NetDialog();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.taal);
        box.SetLanguage(LanguageOf(c.taal));
        QSignalSpy done(window, &TkxNetDialog::RefreshDone);
        box.BitBtn_FeedwayClick();
        EXPECT_EQ(box.kxFeedway1->Language(), c.language);
        EXPECT_EQ(box.kxFeedway1->Title(), c.title);
        EXPECT_EQ(box.kxFeedway1->URL(), c.url);
        EXPECT_TRUE(box.kxFeedway1->Information().isEmpty());
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle(), c.title);
        EXPECT_EQ(window->Address(), c.url);
        ASSERT_TRUE(!done.isEmpty() || done.wait(10000));
        // The failed fetch is told in the news window's own language.
        EXPECT_EQ(window->StatusText(), window->StatusMessage(1) + window->StatusMessage(4));
    }
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(shell.Opened, QStringList());
}

TEST_F(AboutTest, OkHasTheFocusAndEnterOrSpaceClose)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        SCOPED_TRACE(QTest::toString(key));
        Open();
        EXPECT_EQ(QApplication::focusWidget(), box.BitBtn_OK);
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(box.result(), QDialog::Accepted);
    }
}

TEST_F(AboutTest, EscapeLeavesTheBoxOpen)
{
    Open();
    QTest::keyClick(box.BitBtn_OK, Qt::Key_Escape);
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    QTest::mouseClick(box.BitBtn_OK, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
}

TEST_F(AboutTest, TabGoesInReadingOrderFromOk)
{
    Open();
    // Round to the two links, which the keyboard reaches too, then the buttons.
    for (QWidget *next : std::initializer_list<QWidget *>{box.ntLinkLabelEmail, box.ntLinkLabelWeb, box.BitBtn_Extra,
                                                          box.BitBtn_OK}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(AboutTest, AToolWindowWithoutTitleBarButtonsCentredOnTheScreen)
{
    ExpectDutchDesignTexts(&box);
    Open();
    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_GE(box.width(), 426);
    EXPECT_GE(box.height(), 229);
    const QRect frame = box.frameGeometry();
    EXPECT_EQ(frame.topLeft(), QPoint((1280 - frame.width()) / 2, (800 - frame.height()) / 2));
    EXPECT_EQ(box.palette().color(QPalette::Window), ToQColor(clBtnFace));
    EXPECT_EQ(box.ntLabel_Naam->text(), "KX");
    EXPECT_EQ(box.Label1->text(), "Orvani");
    EXPECT_EQ(box.BitBtn_OK->text(), "&OK");
    for (const TLanguage language : {lnEnglish, lnDutch}) {
        ApplyLanguage(&box, language);
        EXPECT_EQ(box.windowTitle(), "Info");
    }
}

// Pixels of exactly this colour within the rectangle: their bounding box.
QRect ColourBox(const QImage &image, const QRect &area, QColor colour)
{
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                found |= QRect(x, y, 1, 1);
            }
        }
    }
    return found;
}

TEST_F(AboutTest, TheTitleHasAWhiteShadowTwoPixelsDownAndRight)
{
    Open();
    const QImage picture = box.grab().toImage();
    const QRect area = box.Label_Title->geometry();
    const QRect title = ColourBox(picture, area, ToQColor(clNavy));
    const QRect shadow = ColourBox(picture, area, ToQColor(clWhite));
    ASSERT_FALSE(title.isEmpty());
    ASSERT_FALSE(shadow.isEmpty());
    EXPECT_EQ(shadow.right() - title.right(), 2);
    EXPECT_EQ(shadow.bottom() - title.bottom(), 2);
    EXPECT_GE(QFontInfo(box.Label_Title->font()).pixelSize(), 28);
    EXPECT_TRUE(box.Label_Title->font().bold());
}

// Whether the two horizontal centres lie within a pixel of each other.
bool SameCentre(const QRect &a, const QRect &b)
{
    return std::abs(a.center().x() - b.center().x()) <= 1;
}

// The arrangement that any language and font size keeps: the strip along the whole left edge,
// then from top to bottom title, version, contact block and buttons, all centred on one line.
void ExpectArrangement(const TAboutBox &box)
{
    // The strip artwork (100 x 240, starting 5 pixels above the window) covers it unstretched.
    const QRect strip = box.Image1->geometry();
    EXPECT_EQ(strip.topLeft(), QPoint(0, 0));
    EXPECT_EQ(strip.height(), box.height());
    EXPECT_GE(strip.width(), 100);
    EXPECT_GE(strip.width() * 240, (strip.height() + 5) * 100);
    EXPECT_LE(strip.width() * 240, (strip.height() + 5) * 100 + 240);
    const QRect title = box.Label_Title->geometry();
    const QRect version = box.Label_Versie->geometry();
    const QRect bevel = box.Bevel2->geometry();
    const QRect extra = box.BitBtn_Extra->geometry();
    const QRect ok = box.BitBtn_OK->geometry();
    EXPECT_GE(title.left(), strip.right());
    EXPECT_LE(title.bottom(), version.top());
    EXPECT_LT(version.bottom(), bevel.top());
    EXPECT_LT(bevel.bottom(), extra.top());
    EXPECT_EQ(extra.top(), ok.top());
    EXPECT_LT(extra.right(), ok.left());
    EXPECT_LE(ok.bottom(), box.height() - 6);
    EXPECT_LE(bevel.right(), box.width() - 9);
    EXPECT_TRUE(SameCentre(title, bevel));
    EXPECT_TRUE(SameCentre(version, bevel));
    EXPECT_TRUE(SameCentre(extra | ok, bevel));
    const auto contact = std::initializer_list<const QWidget *>{box.ntLabel_Naam, box.ntLabel_Plaats,
                                                                box.ntLinkLabelEmail, box.ntLinkLabelWeb};
    for (const QWidget *line : contact) {
        EXPECT_TRUE(SameCentre(line->geometry(), box.Bevel2->rect())) << line->objectName().toStdString();
    }
    EXPECT_GE(box.BitBtn_OK->width(), 100);
    EXPECT_GE(box.BitBtn_OK->height(), 27);
}

TEST_F(AboutTest, ShowsUnclippedInBothLanguagesAtBothFontSizes)
{
    ForEachLanguageAndTextSize("About", [&](TLanguage language, double scale, const QString &name) {
        TAboutBox form;
        SetFontScale(&form, scale);
        ApplyLanguage(&form, language);
        form.show();
        EXPECT_EQ(ClippedControls(&form), QStringList());
        ExpectArrangement(form);
        testsupport::SaveScreenshot(&form, name);
    });
}

TEST_F(AboutTest, ALanguageAndFontChangeWhileClosedShowsAtTheNextOpening)
{
    Open();
    const QSize dutchSize = box.size();
    box.BitBtn_OKClick();
    SetFontScale(&box, 1.5);
    ApplyLanguage(&box, lnEnglish);
    Open();
    EXPECT_EQ(box.Label_Versie->text(), "Version 2.21 / June 2003");
    EXPECT_GT(box.width(), dutchSize.width());
    EXPECT_GT(box.height(), dutchSize.height());
    EXPECT_EQ(ClippedControls(&box), QStringList());
    ExpectArrangement(box);
    EXPECT_GT(QFontInfo(box.Label_Versie->font()).pixelSize(), QFontInfo(box.font()).pixelSize());
}

} // namespace
