// The news feed component and its window, against a local HTTP server and local list files,
// with a recording shell instead of the desktop.
#include "components/kxFeedway.h"
#include "components/kxFeedTestServer.h"
#include "platform/Colors.h"
#include "platform/Shell.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QByteArray GoodList = "; news of the week\r\n"
                            "item0=0001 News\r\n"
                            "subitem0-0=1011 Release notes|http://example.org/notes.htm\r\n"
                            "subitem0-1=0809 Write to us|mailto:news@example.org\r\n"
                            "item1=1212 Tools\r\n"
                            "subitem1-0=1313 Shapes|https://example.org/shapes.htm\r\n";
const QByteArray NewerList = "item0=0607 Newer\r\n";

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class FeedwayTest : public testing::Test {
protected:
    FeedwayTest()
    {
        dialog->SetCacheFolder(cache.path());
        feed.SetLanguage(lgEnglish);
        feed.SetTitle("Latest news");
        server.Put("/Feedway_Eng.inf", {200, GoodList});
    }

    void Execute(const QString &url)
    {
        QSignalSpy done(dialog, &TkxNetDialog::RefreshDone);
        feed.SetURL(url);
        feed.Execute();
        EXPECT_TRUE(testsupport::WaitFor([&] { return done.count() > 0; })) << url.toStdString();
    }

    QString CacheFile(const QString &name = "Feedway_Eng.inf") const { return cache.filePath(name); }
    QString LocalList(const QByteArray &text)
    {
        const QString path = lists.filePath(QString("list%1.inf").arg(++listCount));
        WriteFile(path, text);
        return path;
    }

    QStringList RootTexts() const
    {
        QStringList texts;
        for (int i = 0; i < dialog->TreeViewDirect->topLevelItemCount(); ++i)
            texts << dialog->TreeViewDirect->topLevelItem(i)->text(0);
        return texts;
    }
    QTreeWidgetItem *Child(int root, int child) const
    {
        return dialog->TreeViewDirect->topLevelItem(root)->child(child);
    }
    QPoint Center(QTreeWidgetItem *item) const
    {
        if (item->parent())
            item->parent()->setExpanded(true);
        return dialog->TreeViewDirect->visualItemRect(item).center();
    }
    void Click(const QPoint &point)
    {
        QTest::mouseClick(dialog->TreeViewDirect->viewport(), Qt::LeftButton, {}, point);
    }
    // Two moves within the same item: a move to where the pointer already is would be dropped.
    void Hover(const QPoint &point)
    {
        QTest::mouseMove(dialog->TreeViewDirect->viewport(), point + QPoint(1, 0));
        QTest::mouseMove(dialog->TreeViewDirect->viewport(), point);
    }
    QMessageBox *MessageBox() const { return dialog->findChild<QMessageBox *>(); }

    testsupport::TRecordingShell shell;
    TTestHttpServer server;
    QTemporaryDir cache;
    QTemporaryDir lists;
    int listCount = 0;
    TkxFeedway feed;
    TkxNetDialog *dialog = feed.NetDialog();
};

