#include "analysis/backtest.h"

#include "analysis/chance_baseline.h"
#include "analysis/hit_tally.h"
#include "analysis/panel_defaults.h"
#include "analysis/panel_values.h"
#include "analysis/range_moments.h"
#include "analysis/search_marking.h"
#include "analysis/tally_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace drawfollow {

namespace {

constexpr double kSignificance = 0.05;
constexpr int kFewTargets = 30;

// The panel every target is searched with (the first tab's base, the range ending before
// the target), once its search on the whole history is known not to be refused.
SearchPanel checkedPanel(const HistorySnapshot& history, SearchPanel panel) {
    panel.source = BaseSource::LatestDraw;
    panel.lastIssue = std::nullopt;
    const PanelSearch built = buildSearchInputs(panel, history.panelHistory());
    if (!built.ready())
        throw StoreError("回测未进行：" + built.refusal);
    return panel;
}

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// One target's outcome against chance, from its search's tally and the range's sums.
class TargetScore {
public:
    TargetScore(const TallyRules& rules, const std::vector<TallyRow>& tally, int top) {
        const size_t k = std::min(tally.size(), static_cast<size_t>(top));
        for (size_t i = 0; i < k; ++i) {
            values_.push_back(tally[i].value);
            indices_.push_back(tally[i].value - rules.listed().low);
        }
    }

    void fill(BacktestTarget& target, const TallyRules& rules, const StoredDraw& drawn, Kind resultKind,
              const RangeMoments& range) const {
        std::vector<long long> x(rules.listedCount(), 0);
        rules.addRow(valuesOf(drawn, resultKind), x);
        target.top = values_;
        for (const int v : values_)
            target.topTexts.push_back(rules.valueText(v));
        for (const int i : indices_)
            target.hit += static_cast<int>(x[i]);
        target.expected = range.mean(indices_);
        target.variance = range.variance(indices_);
    }

private:
    std::vector<int> values_;
    std::vector<int> indices_;  // value − the lowest listed value
};

}  // namespace

std::string BacktestTarget::topLine() const {
    std::string line;
    for (const std::string& text : topTexts)
        line += (line.empty() ? "" : " ") + text;
    return line;
}

Backtest::Backtest(HistoryDb& db, const SearchPanel& panel)
    : history_(HistorySnapshot::read(db, HistorySnapshot::kindsOf(panel.options))),
      panel_(checkedPanel(history_, panel)) {}

BacktestResult Backtest::run(const BacktestSettings& settings, const BacktestProgress& progress) const {
    if (settings.targets < 1 || settings.top < 1)
        throw StoreError("回测的目标期数和取前几个结果值都须至少为 1。");
    const std::vector<int>& issues = history_.issues();
    const std::vector<StoredDraw>& draws = history_.draws();
    const SearchSettings& o = panel_.options;
    const PanelHistory whole = history_.panelHistory();

    BacktestResult result;
    result.top = settings.top;
    const size_t total = std::min(issues.size(), static_cast<size_t>(settings.targets));
    const size_t firstTarget = issues.size() - total;

    // 起 is the same for every target: the first stored issue does not change.
    const PanelSearch onWhole = buildSearchInputs(panel_, whole);
    const TallyRules rules(onWhole.inputs);
    const size_t rangeStart = static_cast<size_t>(
        std::lower_bound(issues.begin(), issues.end(), *readIssueBox(onWhole.inputs.firstIssue)) - issues.begin());
    RangeMoments range(rules.listedCount());
    std::vector<long long> x(rules.listedCount());
    size_t added = rangeStart;

    for (size_t t = firstTarget; t < issues.size(); ++t) {
        for (; added < t; ++added) {
            std::fill(x.begin(), x.end(), 0);
            rules.addRow(valuesOf(draws[added], o.resultKind), x);
            range.add(x);
        }
        const BaseLookup base = referenceDraw(t, o.previousIssue, o.gap);
        const PanelSearch built =
            base.found() ? buildSearchInputs(panel_, {whole.issues.first(t), whole.drawAt}) : PanelSearch{};
        if (!base.found()) {
            ++result.withoutBase;
        } else if (!built.ready()) {
            throw StoreError("回测未进行：第 " + std::to_string(issues[t]) + " 期：" + built.refusal);
        } else if (const std::vector<size_t> hits =
                       SearchMarking(built.inputs, panel_.combination).markedRows(history_, rangeStart, t);
                   hits.empty()) {
            ++result.skipped;
        } else {
            BacktestTarget& target = result.targets.emplace_back();
            target.issue = issues[t];
            target.base = issues[*base.index];
            target.hits = static_cast<int>(hits.size());
            TargetScore(rules, tallyOf(history_, built.inputs, hits), settings.top)
                .fill(target, rules, draws[t], o.resultKind, range);
            result.observed += target.hit;
            result.expected += target.expected;
            result.variance += target.variance;
        }
        if (progress && !progress(t - firstTarget + 1, total)) {
            result.cancelled = true;
            break;
        }
    }
    if (result.variance > 0) {
        result.z = (static_cast<double>(result.observed) - result.expected) / std::sqrt(result.variance);
        result.p = 0.5 * std::erfc(*result.z / std::sqrt(2.0));
    }
    result.verdict = backtestVerdict(result);
    return result;
}

std::string backtestVerdict(const BacktestResult& result) {
    const std::string counted = std::to_string(result.targets.size());
    if (!result.p)
        return "没有可与随机抽取比较的目标期（" + counted + " 期计入回测）";
    std::string verdict = "前 " + std::to_string(result.top) + " 个结果值在 " + counted + " 期中共开出 " +
                          std::to_string(result.observed) + " 次，随机期望 " + fixed(result.expected, 1) +
                          " 次（z = " + fixed(*result.z, 2) + "，" + pValueText(*result.p) + "）：";
    verdict += *result.p < kSignificance ? "显著好于随机抽取" : "不比随机抽取更好";
    if (result.targets.size() < static_cast<size_t>(kFewTargets))
        verdict += "；计入的目标期少，结论不可靠";
    return verdict;
}

}  // namespace drawfollow
