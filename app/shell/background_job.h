// Long work off the window's thread: the window keeps repainting while it runs, the status
// bar shows a busy bar at once and, once the work has taken long enough to notice, how far
// it is and a 取消 button. The work must not touch what the window's thread uses: a job
// on the history opens a HistoryDb of its own on the same file (SQLite connections stay
// on the thread that opened them; the write lock keeps writers apart).
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QStatusBar;
class QThread;
class QTimer;
class QToolButton;
class QWidget;

namespace drawfollow {

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

private:
    friend class BackgroundJob;
    std::atomic<bool> cancelled_{false};
    std::atomic<size_t> done_{0};
    std::atomic<size_t> total_{0};
    // Set by the worker once the work and its result are written. Qt's finished() signal
    // already orders them before finish(), but through its own locks, which ThreadSanitizer
    // cannot see; this release/acquire pair states the hand-over in the program itself.
    std::atomic<bool> workWritten_{false};
};

class BackgroundJob final : public QObject {
    Q_OBJECT

public:
    explicit BackgroundJob(QStatusBar* statusBar, QObject* parent = nullptr);
    // A job still running is cancelled and waited for: its work may hold a transaction.
    ~BackgroundJob() override;

    bool running() const { return thread_ != nullptr; }

    // Runs `work` on a worker thread, then `done` with its result on this object's thread.
    // The work reports its failures in its result; one that escapes ends in failed().
    // Refused (false, nothing runs) while another job runs.
    template <typename Result>
    bool start(const QString& label, std::function<Result(JobControl&)> work, std::function<void(Result)> done) {
        auto result = std::make_shared<std::optional<Result>>();
        return launch(
            label, [work = std::move(work), result](JobControl& job) { result->emplace(work(job)); },
            [done = std::move(done), result] { done(std::move(**result)); });
    }

    // The 取消 button: the work sees it through JobControl and ends early.
    void cancel();

signals:
    void runningChanged(bool running);
    // The work threw instead of reporting; the text is for the user.
    void failed(const QString& reason);

private:
    bool launch(const QString& label, std::function<void(JobControl&)> work, std::function<void()> finish);
    void finish();
    void showProgress();

    QWidget* indicator_;
    QLabel* label_;
    QProgressBar* bar_;
    QToolButton* cancel_;
    QTimer* progressTimer_;
    QThread* thread_ = nullptr;
    std::unique_ptr<JobControl> control_;
    std::function<void()> finish_;
    QString failure_;
    int ticks_ = 0;
};

}  // namespace drawfollow