TEST_F(FeedwayTest, AGoodListIsShownAndKeptAsTheCacheCopy)
{
    Execute(server.Url("/Feedway_Eng.inf"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Latest news");
    EXPECT_EQ(RootTexts(), (QStringList{"News", "Tools"}));
    ASSERT_EQ(dialog->TreeViewDirect->topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(Child(0, 1)->text(0), "Write to us");
    EXPECT_FALSE(dialog->TreeViewDirect->topLevelItem(0)->isExpanded());
    EXPECT_TRUE(dialog->StatusText().isEmpty());
    EXPECT_EQ(ReadFile(CacheFile()), GoodList);
    EXPECT_TRUE(dialog->SpeedbuttonUpdate->isEnabled());
}

// The tree's links read on the list's background of every desktop theme.
TEST_F(FeedwayTest, TheTreeReadsUnderEachTheme)
{
    Execute(server.Url("/Feedway_Eng.inf"));
    dialog->TreeViewDirect->expandAll();
    for (const testsupport::TTheme theme : testsupport::Themes) {
        const testsupport::TScopedTheme themed(theme);
        for (int row = 0; row < 2; ++row) {
            const QRect item = dialog->TreeViewDirect->visualItemRect(Child(0, row));
            EXPECT_GE(testsupport::InkContrast(dialog->TreeViewDirect->viewport()->grab(item).toImage()), ReadableContrast)
                << testsupport::ThemeName(theme) << " row " << row;
        }
        testsupport::SaveScreenshot(dialog, QString("Feedway_%1").arg(testsupport::ThemeName(theme)));
    }
}

TEST_F(FeedwayTest, NodesCarryTheirImages)
{
    Execute(server.Url("/Feedway_Eng.inf"));
    const QTreeWidgetItem *root = dialog->TreeViewDirect->topLevelItem(0);
    EXPECT_EQ(root->data(0, TkxNetDialog::ImageIndexRole).toInt(), 0);
    EXPECT_EQ(root->data(0, TkxNetDialog::SelectedIndexRole).toInt(), 1);
    EXPECT_FALSE(root->icon(0).isNull());
    EXPECT_EQ(Child(0, 0)->data(0, TkxNetDialog::ImageIndexRole).toInt(), 10);
    EXPECT_EQ(Child(0, 0)->data(0, TkxNetDialog::SelectedIndexRole).toInt(), 11);
    EXPECT_EQ(dialog->ImageList1.size(), 16);
}

struct FailureCase {
    const char *name;
    TServedFile served; // ignored when refused
    bool refused;
    const char *cause;
};

const FailureCase Failures[] = {
    {"connection refused", {}, true, "Connection error, "},
    {"404 status", {404, "<html>404 Not Found</html>"}, false, "Web server not found, "},
    {"403 status", {403, "<html>Forbidden</html>"}, false, "Connection error, "},
    {"500 status", {500, "oops"}, false, "Connection error, "},
    {"a web page, no list", {200, "<html><body>Moved</body></html>"}, false, "Connection error, "},
    {"an empty answer", {200, ""}, false, "Connection error, "},
    {"404 in the first line",
     {200, "<title>404 Not Found</title>\nitem0=0000 x"},
     false,
     "Web server not found, "},
    {"body over the limit",
     {200, QByteArray(TDownload::DefaultMaxBytes + 1, '\n')},
     false,
     "Connection error, "},
};

QString FailingUrl(TTestHttpServer &server, const FailureCase &failure)
{
    if (failure.refused)
        return TTestHttpServer::RefusedUrl("/Feedway_Eng.inf");
    server.Put("/Feedway_Eng.inf", failure.served);
    return server.Url("/Feedway_Eng.inf");
}

TEST_F(FeedwayTest, AFailureWithoutACopyAbortsTheRequestWithAnEmptyTree)
{
    for (const FailureCase &failure : Failures) {
        Execute(FailingUrl(server, failure));
        EXPECT_EQ(dialog->StatusText(), QString(failure.cause) + "request aborted") << failure.name;
        EXPECT_EQ(dialog->TreeViewDirect->topLevelItemCount(), 0) << failure.name;
        EXPECT_FALSE(QFile::exists(CacheFile())) << failure.name;
        EXPECT_EQ(MessageBox(), nullptr) << failure.name;
    }
}

TEST_F(FeedwayTest, AFailureShowsThePreviousCopyWhichSurvivesUnchanged)
{
    for (const FailureCase &failure : Failures) {
        WriteFile(CacheFile(), GoodList);
        Execute(FailingUrl(server, failure));
        EXPECT_EQ(dialog->StatusText(), QString(failure.cause) + "using previous update") << failure.name;
        EXPECT_EQ(RootTexts(), (QStringList{"News", "Tools"})) << failure.name;
        EXPECT_EQ(ReadFile(CacheFile()), GoodList) << failure.name;
    }
}

TEST_F(FeedwayTest, AGoodFetchReplacesTheCopyAndTheUpdateButtonFetchesAgain)
{
    WriteFile(CacheFile(), GoodList);
    server.Put("/Feedway_Eng.inf", {200, NewerList});
    Execute(server.Url("/Feedway_Eng.inf"));
    EXPECT_EQ(RootTexts(), (QStringList{"Newer"}));
    EXPECT_EQ(ReadFile(CacheFile()), NewerList);

    server.Put("/Feedway_Eng.inf", {200, GoodList});
    QSignalSpy done(dialog, &TkxNetDialog::RefreshDone);
    QTest::mouseClick(dialog->SpeedbuttonUpdate, Qt::LeftButton);
    ASSERT_TRUE(testsupport::WaitFor([&] { return done.count() > 0; }));
    EXPECT_EQ(RootTexts(), (QStringList{"News", "Tools"}));
    EXPECT_EQ(server.Requests(), 2);
}

TEST_F(FeedwayTest, TheWindowKeepsWorkingWhileTheServerIsSlow)
{
    server.Put("/Feedway_Eng.inf", {200, GoodList, 300});
    const QString url = server.Url("/Feedway_Eng.inf");
    struct Seen {
        bool refreshing;
        QString status;
        Qt::CursorShape cursor;
        bool updateEnabled;
    };
    std::optional<Seen> seen;
    QTimer::singleShot(20, [&] {
        seen = Seen{dialog->IsRefreshing(), dialog->StatusText(), dialog->cursor().shape(),
                    dialog->SpeedbuttonUpdate->isEnabled()};
    });
    Execute(url);

    ASSERT_TRUE(seen.has_value()) << "no event was handled during the download";
    EXPECT_TRUE(seen->refreshing);
    EXPECT_EQ(seen->status, "Connecting to: " + url);
    EXPECT_EQ(seen->cursor, Qt::BusyCursor);
    EXPECT_FALSE(seen->updateEnabled);
    EXPECT_EQ(RootTexts(), (QStringList{"News", "Tools"}));
    EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(dialog->StatusText().isEmpty());
}

TEST_F(FeedwayTest, StatusPhrasesAreDutchOnlyForDutch)
{
    struct Case {
        TkxLanguage language;
        const char *expected;
    };
    const Case cases[] = {
        {lgNederlands, "Connectie fout, aanvraag afgebroken"},
        {lgEnglish, "Connection error, request aborted"},
        {lgFrancais, "Connection error, request aborted"},
        {lgDeutsch, "Connection error, request aborted"},
        {lgEspagnol, "Connection error, request aborted"},
    };
    for (const Case &c : cases) {
        feed.SetLanguage(c.language);
        Execute(TTestHttpServer::RefusedUrl("/Feedway_Ned.inf"));
        EXPECT_EQ(dialog->StatusText(), c.expected) << c.language;
    }
    feed.SetLanguage(lgNederlands);
    WriteFile(CacheFile("Feedway_Ned.inf"), GoodList);
    server.Put("/Feedway_Ned.inf", {404, "gone"});
    Execute(server.Url("/Feedway_Ned.inf"));
    EXPECT_EQ(dialog->StatusText(), "Web server niet gevonden, vorige update zal gebruikt worden");
}

TEST_F(FeedwayTest, DutchConnectingText)
{
    feed.SetLanguage(lgNederlands);
    server.Put("/Feedway_Ned.inf", {200, GoodList, 0, false});
    feed.SetURL(server.Url("/Feedway_Ned.inf"));
    feed.Execute();
    EXPECT_EQ(dialog->StatusText(), "Connectie maken met: " + server.Url("/Feedway_Ned.inf"));
}

TEST_F(FeedwayTest, ALocalListIsReadWithoutStatusText)
{
    Execute(LocalList(GoodList));
    EXPECT_EQ(RootTexts(), (QStringList{"News", "Tools"}));
    EXPECT_TRUE(dialog->StatusText().isEmpty());
    EXPECT_EQ(server.Requests(), 0);
}

TEST_F(FeedwayTest, TextsAreUtf8OrTheWesternSingleByteCodePage)
{
    const QStringList expected{QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC")};
    Execute(LocalList("item0=0000 Caf\xC3\xA9 \xE2\x82\xAC\n"));
    EXPECT_EQ(RootTexts(), expected);
    Execute(LocalList("item0=0000 Caf\xE9 \x80\n"));
    EXPECT_EQ(RootTexts(), expected);
}

TEST_F(FeedwayTest, ALocalListThatCannotBeReadIsAnErrorAndTheWindowStaysOpen)
{
    for (const QString &path : {lists.filePath("missing.inf"), lists.path(), LocalList("")}) {
        Execute(path);
        QMessageBox *box = MessageBox();
        ASSERT_NE(box, nullptr) << path.toStdString();
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_TRUE(box->text().contains(QDir::toNativeSeparators(path))) << box->text().toStdString();
        delete box;
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->TreeViewDirect->topLevelItemCount(), 0);
        EXPECT_TRUE(dialog->StatusText().isEmpty());
    }
}

TEST_F(FeedwayTest, ALocalListWith404InItsFirstLineIsRefused)
{
    Execute(LocalList("404\nitem0=0000 x"));
    EXPECT_EQ(dialog->StatusText(), "Web server not found, request aborted");
    EXPECT_EQ(dialog->TreeViewDirect->topLevelItemCount(), 0);
}

TEST_F(FeedwayTest, HoverShowsTheLinkOfAChildOnly)
{
    Execute(server.Url("/Feedway_Eng.inf"));
    const QPoint child = Center(Child(0, 0));
    const QPoint root = Center(dialog->TreeViewDirect->topLevelItem(1));
    const QPoint empty(child.x(), dialog->TreeViewDirect->viewport()->height() - 3);
    ASSERT_EQ(dialog->TreeViewDirect->itemAt(empty), nullptr);

    Hover(child);
    EXPECT_EQ(dialog->StatusText(), "http://example.org/notes.htm");
    Hover(root);
    EXPECT_EQ(dialog->StatusText(), "http://example.org/notes.htm");
    Hover(Center(Child(0, 1)));
    EXPECT_EQ(dialog->StatusText(), "mailto:news@example.org");
    Hover(empty);
    EXPECT_EQ(dialog->StatusText(), "mailto:news@example.org");
}

TEST_F(FeedwayTest, ClickingAChildNotifiesFirstThenOpensAndClearsTheSelection)
{
    Execute(server.Url("/Feedway_Eng.inf"));
    QStringList notified;
    int openedAtNotification = -1;
    QObject::connect(&feed, &TkxFeedway::OnURLSelected, [&](TkxFeedway *sender, const QString &link) {
        EXPECT_EQ(sender, &feed);
        notified << link;
        openedAtNotification = static_cast<int>(shell.Opened.size());
    });

    const QPoint child = Center(Child(0, 0));
    Click(child);
    EXPECT_EQ(notified, QStringList{"http://example.org/notes.htm"});
    EXPECT_EQ(openedAtNotification, 0);
    EXPECT_EQ(shell.Opened, QStringList{"http://example.org/notes.htm"});
    EXPECT_TRUE(dialog->TreeViewDirect->selectedItems().isEmpty());

    Click(child);
    EXPECT_EQ(shell.Opened.size(), 2);
}

TEST_F(FeedwayTest, ClicksOnARootOrNothingAndKeyboardSelectionOpenNothing)
{
    Execute(server.Url("/Feedway_Eng.inf"));
    int notified = 0;
    QObject::connect(&feed, &TkxFeedway::OnURLSelected, [&] { ++notified; });

    Click(Center(dialog->TreeViewDirect->topLevelItem(0)));
    Click(QPoint(5, dialog->TreeViewDirect->viewport()->height() - 3));
    QTreeWidget *tree = dialog->TreeViewDirect;
    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(0));
    QTest::keyClick(tree, Qt::Key_Right); // expands
    QTest::keyClick(tree, Qt::Key_Down);  // the first child
    ASSERT_EQ(dialog->SelectedLink(), "http://example.org/notes.htm");
    QTest::keyClick(tree, Qt::Key_Return);
    QTest::keyClick(tree, Qt::Key_Space);

    EXPECT_EQ(notified, 0);
    EXPECT_TRUE(shell.Opened.isEmpty());
}

// Relative links resolve against the list's address; each click's outcome replaces the last.
TEST_F(FeedwayTest, LinksFromTheNetworkOpenOnlyAsWebOrMailAddresses)
{
    const QString site = server.Url("/");
    const struct {
        const char *link;
        QString opened; // empty: refused
    } cases[] = {
        {"http://example.org/a", "http://example.org/a"},
        {"HTTPS://example.org/b", "HTTPS://example.org/b"},
        {"mailto:news@example.org", "mailto:news@example.org"},
        {"file:///etc/passwd", ""},
        {"javascript:alert(1)", ""},
        {"C:\\Windows\\notepad.exe", ""},
        {"notes.htm", site + "news/notes.htm"},
        {"ftp://example.org/x", ""},
        {"../up.htm?x=1", site + "up.htm?x=1"},
        {"/usr/bin/xterm", site + "usr/bin/xterm"}, // a path on the list's own server
    };
    QByteArray list = "item0=0000 Links\n";
    for (std::size_t i = 0; i < std::size(cases); ++i)
        list += "subitem0-" + QByteArray::number(int(i)) + "=0000 x|" + cases[i].link + "\n";
    server.Put("/news/Feedway_Eng.inf", {200, list});
    Execute(server.Url("/news/Feedway_Eng.inf"));
    int notified = 0;
    QObject::connect(&feed, &TkxFeedway::OnURLSelected, [&] { ++notified; });
    QStringList opened;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        Click(Center(Child(0, i)));
        const bool refused = cases[i].opened.isEmpty();
        EXPECT_EQ(dialog->StatusText(), (refused ? "Link not opened: " : "") + QString(cases[i].link));
        if (!refused)
            opened << cases[i].opened;
    }
    EXPECT_EQ(shell.Opened, opened);
    EXPECT_EQ(notified, opened.size());

    feed.SetLanguage(lgNederlands);
    Execute(server.Url("/news/Feedway_Eng.inf"));
    Click(Center(Child(0, 3)));
    EXPECT_EQ(dialog->StatusText(), "Link niet geopend: file:///etc/passwd");
    Click(Center(dialog->TreeViewDirect->topLevelItem(0))); // a root opens nothing
    EXPECT_TRUE(dialog->StatusText().isEmpty());
}

TEST_F(FeedwayTest, LinksFromALocalListOpenAsGivenRelativeOnesBesideTheList)
{
    Execute(LocalList("item0=0000 Links\nsubitem0-0=0000 d|/usr/share/doc/readme.txt\n"
                      "subitem0-1=0000 g|notes.htm\nsubitem0-2=0000 w|https://example.org/\n"));
    for (int i = 0; i < 3; ++i)
        Click(Center(Child(0, i)));
    EXPECT_EQ(shell.Opened, (QStringList{"/usr/share/doc/readme.txt", lists.filePath("notes.htm"),
                                         "https://example.org/"}));
}

TEST_F(FeedwayTest, TheInformationButtonShowsOnlyForNonBlankText)
{
    feed.SetInformation("   ");
    Execute(LocalList(GoodList));
    EXPECT_TRUE(dialog->SpeedButtonInfo->isHidden());

    feed.SetInformation("News from the KX team");
    Execute(LocalList(GoodList));
    ASSERT_FALSE(dialog->SpeedButtonInfo->isHidden());
    EXPECT_EQ(dialog->SpeedButtonInfo->toolTip(), "News from the KX team");
    QTest::mouseClick(dialog->SpeedButtonInfo, Qt::LeftButton);
    QMessageBox *box = MessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "News from the KX team");
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
}

