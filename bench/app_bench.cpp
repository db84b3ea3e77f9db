// The window on a 3,000-draw history, drawn offscreen: start-up to a shown window, and one
// hand-entered draw typed as sixteen digits and stored with every refresh that follows
// (history grid, next issue, search panel), painting included; a search on a
// 100,000-draw history through the whole window path; the 走势图 window opened to its first
// painted frame, its range changed and its grid scrolled page by page, on 3,000 and 100,000
// draws; the window thread's longest stall during each long action on 100,000 draws.
#include "app/shell/app_settings.h"
#include "app/shell/main_window.h"
#include "app/shell/spreadsheet_writer.h"
#include "app/shell/window_controllers.h"
#include "app/shell/work_runner.h"
#include "app/trend/trend_exports.h"
#include "app/trend/trend_window.h"
#include "store/clock.h"
#include "store/history_db.h"

#include "bench_support.h"
#include "scripted_dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

namespace drawfollow {
namespace {

constexpr int kDraws = 3000;

QApplication& application() {
    static int argc = 1;
    static char name[] = "app_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit, after main, Qt's own globals may already be gone.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// A data folder with the history and a settings file of its own.
class Session {
public:
    explicit Session(int draws) : Session(bench::randomDraws(draws)) {}
    explicit Session(const std::vector<DrawInput>& draws) {
        HistoryDb(folder_.path() / HistoryDb::kFileName).replaceAll(draws, bench::defaultSettings());
    }

    // What the program does from reading the settings to a shown window.
    void open() {
        store_ = std::make_unique<QSettings>(QString::fromStdString((folder_.path() / "settings.ini").string()),
                                             QSettings::IniFormat);
        settings_ = std::make_unique<AppSettings>(*store_);
        controllers_ = std::make_unique<WindowControllers>(*settings_, clock_);
        controllers_->history.start(DataFolderChoice{folder_.path(), {}});
        window_ = std::make_unique<MainWindow>(*controllers_, dialogs_, HelpLinks{});
        window_->show();
        QApplication::processEvents();
    }

    void close() {
        window_.reset();
        spreadsheets_.reset();
        controllers_.reset();
        settings_.reset();
        store_.reset();
    }

    const HistoryController& history() const { return controllers_->history; }
    HistoryController& history() { return controllers_->history; }
    test::ScriptedDialogs& dialogs() { return dialogs_; }
    MainWindow& window() { return *window_; }
    WorkRunner& runner() { return *window_->findChild<WorkRunner*>(); }
    // A 走势图 window of its own over the window's runner, not yet shown.
    std::unique_ptr<TrendWindow> trendWindow() {
        if (!spreadsheets_)
            spreadsheets_ = std::make_unique<SpreadsheetWriter>(runner());
        return std::make_unique<TrendWindow>(history(), runner(), *spreadsheets_, dialogs_, window_.get());
    }

private:
    bench::ScratchFolder folder_;
    SystemClock clock_;
    // Nothing asks or opens anything: a file handed to the desktop is only recorded.
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<QSettings> store_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<WindowControllers> controllers_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<SpreadsheetWriter> spreadsheets_;
};

void BM_StartupToShownWindow(benchmark::State& state) {
    application();
    Session session(kDraws);
    for (auto _ : state) {
        session.open();
        state.PauseTiming();
        session.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToShownWindow)->Unit(benchmark::kMillisecond);

void BM_HandEntryWithEveryRefresh(benchmark::State& state) {
    application();
    Session session(kDraws);
    session.open();
    auto* firstBox = session.window().findChild<QWidget*>(QStringLiteral("MaskEdBox1_1"));
    const size_t before = session.history().history().size();
    for (auto _ : state) {
        firstBox->setFocus();
        for (const char digit : {'0', '3', '0', '7', '1', '2', '1', '8', '2', '2', '2', '5', '2', '9', '1', '1'})
            QTest::keyClick(QApplication::focusWidget(), digit);
        QApplication::processEvents();  // the repaint of the grid, the boxes and the panel
    }
    if (session.history().history().size() != before + state.iterations())
        state.SkipWithError("a draw was not stored");
    session.close();
}
BENCHMARK(BM_HandEntryWithEveryRefresh)->Unit(benchmark::kMillisecond);

// 检索 on a 100,000-draw history, from the click to the shown and painted grids; the
// search's fields, written on the worker after that, are waited for outside the timing.
// Each search switches between 上期 and 前期, so that it rewrites every row's reference
// fields, as the first search after a change of the panel does. The argument is the
// number of ticked positions: none makes every draw a hit.
void BM_WindowSearchOnALongHistory(benchmark::State& state) {
    application();
    Session session(100000);
    session.open();
    QWidget& window = session.window();
    for (int p = 1; p <= state.range(0); ++p)
        window.findChild<QAbstractButton*>(QStringLiteral("Check1_%1").arg(p))->setChecked(true);
    auto* search = window.findChild<QAbstractButton*>(QStringLiteral("Command1"));
    auto* note = window.findChild<QLabel*>(QStringLiteral("resultNote"));
    const std::array<QAbstractButton*, 2> modes = {window.findChild<QAbstractButton*>(QStringLiteral("Option1_2")),
                                                   window.findChild<QAbstractButton*>(QStringLiteral("Option1_3"))};
    int searches = 0;
    for (auto _ : state) {
        state.PauseTiming();
        modes[searches++ % 2]->click();
        note->clear();
        state.ResumeTiming();
        search->click();
        if (!QTest::qWaitFor([note] { return !note->text().isEmpty(); }, 600000)) {
            state.SkipWithError("the grids were never shown");
            break;
        }
        QApplication::processEvents();  // the grids painted
        state.PauseTiming();
        // The fields written: the button is enabled again.
        if (!QTest::qWaitFor([search] { return search->isEnabled(); }, 600000)) {
            state.SkipWithError("the search never ended");
            break;
        }
        state.ResumeTiming();
    }
    session.close();
}
BENCHMARK(BM_WindowSearchOnALongHistory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(4);

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* watched) { watched->installEventFilter(this); }
    int count() const { return count_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count_ += event->type() == QEvent::Paint;
        return false;
    }

private:
    int count_ = 0;
};

QTableView* trendGridOf(TrendWindow& trend) {
    return trend.findChild<QTableView*>(QStringLiteral("trendGrid"));
}

// The window reads its first table on a worker and fills the grid once it arrives.
void awaitFirstTable(TrendWindow& trend) {
    QTableView* grid = trendGridOf(trend);
    if (!QTest::qWaitFor([grid] { return grid->model()->rowCount() > 0; }, 600000))
        throw std::runtime_error("the trend table never arrived");
    QApplication::processEvents();
}

// The 走势图 window over the session's history, shown and read.
std::unique_ptr<TrendWindow> shownTrend(Session& session) {
    auto trend = session.trendWindow();
    trend->show();
    awaitFirstTable(*trend);
    return trend;
}

// 分析 → 走势图 on a history of `state.range(0)` draws: the window built, read (the whole
// history, the default range) and shown with its grid at the newest draw, painted.
void BM_TrendWindowToFirstFrame(benchmark::State& state) {
    application();
    Session session(static_cast<int>(state.range(0)));
    session.open();
    for (auto _ : state) {
        auto trend = session.trendWindow();
        const PaintCounter grid(trendGridOf(*trend)->viewport());
        trend->show();
        awaitFirstTable(*trend);
        if (grid.count() == 0) {
            state.SkipWithError("the trend grid was not painted");
            break;
        }
        state.PauseTiming();
        trend.reset();
        state.ResumeTiming();
    }
    session.close();
}
BENCHMARK(BM_TrendWindowToFirstFrame)->Arg(kDraws)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

// 近100期 and 全部 clicked in turn on a history of `state.range(0)` draws: the chart read for
// the new range on a worker and drawn again once it is in, the kind and scope unchanged.
void BM_TrendRangeChange(benchmark::State& state) {
    application();
    Session session(static_cast<int>(state.range(0)));
    session.open();
    std::unique_ptr<TrendWindow> trend = shownTrend(session);
    const std::array<QAbstractButton*, 2> ranges = {trend->findChild<QAbstractButton*>(QStringLiteral("trendLast100")),
                                                    trend->findChild<QAbstractButton*>(QStringLiteral("trendLast0"))};
    QWidget* note = trend->findChild<QWidget*>(QStringLiteral("trendNote"));
    int clicks = 0;
    for (auto _ : state) {
        ranges[clicks++ % 2]->click();
        if (!QTest::qWaitFor([note] { return note->isHidden(); }, 600000)) {
            state.SkipWithError("the trend table never arrived");
            break;
        }
        QApplication::processEvents();
    }
    trend.reset();
    session.close();
}
BENCHMARK(BM_TrendRangeChange)->Arg(kDraws)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);

// One page down the trend grid and the rows that come into sight drawn (balls included); at
// the bottom it starts again from the top.
void BM_TrendGridPageScroll(benchmark::State& state) {
    application();
    Session session(static_cast<int>(state.range(0)));
    session.open();
    std::unique_ptr<TrendWindow> trend = shownTrend(session);
    QTableView* grid = trendGridOf(*trend);
    QScrollBar* bar = grid->verticalScrollBar();
    bar->setValue(0);
    for (auto _ : state) {
        bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
        benchmark::DoNotOptimize(grid->viewport()->grab());
    }
    trend.reset();
    session.close();
}
BENCHMARK(BM_TrendGridPageScroll)->Arg(kDraws)->Arg(100000)->Unit(benchmark::kMillisecond);

// 导出 of the trend grid on a history of `state.range(0)` draws: the cells read from the model
// as shown (texts and colours), then the workbook written; the two halves timed apart.
void BM_TrendGridExport(benchmark::State& state) {
    application();
    Session session(static_cast<int>(state.range(0)));
    session.open();
    std::unique_ptr<TrendWindow> trend = shownTrend(session);
    const QAbstractItemModel& model = *trendGridOf(*trend)->model();
    const std::filesystem::path target = session.history().dataFolder() / "zoushi.xlsx";
    double readSeconds = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        const ShownCells cells = shownCells(model, trendGridColours, true, QStringLiteral("期号"));
        readSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        writeSpreadsheet(cells.grid, target, cells.colours);
    }
    state.counters["read_ms"] = benchmark::Counter(readSeconds * 1000, benchmark::Counter::kAvgIterations);
    trend.reset();
    session.close();
}
BENCHMARK(BM_TrendGridExport)->Arg(kDraws)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The longest time the window's thread went without turning to its events while an action
// ran: a timer on that thread every few milliseconds notes how late each timeout comes.
class StallMeter final : public QObject {
public:
    StallMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(kTickMs);
        connect(&timer_, &QTimer::timeout, this, &StallMeter::tick);
    }

