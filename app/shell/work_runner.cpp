#include "app/shell/work_runner.h"
#include "store/history_db.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <exception>
#include <system_error>

namespace drawfollow {

namespace {

// How often the window's thread looks for what the workers have handed over: short enough
// that an answer is shown without a delay anyone sees, and only while work runs.
constexpr std::chrono::milliseconds kPoll{5};
// The busy bar follows the work at this pace.
constexpr int kPollsPerProgress = 20;
// Work shorter than this shows only the busy bar: a button that flashes up cannot be used.
constexpr std::chrono::milliseconds kBeforeCancel{500};

enum class WhenBusy { Refuse, LatestWins };

WhenBusy ruleOf(WorkLane lane) {
    switch (lane) {
        case WorkLane::TrendReading:
        case WorkLane::ShapeReading:
            return WhenBusy::LatestWins;
        case WorkLane::History:
        case WorkLane::Spreadsheet:
        case WorkLane::Backtest:
        case WorkLane::Pick:
            break;
    }
    return WhenBusy::Refuse;
}

}  // namespace

void JobControl::post(std::function<void()> step) {
    const std::lock_guard lock(mutex_);
    posted_.push_back(std::move(step));
}

WorkRunner::WorkRunner(QStatusBar* statusBar, QObject* parent) : QObject(parent) {
    indicator_ = new QWidget(statusBar);
    indicator_->setObjectName(QStringLiteral("busyIndicator"));
    label_ = new QLabel(indicator_);
    label_->setObjectName(QStringLiteral("busyLabel"));
    bar_ = new QProgressBar(indicator_);
    bar_->setObjectName(QStringLiteral("busyBar"));
    bar_->setMaximumWidth(160);
    bar_->setTextVisible(false);
    cancel_ = new QToolButton(indicator_);
    cancel_->setText(QStringLiteral("取消"));
    cancel_->setAutoRaise(true);
    cancel_->setObjectName(QStringLiteral("busyCancel"));
    auto* layout = new QHBoxLayout(indicator_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addWidget(cancel_);
    // The status bar takes the height of its tallest item, shown or not: the indicator is
    // kept to a line of text, so that the window keeps its room for the grids.
    indicator_->setMaximumHeight(label_->sizeHint().height());
    statusBar->addPermanentWidget(indicator_);
    indicator_->hide();
    connect(cancel_, &QToolButton::clicked, this, &WorkRunner::cancelShown);

    poll_ = new QTimer(this);
    poll_->setInterval(kPoll);
    // What the workers handed over is taken in a posted event, not in the timer's call, as Qt
    // delivers a result from another thread: the window then repaints what a job's end showed
    // in an event of its own, and takes input between the two.
    connect(poll_, &QTimer::timeout, this, [this] {
        if (collectPosted_)
            return;
        collectPosted_ = true;
        QMetaObject::invokeMethod(this, &WorkRunner::collect, Qt::QueuedConnection);
    });
}

WorkRunner::~WorkRunner() {
    // The status bar and its button may be gone already: only the flags are set.
    for (const auto& job : jobs_)
        job->control.cancelled_.store(true);
    for (const auto& job : jobs_)
        if (job->thread.joinable())
            job->thread.join();
}

bool WorkRunner::busy(WorkLane lane) const {
    return std::any_of(jobs_.begin(), jobs_.end(), [lane](const auto& job) { return job->plan.lane == lane; });
}

bool WorkRunner::launch(const QObject* owner, const WorkPlan& plan, std::function<void(JobControl&)> work,
                        std::function<void(bool cancelled)> finish) {
    const bool laneBusy = busy(plan.lane);
    if (laneBusy && ruleOf(plan.lane) == WhenBusy::Refuse)
        return false;
    auto job = std::make_unique<Job>();
    job->plan = plan;
    job->owner = owner;
    job->work = std::move(work);
    job->finish = std::move(finish);
    if (laneBusy) {
        // The latest wins: one still waiting is forgotten, one running is stopped and this
        // one waits for its thread.
        cancel(plan.lane);
        jobs_.push_back(std::move(job));
    } else {
        Job& started = *jobs_.emplace_back(std::move(job));
        if (!run(started)) {
            jobs_.pop_back();
            emit failed(QStringLiteral("系统没有余力开始这项工作，请关闭一些程序后再试。"));
            return false;
        }
    }
    if (!poll_->isActive()) {
        ticks_ = 0;
        poll_->start();
    }
    showProgress();
    emit busyChanged();
    return true;
}

bool WorkRunner::run(Job& job) {
    job.started = std::chrono::steady_clock::now();
    try {
        job.thread = std::thread([&job] {
            try {
                job.work(job.control);
            } catch (const std::exception& e) {
                job.failure = QString::fromStdString(failureText(e));
            } catch (...) {
                job.failure = QStringLiteral("未知的错误");
            }
            const std::lock_guard lock(job.control.mutex_);
            job.control.ended_ = true;
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WorkRunner::drop(Job& job) {
    job.dropped = true;
    job.control.cancelled_.store(true);
}

void WorkRunner::cancel(WorkLane lane) {
    // A job not started yet has nothing to stop: it is forgotten at once.
    std::erase_if(jobs_, [lane](const auto& job) { return job->plan.lane == lane && !job->thread.joinable(); });
    for (const auto& job : jobs_)
        if (job->plan.lane == lane)
            drop(*job);
    showProgress();
}

void WorkRunner::cancelShown() {
    if (Job* job = shownJob()) {
        job->control.cancelled_.store(true);
        cancel_->setEnabled(false);
    }
}

void WorkRunner::collect() {
    collectPosted_ = false;
    // A step or an end may start or cancel other jobs: each is looked up afresh.
    for (size_t i = 0; i < jobs_.size(); ++i) {
        Job& job = *jobs_[i];
        if (!job.thread.joinable())
            continue;
        std::vector<std::function<void()>> steps;
        bool ended = false;
        {
            const std::lock_guard lock(job.control.mutex_);
            steps.swap(job.control.posted_);
            ended = job.control.ended_;
        }
        if (!job.owner)
            drop(job);
        for (const auto& step : steps) {
            if (job.dropped)
                break;
            step();
        }
        if (!ended)
            continue;
        auto it = std::find_if(jobs_.begin(), jobs_.end(), [&job](const auto& held) { return held.get() == &job; });
        std::unique_ptr<Job> owned = std::move(*it);
        jobs_.erase(it);
        finish(std::move(owned));
        return;  // the list has changed: the rest is looked at on the next poll
    }
    if (++ticks_ % kPollsPerProgress == 0)
        showProgress();
}

void WorkRunner::finish(std::unique_ptr<Job> job) {
    // The thread has written everything it will: the join makes that plain to a checker too.
    job->thread.join();
    const WorkLane lane = job->plan.lane;
    startWaiting(lane);
    if (jobs_.empty())
        poll_->stop();
    showProgress();
    emit busyChanged();
    if (job->dropped || !job->owner)
        return;
    if (!job->failure.isEmpty())
        emit failed(job->failure);
    else
        job->finish(job->control.cancelled());
}

void WorkRunner::startWaiting(WorkLane lane) {
    for (auto it = jobs_.begin(); it != jobs_.end(); ++it) {
        Job& job = **it;
        if (job.plan.lane != lane)
            continue;
        if (job.thread.joinable())
            return;  // one of the lane still runs
        if (!run(job)) {
            jobs_.erase(it);
            emit failed(QStringLiteral("系统没有余力开始这项工作，请关闭一些程序后再试。"));
        }
        return;
    }
}

WorkRunner::Job* WorkRunner::shownJob() const {
    const auto newest = std::find_if(jobs_.rbegin(), jobs_.rend(),
                                     [](const auto& job) { return !job->plan.label.isEmpty() && !job->dropped; });
    return newest == jobs_.rend() ? nullptr : newest->get();
}

void WorkRunner::showProgress() {
    Job* job = shownJob();
    if (!job) {
        indicator_->hide();
        return;
    }
    label_->setText(job->plan.label);
    cancel_->setEnabled(!job->control.cancelled());
    const bool longEnough = std::chrono::steady_clock::now() - job->started >= kBeforeCancel;
    cancel_->setVisible(job->plan.cancellable && longEnough);
    indicator_->show();
    const size_t total = job->control.total_.load();
    if (total == 0) {
        bar_->setRange(0, 0);
        return;
    }
    // QProgressBar counts in int; a scale of thousandths fits any count.
    bar_->setRange(0, 1000);
    bar_->setValue(static_cast<int>(std::min(job->control.done_.load(), total) * 1000 / total));
}

}  // namespace drawfollow
