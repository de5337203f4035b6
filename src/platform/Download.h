#pragma once
// Fetching a small file over HTTP or HTTPS on the GUI thread's event loop: no threads and no
// nested loops, so the window that waits keeps painting and answering the user. The body is
// kept in memory up to a size limit; a download that takes too long is given up.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

enum class TDownloadResult {
    Succeeded, // a 2xx answer; the body is complete
    NotFound,  // the server has no such file (404, 410)
    Failed,    // no connection, time-out, any other error status, body over the limit, bad redirect
};

class TDownload : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 DefaultMaxBytes = 1024 * 1024;
    static constexpr int DefaultTimeoutMs = 20000;

    explicit TDownload(QObject *parent = nullptr);
    ~TDownload() override;

    // Starts fetching an http or https address; any other address is refused (false) and no
    // Finished follows. A download still running is abandoned first, without a Finished.
    bool Start(const QUrl &url);
    // Abandons the running download, if any, without a Finished.
    void Abort();
    bool IsRunning() const { return !FReply.isNull(); }

    void SetTimeout(int milliseconds) { FTimeoutMs = milliseconds; }
    void SetMaxBytes(qint64 bytes) { FMaxBytes = bytes; }

signals:
    // Exactly once per started download; the body is empty unless it succeeded.
    void Finished(TDownloadResult result, const QByteArray &body);

private:
    void ReplyReadyRead();
    void ReplyFinished();
    void Finish(TDownloadResult result);
    void Release();

    QNetworkAccessManager *FManager = nullptr; // made at the first download
    QPointer<QNetworkReply> FReply;
    QByteArray FBody;
    QTimer FTimer;
    int FTimeoutMs = DefaultTimeoutMs;
    qint64 FMaxBytes = DefaultMaxBytes;
};
