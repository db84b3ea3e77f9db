#include "app/history/database_watch.h"

#include "app/history/history_controller.h"

namespace drawfollow {

namespace {

constexpr int kSettleMs = 300;

}  // namespace

DatabaseWatch::DatabaseWatch(HistoryController& history, std::function<bool()> busy, QObject* parent)
    : QObject(parent), history_(history), busy_(std::move(busy)), file_(history.databaseFile()) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &DatabaseWatch::lookAtFile);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        // A file replaced by a rename is no longer watched: watch the new one.
        watchFile();
        settle_.start();
    });
    watchFile();
}

void DatabaseWatch::watchFile() {
    const QString path = QString::fromStdString(file_.string());
    if (!watcher_.files().contains(path) && std::filesystem::exists(file_))
        watcher_.addPath(path);
}

void DatabaseWatch::workEnded() {
    if (due_)
        settle_.start();
}

void DatabaseWatch::lookAtFile() {
    if (busy_()) {
        due_ = true;
        return;
    }
    due_ = false;
    if (!history_.changedElsewhere())
        return;
    const QString problem = history_.reloadHistory();
    emit reloaded(
        problem.isEmpty()
            ? QStringLiteral("另一个程序修改了历史数据库，已重新读取：共 %1 期。").arg(history_.history().size())
            : QStringLiteral("另一个程序修改了历史数据库，但%1").arg(problem));
}

}  // namespace drawfollow
