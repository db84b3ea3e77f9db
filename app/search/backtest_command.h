// 回测: the panel's search tried before each of the newest draws, off the window's thread,
// then the result in its own dialog. A panel the search would refuse is refused here too,
// in the search's words.
#pragma once

#include "analysis/backtest.h"
#include "analysis/search_panel.h"

#include <QObject>

#include <optional>

class QWidget;

namespace drawfollow {

class BacktestRunner;
class SearchPanelController;
class UserDialogs;
enum class SearchButton;

class BacktestCommand final : public QObject {
    Q_OBJECT

public:
    BacktestCommand(SearchPanelController& search, UserDialogs& dialogs, QWidget* window);

    bool running() const;
    // `panel`: none when there is no database to read.
    void run(const std::optional<SearchPanel>& panel, SearchButton kind, BacktestSettings settings);

signals:
    void runningChanged(bool running);
    // A line for the status bar: the backtest was cancelled.
    void done(const QString& summary);

private:
    void show(const BacktestResult& result);
    void refuse(const QString& reason);

    SearchPanelController& search_;
    UserDialogs& dialogs_;
    QWidget* window_;
    BacktestRunner* runner_;
    QString searchName_;
};

}  // namespace drawfollow
