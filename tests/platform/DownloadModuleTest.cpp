// The window's downloads load their engine from the module beside the window module. This test
// links that loader but has no module beside it, as in a broken installation.
#include "platform/Download.h"

#include <QTest>
#include <gmock/gmock.h>
#include <vector>

TEST(DownloadModule, WhenItCannotBeLoadedTheDownloadFailsAfterStartReturns)
{
    TDownload download;
    std::vector<TDownloadResult> results;
    QObject::connect(&download, &TDownload::Finished,
                     [&](TDownloadResult result, const QByteArray &body) {
                         results.push_back(result);
                         EXPECT_TRUE(body.isEmpty());
                     });
    testing::internal::CaptureStderr();
    ASSERT_TRUE(download.Start(QUrl("http://127.0.0.1:9/news.txt")));
    EXPECT_TRUE(download.IsRunning());
    EXPECT_TRUE(results.empty()); // the caller connects its handlers before the result comes
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.empty(); }, 5000));
    EXPECT_EQ(results, std::vector{TDownloadResult::Failed});
    EXPECT_FALSE(download.IsRunning());
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::HasSubstr("orvani: cannot load the network module: "));
}
