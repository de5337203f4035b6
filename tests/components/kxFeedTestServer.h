#pragma once
// A small HTTP server for the news feed tests: 127.0.0.1, an ephemeral port, run on the test's
// own event loop. Each path answers as configured: a status and body, late, never, or with no
// Content-Length (the body then ends when the connection closes).

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

struct TServedFile {
    int Status = 200;
    QByteArray Body;
    int DelayMs = 0;            // answer this long after the request
    bool Answer = true;         // false: read the request, never answer
    bool AnnounceLength = true; // false: no Content-Length header
};

class TTestHttpServer {
public:
    TTestHttpServer()
    {
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        FServer.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&FServer, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = FServer.nextPendingConnection())
                Serve(socket);
        });
    }

    void Put(const QByteArray &path, const TServedFile &file) { FFiles.insert(path, file); }
    QString Url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(FServer.serverPort()).arg(path);
    }
    int Requests() const { return FRequests; }

    // An address where nothing listens: the port was open a moment ago and is closed again.
    static QString RefusedUrl(const QString &path)
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
    }

private:
    void Serve(QTcpSocket *socket)
    {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            QByteArray request = socket->property("request").toByteArray() + socket->readAll();
            socket->setProperty("request", request);
            if (!request.contains("\r\n\r\n"))
                return;
            ++FRequests;
            const QByteArray path = request.split(' ').value(1);
            const TServedFile file =
                FFiles.value(path, TServedFile{404, "<html><title>404 Not Found</title></html>"});
            if (file.Answer)
                QTimer::singleShot(file.DelayMs, socket, [socket, file] { Respond(socket, file); });
        });
    }

    static void Respond(QTcpSocket *socket, const TServedFile &file)
    {
        QByteArray head = "HTTP/1.1 " + QByteArray::number(file.Status) +
                          (file.Status == 200 ? " OK" : " Error") +
                          "\r\nContent-Type: text/plain\r\nConnection: close\r\n";
        if (file.AnnounceLength)
            head += "Content-Length: " + QByteArray::number(file.Body.size()) + "\r\n";
        socket->write(head + "\r\n" + file.Body);
        socket->disconnectFromHost();
    }

    QTcpServer FServer;
    QHash<QByteArray, TServedFile> FFiles;
    int FRequests = 0;
};
