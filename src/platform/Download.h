#pragma once
// Fetching a small file over HTTP or HTTPS on the GUI thread's event loop: no threads and no
// nested loops, so the window that waits keeps painting and answering the user. The body is
// kept in memory up to a size limit; a download that takes too long is given up. Qt's network
// library does the fetching; the window loads it only at its first download (DownloadEngine.h).

#include "platform/DownloadEngine.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <memory>

class TDownload : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 DefaultMaxBytes = 1024 * 1024;
    static constexpr int DefaultTimeoutMs = 20000;

    explicit TDownload(QObject *parent = nullptr);
    ~TDownload() override;

    // Starts fetching an http or https address; any other address is refused (false) and no
    // Finished follows. A download still running is abandoned first, without a Finished. Where
    // the network library cannot be loaded, the download fails after Start has returned.
    bool Start(const QUrl &url);
    // Abandons the running download, if any, without a Finished.
    void Abort();
    bool IsRunning() const { return FTimer.isActive(); }

    void SetTimeout(int milliseconds) { FTimeoutMs = milliseconds; }
    void SetMaxBytes(qint64 bytes) { FMaxBytes = bytes; }

signals:
    // Exactly once per started download; the body is empty unless it succeeded.
    void Finished(TDownloadResult result, const QByteArray &body);

private:
    void Finish(TDownloadResult result, const QByteArray &body);

    std::unique_ptr<TDownloadEngine> FEngine; // made at the first download
    QTimer FTimer;                            // runs exactly while a download does
    int FTimeoutMs = DefaultTimeoutMs;
    qint64 FMaxBytes = DefaultMaxBytes;
};
