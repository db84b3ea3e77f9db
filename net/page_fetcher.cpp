#include "net/page_fetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace drawfollow {

namespace {

QString networkProblem(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::ConnectionRefusedError:
            return QStringLiteral("服务器拒绝连接");
        case QNetworkReply::RemoteHostClosedError:
            return QStringLiteral("服务器提前断开了连接");
        case QNetworkReply::HostNotFoundError:
            return QStringLiteral("找不到服务器");
        case QNetworkReply::TimeoutError:
            return QStringLiteral("连接超时");
        case QNetworkReply::SslHandshakeFailedError:
            return QStringLiteral("无法建立安全连接（SSL）");
        case QNetworkReply::TooManyRedirectsError:
        case QNetworkReply::InsecureRedirectError:
            return QStringLiteral("网页转向次数过多，或转向了不安全的地址");
        case QNetworkReply::ProtocolUnknownError:
            return QStringLiteral("网址的协议无法识别");
        default:
            return QStringLiteral("网络错误");
    }
}

QString failureReason(const QNetworkReply& reply) {
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QString phrase = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        return QStringLiteral("服务器回答 HTTP %1 %2").arg(status).arg(phrase).trimmed();
    }
    return QStringLiteral("%1（%2）").arg(networkProblem(reply.error()), reply.errorString());
}

QString seconds(std::chrono::milliseconds ms) {
    return QString::number(ms.count() / 1000.0, 'g', 4);
}

QString tooLargeReason(qint64 maxBytes) {
    return QStringLiteral("网页大小超过 %1 MiB 的上限").arg(QString::number(maxBytes / (1024.0 * 1024.0), 'g', 4));
}

}  // namespace

PageFetcher::PageFetcher(QNetworkAccessManager& network, FetchLimits limits, QObject* parent)
    : QObject(parent), network_(network), limits_(limits) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this,
            [this] { stopWith(QStringLiteral("服务器在 %1 秒内没有送完网页").arg(seconds(limits_.timeout))); });
}

PageFetcher::~PageFetcher() {
    abort();
}

void PageFetcher::fetch(const QUrl& url) {
    abort();
    body_.clear();
    stopReason_.clear();
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("DrawFollow"));
    reply_ = network_.get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &PageFetcher::onMetaData);
    connect(reply_, &QNetworkReply::readyRead, this, &PageFetcher::onReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &PageFetcher::onFinished);
    deadline_.start(limits_.timeout);
}

void PageFetcher::abort() {
    deadline_.stop();
    if (!reply_)
        return;
    QNetworkReply* reply = reply_;
    reply_.clear();
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void PageFetcher::onMetaData() {
    // A declared length over the limit is refused before any of the body arrives.
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > limits_.maxBytes)
        stopWith(tooLargeReason(limits_.maxBytes));
}

void PageFetcher::onReadyRead() {
    body_ += reply_->readAll();
    if (body_.size() > limits_.maxBytes)
        stopWith(tooLargeReason(limits_.maxBytes));
}

void PageFetcher::stopWith(QString reason) {
    if (!reply_ || !stopReason_.isEmpty())
        return;
    stopReason_ = std::move(reason);
    reply_->abort();  // finishes the reply, which reports stopReason_
}

void PageFetcher::onFinished() {
    deadline_.stop();
    if (!reply_)
        return;
    QNetworkReply* reply = reply_;
    reply_.clear();
    reply->deleteLater();
    if (!stopReason_.isEmpty()) {
        emit failed(stopReason_);
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        emit failed(failureReason(*reply));
        return;
    }
    body_ += reply->readAll();
    if (body_.size() > limits_.maxBytes) {
        emit failed(tooLargeReason(limits_.maxBytes));
        return;
    }
    emit fetched(body_, QString::fromLatin1(reply->rawHeader("Content-Type")));
}

}  // namespace drawfollow
