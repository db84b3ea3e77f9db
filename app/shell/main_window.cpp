#include "app/shell/main_window.h"

#include "app/history/database_watch.h"
#include "app/history/file_exports.h"
#include "app/history/history_commands.h"
#include "app/history/history_jobs.h"
#include "app/history/history_model.h"
#include "app/history/history_panel.h"
#include "app/search/backtest_command.h"
#include "app/search/pick_commands.h"
#include "app/search/position_tabs.h"
#include "app/search/result_panel.h"
#include "app/search/search_bar.h"
#include "app/search/search_job.h"
#include "app/search/search_options.h"
#include "app/search/search_summary.h"
#include "app/search/text_grid_model.h"
#include "app/shell/flex_grid.h"
#include "app/shell/help_commands.h"
#include "app/shell/shown_cell.h"
#include "app/shell/spreadsheet_writer.h"
#include "app/shell/status_texts.h"
#include "app/shell/timing_log.h"
#include "app/shell/user_dialogs.h"
#include "app/shell/window_controllers.h"
#include "app/shell/work_runner.h"
#include "app/trend/trend_window.h"
#include "app/update/online_update_command.h"
#include "store/history_db.h"

#include <QAction>
#include <QCursor>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <utility>

namespace drawfollow {

namespace {

// Long enough to read a file name.
constexpr int kSummaryShownMs = 20000;

}  // namespace

MainWindow::MainWindow(WindowControllers& controllers, UserDialogs& dialogs, HelpLinks help, QWidget* parent)
    : QMainWindow(parent),
      controllers_(controllers),
      dialogs_(dialogs),
      help_(new HelpCommands(controllers.history.settings(), std::move(help), this)),
      lastSearch_(SearchButton::Follow) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("DrawFollow — 开奖号码跟随统计"));

    buildSplitter();

    statusBar_ = new ElidingStatusBar(this);
    setStatusBar(statusBar_);
    runner_ = new WorkRunner(statusBar(), this);
    spreadsheets_ = std::make_unique<SpreadsheetWriter>(*runner_);
    // Reads beside a change (the trend window's, the backtest) leave the commands as they are.
    connect(runner_, &WorkRunner::busyChanged, this, [this] {
        if (historyBusy() != historyWasBusy_)
            followRunningWork();
    });
    // A restore over a damaged file makes the history available only once the job has ended.
    connect(&controllers_.history, &HistoryController::historyReset, this, &MainWindow::followRunningWork);
    connect(runner_, &WorkRunner::failed, this, [this](const QString& reason) {
        dialogs_.message(this, MessageKind::Critical, QStringLiteral("操作失败"), reason);
    });
    historyJobs_ = new HistoryJobs(controllers_.history, *runner_, this);

    onlineUpdate_ = new OnlineUpdateCommand(controllers_.history, *runner_, dialogs_, this);
    menus_ = MainMenus::build(menuBar());
    wireMenus();

    showStoreStatus();
    connect(&controllers_.history, &HistoryController::historyReset, this, &MainWindow::showStoreStatus);
    connect(&controllers_.history, &HistoryController::drawAppended, this, &MainWindow::showStoreStatus);
    connect(&controllers_.history, &HistoryController::historyReset, this,
            [this] { results_->clear(controllers_.history.settings().previousIssue()); });
    connect(&controllers_.history, &HistoryController::drawAppended, results_, &ResultPanel::clearProblem);

    connect(searchBar_->followSearchButton(), &QPushButton::clicked, this, [this] { runSearch(SearchButton::Follow); });
    connect(searchBar_->combinationSearchButton(), &QPushButton::clicked, this,
            [this] { runSearch(SearchButton::Combination); });
    backtest_ = new BacktestCommand(controllers_.search, *runner_, dialogs_, this);
    connect(searchBar_->backtestButton(), &QPushButton::clicked, this, &MainWindow::runBacktest);
    connect(backtest_, &BacktestCommand::runningChanged, searchBar_->backtestButton(),
            [this](bool running) { searchBar_->backtestButton()->setEnabled(!running); });
    connect(backtest_, &BacktestCommand::done, this,
            [this](const QString& summary) { statusBar()->showMessage(summary, kSummaryShownMs); });
    picks_ = new PickCommands(controllers_.history, *runner_, *spreadsheets_, dialogs_, this);
    connect(searchBar_->recordPickButton(), &QPushButton::clicked, this, &MainWindow::recordPick);
    connect(menus_.pickBookAction, &QAction::triggered, picks_, &PickCommands::showBook);
    connect(picks_, &PickCommands::done, this,
            [this](const QString& summary) { statusBar()->showMessage(summary, kSummaryShownMs); });
    connect(history_->onlineUpdateButton(), &QPushButton::clicked, onlineUpdate_, &OnlineUpdateCommand::run);
    connect(onlineUpdate_, &OnlineUpdateCommand::runningChanged, this, &MainWindow::followRunningWork);
    connect(history_->settingsButton(), &QPushButton::clicked, this,
            [this] { menus_.settingsMenu->popup(QCursor::pos()); });
    connect(history_->grid(), &FlexGrid::rightButtonReleased, this,
            [this](const QPoint& at) { menus_.historyMenu->popup(at); });
    wireHistoryCommands();
    if (controllers_.history.historyAvailable()) {
        watch_ = new DatabaseWatch(
            controllers_.history, [this] { return historyBusy() || onlineUpdate_->running(); }, this);
        connect(watch_, &DatabaseWatch::reloaded, this,
                [this](const QString& note) { statusBar()->showMessage(note, kSummaryShownMs); });
    }
    setUpKeyboard();
    restoreLayout();
}