TEST_F(FeedwayTest, TheTitleIsTheWindowCaption)
{
    feed.SetTitle("Laatste nieuws KX - www.example.org");
    EXPECT_EQ(dialog->windowTitle(), "Laatste nieuws KX - www.example.org");
    dialog->setWindowTitle("changed by the window");
    EXPECT_EQ(feed.Title(), "changed by the window");
}

// The window is made at first need; a title given before that is its caption, and a picked
// link is still reported through the component.
TEST(Feedway, ATitleGivenBeforeTheWindowIsMadeBecomesItsCaption)
{
    TkxFeedway feed;
    EXPECT_EQ(feed.Title(), "");
    feed.SetTitle("Latest news KX");
    EXPECT_EQ(feed.Title(), "Latest news KX");
    TkxNetDialog *window = feed.NetDialog();
    EXPECT_EQ(window->windowTitle(), "Latest news KX");
    EXPECT_EQ(feed.NetDialog(), window);
    QSignalSpy picked(&feed, &TkxFeedway::OnURLSelected);
    emit window->LinkSelected("http://www.example.org/");
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked[0][1].toString(), "http://www.example.org/");
}

TEST_F(FeedwayTest, TheWindowStartsAt294By240AndNeverShrinksBelow470By310)
{
    EXPECT_EQ(dialog->pos(), QPoint(294, 240));
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::Tool));
    dialog->resize(100, 100);
    EXPECT_GE(dialog->width(), 470);
    EXPECT_GE(dialog->height(), 310);
}

