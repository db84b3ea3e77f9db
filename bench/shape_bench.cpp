// The shape measures 形态: the exact distributions, computed once per process, and the shape
// command's work (one read of the numbers, every draw's shapes, one measure against chance)
// on seeded histories of 3,000 and 100,000 draws; the window's tab, which shows all nine
// measures' grid, computes the shapes once and a distribution per measure chosen.
#include "analysis/shape_chance.h"
#include "analysis/shape_table.h"
#include "store/history_db.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace drawfollow {
namespace {

// One stored history per size, built once: storing 100,000 rows takes longer than reading them.
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

private:
    explicit History(int draws) : db_(folder_.path() / HistoryDb::kFileName) {
        db_.replaceAll(bench::randomDraws(draws), bench::defaultSettings());
    }

    bench::ScratchFolder folder_;
    HistoryDb db_;
};

// The first call in the process walks every set; registered first, so that nothing has
// walked them before. One iteration: later calls only return the cached distributions.
void BM_ShapeDistributionsOnce(benchmark::State& state) {
    const auto scope = static_cast<TallyScope>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(shapeDistribution(ShapeMeasure::Ac, scope).size());
    state.SetLabel(scope == TallyScope::All ? "eight numbers" : "seven numbers");
}
BENCHMARK(BM_ShapeDistributionsOnce)
    ->Arg(static_cast<int>(TallyScope::Regular))
    ->Arg(static_cast<int>(TallyScope::All))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// drawfollow-cli shape over the whole history: the sum has the most values (about 200).
void BM_ShapeCommand(benchmark::State& state) {
    const auto measure = static_cast<ShapeMeasure>(state.range(0));
    History& h = History::of(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const ShapeTable table = readShapes(h.db(), TallyScope::Regular);
        benchmark::DoNotOptimize(distributionOf(table, measure).fit.p);
    }
    state.SetLabel(measure == ShapeMeasure::Sum ? "sum" : "odd");
}
BENCHMARK(BM_ShapeCommand)
    ->ArgsProduct({{index(ShapeMeasure::Sum), index(ShapeMeasure::Odd)}, {3000, 100000}})
    ->Unit(benchmark::kMillisecond);

// The tab's read and every measure's distribution, as if each were chosen in turn.
void BM_ShapeEveryMeasure(benchmark::State& state) {
    History& h = History::of(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const ShapeTable table = readShapes(h.db(), TallyScope::All);
        for (ShapeMeasure m : kShapeMeasures)
            benchmark::DoNotOptimize(distributionOf(table, m).fit.p);
    }
}
BENCHMARK(BM_ShapeEveryMeasure)->Arg(3000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace drawfollow
