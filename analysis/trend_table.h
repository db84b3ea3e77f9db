// The trend chart (走势图) and the omission figures (遗漏) of one kind's values over a range
// of stored draws r₁..r_N, counted as the tally counts them.
//
// x(r, v) is how many of the scope's positions of draw r hold v, a(r, v) = 1 when x > 0.
// The omission of v at r is 0 when a(r, v) = 1, else one more than at the draw before, the
// run starting at the range's first draw (a value missing from r₁ has omission 1 there).
#pragma once

#include "analysis/history_snapshot.h"
#include "analysis/search.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drawfollow {

// What is charted: a kind's values in the scope's positions, listed and named as the tally
// grid lists and names them under the settings the rows were derived with.
struct TrendChoice {
    Kind kind = Kind::Number;
    TallyScope scope = TallyScope::All;
    DerivationSettings derivation;
};

// The stored draws with an issue in [first, last]; an open end reaches the history's end.
struct IssueRange {
    std::optional<int> first;
    std::optional<int> last;
};

// The rows [begin, end) of issues (ascending) that lie in the range. A range whose first
// issue lies after its last is refused (StoreError).
struct RowSpan {
    size_t begin = 0;
    size_t end = 0;
    size_t size() const { return end - begin; }
};
RowSpan rowsInRange(std::span<const int> issues, const IssueRange& range);

// The figures of one value over the whole range.
struct ValueFigures {
    int value = 0;
    GridCell name;                 // as the tally grid names it: a whole number or an animal
    int count = 0;                 // Σ x(r, v), 出现次数
    int draws = 0;                 // Σ a(r, v), 出现期数
    int current = 0;               // the omission at r_N, 当前遗漏
    int max = 0;                   // the largest omission in the range, 最大遗漏
    double average = 0;            // (N − draws) / (draws + 1), 平均遗漏
    int maxStreak = 0;             // the longest run of draws with a(r, v) = 1, 最大连出
    std::optional<int> lastIssue;  // the last draw with a(r, v) = 1; none when never
};

// Follows one value draw by draw: `add` takes x(r, v) of each draw in issue order, `finish`
// the number of draws added, for the average omission.
class FigureRun {
public:
    explicit FigureRun(ValueFigures& figures) : figures_(&figures) {}
    void add(int issue, int x);
    void finish(int draws);

private:
    ValueFigures* figures_;
    int streak_ = 0;  // the run of draws with a(r, v) = 1 that ends at the last one added
};

// One draw of the chart as the walk reaches it, each span in the columns' order; valid
// only during the call it is handed to.
struct TrendRow {
    int issue = 0;
    std::span<const uint8_t> counts;     // x(r, v)
    std::span<const int32_t> omissions;  // 0 where the value was drawn
};

// The chart of the snapshot's draws in a range, walked draw by draw without keeping the
// cells, so that a caller writing them out needs the memory of one row. A range whose
// first issue lies after its last is refused (StoreError); one that holds no draw gives no
// rows, every value with its figures of an empty range.
class TrendWalk {
public:
    TrendWalk(const HistorySnapshot& history, const TrendChoice& choice, const IssueRange& range = {});

    int rowCount() const { return static_cast<int>(rows_.size()); }
    // The range's first and last issue; none when it holds no draw.
    std::optional<int> firstIssue() const;
    std::optional<int> lastIssue() const;

    // The columns' values in the tally's ascending value order, named as the tally grid
    // names them; their figures are those of the whole range once `run` has returned.
    const std::vector<ValueFigures>& columns() const { return columns_; }

    // Hands every draw of the range to `row` in issue order; may be run again.
    void run(const std::function<void(const TrendRow&)>& row);

private:
    const HistorySnapshot* history_;
    SearchSettings settings_;
    RowSpan rows_;
    std::vector<ValueFigures> columns_;
};

// Every cell of the chart and the figures of every value; rows are the draws in issue order,
// columns the values in the tally's ascending value order. The cells are kept in two flat
// arrays, so that a model over 100,000 draws reads any cell in constant time.
class TrendTable {
public:
    int rowCount() const { return static_cast<int>(issues_.size()); }
    int columnCount() const { return static_cast<int>(columns_.size()); }

    int issue(int row) const { return issues_[row]; }
    const std::vector<int>& issues() const { return issues_; }

    // The columns' values with their figures.
    const std::vector<ValueFigures>& columns() const { return columns_; }
    const ValueFigures& column(int column) const { return columns_[column]; }

    // x(r, v): 0 where the value was not drawn.
    int count(int row, int column) const { return counts_[cell(row, column)]; }
    // The omission: 0 where the value was drawn.
    int omission(int row, int column) const { return omissions_[cell(row, column)]; }

private:
    friend TrendTable trendOf(const HistorySnapshot& history, const TrendChoice& choice, const IssueRange& range);

    size_t cell(int row, int column) const {
        return static_cast<size_t>(row) * columns_.size() + static_cast<size_t>(column);
    }

    std::vector<int> issues_;
    std::vector<ValueFigures> columns_;
    std::vector<uint8_t> counts_;  // at most 8 positions hold a value
    std::vector<int32_t> omissions_;
};

// The whole chart of the snapshot's draws in `range`, refused as TrendWalk refuses it.
TrendTable trendOf(const HistorySnapshot& history, const TrendChoice& choice, const IssueRange& range = {});

// The same over a snapshot of the kind's values read for it alone.
TrendTable readTrend(HistoryDb& db, const TrendChoice& choice, const IssueRange& range = {});

}  // namespace drawfollow
