// Import of a long history, appending one draw to a stored one, deriving every row again
// under another code table, and opening a stored history with its check of the pages.
#include "io/history_import.h"
#include "store/history_db.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

namespace drawfollow {
namespace {

void BM_ImportFile(benchmark::State& state) {
    const int draws = static_cast<int>(state.range(0));
    bench::ScratchFolder folder;
    const auto file = folder.path() / "history.txt";
    writeHistoryFile(file, bench::randomDraws(draws));
    const auto settings = bench::defaultSettings();
    HistoryDb db(folder.path() / HistoryDb::kFileName);
    for (auto _ : state) {
        importHistoryFile(db, file, settings);
        state.PauseTiming();
        db.deleteAll();  // every import starts from an empty history, which needs no safety copy
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * draws);
    state.SetComplexityN(draws);
}
BENCHMARK(BM_ImportFile)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_AppendOneDraw(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    bench::ScratchFolder folder;
    const auto draws = bench::randomDraws(stored + 1);
    const auto settings = bench::defaultSettings();
    HistoryDb db(folder.path() / HistoryDb::kFileName);
    db.replaceAll(std::span(draws).first(stored), settings);
    for (auto _ : state) {
        db.append(draws.back(), settings);
        state.PauseTiming();
        db.deleteNewest();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetComplexityN(stored);
}
BENCHMARK(BM_AppendOneDraw)->Arg(300)->Arg(3000)->Arg(30000)->Unit(benchmark::kMicrosecond)->Complexity();

// A new zodiac year or a settings menu: every row derived again, alternating between two
// code tables so that every iteration changes every zodiac value.
void BM_RederiveAll(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    bench::ScratchFolder folder;
    HistoryDb db(folder.path() / HistoryDb::kFileName);
    db.replaceAll(bench::randomDraws(stored), bench::defaultSettings());
    const DerivationSettings tables[] = {test::settingsFor(2025), bench::defaultSettings()};
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(db.rederiveAll(tables[i++ % 2]));
    state.SetItemsProcessed(state.iterations() * stored);
}
BENCHMARK(BM_RederiveAll)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ReadHistory(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    bench::ScratchFolder folder;
    HistoryDb db(folder.path() / HistoryDb::kFileName);
    db.replaceAll(bench::randomDraws(stored), bench::defaultSettings());
    for (auto _ : state)
        benchmark::DoNotOptimize(test::everyRow(db));
    state.SetItemsProcessed(state.iterations() * stored);
}
BENCHMARK(BM_ReadHistory)->Arg(3000)->Unit(benchmark::kMillisecond);

// Every command opens the history, and opening checks every page of it first.
void BM_OpenHistory(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    bench::ScratchFolder folder;
    const auto file = folder.path() / HistoryDb::kFileName;
    HistoryDb(file).replaceAll(bench::randomDraws(stored), bench::defaultSettings());
    for (auto _ : state)
        HistoryDb opened(file);
    state.SetItemsProcessed(state.iterations() * stored);
}
BENCHMARK(BM_OpenHistory)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The two checks of the pages SQLite offers (second argument 0: quick, 1: integrity), for
// the choice of the one opening runs.
void BM_PageCheck(benchmark::State& state) {
    const int stored = static_cast<int>(state.range(0));
    const std::string check = state.range(1) == 0 ? "PRAGMA quick_check" : "PRAGMA integrity_check";
    bench::ScratchFolder folder;
    HistoryDb db(folder.path() / HistoryDb::kFileName);
    db.replaceAll(bench::randomDraws(stored), bench::defaultSettings());
    for (auto _ : state)
        benchmark::DoNotOptimize(db.connection().execAndGet(check).getString());
    state.SetItemsProcessed(state.iterations() * stored);
}
BENCHMARK(BM_PageCheck)
    ->Args({3000, 0})
    ->Args({3000, 1})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace drawfollow
