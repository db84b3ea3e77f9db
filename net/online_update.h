// The online update as the window and the command-line tool run it: the pages are
// fetched one year after the other without blocking the event loop; the history changes
// once, when the update ends (update_session.h says how).
//
// Use: construct, connect the signals, start(); finished() always follows exactly once
// (after start(), also when the update cannot begin or has nothing to do), then read
// summary(). cancel() stops at once: nothing is dropped, the draws read so far are
// stored, finished() follows.
#pragma once

#include "io/update_session.h"
#include "net/page_fetcher.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

namespace drawfollow {

class OnlineUpdate : public QObject {
    Q_OBJECT
public:
    OnlineUpdate(HistoryDb& db, DerivationSettings settings, UpdateRequest request, FetchLimits limits = {},
                 QObject* parent = nullptr);

    // Does nothing when the update is running or has run.
    void start();
    void cancel();
    bool running() const { return running_; }

    // UpdateSession's deferred write, for a window that writes on a worker thread: asked
    // for before start(); after finished() the write is taken, done elsewhere and recorded,
    // and only then is summary() complete.
    void deferWrite() { session_.deferWrite(); }
    std::optional<UpdateWrite> takePendingWrite() { return session_.takePendingWrite(); }
    void recordWrite(const UpdateWritten& written) { session_.recordWrite(written); }

    const UpdateSummary& summary() const { return session_.summary(); }
    // summary().message() for a message box.
    QString summaryText() const;

signals:
    // The page of `year` is being fetched; it is the `ordinal`-th of `yearsInAll` (1-based).
    void yearStarted(int year, int ordinal, int yearsInAll);
    // The page of `year` was read: `read` new draws, `readInAll` since the start (not
    // stored yet).
    void yearRead(int year, int read, int readInAll);
    void finished();

private:
    void requestCurrentYear();
    void onFetched(const QByteArray& body, const QString& contentType);
    void onFailed(const QString& reason);
    void finish();

    UpdateSession session_;
    QNetworkAccessManager network_;
    PageFetcher fetcher_;
    bool started_ = false;
    bool running_ = false;
    int firstYear_ = 0;
    int yearsInAll_ = 0;
};

}  // namespace drawfollow