MainWindow::~MainWindow() = default;

void MainWindow::wireMenus() {
    const MainMenus& m = menus_;
    m.deleteNewestAction->setEnabled(controllers_.history.historyAvailable());
    connect(m.updateHostAction, &QAction::triggered, onlineUpdate_, &OnlineUpdateCommand::editHost);
    connect(m.trendAction, &QAction::triggered, this, &MainWindow::showTrend);
    connect(history_->trendButton(), &QPushButton::clicked, this, &MainWindow::showTrend);

    checkSettingsMenus();
    // A change of these derives every stored row again, off the window's thread.
    const auto changeSetting = [this](AppSettings::Key key, int value) {
        return [this, key, value] {
            historyJobs_->changeSetting(key, value, [this](const HistoryChange& change) { reportDerivation(change); });
        };
    };
    for (int i = 0; i < 2; ++i) {
        connect(m.zodiacOffsetActions[i], &QAction::triggered, this, changeSetting(AppSettings::Key::ZodiacOffset, i));
        connect(m.segmentOffsetActions[i], &QAction::triggered, this,
                changeSetting(AppSettings::Key::SegmentOffset, i));
        connect(m.zodiacModeActions[i], &QAction::triggered, this,
                changeSetting(AppSettings::Key::SequentialZodiac, i == 0 ? 1 : 0));
    }
    connect(&controllers_.history, &HistoryController::derivationChanged, this, &MainWindow::reportDerivation);

    connect(m.homePageAction, &QAction::triggered, help_, &HelpCommands::openHomePage);
    connect(m.descriptionAction, &QAction::triggered, help_, &HelpCommands::openManual);
    connect(m.demoRecordingAction, &QAction::triggered, help_, &HelpCommands::openWalkThrough);
    connect(help_, &HelpCommands::failed, this, [this](const QString& reason) { statusBar()->showMessage(reason); });
}

