#include "app/update/online_update_command.h"

#include "app/history/history_controller.h"
#include "app/shell/user_dialogs.h"
#include "app/shell/work_runner.h"
#include "io/update_plan.h"
#include "net/online_update.h"
#include "store/cancel_guard.h"

#include <QProgressDialog>

#include <memory>

namespace drawfollow {

namespace {

QString updateTitle() {
    return QStringLiteral("历史号在线更新");
}

QString hostTitle() {
    return QStringLiteral("在线更新网址设置");
}

QString progressText(int year, int ordinal, int yearsInAll, int readInAll) {
    return QStringLiteral(
               "正在读取 %1 年的开奖走势网页（第 %2 页，共 %3 页）……\n本次已读取 %4 期新的历史号码，更新结束时保存。")
        .arg(year)
        .arg(ordinal)
        .arg(yearsInAll)
        .arg(readInAll);
}

}  // namespace

OnlineUpdateCommand::OnlineUpdateCommand(HistoryController& controller, WorkRunner& runner, UserDialogs& dialogs,
                                         QWidget* window)
    : QObject(window), controller_(controller), runner_(runner), dialogs_(dialogs), window_(window) {}

void OnlineUpdateCommand::run() {
    if (running())
        return;
    QString question = QStringLiteral(
        "确实要在线更新最新历史号码吗？更新可能要花费一段时间，网络不通或者我方服务器更新不及时可能都造成更新失败！");
    // Said before anything happens, so that the user can still cancel or change the years kept.
    if (const QString drop = controller_.onlineUpdateDropNotice(); !drop.isEmpty())
        question += QStringLiteral("\n") + drop + QStringLiteral("。");
    if (!dialogs_.confirm(window_, QStringLiteral("读入历史"), question))
        return;
    QString host = controller_.settings().updateHost();
    if (host.isEmpty()) {
        const std::optional<QString> entered = askHost(host);
        if (!entered || entered->isEmpty())
            return;
        host = *entered;
        controller_.setUpdateHost(host);
    }
    std::unique_ptr<OnlineUpdate> update = controller_.onlineUpdate(host);
    if (!update) {
        dialogs_.message(window_, MessageKind::Critical, updateTitle(),
                         QStringLiteral("历史数据库不可用，不能在线更新。\n%1").arg(controller_.storeProblem()));
        return;
    }
    update_ = update.release();
    update_->setParent(this);
    update_->deferWrite();
    connect(update_, &OnlineUpdate::yearStarted, this, &OnlineUpdateCommand::showYearStarted);
    connect(update_, &OnlineUpdate::yearRead, this, &OnlineUpdateCommand::showYearRead);
    connect(update_, &OnlineUpdate::finished, this, &OnlineUpdateCommand::finish);
    showProgress();
    emit runningChanged(true);
    update_->start();
}

void OnlineUpdateCommand::editHost() {
    if (const std::optional<QString> host = askHost(controller_.settings().updateHost()))
        controller_.setUpdateHost(*host);
}

std::optional<QString> OnlineUpdateCommand::askHost(const QString& current) {
    const QString prompt = QStringLiteral(
        "开奖走势网页所在的网址（例如 https://chart.example.com）：\n在线更新按年份读取该网址下的开奖走势网页。");
    QString text = current;
    for (;;) {
        const std::optional<QString> answer = dialogs_.inputText(window_, hostTitle(), prompt, text);
        if (!answer)
            return std::nullopt;
        text = answer->trimmed();
        if (text.isEmpty())
            return text;
        // Any year will do: only the address part is checked.
        const ChartUrl url = chartPageUrl(text.toStdString(), kEarliestChartYear);
        if (url.problem.empty())
            return text;
        dialogs_.message(window_, MessageKind::Warning, hostTitle(),
                         QString::fromStdString(url.problem) + QStringLiteral("\n\n请重新输入网址。"));
    }
}

void OnlineUpdateCommand::showProgress() {
    ordinal_ = yearsInAll_ = readInAll_ = 0;
    progress_ = new QProgressDialog(QStringLiteral("正在准备在线更新……"), QStringLiteral("取消"), 0, 0, window_);
    progress_->setObjectName(QStringLiteral("updateProgress"));
    progress_->setWindowTitle(updateTitle());
    // Not modal: the history stays readable and searchable while pages load (the commands
    // that change it are off), and setValue() never runs a nested event loop.
    progress_->setWindowModality(Qt::NonModal);
    progress_->setMinimumDuration(0);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumWidth(420);
    connect(progress_, &QProgressDialog::canceled, update_, &OnlineUpdate::cancel);
    progress_->show();
}

void OnlineUpdateCommand::showYearStarted(int year, int ordinal, int yearsInAll) {
    ordinal_ = ordinal;
    yearsInAll_ = yearsInAll;
    progress_->setRange(0, yearsInAll);
    progress_->setValue(ordinal - 1);
    progress_->setLabelText(progressText(year, ordinal, yearsInAll, readInAll_));
}

void OnlineUpdateCommand::showYearRead(int year, int, int readInAll) {
    readInAll_ = readInAll;
    progress_->setValue(ordinal_);
    progress_->setLabelText(progressText(year, ordinal_, yearsInAll_, readInAll));
}

void OnlineUpdateCommand::finish() {
    progress_->hide();
    progress_->deleteLater();
    progress_ = nullptr;
    if (const std::optional<UpdateWrite> pending = update_->takePendingWrite())
        write(*pending);
    else
        report();
}

void OnlineUpdateCommand::write(const UpdateWrite& write) {
    const std::filesystem::path file = controller_.databaseFile();
    const bool started = runner_.start<UpdateWritten>(
        this, {WorkLane::History, QStringLiteral("正在保存在线更新读到的历史号码…")},
        [file, write](JobControl& control) {
            UpdateWritten written;
            try {
                HistoryDb db(file);
                const CancelGuard guard(db, control.cancelFlag());
                written = writeUpdate(db, write);
            } catch (const std::exception& e) {
                written.notStoredReason = "保存时出错，历史号码未作任何改动：" + failureText(e);
            }
            if (!written.stored && control.cancelled())
                written.notStoredReason = "保存已取消，历史号码未作任何改动。";
            return written;
        },
        [this](const UpdateWritten& written) {
            update_->recordWrite(written);
            report();
        });
    if (started)
        return;
    // A search still runs: the write follows it.
    auto waiting = std::make_shared<QMetaObject::Connection>();
    *waiting = connect(
        &runner_, &WorkRunner::busyChanged, this,
        [this, write, waiting] {
            if (runner_.busy(WorkLane::History))
                return;
            disconnect(*waiting);
            this->write(write);
        },
        Qt::QueuedConnection);
}

void OnlineUpdateCommand::report() {
    const UpdateSummary& summary = update_->summary();
    const bool changed = summary.added > 0 || summary.dropped > 0;
    bool succeeded = summary.succeeded();
    QString text = update_->summaryText();
    update_->deleteLater();  // report() may run inside its signal
    update_ = nullptr;
    emit runningChanged(false);
    if (changed) {
        const QString problem = controller_.reloadHistory();
        if (!problem.isEmpty()) {
            text += QStringLiteral("\n") + problem;
            succeeded = false;
        }
    }
    dialogs_.message(window_, succeeded ? MessageKind::Information : MessageKind::Warning, updateTitle(), text);
}

}  // namespace drawfollow
