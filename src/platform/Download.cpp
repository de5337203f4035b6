#include "platform/Download.h"

TDownload::TDownload(QObject *parent) : QObject(parent)
{
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, [this] { Finish(TDownloadResult::Failed, {}); });
}

TDownload::~TDownload() = default;

bool TDownload::Start(const QUrl &url)
{
    Abort();
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "https"))
        return false;
    if (!FEngine)
        FEngine = MakeDownloadEngine();
    // Without an engine the time-out comes at once: the user sees a failed download.
    FTimer.start(FEngine ? FTimeoutMs : 0);
    if (FEngine)
        FEngine->Get(url, FMaxBytes, [this](TDownloadResult result, const QByteArray &body) { Finish(result, body); });
    return true;
}

void TDownload::Abort()
{
    FTimer.stop();
    if (FEngine)
        FEngine->Abort();
}

void TDownload::Finish(TDownloadResult result, const QByteArray &body)
{
    Abort();
    emit Finished(result, body); // last: a receiver may start the next download
}
