// The desktop shell's address handling, seen through URL handlers that record instead of opening.

#include "platform/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl &url) { opened << url; }
};

class ShellTest : public testing::Test {
protected:
    ShellTest()
    {
        for (const char *scheme : Schemes)
            QDesktopServices::setUrlHandler(scheme, &recorder, "Open");
    }
    ~ShellTest() override
    {
        for (const char *scheme : Schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }
    static constexpr const char *Schemes[] = {"file", "http", "mailto"};
    UrlRecorder recorder;
};

TEST_F(ShellTest, OpensWebMailAndDocumentAddresses)
{
    EXPECT_TRUE(Shell().OpenUrl("HTTP://WWW.EXAMPLE.COM/a"));
    EXPECT_TRUE(Shell().OpenUrl("mailto:info@example.com"));
    EXPECT_TRUE(Shell().OpenUrl("/tmp/readme.htm"));
    EXPECT_EQ(recorder.opened, QList<QUrl>({QUrl("http://www.example.com/a"), QUrl("mailto:info@example.com"),
                                            QUrl::fromLocalFile("/tmp/readme.htm")}));
}

TEST_F(ShellTest, AnAddressWithoutASchemeIsAFileNeverAWebHost)
{
    QTemporaryDir folder;
    QFile(folder.filePath("readme.htm")).open(QIODevice::WriteOnly);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    EXPECT_TRUE(Shell().OpenUrl("readme.htm"));
    Shell().OpenUrl("www.example.com");
    QDir::setCurrent(previous);
    EXPECT_EQ(recorder.opened, QList<QUrl>({QUrl::fromLocalFile(folder.filePath("readme.htm")),
                                            QUrl::fromLocalFile(folder.filePath("www.example.com"))}));
}

TEST(ResolveLink, KeepsAddressesAndAbsolutePathsAndPlacesRelativePathsInTheFolder)
{
    const std::pair<const char *, const char *> cases[] = {
        {"https://example.org/a", "https://example.org/a"},
        {"mailto:info@example.org", "mailto:info@example.org"},
        {"file:///tmp/a.txt", "file:///tmp/a.txt"},
        {"/tmp/a.txt", "/tmp/a.txt"},
        {"C:\\Docs\\a.txt", "C:\\Docs\\a.txt"},
        {"notes.txt", "/lists/notes.txt"},
        {"sub/../notes.txt", "/lists/notes.txt"},
        {"www.example.com", "/lists/www.example.com"},
    };
    for (const auto &[link, resolved] : cases)
        EXPECT_EQ(ResolveLink(link, "/lists"), resolved) << link;
}

} // namespace

#include "ShellTest.moc"
