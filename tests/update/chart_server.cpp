#include "chart_server.h"

#include "io/update_plan.h"
#include "test_paths.h"

#include <QFile>

namespace drawfollow::test {

namespace {

QByteArray targetOf(int year) {
    return QByteArray::fromStdString(chartPagePath(year));
}

}  // namespace

ChartServer::ChartServer() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, &ChartServer::onConnection);
}

QString ChartServer::host() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
}

void ChartServer::servePage(int year, const QString& file, const QByteArray& contentType) {
    QFile page(QStringLiteral(DRAWFOLLOW_TEST_DATA_DIR "/update/") + file);
    if (!page.open(QIODevice::ReadOnly))
        qFatal("missing test page %s", qPrintable(file));
    serveBytes(year, page.readAll(), contentType);
}

ChartServer::Route& ChartServer::freshRoute(int year) {
    return routes_[targetOf(year)] = Route{};
}

void ChartServer::serveBytes(int year, const QByteArray& body, const QByteArray& contentType) {
    Route& route = freshRoute(year);
    route.kind = Route::Kind::Body;
    route.body = body;
    route.contentType = contentType;
}

void ChartServer::serveNotFound(int year) {
    freshRoute(year).kind = Route::Kind::NotFound;
}

void ChartServer::serveNothing(int year) {
    freshRoute(year).kind = Route::Kind::Nothing;
}

void ChartServer::serveHuge(int year, qint64 bytes) {
    Route& route = freshRoute(year);
    route.kind = Route::Kind::Huge;
    route.hugeBytes = bytes;
}

void ChartServer::serveEndless(int year) {
    freshRoute(year).kind = Route::Kind::Endless;
}

void ChartServer::onConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            // One request per connection: the answer closes it.
            QByteArray request = socket->property("request").toByteArray() + socket->readAll();
            socket->setProperty("request", request);
            if (!request.contains("\r\n\r\n"))
                return;
            const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
            answer(socket, requestLine.value(1));
        });
    }
}

void ChartServer::answer(QTcpSocket* socket, const QByteArray& target) {
    requests_ << QString::fromLatin1(target);
    const Route route = routes_.value(target);
    switch (route.kind) {
        case Route::Kind::Body:
            send(socket, "200 OK", route.contentType, route.body);
            break;
        case Route::Kind::NotFound:
            send(socket, "404 Not Found", "text/html", "<html><body>Not Found</body></html>");
            break;
        case Route::Kind::Nothing:
            break;
        case Route::Kind::Huge:
            send(socket, "200 OK", "text/html", QByteArray(route.hugeBytes, 'x'));
            break;
        case Route::Kind::Endless:
            stream(socket);
            break;
    }
}

void ChartServer::send(QTcpSocket* socket, const QByteArray& status, const QByteArray& contentType,
                       const QByteArray& body) {
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + contentType +
                  "\r\nConnection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    socket->disconnectFromHost();
}

void ChartServer::stream(QTcpSocket* socket) {
    static const QByteArray chunk(256 * 1024, 'x');
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n");
    // Keeps a chunk in flight for as long as the client reads.
    connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
        if (socket->bytesToWrite() < chunk.size())
            socket->write(chunk);
    });
    socket->write(chunk);
}

}  // namespace drawfollow::test
