#include "platform/DownloadEngine.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

namespace {

class TNetworkEngine final : public TDownloadEngine {
public:
    ~TNetworkEngine() override { Abort(); }

    void Get(const QUrl &url, qint64 maxBytes, TDone done) override
    {
        Abort();
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setMaximumRedirectsAllowed(5);
        FMaxBytes = maxBytes;
        FDone = std::move(done);
        FReply = FManager.get(request);
        FReply->setReadBufferSize(64 * 1024); // a fast sender cannot pile up more than this unread
        QObject::connect(FReply, &QNetworkReply::readyRead, &FContext, [this] { ReadyRead(); });
        QObject::connect(FReply, &QNetworkReply::finished, &FContext, [this] { ReplyFinished(); });
    }

    void Abort() override
    {
        FBody.clear();
        FDone = nullptr;
        if (QNetworkReply *reply = FReply.data()) {
            FReply.clear();
            reply->disconnect(&FContext);
            reply->abort();
            reply->deleteLater();
        }
    }

private:
    void ReadyRead()
    {
        const qint64 announced = FReply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (announced > FMaxBytes || FBody.size() + FReply->bytesAvailable() > FMaxBytes) {
            Finish(TDownloadResult::Failed);
            return;
        }
        FBody += FReply->readAll();
    }

    void ReplyFinished()
    {
        ReadyRead();
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

    void Finish(TDownloadResult result)
    {
        const QByteArray body = result == TDownloadResult::Succeeded ? FBody : QByteArray();
        const TDone done = std::move(FDone);
        Abort();
        done(result, body); // last: the caller may start the next fetch
    }

    QNetworkAccessManager FManager;
    QObject FContext; // receives the reply's signals, so that they can be cut all at once
    QPointer<QNetworkReply> FReply;
    QByteArray FBody;
    qint64 FMaxBytes = 0;
    TDone FDone;
};

} // namespace

std::unique_ptr<TDownloadEngine> MakeNetworkEngine()
{
    return std::make_unique<TNetworkEngine>();
}
