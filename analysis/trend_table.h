// The trend chart (走势图) and the omission figures (遗漏) of one kind's values over a range
// of stored draws r₁..r_N, counted as the tally counts them.
//
// x(r, v) is how many of the scope's positions of draw r hold v, a(r, v) = 1 when x > 0.
// The omission of v at r is 0 when a(r, v) = 1, else one more than at the draw before, the
// run starting at the range's first draw (a value missing from r₁ has omission 1 there).
#pragma once

#include "analysis/search.h"

#include <cstdint>
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

// The figures of one value over the whole range.
struct ValueFigures {
    int value = 0;
    std::string text;              // as the tally grid names it
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
    friend class TrendBuilder;

    size_t cell(int row, int column) const {
        return static_cast<size_t>(row) * columns_.size() + static_cast<size_t>(column);
    }

    std::vector<int> issues_;
    std::vector<ValueFigures> columns_;
    std::vector<uint8_t> counts_;  // at most 8 positions hold a value
    std::vector<int32_t> omissions_;
};

// The chart of the stored draws in `range`, in one read of the kind's values. A range whose
// first issue lies after its last is refused (StoreError); one that holds no draw gives a
// chart without rows, every value with its figures of an empty range.
TrendTable readTrend(HistoryDb& db, const TrendChoice& choice, const IssueRange& range = {});

}  // namespace drawfollow