TEST_F(FeedwayTest, TheCacheNameIsAPlainFileNameOrNothing)
{
    struct Case {
        const char *address;
        const char *name; // empty: no cache file
    };
    const Case cases[] = {
        {"http://example.org/news/Feedway_Eng.inf", "Feedway_Eng.inf"},
        {"http://example.org/get.php?list=nl", "get.php?list=nl"},
        {"http://example.org/news/", ""},
        {"http://example.org/.", ""},
        {"http://example.org/..", ""},
        {"http://example.org/a\\..\\b.inf", ""},
        {"Feedway.inf", "eedway.inf"}, // never the first character
        {"/", ""},
        {"x", ""},
        {"", ""},
    };
    for (const Case &c : cases) {
        dialog->SetAddress(c.address);
        const QString expected = *c.name ? QDir(cache.path()).filePath(c.name) : QString();
        EXPECT_EQ(dialog->LocalFileName(), expected) << c.address;
    }
}

TEST_F(FeedwayTest, AnAddressWithoutACacheNameCountsAsAFailedFetch)
{
    Execute(server.Url("/news/"));
    EXPECT_EQ(dialog->StatusText(), "Connection error, request aborted");
    EXPECT_EQ(server.Requests(), 0);
    EXPECT_TRUE(QDir(cache.path()).isEmpty());
}

