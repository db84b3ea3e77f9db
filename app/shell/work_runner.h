// Every piece of long work the window hands off its thread runs here: the searches, the
// changes of the history, the backtest, the pick, the exports and the trend window's reads.
// Each job runs on a thread of its own; the window keeps repainting meanwhile. The status bar
// shows the newest job that has a label, with a busy bar at once and, once it has taken long
// enough to notice, how far it is and a 取消 button.
//
// Which jobs may run together is one rule, by lane: jobs of different lanes run side by side
// (a read works on a snapshot of the history or on a copy of the cells, a change on a
// connection of its own, and SQLite's write lock keeps writers apart); within a lane one job
// runs at a time. A lane either refuses a second job while one runs (one change of the
// history at a time, one workbook written at a time) or lets the latest wins: the earlier job
// is cancelled, its end is never reported, and the new one starts once it has stopped.
//
// The work must not touch what the window's thread uses. Its result comes back to the
// window's thread under a lock of this program's own and after the thread is joined; nothing
// of it passes through Qt's event queue, which only carries the window's own poll, so that a
// thread checker sees every hand-over.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QLabel;
class QProgressBar;
class QStatusBar;
class QTimer;
class QToolButton;
class QWidget;

namespace drawfollow {

enum class WorkLane {
    // Every job on the history file through a connection of its own: the changes, the text
    // export, the search's fields, the update's write. One at a time; a second is refused.
    History,
    // One workbook written at a time; a second is refused.
    Spreadsheet,
    Backtest,
    Pick,
    // The 走势图 window's table and the 形态 tab's shapes: the latest choice wins.
    TrendReading,
    ShapeReading,
};

struct WorkPlan {
    WorkLane lane;
    // What the status bar says while the job runs; a job without one is not shown there.
    QString label;
    // Whether the work looks at JobControl::cancelled(): only then is 取消 offered for it.
    bool cancellable = true;
};

// What the work sees of its job; every member may be used from the worker thread.
class JobControl {
public:
    bool cancelled() const { return cancelled_.load(); }
    // For store/cancel_guard.h, which stops the statements of a connection.
    const std::atomic<bool>& cancelFlag() const { return cancelled_; }
    // How far the work is; the status bar shows it.
    void report(size_t done, size_t total) {
        done_.store(done);
        total_.store(total);
    }
    // report() and !cancelled() in one, the shape of the store's BatchProgress.
    bool advance(size_t done, size_t total) {
        report(done, total);
        return !cancelled();
    }
    // Runs `step` on the window's thread while the work goes on, after the steps posted before
    // it and before the job's end (a search's answer is shown before its fields are written).
    void post(std::function<void()> step);

private:
    friend class WorkRunner;
    std::atomic<bool> cancelled_{false};
    std::atomic<size_t> done_{0};
    std::atomic<size_t> total_{0};
    std::mutex mutex_;
    std::vector<std::function<void()>> posted_;  // under mutex_
    bool ended_ = false;                         // under mutex_
};

class WorkRunner final : public QObject {
    Q_OBJECT

public:
    explicit WorkRunner(QStatusBar* statusBar, QObject* parent = nullptr);
    // Every job still running is cancelled and waited for (its work may hold a transaction);
    // none is reported.
    ~WorkRunner() override;

    bool busy(WorkLane lane) const;
    bool idle() const { return jobs_.empty(); }

    // Runs `work` on a thread of its own, then `done` with its result on this object's
    // thread, unless `owner` is gone by then, the job was cancelled by its lane, or the work
    // threw: that ends in failed(). Refused (false, nothing runs) by a lane that has a job.
    template <typename Result>
    bool start(const QObject* owner, const WorkPlan& plan, std::function<Result(JobControl&)> work,
               std::function<void(Result)> done) {
        return start<Result>(owner, plan, std::move(work),
                             [done = std::move(done)](Result result, bool) { done(std::move(result)); });
    }
    // The same; `done` also learns whether 取消 reached the job before its end was reported,
    // for a read whose result is no longer wanted then, even if the work had finished.
    template <typename Result>
    bool start(const QObject* owner, const WorkPlan& plan, std::function<Result(JobControl&)> work,
               std::function<void(Result, bool cancelled)> done) {
        auto result = std::make_shared<std::optional<Result>>();
        return launch(
            owner, plan, [work = std::move(work), result](JobControl& job) { result->emplace(work(job)); },
            [done = std::move(done), result](bool cancelled) { done(std::move(**result), cancelled); });
    }

    // Every job of `lane` is cancelled and its end will not be reported.
    void cancel(WorkLane lane);
    // The 取消 button: the job the status bar shows sees it through JobControl and ends early.
    void cancelShown();

signals:
    // A job has started or ended: busy() and idle() may say otherwise now.
    void busyChanged();
    // The work threw instead of reporting; the text is for the user.
    void failed(const QString& reason);

private:
    struct Job {
        WorkPlan plan;
        QPointer<const QObject> owner;
        std::function<void(JobControl&)> work;
        std::function<void(bool cancelled)> finish;
        JobControl control;
        QString failure;  // written by the worker before it ends
        std::thread thread;
        bool dropped = false;  // its end is not reported
        std::chrono::steady_clock::time_point started;
    };

    bool launch(const QObject* owner, const WorkPlan& plan, std::function<void(JobControl&)> work,
                std::function<void(bool cancelled)> finish);
    // Starts the job's thread; false when the system would not give one.
    bool run(Job& job);
    void drop(Job& job);
    // On the poll: the steps posted by the work, the jobs that have ended, the status bar.
    void collect();
    // The ended job's thread joined and its end reported; a job of its lane waiting starts.
    void finish(std::unique_ptr<Job> job);
    void startWaiting(WorkLane lane);
    Job* shownJob() const;
    void showProgress();

    QWidget* indicator_;
    QLabel* label_;
    QProgressBar* bar_;
    QToolButton* cancel_;
    QTimer* poll_;
    int ticks_ = 0;
    bool collectPosted_ = false;
    std::vector<std::unique_ptr<Job>> jobs_;  // oldest first; those not started wait
};

}  // namespace drawfollow
