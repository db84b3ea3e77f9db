#include "analysis/trend_table.h"
#include "analysis/tally_rules.h"

#include <algorithm>
#include <climits>

namespace drawfollow {

namespace {

SearchSettings tallySettings(const TrendChoice& choice) {
    SearchSettings settings;
    settings.resultKind = choice.kind;
    settings.scope = choice.scope;
    settings.codes = choice.derivation.codes;
    settings.zodiacOffset = choice.derivation.codes.offset();
    settings.segmentOffset = choice.derivation.segmentOffset;
    return settings;
}

}  // namespace

void FigureRun::add(int issue, int x) {
    ValueFigures& figures = *figures_;
    if (x > 0) {
        figures.count += x;
        ++figures.draws;
        figures.current = 0;
        figures.maxStreak = std::max(figures.maxStreak, ++streak_);
        figures.lastIssue = issue;
    } else {
        figures.max = std::max(figures.max, ++figures.current);
        streak_ = 0;
    }
}

void FigureRun::finish(int draws) {
    figures_->average = static_cast<double>(draws - figures_->draws) / (figures_->draws + 1);
}

// Follows every value draw by draw, filling the cells and the figures in one pass.
class TrendBuilder {
public:
    TrendBuilder(const TrendChoice& choice, size_t rows) : rules_(tallySettings(choice)) {
        const int values = rules_.listedCount();
        for (int i = 0; i < values; ++i) {
            ValueFigures& column = table_.columns_.emplace_back();
            column.value = rules_.listed().low + i;
            column.text = rules_.valueText(column.value);
        }
        x_.assign(values, 0);
        runs_.reserve(values);
        for (ValueFigures& column : table_.columns_)
            runs_.emplace_back(column);
        table_.issues_.reserve(rows);
        table_.counts_.reserve(rows * static_cast<size_t>(values));
        table_.omissions_.reserve(rows * static_cast<size_t>(values));
    }

    void add(const KindValues& row) {
        std::fill(x_.begin(), x_.end(), 0);
        rules_.addRow(row.values, x_);
        table_.issues_.push_back(row.issue);
        for (size_t v = 0; v < x_.size(); ++v) {
            const int x = static_cast<int>(x_[v]);
            runs_[v].add(row.issue, x);
            table_.counts_.push_back(static_cast<uint8_t>(x));
            table_.omissions_.push_back(table_.columns_[v].current);
        }
    }

    TrendTable finish() {
        for (FigureRun& run : runs_)
            run.finish(table_.rowCount());
        return std::move(table_);
    }

private:
    TallyRules rules_;
    TrendTable table_;
    std::vector<long long> x_;     // x(r, v) of the draw being added
    std::vector<FigureRun> runs_;  // over table_.columns_, which no longer grows
};

TrendTable readTrend(HistoryDb& db, const TrendChoice& choice, const IssueRange& range) {
    const int first = range.first.value_or(INT_MIN);
    const int last = range.last.value_or(INT_MAX);
    if (first > last)
        throw StoreError("起始期号 " + std::to_string(first) + " 大于截止期号 " + std::to_string(last) + "。");
    const std::vector<KindValues> rows = db.kindValuesInRange(choice.kind, first, last);
    TrendBuilder builder(choice, rows.size());
    for (const KindValues& row : rows)
        builder.add(row);
    return builder.finish();
}

}  // namespace drawfollow
