#include "app/search/backtest_command.h"

#include "app/search/backtest_dialog.h"
#include "app/search/search_panel_controller.h"
#include "app/shell/user_dialogs.h"
#include "app/shell/work_runner.h"
#include "store/history_db.h"

#include <QWidget>

#include <new>

namespace drawfollow {

BacktestOutcome runBacktest(const std::function<Backtest()>& prepare, const BacktestSettings& settings,
                            const BacktestProgress& progress) {
    // Nothing may escape a worker: each refusal is said in the backtest's words.
    try {
        return {prepare().run(settings, progress), {}};
    } catch (const StoreError& e) {
        return {{}, QString::fromStdString(failureText(e))};
    } catch (const std::bad_alloc&) {
        return {{}, QStringLiteral("内存不足，回测没有完成。")};
    } catch (const std::exception& e) {
        return {{}, QStringLiteral("回测没有完成：") + QString::fromStdString(failureText(e))};
    }
}

BacktestCommand::BacktestCommand(SearchPanelController& search, WorkRunner& runner, UserDialogs& dialogs,
                                 QWidget* window)
    : QObject(window), search_(search), runner_(runner), dialogs_(dialogs), window_(window) {}

bool BacktestCommand::running() const {
    return runner_.busy(WorkLane::Backtest);
}

void BacktestCommand::run(const std::optional<SearchPanel>& panel, SearchButton kind, BacktestSettings settings) {
    if (running())
        return;
    if (!panel) {
        refuse(QStringLiteral("历史数据库不可用，不能回测。"));
        return;
    }
    searchName_ = kind == SearchButton::Combination ? QStringLiteral("组合检索") : QStringLiteral("跟随检索");
    std::shared_ptr<const HistorySnapshot> history;
    try {
        // The window's snapshot, copied for the backtest's own on the worker.
        history = search_.backtestHistory();
    } catch (const std::exception& e) {
        refuse(QString::fromStdString(failureText(e)));
        return;
    }
    const bool started = runner_.start<BacktestOutcome>(
        this, {WorkLane::Backtest, QStringLiteral("正在回测…")},
        [history, panel = *panel, settings](JobControl& job) {
            return runBacktest([&history, &panel] { return Backtest(*history, panel); }, settings,
                               [&job](size_t done, size_t total) { return job.advance(done, total); });
        },
        [this](const BacktestOutcome& outcome) { show(outcome); });
    if (started)
        emit runningChanged(true);
}

void BacktestCommand::show(const BacktestOutcome& outcome) {
    emit runningChanged(false);
    if (!outcome.failure.isEmpty()) {
        refuse(outcome.failure);
        return;
    }
    if (outcome.result.cancelled) {
        emit done(QStringLiteral("回测已取消，历史数据库未改动。"));
        return;
    }
    (new BacktestDialog(outcome.result, searchName_, window_))->show();
}

void BacktestCommand::refuse(const QString& reason) {
    dialogs_.message(window_, MessageKind::Warning, QStringLiteral("回测未进行"), reason);
}

}  // namespace drawfollow
