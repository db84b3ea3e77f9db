// The follow and combination searches end to end (snapshot, marking, tally, the fields kept),
// their answers alone over a snapshot already read, the in-memory floor they are measured
// against, and the walk-forward backtest, on seeded histories of 3,000 to 100,000 draws.
#include "analysis/backtest.h"
#include "analysis/chance_baseline.h"
#include "analysis/search.h"
#include "analysis/search_answer.h"
#include "analysis/trend_table.h"
#include "store/history_db.h"

#include "bench_support.h"
#include "literal_search.h"
#include "search_floor.h"

#include <SQLiteCpp/Transaction.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>

namespace drawfollow {
namespace {

// A search that was refused or rolled back would be timed as a fast one.
void check(benchmark::State& state, const SearchResult& result) {
    if (!result.ran)
        state.SkipWithError(result.message.c_str());
}

// One stored history per size, built once: building 100,000 rows takes longer than the searches.
class History {
public:
    static History& of(int draws) {
        static std::map<int, std::unique_ptr<History>> made;
        auto& h = made[draws];
        if (!h)
            h.reset(new History(draws));
        return *h;
    }

    HistoryDb& db() { return db_; }

    // 2 and 3 in turn over every search on this history, repetitions included, so that
    // each one finds the copies of the other gap.
    int nextGap() { return lastGap_ = lastGap_ == 2 ? 3 : 2; }

    // All eight positions ticked with the newest draw's values of the kind.
    SearchInputs inputs(Kind kind, bool free, bool previousIssue) {
        SearchInputs in;
        in.searchKind = kind;
        in.resultKind = Kind::Tail;
        in.freePositions = free;
        in.previousIssue = previousIssue;
        in.gap = 2;
        in.ticked.fill(true);
        in.values = PositionValues{};
        for (int p = 0; p < kPositions; ++p)
            in.values->at(p) = newest_.own[index(kind)][p];
        in.firstIssue = std::to_string(first_);
        in.lastIssue = std::to_string(newest_.issue);
        in.combinationSize = 4;
        in.combinationRegularOnly = false;
        return in;
    }

private:
    explicit History(int draws) : db_(folder_.path() / HistoryDb::kFileName) {
        db_.replaceAll(bench::randomDraws(draws), bench::defaultSettings());
        newest_ = *db_.newest();
        first_ = db_.issues().front();
    }

