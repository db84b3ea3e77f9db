#include "app/shell/background_job.h"
#include "store/history_db.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <exception>

namespace drawfollow {

namespace {

constexpr int kTickMs = 100;
// Work shorter than this shows only the busy bar: a button that flashes up cannot be used.
constexpr int kTicksBeforeCancel = 5;

}  // namespace

BackgroundJob::BackgroundJob(QStatusBar* statusBar, QObject* parent) : QObject(parent) {
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
    connect(cancel_, &QToolButton::clicked, this, &BackgroundJob::cancel);

    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(kTickMs);
    connect(progressTimer_, &QTimer::timeout, this, &BackgroundJob::showProgress);
}

BackgroundJob::~BackgroundJob() {
    if (!thread_)
        return;
    // The status bar and its button may be gone already: only the flag is set.
    control_->cancelled_.store(true);
    thread_->wait();
    delete thread_;
}

bool BackgroundJob::launch(const QString& label, std::function<void(JobControl&)> work, std::function<void()> finish) {
    if (thread_)
        return false;
    control_ = std::make_unique<JobControl>();
    finish_ = std::move(finish);
    failure_.clear();
    JobControl& control = *control_;
    thread_ = QThread::create([this, work = std::move(work), &control] {
        try {
            work(control);
        } catch (const std::exception& e) {
            failure_ = QString::fromStdString(failureText(e));
        } catch (...) {
            failure_ = QStringLiteral("未知的错误");
        }
        control.workWritten_.store(true, std::memory_order_release);
    });
    connect(thread_, &QThread::finished, this, &BackgroundJob::finish);

    label_->setText(label);
    bar_->setRange(0, 0);
    cancel_->setVisible(false);
    cancel_->setEnabled(true);
    indicator_->show();
    ticks_ = 0;
    progressTimer_->start();
    emit runningChanged(true);
    thread_->start();
    return true;
}

void BackgroundJob::cancel() {
    if (!control_)
        return;
    control_->cancelled_.store(true);
    cancel_->setEnabled(false);
}

void BackgroundJob::showProgress() {
    if (++ticks_ >= kTicksBeforeCancel)
        cancel_->setVisible(true);
    const size_t total = control_ ? control_->total_.load() : 0;
    if (total == 0)
        return;
    // QProgressBar counts in int; a scale of thousandths fits any count.
    bar_->setRange(0, 1000);
    bar_->setValue(static_cast<int>(std::min(control_->done_.load(), total) * 1000 / total));
}

void BackgroundJob::finish() {
    // Everything the work wrote, its result and failure_ included, is read after this.
    control_->workWritten_.load(std::memory_order_acquire);
    progressTimer_->stop();
    indicator_->hide();
    thread_->deleteLater();
    thread_ = nullptr;
    const std::function<void()> finish = std::move(finish_);
    const QString failure = failure_;
    control_.reset();
    emit runningChanged(false);
    if (failure.isEmpty())
        finish();
    else
        emit failed(failure);
}

}  // namespace drawfollow