void MainWindow::wireHistoryCommands() {
    commands_ = new HistoryCommands(controllers_.history, *historyJobs_, dialogs_, this);
    exports_ = new FileExports(controllers_.history, *historyJobs_, *spreadsheets_, dialogs_, this);
    const MainMenus& m = menus_;
    for (QAction* a : {m.exportHistoryAction, m.clearHistoryAction, m.trimToIssueAction, m.deleteNewestCountAction})
        a->setEnabled(controllers_.history.historyAvailable());
    m.restoreSafetyCopyAction->setEnabled(controllers_.history.restoreAvailable());

    connect(m.deleteNewestAction, &QAction::triggered, commands_, &HistoryCommands::deleteNewest);
    connect(history_->deleteNewestButton(), &QPushButton::clicked, commands_, &HistoryCommands::deleteNewest);
    connect(m.clearHistoryAction, &QAction::triggered, commands_, &HistoryCommands::clearHistory);
    connect(m.trimToIssueAction, &QAction::triggered, commands_, &HistoryCommands::trimToIssue);
    connect(m.deleteNewestCountAction, &QAction::triggered, commands_, &HistoryCommands::deleteNewestCount);
    connect(m.restoreSafetyCopyAction, &QAction::triggered, commands_, &HistoryCommands::restoreSafetyCopy);
    connect(m.yearsToKeepAction, &QAction::triggered, commands_, &HistoryCommands::setYearsToKeep);
    connect(history_->importButton(), &QPushButton::clicked, commands_, &HistoryCommands::importText);
    connect(history_->exportButton(), &QPushButton::clicked, exports_, &FileExports::exportText);

    // The cells are read on the worker from copies of what the grids show, through models of
    // the worker's own.
    const auto exportHistory = [this] {
        exports_->exportGrid(
            [draws = controllers_.history.history()] {
                HistoryModel model;
                model.reset(draws);
                return shownGrid(model);
            },
            ExportedGrid::History);
    };
    const auto exportResults = [this](const std::function<const RowGrid&()>& shown, ExportedGrid which) {
        return [this, shown, which] {
            exports_->exportGrid(
                [cells = shown()] {
                    TextGridModel model;
                    model.setGrid(cells);
                    return shownGrid(model);
                },
                which);
        };
    };
    connect(m.exportHistoryAction, &QAction::triggered, exports_, exportHistory);
    connect(history_->grid(), &FlexGrid::gridDoubleClicked, exports_, exportHistory);
    connect(results_->hitsGrid(), &FlexGrid::gridDoubleClicked, exports_,
            exportResults([this]() -> const RowGrid& { return results_->hitsCells(); }, ExportedGrid::Detail));
    connect(results_->tallyGrid(), &FlexGrid::gridDoubleClicked, exports_,
            exportResults([this]() -> const RowGrid& { return results_->tallyCells(); }, ExportedGrid::Tally));

    const auto showSummary = [this](const QString& summary) { statusBar()->showMessage(summary, kSummaryShownMs); };
    connect(commands_, &HistoryCommands::done, this, showSummary);
    connect(exports_, &FileExports::done, this, showSummary);
}

void MainWindow::reportDerivation(const HistoryChange& change) {
    if (reportChange(dialogs_, this, QStringLiteral("号码属性参数"), change) && !change.summary.isEmpty())
        statusBar()->showMessage(change.summary, kSummaryShownMs);
    // A change the rows could not follow has been put back.
    checkSettingsMenus();
}

void MainWindow::checkSettingsMenus() {
    // The items that match the stored settings are checked.
    const AppSettings& s = controllers_.history.settings();
    menus_.zodiacOffsetActions[s.zodiacOffset()]->setChecked(true);
    menus_.segmentOffsetActions[s.segmentOffset()]->setChecked(true);
    menus_.zodiacModeActions[s.sequentialZodiac() ? 0 : 1]->setChecked(true);
}

