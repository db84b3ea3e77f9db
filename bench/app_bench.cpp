// The window on a 3,000-draw history, drawn offscreen: start-up to a shown window, and one
// hand-entered draw typed as sixteen digits and stored with every refresh that follows
// (history grid, next issue, search panel), painting included; a search on a
// 100,000-draw history through the whole window path; the 走势图 window opened to its first
// painted frame, its range changed and its grid scrolled page by page, on 3,000 and 100,000
// draws.
#include "app/shell/app_settings.h"
#include "app/shell/main_window.h"
#include "app/shell/user_dialogs.h"
#include "app/shell/window_controllers.h"
#include "app/trend/trend_exports.h"
#include "app/trend/trend_window.h"
#include "store/clock.h"
#include "store/history_db.h"

#include "bench_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QTest>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <filesystem>
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
    static QApplication app(argc, argv);
    return app;
}

// A data folder with the history and a settings file of its own.
class Session {
public:
    explicit Session(int draws) {
        HistoryDb(folder_.path() / HistoryDb::kFileName)
            .replaceAll(bench::randomDraws(draws), bench::defaultSettings());
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
        controllers_.reset();
        settings_.reset();
        store_.reset();
    }

    const HistoryController& history() const { return controllers_->history; }
    HistoryController& history() { return controllers_->history; }
    UserDialogs& dialogs() { return dialogs_; }
    MainWindow& window() { return *window_; }

private:
    bench::ScratchFolder folder_;
    SystemClock clock_;
    WidgetDialogs dialogs_;
    std::unique_ptr<QSettings> store_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<WindowControllers> controllers_;
    std::unique_ptr<MainWindow> window_;
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

// 检索 on a 100,000-draw history, from the click to the shown and painted grids. Each
// search switches between 上期 and 前期, so that it rewrites every row's reference
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
    const std::array<QAbstractButton*, 2> modes = {window.findChild<QAbstractButton*>(QStringLiteral("Option1_2")),
                                                   window.findChild<QAbstractButton*>(QStringLiteral("Option1_3"))};
    int searches = 0;
    for (auto _ : state) {
        state.PauseTiming();
        modes[searches++ % 2]->click();
        state.ResumeTiming();
        search->click();
        // The search may run off the window's thread: its end enables the button again.
        if (!QTest::qWaitFor([search] { return search->isEnabled(); }, 600000)) {
            state.SkipWithError("the search never ended");
            break;
        }
        QApplication::processEvents();  // the grids painted
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

// The 走势图 window over the session's history, shown and read.
std::unique_ptr<TrendWindow> shownTrend(Session& session) {
    auto trend = std::make_unique<TrendWindow>(session.history(), session.dialogs(), &session.window());
    trend->show();
    QApplication::processEvents();
    return trend;
}

// 分析 → 走势图 on a history of `state.range(0)` draws: the window built, read (the whole
// history, the default range) and shown with its grid at the newest draw, painted.
void BM_TrendWindowToFirstFrame(benchmark::State& state) {
    application();
    Session session(static_cast<int>(state.range(0)));
    session.open();
    for (auto _ : state) {
        auto trend = std::make_unique<TrendWindow>(session.history(), session.dialogs(), &session.window());
        const PaintCounter grid(trendGridOf(*trend)->viewport());
        trend->show();
        QApplication::processEvents();
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
// the new range and drawn again, the kind and scope unchanged.
void BM_TrendRangeChange(benchmark::State& state) {
    application();
    Session session(static_cast<int>(state.range(0)));
    session.open();
    std::unique_ptr<TrendWindow> trend = shownTrend(session);
    const std::array<QAbstractButton*, 2> ranges = {trend->findChild<QAbstractButton*>(QStringLiteral("trendLast100")),
                                                    trend->findChild<QAbstractButton*>(QStringLiteral("trendLast0"))};
    int clicks = 0;
    for (auto _ : state) {
        ranges[clicks++ % 2]->click();
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
        writeSpreadsheet(cells.texts, target, cells.colours);
    }
    state.counters["read_ms"] = benchmark::Counter(readSeconds * 1000, benchmark::Counter::kAvgIterations);
    trend.reset();
    session.close();
}
BENCHMARK(BM_TrendGridExport)->Arg(kDraws)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace drawfollow
