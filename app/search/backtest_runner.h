// Prepares and runs a backtest off the window's thread, with a progress dialog whose 取消
// stops it after the target at hand. The backtest is prepared from a snapshot of the
// history and touches no database, so the worker needs no connection of its own.
#pragma once

#include "analysis/backtest.h"

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class QWidget;

namespace drawfollow {

class UserDialogs;
class WorkProgress;

class BacktestRunner final : public QObject {
    Q_OBJECT

public:
    BacktestRunner(UserDialogs& dialogs, QWidget* window);
    ~BacktestRunner() override;

    bool running() const { return watcher_.isRunning() || progress_ != nullptr; }
    // One backtest at a time: a second start while one runs is ignored. `prepare` runs on
    // the worker; its refusal (StoreError), or any other failure, ends in failed().
    void start(std::function<Backtest()> prepare, BacktestSettings settings);

signals:
    // Also when cancelled: the result says so.
    void finished(const drawfollow::BacktestResult& result);
    // The backtest refused its settings.
    void failed(const QString& reason);

private:
    struct Outcome {
        BacktestResult result;
        QString failure;  // why it refused to run; empty when it ran
    };

    // On the window's thread: the worker's report of how far it is.
    void report(size_t done, size_t total);
    void collect();

    UserDialogs& dialogs_;
    QWidget* window_;
    QFutureWatcher<Outcome> watcher_;
    std::unique_ptr<WorkProgress> progress_;
    // A modal progress dialog runs the event loop while it updates: the end of the work
    // must not destroy it then.
    bool reporting_ = false;
    std::shared_ptr<std::atomic<bool>> cancelled_;
};

}  // namespace drawfollow
