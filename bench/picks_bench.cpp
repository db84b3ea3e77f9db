// 预测记录 read and scored: 1,000 records on a history of 3,000 draws, as `picks list` and
// the dialog read them every time; the window's share of the book and of a recorded pick on
// up to 100,000 draws, before and after the draws came from the shared snapshot.
#include "analysis/pick_book.h"
#include "analysis/pick_panel.h"
#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace drawfollow::bench {

namespace {

// Records for the newest `records` draws, each added before its draw was stored; the modes
// and the result kinds alternate.
void fillBook(HistoryDb& db, const std::vector<DrawInput>& draws, int records) {
    const size_t first = draws.size() - static_cast<size_t>(records);
    db.replaceAll(std::span(draws).first(first), defaultSettings());
    db.connection().exec("PRAGMA synchronous = OFF");
    SearchPanel panel;
    panel.options.codes = defaultSettings().codes;
    panel.options.ticked[0] = true;
    for (size_t i = first; i < draws.size(); ++i) {
        panel.options.resultKind = i % 3 == 0 ? Kind::Zodiac : Kind::Number;
        PickRecord r;
        r.made = "2026-12-08 12:49:00";
        r.issue = draws[i].issue;
        r.newestIssue = draws[i - 1].issue;
        r.search = "follow";
        r.panel = pickPanelText(panel);
        r.exclude = i % 2 == 0;
        r.top = 5;
        r.values = {1, 2, 3, 4, 5};
        addPick(db, r);
        db.append(draws[i], defaultSettings());
    }
}

void BM_PicksList(benchmark::State& state) {
    ScratchFolder folder;
    HistoryDb db(folder / HistoryDb::kFileName);
    fillBook(db, randomDraws(3000), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const PickBook book = readPickBook(db);
        if (book.top.scored + book.exclude.scored != state.range(0))
            state.SkipWithError("not every record was scored");
        benchmark::DoNotOptimize(book);
    }
    state.SetLabel("3000 draws");
}
BENCHMARK(BM_PicksList)->Arg(1000)->Unit(benchmark::kMillisecond);

// The window's part on a history of `state.range(0)` draws with 100 records: the book scored
// on the draws of the shared snapshot (the records still read from the file), and a pick
// stored once a worker has chosen it; `choose_ms`, the worker's part, for comparison.
void BM_PicksOnTheWindowThread(benchmark::State& state) {
    ScratchFolder folder;
    HistoryDb db(folder / HistoryDb::kFileName);
    fillBook(db, randomDraws(static_cast<int>(state.range(0))), 100);
    const HistorySnapshot history = HistorySnapshot::read(db);
    SearchPanel panel;
    panel.options.codes = defaultSettings().codes;
    panel.options.ticked[0] = true;
    double chooseSeconds = 0;
    for (auto _ : state) {
        const PickBook book = scorePickBook(readPicks(db), history.draws());
        if (book.top.scored + book.exclude.scored != 100)
            state.SkipWithError("not every record was scored");
        state.PauseTiming();
        const auto started = std::chrono::steady_clock::now();
        const std::vector<int> values = choosePick(history, panel, 5, PickMode::Top);
        chooseSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        state.ResumeTiming();
        benchmark::DoNotOptimize(storePick(db, history, panel, 5, PickMode::Top, values, "2026-12-08 12:49:00"));
    }
    state.counters["choose_ms"] = benchmark::Counter(chooseSeconds * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PicksOnTheWindowThread)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same two as they were made before, all on the window's thread: the book read and
// scored from the file, and a pick chosen and stored in one go.
void BM_PicksFromTheFile(benchmark::State& state) {
    ScratchFolder folder;
    HistoryDb db(folder / HistoryDb::kFileName);
    fillBook(db, randomDraws(static_cast<int>(state.range(0))), 100);
    SearchPanel panel;
    panel.options.codes = defaultSettings().codes;
    panel.options.ticked[0] = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readPickBook(db));
        benchmark::DoNotOptimize(recordPick(db, panel, 5, PickMode::Top, "2026-12-08 12:49:00"));
    }
}
BENCHMARK(BM_PicksFromTheFile)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

}  // namespace drawfollow::bench