    void start() {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    double stopMs() {
        tick();
        timer_.stop();
        return static_cast<double>(longest_) / 1e6;
    }

private:
    static constexpr int kTickMs = 5;

    void tick() {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_ - qint64(kTickMs) * 1000000);
        last_ = now;
    }

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

template <class T>
T* child(QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QLatin1String(name));
    if (!found)
        throw std::runtime_error(std::string("no ") + name);
    return found;
}

// Waits, turning to the window's events, until the work an action started off the window's
// thread has ended; false when it never does.
bool workEnded(MainWindow& window) {
    QWidget* busy = child<QWidget>(window, "busyIndicator");
    return QTest::qWaitFor([busy] { return !busy->isVisible(); }, 600000);
}

enum StalledAction {
    NewZodiacYearEntry,
    DeleteNewest,
    SettingsRederivation,
    TextExport,
    TrendOpening,
    TrendExport,
    TrendRange,
    TrendShapeRange,
    DeleteNewestTen,
    TrimToIssue,
    Restore,
    Import,
    BacktestRun,
    HistoryWorkbook,
};

// What an action needs ready before it is measured: a safety copy to restore, a text file to import.
void prepareAction(StalledAction action, Session& session) {
    MainWindow& window = session.window();
    if (action == Restore) {
        child<QAbstractButton>(window, "Command3")->click();  // leaves a safety copy
        if (!workEnded(window))
            throw std::runtime_error("the deletion never ended");
    } else if (action == Import) {
        child<QAbstractButton>(window, "Command4")->click();  // the history as a text file
        if (!workEnded(window) || session.dialogs().openedFiles().isEmpty())
            throw std::runtime_error("the history was never written as text");
    }
}

