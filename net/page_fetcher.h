// Downloads one page at a time, asynchronously, within a time and a size limit.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;

namespace drawfollow {

struct FetchLimits {
    std::chrono::milliseconds timeout{30000};    // for the whole page, from the request on
    qint64 maxBytes = qint64{10} * 1024 * 1024;  // of the (decompressed) body
};

class PageFetcher : public QObject {
    Q_OBJECT
public:
    PageFetcher(QNetworkAccessManager& network, FetchLimits limits, QObject* parent = nullptr);
    ~PageFetcher() override;

    // Starts a download; a download still running is abandoned first.
    void fetch(const QUrl& url);
    // Abandons the running download; neither fetched() nor failed() follows.
    void abort();
    bool busy() const { return !reply_.isNull(); }

signals:
    // The whole body, and the Content-Type header as sent (it may name the charset).
    void fetched(const QByteArray& body, const QString& contentType);
    // Why there is no page, in words for the user.
    void failed(const QString& reason);

private:
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void stopWith(QString reason);

    QNetworkAccessManager& network_;
    FetchLimits limits_;
    QPointer<QNetworkReply> reply_;
    QTimer deadline_;
    QByteArray body_;
    QString stopReason_;  // set when this side ended the download
};

}  // namespace drawfollow