void MainWindow::runSearch(SearchButton button) {
    lastSearch_ = button;
    const auto ticked = positions_->activeSwitches();
    const QString first = searchBar_->rangeStartBox()->text();
    const QString last = searchBar_->rangeEndBox()->text();
    const PanelSearch search = controllers_.search.panelSearch(button, ticked, first, last);
    if (!search.ready()) {
        showSearchOutcome(button, search.inputs, {refusedSearch(search), {}, {}});
        return;
    }
    std::shared_ptr<const HistorySnapshot> history;
    try {
        history = controllers_.history.snapshot();
    } catch (const std::exception& e) {
        SearchResult failed = refusedSearch(search);
        failed.message = "检索未进行，历史数据库未作改动：" + failureText(e);
        showSearchOutcome(button, search.inputs, {std::move(failed), {}, {}});
        return;
    }
    if (!history)
        return;  // no database: the search buttons are off
    // The grids are shown as soon as the worker has the answer; what the search leaves in
    // the history is written after that, while the window already shows it.
    const std::filesystem::path file = controllers_.history.databaseFile();
    const auto show = [this, button, inputs = search.inputs](SearchOutcome outcome) {
        showSearchOutcome(button, inputs, std::move(outcome));
    };
    runner_->start<std::string>(
        this, {WorkLane::History, QStringLiteral("正在检索…")},
        [file, button, search, history, show](JobControl& job) {
            SearchAnswer answer;
            auto outcome = std::make_shared<SearchOutcome>(answerPanelSearch(*history, button, search, answer));
            job.post([show, outcome] { show(std::move(*outcome)); });
            return keepPanelSearchFields(file, *history, search.inputs, answer, job.cancelFlag());
        },
        [this](const std::string& note) {
            if (!note.empty())
                results_->appendNote(QString::fromStdString(note));
        });
}

void MainWindow::showSearchOutcome(SearchButton button, const SearchInputs& inputs, SearchOutcome outcome) {
    SearchResult& result = outcome.result;
    QElapsedTimer timer;
    timer.start();
    results_->showHits(std::move(result.detail));
    qCInfo(lcTiming, "hits grid filled: %.1f ms", timer.nsecsElapsed() / 1e6);
    const QString message = QString::fromStdString(result.message);
    if (!result.ran) {
        results_->showTally(std::move(result.tally));
        results_->setNote(message, true);
        dialogs_.message(this, MessageKind::Warning, QStringLiteral("检索未进行"), message);
        return;
    }
    showTallyWithChance(outcome);
    // The range is written back as the search read it.
    searchBar_->rangeStartBox()->setText(QString::number(result.firstIssue));
    searchBar_->rangeEndBox()->setText(QString::number(result.lastIssue));
    QString note = searchSummary(button, inputs, controllers_.search.baseSource(), result);
    if (!message.isEmpty())
        note += QStringLiteral("。") + message;
    results_->setNote(note, false);
}

void MainWindow::followRunningWork() {
    // The update only changes the history at its end; searching stays open meanwhile.
    const bool busy = historyBusy();
    historyWasBusy_ = busy;
    setHistoryCommandsEnabled(!busy && !onlineUpdate_->running());
    for (QWidget* w :
         {static_cast<QWidget*>(positions_), static_cast<QWidget*>(options_), static_cast<QWidget*>(searchBar_)})
        w->setEnabled(!busy);
    for (const auto& actions : {menus_.zodiacOffsetActions, menus_.segmentOffsetActions, menus_.zodiacModeActions})
        for (QAction* a : actions)
            a->setEnabled(!busy);
    menus_.yearsToKeepAction->setEnabled(!busy);
    if (trend_)
        trend_->setHistoryBusy(busy);
    if (watch_ && !busy && !onlineUpdate_->running())
        watch_->workEnded();
}

bool MainWindow::historyBusy() const {
    return runner_->busy(WorkLane::History);
}

void MainWindow::showTallyWithChance(SearchOutcome& outcome) {
    if (outcome.chance)
        results_->showTally(std::move(outcome.result.tally), *outcome.chance);
    else
        results_->showTally(std::move(outcome.result.tally), QString::fromStdString(outcome.chanceProblem));
}

