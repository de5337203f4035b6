#include "platform/Download.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

TDownload::TDownload(QObject *parent) : QObject(parent)
{
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, [this] { Finish(TDownloadResult::Failed); });
}

TDownload::~TDownload()
{
    Release();
}

bool TDownload::Start(const QUrl &url)
{
    Abort();
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "https"))
        return false;
    if (!FManager)
        FManager = new QNetworkAccessManager(this);

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setMaximumRedirectsAllowed(5);
    FReply = FManager->get(request);
    FReply->setReadBufferSize(64 * 1024); // a fast sender cannot pile up more than this unread
    connect(FReply, &QNetworkReply::readyRead, this, &TDownload::ReplyReadyRead);
    connect(FReply, &QNetworkReply::finished, this, &TDownload::ReplyFinished);
    FTimer.start(FTimeoutMs);
    return true;
}

void TDownload::Abort()
{
    Release();
}

void TDownload::ReplyReadyRead()
{
    const qint64 announced = FReply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > FMaxBytes || FBody.size() + FReply->bytesAvailable() > FMaxBytes) {
        Finish(TDownloadResult::Failed);
        return;
    }
    FBody += FReply->readAll();
}

void TDownload::ReplyFinished()
{
    ReplyReadyRead();
    if (!FReply)
        return; // the last bytes went over the limit
    const int status = FReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (FReply->error() == QNetworkReply::NoError)
        Finish(TDownloadResult::Succeeded);
    else if (status == 404 || status == 410)
        Finish(TDownloadResult::NotFound);
    else
        Finish(TDownloadResult::Failed); // the server answered, but gave no file: a failed download
}

void TDownload::Finish(TDownloadResult result)
{
    const QByteArray body = result == TDownloadResult::Succeeded ? FBody : QByteArray();
    Release();
    emit Finished(result, body); // last: a receiver may start the next download
}

void TDownload::Release()
{
    FTimer.stop();
    FBody.clear();
    if (QNetworkReply *reply = FReply.data()) {
        FReply.clear();
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}