    bench::ScratchFolder folder_;
    HistoryDb db_;
    DrawRow newest_;
    int first_ = 0;
    int lastGap_ = 2;
};

enum Mode { FreePrevious, FreeBack, FixedPrevious, FixedBack };

SearchInputs modeInputs(History& h, int mode, Kind kind) {
    return h.inputs(kind, mode == FreePrevious || mode == FreeBack, mode == FreePrevious || mode == FixedPrevious);
}

void setLabels(benchmark::State& state, int mode, int draws) {
    static const char* names[] = {"free 上期", "free 前期", "fixed 上期", "fixed 前期"};
    state.SetLabel(names[mode]);
    state.SetComplexityN(draws);
}

// The same search again and again, as a user pressing the button on one panel.
void BM_FollowSearch(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const int draws = static_cast<int>(state.range(1));
    History& h = History::of(draws);
    const SearchInputs in = modeInputs(h, mode, Kind::Zodiac);
    check(state, runFollowSearch(h.db(), in));  // the first press: every row may change
    for (auto _ : state)
        check(state, runFollowSearch(h.db(), in));
    setLabels(state, mode, draws);
}
BENCHMARK(BM_FollowSearch)
    ->ArgsProduct({{FreePrevious, FreeBack, FixedPrevious, FixedBack}, {3000, 25000, 100000}})
    ->Unit(benchmark::kMillisecond);

// A new gap every time: the 前期 copies change in every row, so every row is rewritten.
void BM_FollowSearchNewGap(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const int draws = static_cast<int>(state.range(1));
    History& h = History::of(draws);
    SearchInputs in = modeInputs(h, mode, Kind::Zodiac);
    for (auto _ : state) {
        in.gap = h.nextGap();
        check(state, runFollowSearch(h.db(), in));
    }
    setLabels(state, mode, draws);
}
BENCHMARK(BM_FollowSearchNewGap)->ArgsProduct({{FreeBack, FixedBack}, {3000, 100000}})->Unit(benchmark::kMillisecond);

// k = 4 over all eight positions: 70 sets, pressed again and again on one panel.
void BM_CombinationSearch(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const int draws = static_cast<int>(state.range(1));
    History& h = History::of(draws);
    const SearchInputs in = modeInputs(h, mode, Kind::Zodiac);
    check(state, runCombinationSearch(h.db(), in));  // the first press: every row may change
    for (auto _ : state)
        check(state, runCombinationSearch(h.db(), in));
    setLabels(state, mode, draws);
}
BENCHMARK(BM_CombinationSearch)
    ->ArgsProduct({{FreePrevious, FreeBack, FixedPrevious, FixedBack}, {3000, 25000, 100000}})
    ->Unit(benchmark::kMillisecond);

// The answer alone, over a snapshot read once: what a repeated press costs once the history
// is in memory (the window keeps it between changes), against the floor below.
void BM_SearchAnswer(benchmark::State& state) {
    const bool combination = state.range(0) != 0;
    const int mode = static_cast<int>(state.range(1));
    const int draws = static_cast<int>(state.range(2));
    History& h = History::of(draws);
    const SearchInputs in = modeInputs(h, mode, Kind::Zodiac);
    const HistorySnapshot history = HistorySnapshot::read(h.db());
    for (auto _ : state) {
        const SearchAnswer answer = answerSearch(history, in, combination);
        check(state, answer.result);
        benchmark::DoNotOptimize(answer);
    }
    setLabels(state, mode, draws);
}
BENCHMARK(BM_SearchAnswer)
    ->ArgsProduct({{0, 1}, {FreePrevious, FreeBack, FixedPrevious, FixedBack}, {25000, 100000}})
    ->Unit(benchmark::kMillisecond);

// The floor: the same hits and tally from the values in plain arrays, checked against the
// product's answer first.
void BM_SearchFloor(benchmark::State& state) {
    const bool combination = state.range(0) != 0;
    const int mode = static_cast<int>(state.range(1));
    const int draws = static_cast<int>(state.range(2));
    History& h = History::of(draws);
    const SearchInputs in = modeInputs(h, mode, Kind::Zodiac);
    const HistorySnapshot history = HistorySnapshot::read(h.db());
    const bench::FloorHistory arrays = bench::FloorHistory::of(history.draws());
    const SearchAnswer product = answerSearch(history, in, combination);
    const bench::FloorAnswer floor = bench::floorSearch(arrays, in, combination);
    const bool sameTally = std::all_of(product.storedTally.begin(), product.storedTally.end(),
                                       [&floor](const TallyRow& r) { return floor.tally[r.value] == r.count; });
    if (floor.hits != product.result.hits || !sameTally)
        state.SkipWithError("the floor's answer differs from the search's");
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::floorSearch(arrays, in, combination));
    setLabels(state, mode, draws);
}
BENCHMARK(BM_SearchFloor)
    ->ArgsProduct({{0, 1}, {FreePrevious, FreeBack, FixedPrevious, FixedBack}, {25000, 100000}})
    ->Unit(benchmark::kMillisecond);

// The chance baseline of a follow search's tally: one read of the range's numbers. The
// search runs once, untimed; one ticked position makes about a quarter of the rows hits.
void BM_ChanceBaseline(benchmark::State& state) {
    const int draws = static_cast<int>(state.range(0));
    History& h = History::of(draws);
    SearchInputs in = h.inputs(Kind::Number, true, true);
    in.resultKind = Kind::Number;
    in.ticked = {true};
    const SearchResult result = runFollowSearch(h.db(), in);
    check(state, result);
    for (auto _ : state)
        benchmark::DoNotOptimize(chanceOf(h.db(), in, result));
    state.SetComplexityN(draws);
}
BENCHMARK(BM_ChanceBaseline)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The panel of the backtests: zodiacs of positions 1, 2 and 8 (follow) or any four of the
// eight positions (combination), tails tallied, the top 5 held against chance.
SearchPanel backtestPanel(bool combination) {
    SearchPanel panel;
    panel.combination = combination;
    panel.options.searchKind = Kind::Zodiac;
    panel.options.resultKind = Kind::Tail;
    panel.options.ticked = {true, true, false, false, false, false, false, true};
    panel.options.combinationSize = 4;
    return panel;
}

constexpr BacktestSettings kBacktestChoice{100, 5};

// A 100-target walk-forward backtest from the database: one read of the history, then a
// search in memory per target.
void BM_Backtest(benchmark::State& state) {
    const bool combination = state.range(0) != 0;
    const int draws = static_cast<int>(state.range(1));
    History& h = History::of(draws);
    const SearchPanel panel = backtestPanel(combination);
    for (auto _ : state) {
        const BacktestResult result = Backtest(h.db(), panel).run(kBacktestChoice);
        if (result.targets.empty())
            state.SkipWithError("no target counted");
        benchmark::DoNotOptimize(result);
    }
    state.SetLabel(combination ? "combination size 4" : "follow");
    state.SetComplexityN(draws);
}
BENCHMARK(BM_Backtest)->ArgsProduct({{0, 1}, {3000, 25000, 100000}})->Unit(benchmark::kMillisecond);

// Its floor: the same choices from the values in plain arrays, no database, checked against
// the backtest's first.
void BM_BacktestFloor(benchmark::State& state) {
    const bool combination = state.range(0) != 0;
    const int draws = static_cast<int>(state.range(1));
    History& h = History::of(draws);
    const SearchPanel panel = backtestPanel(combination);
    SearchInputs settings;
    static_cast<SearchSettings&>(settings) = panel.options;
    settings.combinationSize = panel.options.combinationSize;
    const BacktestResult product = Backtest(h.db(), panel).run(kBacktestChoice);
    const bench::FloorHistory arrays = bench::FloorHistory::of(h.db().drawValues());
    const bench::FloorBacktest floor =
        bench::floorBacktest(arrays, settings, combination, kBacktestChoice.targets, kBacktestChoice.top);
    bool same = floor.observed == product.observed && floor.chosen.size() == product.targets.size();
    for (size_t i = 0; same && i < floor.chosen.size(); ++i)
        same = floor.chosen[i] == product.targets[i].chosen;
    if (!same)
        state.SkipWithError("the floor's choices differ from the backtest's");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            bench::floorBacktest(arrays, settings, combination, kBacktestChoice.targets, kBacktestChoice.top));
    state.SetLabel(combination ? "combination size 4" : "follow");
    state.SetComplexityN(draws);
}
BENCHMARK(BM_BacktestFloor)->ArgsProduct({{0, 1}, {25000, 100000}})->Unit(benchmark::kMillisecond);

