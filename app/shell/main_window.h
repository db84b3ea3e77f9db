// The main window: the history panel on the left, the search panel and the result
// grids on the right, the menus 历史管理 and 设置. It only assembles the widgets and
// wires the menus; the state lives in the history and search panel controllers.
#pragma once

#include "analysis/search_panel.h"
#include "app/history/history_change.h"
#include "app/shell/help_links.h"
#include "app/shell/main_menus.h"
#include "store/draw.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class QSplitter;

namespace drawfollow {

class BacktestCommand;
class DatabaseWatch;
class ElidingStatusBar;
class PickCommands;
class FileExports;
class HelpCommands;
class HistoryCommands;
class HistoryJobs;
class HistoryPanel;
class OnlineUpdateCommand;
class PositionTabs;
class ResultPanel;
class SearchBar;
class SearchOptions;
class TrendWindow;
class UserDialogs;
class SpreadsheetWriter;
class WorkRunner;
struct WindowControllers;
enum class SearchButton;  // search_panel_controller.h
struct SearchInputs;
struct SearchOutcome;
struct SearchResult;

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(WindowControllers& controllers, UserDialogs& dialogs, HelpLinks help = systemHelpLinks(),
               QWidget* parent = nullptr);
    ~MainWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The history beside the search side, with a splitter between them; the option frames
    // and the position tabs scroll when the window is too small for them
    // (main_window_layout.cpp).
    QWidget* buildSearchSide();
    void buildSplitter();
    // The size, place and splitter of the last run, or a size that fits the screen.
    void restoreLayout();
    // Tab follows the screen; F10 opens the menu bar.
    void setUpKeyboard();
    // Tab follows the screen; set again when the search row's frames move.
    void chainTabOrder();
    void wireMenus();
    void checkSettingsMenus();
    // The history menu's commands, the text import and the exports.
    void wireHistoryCommands();
    // Runs the search on a worker thread; the result is shown when it ends.
    void runSearch(SearchButton button);
    void showSearchOutcome(SearchButton button, const SearchInputs& inputs, SearchOutcome outcome);
    // While a job runs off the window's thread, every command that changes the history or
    // the search panel is off; while the update runs, those that change the history.
    void followRunningWork();
    // A job on the history file runs: a search, a change, the text export.
    bool historyBusy() const;
    // The panel as 回测 and 记录本期预测 read it: as it stands, with the kind of the last
    // search; none without a database.
    std::optional<SearchPanel> backtestPanel() const;
    // 回测 on the panel as it stands, with the kind of the last search.
    void runBacktest();
    // 记录本期预测: the pick 回测 would make for the next issue, recorded.
    void recordPick();
    // The tally of a search that ran, with chance beside it or why it is not.
    void showTallyWithChance(SearchOutcome& outcome);
    void showStoreStatus();
    void reportStoreProblem();
    // The stored rows were derived again, or could not be.
    void reportDerivation(const HistoryChange& change);
    // Every command that changes the history, on or off at once.
    void setHistoryCommandsEnabled(bool on);
    // The 走势图 window, made the first time it is asked for.
    void showTrend();
    // A value clicked in the trend chart, into the next empty box of the manual tab.
    void addManualBaseValue(Kind kind, int value);

    WindowControllers& controllers_;
    UserDialogs& dialogs_;
    HelpCommands* help_;
    MainMenus menus_;
    QSplitter* splitter_;
    HistoryPanel* history_;
    PositionTabs* positions_;
    SearchOptions* options_;
    SearchBar* searchBar_;
    ResultPanel* results_;
    OnlineUpdateCommand* onlineUpdate_;
    BacktestCommand* backtest_;
    PickCommands* picks_;
    SearchButton lastSearch_;
    HistoryCommands* commands_;
    FileExports* exports_;
    WorkRunner* runner_;
    std::unique_ptr<SpreadsheetWriter> spreadsheets_;
    HistoryJobs* historyJobs_;
    ElidingStatusBar* statusBar_;
    DatabaseWatch* watch_ = nullptr;  // none without a database
    TrendWindow* trend_ = nullptr;
    bool shownBefore_ = false;
    bool historyWasBusy_ = false;  // as followRunningWork() last saw it
};

}  // namespace drawfollow
