// 记录本期预测 and 预测记录: the panel's pick for the next issue recorded as the backtest
// would choose it, and the dialog of the records.
#pragma once

#include "analysis/backtest.h"
#include "analysis/search_panel.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace drawfollow {

class HistoryController;
class HistorySnapshot;
class PickBookDialog;
class SpreadsheetWriter;
class UserDialogs;
class WorkRunner;

class PickCommands final : public QObject {
    Q_OBJECT

public:
    PickCommands(HistoryController& history, WorkRunner& runner, SpreadsheetWriter& spreadsheets, UserDialogs& dialogs,
                 QWidget* window);

    // `panel`: none when there is no database to read. The backtest's K and mode choose, on
    // a worker from the shared snapshot; the record is stored once they arrive. One at a time.
    void record(const std::optional<SearchPanel>& panel, const BacktestSettings& settings);
    bool recording() const;
    // Opens the dialog, or brings the open one forward.
    void showBook();

signals:
    // A line for the status bar: the pick recorded, or what became of an export.
    void done(const QString& summary);

private:
    struct Choice {
        std::vector<int> values;
        QString problem;  // why none was chosen, for the user; empty when chosen
    };
    void store(const Choice& choice, const std::shared_ptr<const HistorySnapshot>& history, const SearchPanel& panel,
               const BacktestSettings& settings);
    void refuse(const QString& reason);

    HistoryController& history_;
    WorkRunner& runner_;
    SpreadsheetWriter& spreadsheets_;
    UserDialogs& dialogs_;
    QWidget* window_;
    QPointer<PickBookDialog> book_;
};

}  // namespace drawfollow
