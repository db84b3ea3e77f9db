#include "net/online_update.h"

#include <QUrl>

namespace drawfollow {

OnlineUpdate::OnlineUpdate(HistoryDb& db, DerivationSettings settings, UpdateRequest request, FetchLimits limits,
                           QObject* parent)
    : QObject(parent), session_(db, settings, std::move(request)), fetcher_(network_, limits) {
    connect(&fetcher_, &PageFetcher::fetched, this, &OnlineUpdate::onFetched);
    connect(&fetcher_, &PageFetcher::failed, this, &OnlineUpdate::onFailed);
}

QString OnlineUpdate::summaryText() const {
    return QString::fromStdString(summary().message());
}

void OnlineUpdate::start() {
    if (started_)
        return;
    started_ = running_ = true;
    if (!session_.prepare()) {
        // Queued, so that a caller may show its progress dialog after start() returns.
        QMetaObject::invokeMethod(this, &OnlineUpdate::finish, Qt::QueuedConnection);
        return;
    }
    if (const auto year = session_.currentYear()) {
        firstYear_ = *year;
        yearsInAll_ = static_cast<int>(session_.plannedYears().size());
    }
    requestCurrentYear();
}

void OnlineUpdate::cancel() {
    if (!running_)
        return;
    fetcher_.abort();
    session_.cancel();
    finish();
}

void OnlineUpdate::requestCurrentYear() {
    const auto year = session_.currentYear();
    if (!year) {
        QMetaObject::invokeMethod(this, &OnlineUpdate::finish, Qt::QueuedConnection);
        return;
    }
    const QUrl url(QString::fromStdString(session_.currentUrl()), QUrl::StrictMode);
    if (!url.isValid()) {
        session_.failCurrentYear("网址 “" + session_.currentUrl() + "” 无效。");
        QMetaObject::invokeMethod(this, &OnlineUpdate::finish, Qt::QueuedConnection);
        return;
    }
    emit yearStarted(*year, *year - firstYear_ + 1, yearsInAll_);
    if (running_)  // a receiver may have cancelled
        fetcher_.fetch(url);
}

void OnlineUpdate::onFetched(const QByteArray& body, const QString& contentType) {
    const auto year = session_.currentYear();
    if (!year)
        return;
    const size_t read = session_.acceptPage(std::string_view(body.constData(), static_cast<size_t>(body.size())),
                                            contentType.toStdString());
    if (!summary().failure)  // a page that failed was not read
        emit yearRead(*year, static_cast<int>(read), static_cast<int>(summary().read));
    requestCurrentYear();
}

void OnlineUpdate::onFailed(const QString& reason) {
    session_.failCurrentYear(reason.toStdString() + "。");
    finish();
}

void OnlineUpdate::finish() {
    if (!running_)
        return;
    running_ = false;
    emit finished();
}

}  // namespace drawfollow
