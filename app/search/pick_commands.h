// 记录本期预测 and 预测记录: the panel's pick for the next issue recorded as the backtest
// would choose it, and the dialog of the records.
#pragma once

#include "analysis/backtest.h"
#include "analysis/search_panel.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QWidget;

namespace drawfollow {

class HistoryController;
class PickBookDialog;
class UserDialogs;

class PickCommands final : public QObject {
    Q_OBJECT

public:
    PickCommands(HistoryController& history, UserDialogs& dialogs, QWidget* window);

    // `panel`: none when there is no database to read. The backtest's K and mode choose.
    void record(const std::optional<SearchPanel>& panel, const BacktestSettings& settings);
    // Opens the dialog, or brings the open one forward.
    void showBook();

signals:
    // A line for the status bar: the pick recorded, or what became of an export.
    void done(const QString& summary);

private:
    HistoryController& history_;
    UserDialogs& dialogs_;
    QWidget* window_;
    QPointer<PickBookDialog> book_;
};

}  // namespace drawfollow
