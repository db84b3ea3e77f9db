#include "analysis/backtest.h"

#include "analysis/chance_baseline.h"
#include "analysis/draw_odds.h"
#include "analysis/hit_tally.h"
#include "analysis/panel_defaults.h"
#include "analysis/panel_values.h"
#include "analysis/search_marking.h"
#include "analysis/tally_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace drawfollow {

namespace {

constexpr double kSignificance = 0.05;

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

void requireChoice(const BacktestSettings& settings) {
    if (settings.targets < 1 || settings.top < 1)
        throw StoreError("回测的目标期数和取前几个结果值都须至少为 1。");
}

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

std::string BacktestTarget::chosenLine() const {
    std::string line;
    for (const std::string& text : chosenTexts)
        line += (line.empty() ? "" : " ") + text;
    return line;
}

Backtest::Backtest(HistoryDb& db, const SearchPanel& panel)
    : Backtest(HistorySnapshot::read(db, HistorySnapshot::kindsOf(panel.options)), panel) {}

Backtest::Backtest(HistorySnapshot history, const SearchPanel& panel)
    : history_(std::move(history)), panel_(checkedPanel(history_, panel)) {
    const SearchSettings& options = panel_.options;
    if (options.freePositions)
        occurrences_.emplace(history_, options.searchKind, options.previousIssue ? 1 : options.gap,
                             options.countSpecial);
}

size_t Backtest::rangeStart() const {
    // 起 is the same for every target: the first stored issue does not change.
    const std::vector<int>& issues = history_.issues();
    const PanelSearch onWhole = buildSearchInputs(panel_, historyBefore(issues.size()));
    return static_cast<size_t>(
        std::lower_bound(issues.begin(), issues.end(), *readIssueBox(onWhole.inputs.firstIssue)) - issues.begin());
}

PanelHistory Backtest::historyBefore(size_t t) const {
    const PanelHistory whole = history_.panelHistory();
    return {whole.issues.first(t), whole.drawAt};
}

std::optional<BacktestTarget> Backtest::choose(size_t t, size_t rangeStart, const BacktestSettings& settings,
                                               const TallyRules& rules) const {
    const std::vector<int>& issues = history_.issues();
    const BaseLookup base = referenceDraw(t, panel_.options.previousIssue, panel_.options.gap);
    if (!base.found())
        return std::nullopt;
    const PanelSearch built = buildSearchInputs(panel_, historyBefore(t));
    if (!built.ready())
        throw StoreError("回测未进行：" + (t < issues.size() ? "第 " + std::to_string(issues[t]) + " 期：" : "") +
                         built.refusal);
    const std::vector<size_t> hits = SearchMarking(built.inputs, panel_.combination)
                                         .markedRows(history_, rangeStart, t, occurrences_ ? &*occurrences_ : nullptr);
    BacktestTarget target;
    target.base = issues[*base.index];
    target.hits = static_cast<int>(hits.size());
    if (!hits.empty())
        target.chosen = chosenValues(tallyOf(history_, built.inputs, hits), settings.top, settings.mode);
    for (const int v : target.chosen)
        target.chosenTexts.push_back(rules.valueText(v));
    return target;
}

BacktestResult Backtest::run(const BacktestSettings& settings, const BacktestProgress& progress) const {
    requireChoice(settings);
    const std::vector<int>& issues = history_.issues();
    const std::vector<StoredDraw>& draws = history_.draws();
    const TallyRules rules(panel_.options);

    BacktestResult result;
    result.top = settings.top;
    result.mode = settings.mode;
    const size_t total = std::min(issues.size(), static_cast<size_t>(settings.targets));
    const size_t firstTarget = issues.size() - total;
    const size_t start = rangeStart();

    for (size_t t = firstTarget; t < issues.size(); ++t) {
        std::optional<BacktestTarget> target = choose(t, start, settings, rules);
        if (!target) {
            ++result.withoutBase;
        } else if (target->hits == 0) {
            ++result.skipped;
        } else {
            target->issue = issues[t];
            const ChosenScore score = scoreChosen(panel_.options, rules, target->chosen, draws[t]);
            target->hit = score.hit;
            target->expected = score.odds.mean;
            target->variance = score.odds.variance;
            result.observed += target->hit;
            result.expected += target->expected;
            result.variance += target->variance;
            result.targets.push_back(std::move(*target));
        }
        if (progress && !progress(t - firstTarget + 1, total)) {
            result.cancelled = true;
            break;
        }
    }
    if (result.variance > 0) {
        result.z = (static_cast<double>(result.observed) - result.expected) / std::sqrt(result.variance);
        result.p = pickP(*result.z, settings.mode);
    }
    result.verdict = backtestVerdict(result);
    return result;
}

std::optional<BacktestTarget> Backtest::nextChoice(int top, PickMode mode) const {
    const BacktestSettings settings{1, top, mode};
    requireChoice(settings);
    std::optional<BacktestTarget> target =
        choose(history_.issues().size(), rangeStart(), settings, TallyRules(panel_.options));
    if (!target || target->hits == 0)
        return std::nullopt;
    return target;
}

std::vector<int> chosenValues(const std::vector<TallyRow>& tally, int top, PickMode mode) {
    const size_t k = std::min(tally.size(), static_cast<size_t>(top));
    const auto first = mode == PickMode::Top ? tally.begin() : tally.end() - static_cast<std::ptrdiff_t>(k);
    std::vector<int> values;
    for (auto row = first; row != first + static_cast<std::ptrdiff_t>(k); ++row)
        values.push_back(row->value);
    return values;
}

std::string chosenCaption(const BacktestResult& result) {
    return (result.mode == PickMode::Top ? "前 " : "杀号：后 ") + std::to_string(result.top) + " 个结果值";
}

double pickP(double z, PickMode mode) {
    return 0.5 * std::erfc((mode == PickMode::Top ? z : -z) / std::sqrt(2.0));
}

std::string againstChance(PickMode mode, long long observed, double expected, double z, double p) {
    std::string text = "共开出 " + std::to_string(observed) + " 次，随机开奖期望 " + fixed(expected, 1) +
                       " 次（z = " + fixed(z, 2) + "，" + pValueText(p) + "）：";
    if (mode == PickMode::Top)
        return text + (p < kSignificance ? "显著好于随机抽取" : "不比随机抽取更好");
    return text + (p < kSignificance ? "杀号显著好于随机" : "杀号不比随机更好");
}

std::string backtestVerdict(const BacktestResult& result) {
    const std::string counted = std::to_string(result.targets.size());
    if (!result.p)
        return "没有可与随机开奖比较的目标期（" + counted + " 期计入回测）";
    std::string verdict = (result.mode == PickMode::Top ? "前 " : "杀去的后 ") + std::to_string(result.top) +
                          " 个结果值在 " + counted + " 期中" +
                          againstChance(result.mode, result.observed, result.expected, *result.z, *result.p);
    if (result.targets.size() < static_cast<size_t>(kFewChanceTrials))
        verdict += "；计入的目标期少，结论不可靠";
    return verdict;
}

}  // namespace drawfollow
