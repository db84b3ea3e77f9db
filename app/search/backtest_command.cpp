#include "app/search/backtest_command.h"

#include "app/search/backtest_dialog.h"
#include "app/search/backtest_runner.h"
#include "app/search/search_panel_controller.h"
#include "app/shell/user_dialogs.h"
#include "store/history_db.h"

#include <QWidget>

namespace drawfollow {

BacktestCommand::BacktestCommand(SearchPanelController& search, UserDialogs& dialogs, QWidget* window)
    : QObject(window),
      search_(search),
      dialogs_(dialogs),
      window_(window),
      runner_(new BacktestRunner(dialogs, window)) {
    connect(runner_, &BacktestRunner::finished, this, &BacktestCommand::show);
    connect(runner_, &BacktestRunner::failed, this, &BacktestCommand::refuse);
}

bool BacktestCommand::running() const {
    return runner_->running();
}

void BacktestCommand::run(const std::optional<SearchPanel>& panel, SearchButton kind, BacktestSettings settings) {
    if (running())
        return;
    if (!panel) {
        refuse(QStringLiteral("历史数据库不可用，不能回测。"));
        return;
    }
    searchName_ = kind == SearchButton::Combination ? QStringLiteral("组合检索") : QStringLiteral("跟随检索");
    try {
        // The window's snapshot, copied for the backtest's own on the worker.
        const std::shared_ptr<const HistorySnapshot> history = search_.backtestHistory();
        runner_->start([history, panel = *panel] { return Backtest(*history, panel); }, settings);
    } catch (const std::exception& e) {
        refuse(QString::fromStdString(failureText(e)));
        return;
    }
    emit runningChanged(true);
}

void BacktestCommand::show(const BacktestResult& result) {
    emit runningChanged(false);
    if (result.cancelled) {
        emit done(QStringLiteral("回测已取消，历史数据库未改动。"));
        return;
    }
    (new BacktestDialog(result, searchName_, window_))->show();
}

void BacktestCommand::refuse(const QString& reason) {
    emit runningChanged(false);
    dialogs_.message(window_, MessageKind::Warning, QStringLiteral("回测未进行"), reason);
}

}  // namespace drawfollow
