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

TEST_F(ShellTest, RelativePathOfADocumentOpensItAndAHostNameIsAWebAddress)
{
    QTemporaryDir folder;
    QFile(folder.filePath("readme.htm")).open(QIODevice::WriteOnly);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    EXPECT_TRUE(Shell().OpenUrl("readme.htm"));
    EXPECT_TRUE(Shell().OpenUrl("www.example.com"));
    QDir::setCurrent(previous);
    EXPECT_EQ(recorder.opened, QList<QUrl>({QUrl::fromLocalFile(folder.filePath("readme.htm")),
                                            QUrl("http://www.example.com")}));
}

} // namespace

#include "ShellTest.moc"