// The trend chart and omission figures of the whole history: one read of the kind's values
// and every cell. Numbers have the most columns (30), tails the most occurrences per value.
void BM_TrendTable(benchmark::State& state) {
    const auto kind = static_cast<Kind>(state.range(0));
    const int draws = static_cast<int>(state.range(1));
    History& h = History::of(draws);
    const TrendChoice choice{kind, TallyScope::All, bench::defaultSettings()};
    for (auto _ : state)
        benchmark::DoNotOptimize(readTrend(h.db(), choice));
    state.SetLabel(kind == Kind::Number ? "number" : "tail");
    state.SetComplexityN(draws);
}
BENCHMARK(BM_TrendTable)
    ->ArgsProduct({{static_cast<int>(Kind::Number), static_cast<int>(Kind::Tail)}, {3000, 100000}})
    ->Unit(benchmark::kMillisecond);

// The yardstick the search times are judged by: eight counting LIKE updates over the table
// in one transaction, the base zodiacs of the newest draw as free-position patterns.
void BM_EightLikeUpdates(benchmark::State& state) {
    History& h = History::of(static_cast<int>(state.range(0)));
    const SearchInputs in = h.inputs(Kind::Zodiac, true, true);
    std::map<int, int> seen;
    std::vector<std::string> patterns;
    for (int v : *in.values)
        patterns.push_back(std::to_string(++seen[v]) + "X" + (v < 10 ? "0" : "") + std::to_string(v));
    for (auto _ : state) {
        SQLite::Transaction transaction(h.db().connection());
        for (const auto& p : patterns)
            h.db().execute("UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE [txtHisLstSx] LIKE '%" + p + "%'");
        transaction.commit();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EightLikeUpdates)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The least a search that changes every row can cost: one UPDATE writing one scratch flag
// of every row, committed. A search with a new gap does this much and more.
void BM_RewriteEveryRow(benchmark::State& state) {
    History& h = History::of(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SQLite::Transaction transaction(h.db().connection());
        h.db().execute("UPDATE [Lishi] SET [bolOk] = 1 - [bolOk]");
        transaction.commit();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RewriteEveryRow)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);

// For comparison: the follow search one statement per condition and one walk per field.
void BM_FollowSearchStatementByStatement(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    History& h = History::of(3000);
    const SearchInputs in = modeInputs(h, mode, Kind::Zodiac);
    for (auto _ : state)
        benchmark::DoNotOptimize(test::runLiteralFollowSearch(h.db(), in));
    setLabels(state, mode, 3000);
}
BENCHMARK(BM_FollowSearchStatementByStatement)->DenseRange(FreePrevious, FixedBack)->Unit(benchmark::kMillisecond);

// For comparison: the same combination search one statement per set and condition.
void BM_CombinationSearchStatementByStatement(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    History& h = History::of(3000);
    const SearchInputs in = modeInputs(h, mode, Kind::Zodiac);
    for (auto _ : state)
        benchmark::DoNotOptimize(test::runLiteralCombinationSearch(h.db(), in));
    setLabels(state, mode, 3000);
}
BENCHMARK(BM_CombinationSearchStatementByStatement)
    ->Arg(FreePrevious)
    ->Arg(FixedPrevious)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace drawfollow
