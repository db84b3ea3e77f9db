// 回测: the panel's search tried before each of the newest draws, off the window's thread,
// then the result in its own dialog. A panel the search would refuse is refused here too,
// in the search's words. The backtest is prepared from a snapshot of the history and touches
// no database, so the worker needs no connection of its own.
#pragma once

#include "analysis/backtest.h"
#include "analysis/search_panel.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace drawfollow {

class SearchPanelController;
class UserDialogs;
class WorkRunner;
enum class SearchButton;

// What a backtest came to: its result, or why it did not run, in words for the user.
struct BacktestOutcome {
    BacktestResult result;
    QString failure;  // empty when it ran
};

// Runs the backtest `prepare` makes; whatever either throws ends in the outcome's failure.
BacktestOutcome runBacktest(const std::function<Backtest()>& prepare, const BacktestSettings& settings,
                            const BacktestProgress& progress);

class BacktestCommand final : public QObject {
    Q_OBJECT

public:
    BacktestCommand(SearchPanelController& search, WorkRunner& runner, UserDialogs& dialogs, QWidget* window);

    bool running() const;
    // `panel`: none when there is no database to read. One backtest at a time: a second
    // while one runs is ignored.
    void run(const std::optional<SearchPanel>& panel, SearchButton kind, BacktestSettings settings);

signals:
    void runningChanged(bool running);
    // A line for the status bar: the backtest was cancelled.
    void done(const QString& summary);

private:
    void show(const BacktestOutcome& outcome);
    void refuse(const QString& reason);

    SearchPanelController& search_;
    WorkRunner& runner_;
    UserDialogs& dialogs_;
    QWidget* window_;
    QString searchName_;
};

}  // namespace drawfollow