TEST(FeedCache, TheProgramFolderServesWhenWritableElseThePerUserCache)
{
    QTemporaryDir writable;
    EXPECT_EQ(TkxNetDialog::CacheFolderFor(writable.path()), writable.path());
    EXPECT_EQ(TkxNetDialog::CacheFolderFor(writable.filePath("does-not-exist")),
              QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
}

TEST_F(FeedwayTest, Screenshot)
{
    WriteFile(CacheFile(), GoodList + "item2=0203 Elsewhere\r\nsubitem2-0=1415 Music|http://example.org/m\r\n"
                                      "subitem2-1=0607 Yellow|http://example.org/y\r\n");
    feed.SetInformation("News from the KX team");
    Execute(TTestHttpServer::RefusedUrl("/Feedway_Eng.inf"));
    dialog->TreeViewDirect->expandAll();
    Click(Center(Child(2, 0)));
    dialog->TreeViewDirect->setCurrentItem(dialog->TreeViewDirect->topLevelItem(0));
    Hover(Center(Child(0, 0)));
    EXPECT_EQ(dialog->StatusText(), "http://example.org/notes.htm");
    dialog->StatusBar->showMessage("Connection error, using previous update");
    testsupport::SaveScreenshot(dialog, "kxFeedway");
}

} // namespace
