// Trimming a long history (safety copy, backup file, rebuild, compaction) and deleting the
// newest draw with its compaction.
#include "io/history_maintenance.h"
#include "store/history_db.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

namespace drawfollow {
namespace {

constexpr int kHistoryLength = 3000;

void BM_TrimNewestHundred(benchmark::State& state) {
    bench::ScratchFolder folder;
    const auto draws = bench::randomDraws(kHistoryLength);
    const int lastKept = draws[kHistoryLength - 101].issue;
    const auto settings = bench::defaultSettings();
    HistoryDb db(folder.path() / HistoryDb::kFileName);
    for (auto _ : state) {
        state.PauseTiming();
        db.replaceAll(draws, settings);
        state.ResumeTiming();
        const auto result = trimToIssue(db, lastKept, settings, Emptying::Refused);
        if (result.removed != 100 || !result.compactionProblem.empty())
            state.SkipWithError("the trim did not delete 100 draws and compact");
    }
    state.SetItemsProcessed(state.iterations() * (kHistoryLength - 100));
}
BENCHMARK(BM_TrimNewestHundred)->Unit(benchmark::kMillisecond);

void BM_DeleteNewestDrawAndCompact(benchmark::State& state) {
    bench::ScratchFolder folder;
    const auto draws = bench::randomDraws(kHistoryLength);
    const auto settings = bench::defaultSettings();
    HistoryDb db(folder.path() / HistoryDb::kFileName);
    db.replaceAll(std::span(draws).first(kHistoryLength - 1), settings);
    for (auto _ : state) {
        state.PauseTiming();
        db.append(draws.back(), settings);
        state.ResumeTiming();
        const auto result = deleteNewestDraw(db);
        if (result.removed != 1 || !result.compactionProblem.empty())
            state.SkipWithError("the newest draw was not deleted and compacted");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DeleteNewestDrawAndCompact)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace drawfollow
