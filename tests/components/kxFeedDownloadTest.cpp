// The download layer against a local HTTP server: results, the size limit, the time-out, and
// that the event loop keeps running while a download waits.
#include "components/kxFeedTestServer.h"
#include "platform/Download.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

struct TFetched {
    TDownloadResult Result;
    QByteArray Body;
};

class DownloadTest : public testing::Test {
protected:
    DownloadTest()
    {
        QObject::connect(&download, &TDownload::Finished,
                         [this](TDownloadResult result, const QByteArray &body) {
                             fetched.push_back({result, body});
                         });
    }

    TFetched Fetch(const QString &url)
    {
        const std::size_t before = fetched.size();
        EXPECT_TRUE(download.Start(QUrl(url)));
        EXPECT_TRUE(testsupport::WaitFor([&] { return fetched.size() > before; })) << url.toStdString();
        return fetched.empty() ? TFetched{TDownloadResult::Failed, {}} : fetched.back();
    }

    TTestHttpServer server;
    TDownload download;
    std::vector<TFetched> fetched;
};

const QByteArray List = "item0=0001 News\r\nsubitem0-0=1011 Notes|http://example.org/notes.htm\r\n";

TEST_F(DownloadTest, DeliversTheBodyOfAGoodAnswer)
{
    server.Put("/list.inf", {200, List});
    const TFetched result = Fetch(server.Url("/list.inf"));
    EXPECT_EQ(result.Result, TDownloadResult::Succeeded);
    EXPECT_EQ(result.Body, List);
    EXPECT_FALSE(download.IsRunning());
}

TEST_F(DownloadTest, TellsAMissingFileFromFailures)
{
    server.Put("/gone.inf", {404, "<html>404 Not Found</html>"});
    server.Put("/removed.inf", {410, "gone"});
    server.Put("/broken.inf", {500, "oops"});
    server.Put("/forbidden.inf", {403, "no"});
    EXPECT_EQ(Fetch(server.Url("/gone.inf")).Result, TDownloadResult::NotFound);
    EXPECT_EQ(Fetch(server.Url("/removed.inf")).Result, TDownloadResult::NotFound);
    EXPECT_EQ(Fetch(server.Url("/broken.inf")).Result, TDownloadResult::Failed);
    EXPECT_EQ(Fetch(server.Url("/forbidden.inf")).Result, TDownloadResult::Failed);
    const TFetched refused = Fetch(TTestHttpServer::RefusedUrl("/list.inf"));
    EXPECT_EQ(refused.Result, TDownloadResult::Failed);
    EXPECT_TRUE(refused.Body.isEmpty());
}

TEST_F(DownloadTest, ABodyOverOneMebibyteFailsWithOrWithoutAnnouncedLength)
{
    const QByteArray atLimit(TDownload::DefaultMaxBytes, 'x');
    const QByteArray overLimit(TDownload::DefaultMaxBytes + 1, 'x');
    server.Put("/at.inf", {200, atLimit});
    server.Put("/over.inf", {200, overLimit});
    server.Put("/over-unannounced.inf", {200, overLimit, 0, true, false});

    const TFetched at = Fetch(server.Url("/at.inf"));
    EXPECT_EQ(at.Result, TDownloadResult::Succeeded);
    EXPECT_EQ(at.Body.size(), TDownload::DefaultMaxBytes);
    EXPECT_EQ(Fetch(server.Url("/over.inf")).Result, TDownloadResult::Failed);
    EXPECT_EQ(Fetch(server.Url("/over-unannounced.inf")).Result, TDownloadResult::Failed);
}

TEST_F(DownloadTest, TheEventLoopRunsWhileTheServerIsSlow)
{
    server.Put("/slow.inf", {200, List, 300});
    std::optional<bool> runningDuringWait;
    QTimer::singleShot(20, [&] { runningDuringWait = download.IsRunning(); });

    const TFetched result = Fetch(server.Url("/slow.inf"));
    ASSERT_TRUE(runningDuringWait.has_value()) << "the timer never fired while waiting";
    EXPECT_TRUE(*runningDuringWait);
    EXPECT_EQ(result.Result, TDownloadResult::Succeeded);
    EXPECT_EQ(result.Body, List);
}

TEST_F(DownloadTest, AServerThatNeverAnswersRunsIntoTheTimeOut)
{
    server.Put("/silent.inf", {200, List, 0, false});
    download.SetTimeout(200);
    EXPECT_EQ(Fetch(server.Url("/silent.inf")).Result, TDownloadResult::Failed);
    EXPECT_FALSE(download.IsRunning());
}

TEST_F(DownloadTest, OnlyWebAddressesAreFetched)
{
    for (const char *address :
         {"file:///etc/passwd", "ftp://127.0.0.1/list.inf", "/tmp/list.inf", "http://", ""}) {
        EXPECT_FALSE(download.Start(QUrl(address))) << address;
        EXPECT_FALSE(download.IsRunning()) << address;
    }
    EXPECT_TRUE(fetched.empty());
}

TEST_F(DownloadTest, ANewStartAbandonsTheRunningDownloadWithoutAResult)
{
    server.Put("/slow.inf", {200, "first", 300});
    server.Put("/list.inf", {200, List});
    ASSERT_TRUE(download.Start(QUrl(server.Url("/slow.inf"))));
    EXPECT_EQ(Fetch(server.Url("/list.inf")).Body, List);
    // A later download, answered after the slow one, proves the slow answer's time has passed.
    server.Put("/later.inf", {200, "later", 400});
    EXPECT_EQ(Fetch(server.Url("/later.inf")).Body, "later");
    EXPECT_EQ(fetched.size(), 2u);
}

TEST_F(DownloadTest, AbortSendsNoResult)
{
    server.Put("/slow.inf", {200, List, 100});
    server.Put("/later.inf", {200, "later", 200}); // answered after the slow one
    ASSERT_TRUE(download.Start(QUrl(server.Url("/slow.inf"))));
    download.Abort();
    EXPECT_FALSE(download.IsRunning());
    EXPECT_EQ(Fetch(server.Url("/later.inf")).Body, "later");
    EXPECT_EQ(fetched.size(), 1u);
}

} // namespace
