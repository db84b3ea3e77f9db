// 预测记录 read and scored: 1,000 records on a history of 3,000 draws, as `picks list` and
// the dialog read them every time.
#include "analysis/pick_book.h"
#include "analysis/pick_panel.h"
#include "bench_support.h"

#include <benchmark/benchmark.h>

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

}  // namespace

}  // namespace drawfollow::bench
