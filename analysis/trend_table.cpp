#include "analysis/trend_table.h"
#include "analysis/tally_rules.h"

#include <algorithm>
#include <array>
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

RowSpan rowsInRange(std::span<const int> issues, const IssueRange& range) {
    const int first = range.first.value_or(INT_MIN);
    const int last = range.last.value_or(INT_MAX);
    if (first > last)
        throw StoreError("起始期号 " + std::to_string(first) + " 大于截止期号 " + std::to_string(last) + "。");
    const auto begin = std::lower_bound(issues.begin(), issues.end(), first);
    const auto end = std::upper_bound(begin, issues.end(), last);
    return {static_cast<size_t>(begin - issues.begin()), static_cast<size_t>(end - issues.begin())};
}

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

TrendWalk::TrendWalk(const HistorySnapshot& history, const TrendChoice& choice, const IssueRange& range)
    : history_(&history), settings_(tallySettings(choice)), rows_(rowsInRange(history.issues(), range)) {
    const TallyRules rules(settings_);
    for (int i = 0; i < rules.listedCount(); ++i) {
        ValueFigures& column = columns_.emplace_back();
        column.value = rules.listed().low + i;
        column.name = rules.valueCell(column.value);
    }
}

std::optional<int> TrendWalk::firstIssue() const {
    return rows_.size() == 0 ? std::nullopt : std::optional(history_->issues()[rows_.begin]);
}

std::optional<int> TrendWalk::lastIssue() const {
    return rows_.size() == 0 ? std::nullopt : std::optional(history_->issues()[rows_.end - 1]);
}

void TrendWalk::run(const std::function<void(const TrendRow&)>& row) {
    const TallyRules rules(settings_);
    const size_t values = columns_.size();
    std::vector<FigureRun> runs;
    runs.reserve(values);
    for (ValueFigures& column : columns_) {
        ValueFigures fresh;
        fresh.value = column.value;
        fresh.name = std::move(column.name);
        column = std::move(fresh);
        runs.emplace_back(column);
    }
    std::vector<long long> x(values);
    std::vector<uint8_t> counts(values);
    std::vector<int32_t> omissions(values);
    const int kind = index(settings_.resultKind);
    for (size_t r = rows_.begin; r < rows_.end; ++r) {
        const StoredDraw& draw = history_->draws()[r];
        PositionValues own{};
        std::copy(draw.own[kind].begin(), draw.own[kind].end(), own.begin());
        std::fill(x.begin(), x.end(), 0);
        rules.addRow(own, x);
        for (size_t v = 0; v < values; ++v) {
            runs[v].add(draw.issue, static_cast<int>(x[v]));
            counts[v] = static_cast<uint8_t>(x[v]);
            omissions[v] = columns_[v].current;
        }
        row({draw.issue, counts, omissions});
    }
    for (FigureRun& run : runs)
        run.finish(rowCount());
}

TrendTable trendOf(const HistorySnapshot& history, const TrendChoice& choice, const IssueRange& range) {
    TrendWalk walk(history, choice, range);
    TrendTable table;
    const size_t cells = static_cast<size_t>(walk.rowCount()) * walk.columns().size();
    table.issues_.reserve(static_cast<size_t>(walk.rowCount()));
    table.counts_.reserve(cells);
    table.omissions_.reserve(cells);
    walk.run([&table](const TrendRow& row) {
        table.issues_.push_back(row.issue);
        table.counts_.insert(table.counts_.end(), row.counts.begin(), row.counts.end());
        table.omissions_.insert(table.omissions_.end(), row.omissions.begin(), row.omissions.end());
    });
    table.columns_ = walk.columns();
    return table;
}

TrendTable readTrend(HistoryDb& db, const TrendChoice& choice, const IssueRange& range) {
    const std::array kinds = {choice.kind};
    return trendOf(HistorySnapshot::read(db, kinds), choice, range);
}

}  // namespace drawfollow
