// A small HTTP server on 127.0.0.1 serving the year chart pages the tests choose, and
// pages that fail in the ways a real service can.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace drawfollow::test {

class ChartServer : public QObject {
    Q_OBJECT
public:
    ChartServer();  // listens on a free port of 127.0.0.1

    // "http://127.0.0.1:<port>"
    QString host() const;

    // The page of `year`, read from tests/data/update.
    void servePage(int year, const QString& file, const QByteArray& contentType = "text/html");
    void serveBytes(int year, const QByteArray& body, const QByteArray& contentType = "text/html");
    void serveNotFound(int year);
    // Accepts the request and never answers.
    void serveNothing(int year);
    // A body of `bytes` bytes, its length declared in the header.
    void serveHuge(int year, qint64 bytes);
    // A body without a declared length that never ends: only the client can stop it.
    void serveEndless(int year);

    // The targets (path and query) asked for, in order.
    const QStringList& requests() const { return requests_; }

private:
    struct Route {
        enum class Kind { Body, NotFound, Nothing, Huge, Endless } kind = Kind::NotFound;
        QByteArray body;
        QByteArray contentType;
        qint64 hugeBytes = 0;
    };

    Route& freshRoute(int year);
    void onConnection();
    void answer(QTcpSocket* socket, const QByteArray& target);
    static void send(QTcpSocket* socket, const QByteArray& status, const QByteArray& contentType,
                     const QByteArray& body);
    static void stream(QTcpSocket* socket);

    QTcpServer server_;
    QMap<QByteArray, Route> routes_;  // by target
    QStringList requests_;
};

}  // namespace drawfollow::test