std::optional<SearchPanel> MainWindow::backtestPanel() const {
    return controllers_.search.panelState(lastSearch_, positions_->activeSwitches(),
                                          searchBar_->rangeStartBox()->text(), searchBar_->rangeEndBox()->text());
}

void MainWindow::runBacktest() {
    backtest_->run(backtestPanel(), lastSearch_, searchBar_->backtestSettings());
}

void MainWindow::recordPick() {
    picks_->record(backtestPanel(), searchBar_->backtestSettings());
}

void MainWindow::setHistoryCommandsEnabled(bool on) {
    const bool enabled = on && controllers_.history.historyAvailable();
    history_->setChangesEnabled(enabled);
    for (QAction* a : {menus_.deleteNewestAction, menus_.clearHistoryAction, menus_.trimToIssueAction,
                       menus_.deleteNewestCountAction})
        a->setEnabled(enabled);
    // The way back from a damaged file stays open while the file is refused.
    menus_.restoreSafetyCopyAction->setEnabled(on && controllers_.history.restoreAvailable());
}

void MainWindow::showTrend() {
    if (!trend_) {
        trend_ = new TrendWindow(controllers_.history, *runner_, *spreadsheets_, dialogs_, this);
        trend_->setHistoryBusy(historyBusy());
        connect(trend_, &TrendWindow::valueChosen, this, &MainWindow::addManualBaseValue);
    }
    trend_->show();
    trend_->raise();
    trend_->activateWindow();
}

void MainWindow::addManualBaseValue(Kind kind, int value) {
    // The manual boxes hold values of the search kind: a number typed into a zodiac search
    // would be read as a zodiac code.
    const Kind searchKind = controllers_.history.settings().searchKind();
    if (kind != searchKind)
        statusBar()->showMessage(QStringLiteral("检索类型是%1，走势图显示的是%2，%3 未填入手动输入。")
                                     .arg(kindCaption(searchKind), kindCaption(kind))
                                     .arg(value),
                                 kSummaryShownMs);
    else if (!positions_->addManualValue(value))
        statusBar()->showMessage(QStringLiteral("手动输入的八个位置都已填好，%1 未填入。").arg(value), kSummaryShownMs);
}

void MainWindow::showStoreStatus() {
    if (!controllers_.history.historyAvailable()) {
        const QString file = QString::fromStdString(controllers_.history.databaseFile().string());
        statusBar_->setLastingText(file.isEmpty()
                                       ? QStringLiteral("没有可用的数据文件夹，历史号码的命令已停用。")
                                       : QStringLiteral("历史数据库“%1”不可用，历史号码的命令已停用。").arg(file),
                                   true);
        return;
    }
    const auto& h = controllers_.history.history();
    const QString file = QString::fromStdString(controllers_.history.databaseFile().string());
    statusBar_->setLastingText(h.empty() ? QStringLiteral("历史数据库：%1（尚无历史号码）").arg(file)
                                         : QStringLiteral("历史数据库：%1　共 %2 期，%3 ～ %4")
                                               .arg(file)
                                               .arg(h.size())
                                               .arg(h.front().issue)
                                               .arg(h.back().issue),
                               false);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownBefore_)
        return;
    shownBefore_ = true;
    history_->scrollToNewest();
    if (!controllers_.history.historyAvailable())
        QTimer::singleShot(0, this, &MainWindow::reportStoreProblem);
    else
        QTimer::singleShot(0, this, [this] { reportDerivation(controllers_.history.startupDerivation()); });
}

void MainWindow::reportStoreProblem() {
    dialogs_.message(this, MessageKind::Critical, QStringLiteral("历史数据库不可用"),
                     controllers_.history.storeProblem() +
                         QStringLiteral("\n\n窗口照常打开，但历史号码的输入和删除已停用。"
                                        "请检查该文件、恢复备份，或用 --data-dir 指定另一个数据文件夹。"));
}

}  // namespace drawfollow