// Starts the action and waits for its end; the window's thread is measured all the while.
void runAction(StalledAction action, Session& session, int round, std::unique_ptr<TrendWindow>& trend) {
    MainWindow& window = session.window();
    switch (action) {
        case NewZodiacYearEntry: {
            // Two years on: the next issue's zodiac year and code table are new.
            const int newest = session.history().history().back().issue;
            child<QLineEdit>(window, "Text1")->setText(QString::number((newest / 1000 + 2) * 1000 + 1));
            child<QWidget>(window, "MaskEdBox1_1")->setFocus();
            for (const char digit : {'0', '3', '0', '7', '1', '2', '1', '8', '2', '2', '2', '5', '2', '9', '1', '1'})
                QTest::keyClick(QApplication::focusWidget(), digit);
            break;
        }
        case DeleteNewest:
            child<QAbstractButton>(window, "Command3")->click();
            break;
        case SettingsRederivation:
            child<QAction>(window, round % 2 == 0 ? "mnuSxcs_0" : "mnuSxcs_1")->trigger();
            break;
        case TextExport:
            child<QAbstractButton>(window, "Command4")->click();
            break;
        case TrendOpening:
            trend = session.trendWindow();
            trend->show();
            awaitFirstTable(*trend);
            break;
        case DeleteNewestTen:
            session.dialogs().setNextInput(QStringLiteral("10"));
            child<QAction>(window, "mnuEszhzd")->trigger();
            break;
        case TrimToIssue: {
            // Each round drops the oldest thousand draws.
            session.dialogs().setNextInput(QString::number(session.history().history().at(1000).issue));
            child<QAction>(window, "mnuDlzd")->trigger();
            break;
        }
        case Restore:
            session.dialogs().setNextRow(0);  // the newest safety copy
            child<QAction>(window, "mnuRestore")->trigger();
            break;
        case Import:
            session.dialogs().setNextConfirm(true);
            session.dialogs().setNextFile(session.dialogs().openedFiles().constLast());
            child<QAbstractButton>(window, "cmdRdLst")->click();
            break;
        case BacktestRun: {
            auto* backtest = child<QAbstractButton>(window, "cmdBacktest");
            backtest->click();
            if (!QTest::qWaitFor([backtest] { return backtest->isEnabled(); }, 600000))
                throw std::runtime_error("the backtest never ended");
            QApplication::processEvents();
            for (QWidget* shown : QApplication::topLevelWidgets())
                if (shown->objectName() == QLatin1String("backtestDialog"))
                    shown->deleteLater();
            return;
        }
        case TrendRange:
        case TrendShapeRange: {
            // 近100期 and 全部 in turn; the tables are in when the note that they are being read
            // goes and no worker is left.
            child<QAbstractButton>(*trend, round % 2 == 0 ? "trendLast100" : "trendLast0")->click();
            QWidget* note = child<QWidget>(*trend, "trendNote");
            WorkRunner& runner = session.runner();
            if (!QTest::qWaitFor([note, &runner] { return note->isHidden() && runner.idle(); }, 600000))
                throw std::runtime_error("the trend table never arrived");
            QApplication::processEvents();
            return;
        }
        case TrendExport:
        case HistoryWorkbook: {
            const qsizetype opened = session.dialogs().openedFiles().size();
            if (action == TrendExport) {
                // zoushi.xlsx and yilou.xlsx in turn.
                child<QTabWidget>(*trend, "trendTabs")->setCurrentIndex(round % 2);
                child<QAbstractButton>(*trend, "trendExport")->click();
            } else {
                child<QAction>(window, "mnuDcls")->trigger();  // lishi.xlsx
            }
            if (!QTest::qWaitFor([&] { return session.dialogs().openedFiles().size() > opened; }, 600000))
                throw std::runtime_error("the workbook was never written");
            return;
        }
    }
    if (!workEnded(window))
        throw std::runtime_error("the work never ended");
    QApplication::processEvents();
}

