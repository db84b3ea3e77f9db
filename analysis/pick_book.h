// 预测记录: the picks made before each draw, scored on reading against the draw's own odds
// once their issue is stored (a pick whose draw is deleted is pending again), and the making
// of a pick for the next issue exactly as the backtest chooses for each of its targets.
#pragma once

#include "analysis/backtest.h"
#include "analysis/draw_odds.h"
#include "store/grid_cell.h"
#include "store/pick_table.h"

#include <optional>
#include <string>
#include <vector>

namespace drawfollow {

struct ScoredPick {
    PickRecord record;
    std::vector<GridCell> values;      // the values as the tally grid names them
    std::optional<ChosenScore> score;  // none while its issue is not stored (pending)

    PickMode mode() const { return record.exclude ? PickMode::Exclude : PickMode::Top; }
    // The values' texts, one space apart.
    std::string valuesLine() const;
    // The same as one cell: a single value as the tally grid has it, more as their line.
    GridCell valuesCell() const;
    // "前 5 个", "杀号 后 3 个".
    std::string modeText() const;
};

// The running total of one mode's scored picks: O, E, V, z and p as the backtest gives them.
struct PickTotals {
    PickMode mode = PickMode::Top;
    int scored = 0;
    long long observed = 0;
    double expected = 0;
    double variance = 0;
    std::optional<double> z;  // none while V = 0
    std::optional<double> p;
    std::string verdict;
};

inline PickTotals totalsOf(PickMode mode) {
    PickTotals totals;
    totals.mode = mode;
    return totals;
}

struct PickBook {
    std::vector<ScoredPick> picks;  // the pending first, each group newest first
    PickTotals top;
    PickTotals exclude = totalsOf(PickMode::Exclude);

    const PickTotals& totals(PickMode mode) const { return mode == PickMode::Top ? top : exclude; }
};

// The records as the tables show them, header row first: 编号, 期号, 记录时间, 方式, 结果值,
// 状态, 开出, 期望.
CellGrid pickBookTable(const PickBook& book);

// One mode's scored records in issue order (then in the order they were made), as the
// cumulative chart adds them up.
std::vector<ChosenScore> scoredInIssueOrder(const PickBook& book, PickMode mode);

// Scores `records` against `draws`, every stored draw in issue order (as a snapshot holds
// them). Refuses (StoreError) a record this program could not have written.
PickBook scorePickBook(const std::vector<PickRecord>& records, const std::vector<StoredDraw>& draws);

// Reads and scores every record; one read of the stored numbers. Refuses as scorePickBook.
PickBook readPickBook(HistoryDb& db);

// Makes and stores the panel's pick for the issue after the newest stored draw, the first
// (top) or last (exclude) K values of the search's tally on the whole history, and returns
// it scored (pending). `made`: the time, UTC. Refuses (StoreError) a panel the backtest
// refuses, a history giving no base draw or hit, and K below 1.
ScoredPick recordPick(HistoryDb& db, const SearchPanel& panel, int top, PickMode mode, const std::string& made);

// The same in two steps, so that the search can run off the thread that owns `db`: the
// values chosen on `history`, refused as recordPick refuses...
std::vector<int> choosePick(const HistorySnapshot& history, const SearchPanel& panel, int top, PickMode mode);
// ...then stored, provided the file still holds the history they were chosen on: refused
// (StoreError, nothing stored) when another program has changed it since `history` was read.
ScoredPick storePick(HistoryDb& db, const HistorySnapshot& history, const SearchPanel& panel, int top, PickMode mode,
                     const std::vector<int>& values, const std::string& made);

// The time now, UTC, as records keep it: "2026-12-08 12:49:00".
std::string utcTimeNow();

// "12 条预测已开奖评分：共开出 9 次，随机开奖期望 8.3 次（z = 0.25，p = 0.40）：…".
std::string pickVerdict(const PickTotals& totals);

}  // namespace drawfollow
