#include "analysis/chance_baseline.h"
#include "analysis/panel_values.h"
#include "analysis/tally_rules.h"

#include <algorithm>
#include <cmath>

namespace drawfollow {

namespace {

// Per listed value: Σx and Σx² over the range B, and the count over the hits. The sums are
// of small whole numbers, so they are exact, and so is N·Σx² − (Σx)² = N²·s²: the variance
// never suffers the cancellation of a one-pass sum of squares in floating point.
struct RangeSums {
    long long rows = 0;
    std::vector<long long> sum, sumOfSquares, count;
};

RangeSums sumsOverRange(const HistorySnapshot& history, const TallyRules& rules, Kind kind,
                        const SearchResult& result) {
    RangeSums sums;
    sums.sum.assign(rules.listedCount(), 0);
    sums.sumOfSquares.assign(rules.listedCount(), 0);
    sums.count.assign(rules.listedCount(), 0);
    std::vector<long long> x(rules.listedCount());
    auto nextHit = result.hits.begin();
    const std::vector<int>& issues = history.issues();
    const auto first = std::lower_bound(issues.begin(), issues.end(), result.firstIssue) - issues.begin();
    const auto last = std::upper_bound(issues.begin(), issues.end(), result.lastIssue) - issues.begin();
    for (auto row = first; row < last; ++row) {
        const StoredDraw& draw = history.draws()[static_cast<size_t>(row)];
        ++sums.rows;
        std::fill(x.begin(), x.end(), 0);
        rules.addRow(valuesOf(draw, kind), x);
        const bool hit = nextHit != result.hits.end() && *nextHit == draw.issue;
        if (hit)
            ++nextHit;
        for (size_t v = 0; v < x.size(); ++v) {
            sums.sum[v] += x[v];
            sums.sumOfSquares[v] += x[v] * x[v];
            if (hit)
                sums.count[v] += x[v];
        }
    }
    if (nextHit != result.hits.end())
        throw StoreError("检索范围内已没有第 " + std::to_string(*nextHit) +
                         " 期：历史号码在检索后有了改变，请重新检索。");
    return sums;
}

ValueChance valueChance(const RangeSums& sums, size_t v, long long hits) {
    const auto N = static_cast<double>(sums.rows);
    const auto n = static_cast<double>(hits);
    ValueChance c;
    c.count = sums.count[v];
    if (sums.rows == 0)
        return c;
    c.expected = n * static_cast<double>(sums.sum[v]) / N;
    if (sums.rows == 1)
        return c;
    const long long spread = sums.rows * sums.sumOfSquares[v] - sums.sum[v] * sums.sum[v];  // N²·s²
    c.variance = n * (static_cast<double>(spread) / (N * N)) * (N - n) / (N - 1);
    if (c.variance == 0)
        return c;
    c.z = (static_cast<double>(c.count) - c.expected) / std::sqrt(c.variance);
    c.p = std::erfc(std::abs(*c.z) / std::sqrt(2.0));
    return c;
}

}  // namespace

ChanceBaseline chanceOf(HistoryDb& db, const SearchInputs& inputs, const SearchResult& result) {
    if (!result.ran)
        throw StoreError("检索没有完成，无法与随机抽取比较。");
    return chanceOf(HistorySnapshot::read(db, HistorySnapshot::kindsOf(inputs)), inputs, result);
}

ChanceBaseline chanceOf(const HistorySnapshot& history, const SearchInputs& inputs, const SearchResult& result) {
    if (!result.ran)
        throw StoreError("检索没有完成，无法与随机抽取比较。");
    const TallyRules rules(inputs);
    const RangeSums sums = sumsOverRange(history, rules, inputs.resultKind, result);

    ChanceBaseline baseline;
    baseline.rows = static_cast<int>(sums.rows);
    baseline.hits = static_cast<int>(result.hits.size());
    std::vector<TallyRow> order = rules.rows(sums.count);
    sortForGrid(order);
    std::vector<std::optional<double>> p;
    for (const TallyRow& line : order) {
        ValueChance c = valueChance(sums, static_cast<size_t>(line.value - rules.listed().low), baseline.hits);
        c.value = line.value;
        c.text = rules.valueText(line.value);
        p.push_back(c.p);
        baseline.values.push_back(std::move(c));
    }
    const std::vector<std::optional<double>> adjusted = holmAdjusted(p);
    for (size_t i = 0; i < adjusted.size(); ++i) {
        baseline.values[i].adjustedP = adjusted[i];
        if (adjusted[i] && (!baseline.minAdjustedP || *adjusted[i] < *baseline.minAdjustedP))
            baseline.minAdjustedP = adjusted[i];
    }
    baseline.verdict = chanceVerdict(baseline.minAdjustedP, baseline.hits);
    return baseline;
}

}  // namespace drawfollow
