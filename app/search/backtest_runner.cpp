#include "app/search/backtest_runner.h"

#include "app/shell/user_dialogs.h"
#include "store/history_db.h"

#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

#include <new>

namespace drawfollow {

BacktestRunner::BacktestRunner(UserDialogs& dialogs, QWidget* window)
    : QObject(window), dialogs_(dialogs), window_(window) {
    connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, &BacktestRunner::collect);
}

BacktestRunner::~BacktestRunner() {
    // The worker holds nothing of this object, but its result would have nowhere to go.
    if (cancelled_)
        cancelled_->store(true);
    watcher_.waitForFinished();
}

void BacktestRunner::start(std::function<Backtest()> prepare, BacktestSettings settings) {
    if (running())
        return;
    cancelled_ = std::make_shared<std::atomic<bool>>(false);
    progress_ = dialogs_.progress(window_, QStringLiteral("回测"), QStringLiteral("正在回测……"));
    // This object outlives the worker (its destructor waits), and a report still queued
    // when it goes is dropped with it.
    const auto cancelled = cancelled_;
    const auto progress = [this, cancelled](size_t done, size_t total) {
        QMetaObject::invokeMethod(
            this, [this, done, total] { report(done, total); }, Qt::QueuedConnection);
        return !cancelled->load();
    };
    watcher_.setFuture(QtConcurrent::run([prepare = std::move(prepare), settings, progress] {
        try {
            const Backtest backtest = prepare();
            return Outcome{backtest.run(settings, progress), {}};
        } catch (const StoreError& e) {
            return Outcome{{}, QString::fromStdString(failureText(e))};
        } catch (const std::bad_alloc&) {
            return Outcome{{}, QStringLiteral("内存不足，回测没有完成。")};
        } catch (const std::exception& e) {
            // Anything escaping here would be rethrown by result() on the window's thread.
            return Outcome{{}, QStringLiteral("回测没有完成：") + QString::fromStdString(failureText(e))};
        }
    }));
}

void BacktestRunner::report(size_t done, size_t total) {
    if (!progress_ || reporting_)
        return;
    reporting_ = true;
    if (!progress_->advance(done, total))
        cancelled_->store(true);
    reporting_ = false;
}

void BacktestRunner::collect() {
    if (reporting_) {
        QMetaObject::invokeMethod(this, &BacktestRunner::collect, Qt::QueuedConnection);
        return;
    }
    progress_.reset();
    const Outcome outcome = watcher_.result();
    if (!outcome.failure.isEmpty())
        emit failed(outcome.failure);
    else
        emit finished(outcome.result);
}

}  // namespace drawfollow