// One long action on a 100,000-draw history; `stall_ms` is the longest the window's thread
// went without turning to its events (repainting, answering 取消), over all iterations.
void BM_WindowStall(benchmark::State& state) {
    application();
    const auto action = static_cast<StalledAction>(state.range(0));
    // Issues within the years the zodiac code tables are recorded for (up to 2107), so that
    // the rows are derived as in real use.
    Session session(test::seededDraws(100000, 42, 2007001, 999));
    session.open();
    std::unique_ptr<TrendWindow> trend;
    if (action == TrendExport || action == TrendRange || action == TrendShapeRange)
        trend = shownTrend(session);
    if (action == TrendShapeRange)
        child<QTabWidget>(*trend, "trendTabs")->setCurrentIndex(4);  // 形态, read as it comes in sight
    StallMeter meter;
    double longest = 0;
    int round = 0;
    try {
        for (auto _ : state) {
            state.PauseTiming();
            if (action == TrendOpening)
                trend.reset();
            prepareAction(action, session);
            state.ResumeTiming();
            meter.start();
            runAction(action, session, round++, trend);
            longest = std::max(longest, meter.stopMs());
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
    state.counters["stall_ms"] = longest;
    trend.reset();
    session.close();
}
BENCHMARK(BM_WindowStall)
    ->ArgName("action")
    ->DenseRange(NewZodiacYearEntry, HistoryWorkbook)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
}  // namespace drawfollow
