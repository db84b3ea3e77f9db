// Holm's adjustment and the words a baseline is summed up in.
#include "analysis/chance_baseline.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace drawfollow {

namespace {

constexpr double kSignificance = 0.05;
constexpr int kFewHits = 30;

}  // namespace

std::vector<std::optional<double>> holmAdjusted(const std::vector<std::optional<double>>& p) {
    std::vector<size_t> defined;
    for (size_t i = 0; i < p.size(); ++i)
        if (p[i])
            defined.push_back(i);
    std::stable_sort(defined.begin(), defined.end(), [&p](size_t a, size_t b) { return *p[a] < *p[b]; });
    std::vector<std::optional<double>> adjusted(p.size());
    const size_t k = defined.size();
    double runningMax = 0;
    for (size_t j = 0; j < k; ++j) {
        runningMax = std::max(runningMax, std::min(1.0, static_cast<double>(k - j) * *p[defined[j]]));
        adjusted[defined[j]] = runningMax;
    }
    return adjusted;
}

std::string pValueText(double p) {
    if (p < 0.001)
        return "p < 0.001";
    // Rounded to two significant digits first, so that 0.0996 becomes 0.10, not 0.100.
    char scientific[16];
    std::snprintf(scientific, sizeof scientific, "%.1e", p);
    const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
    char fixed[16];
    std::snprintf(fixed, sizeof fixed, "%.*f", std::max(0, 1 - exponent), p);
    return std::string("p = ") + fixed;
}

std::string chanceVerdict(std::optional<double> minAdjustedP, int hits) {
    std::string verdict;
    if (!minAdjustedP)
        verdict = "无法与随机抽取比较（没有可检验的结果值）";
    else if (*minAdjustedP < kSignificance)
        // Values picked for being frequent in the past: only a backtest or the track record
        // says whether the method picks them before the draw.
        verdict = "显著偏离随机（校正后 " + pValueText(*minAdjustedP) + "）：只描述过去，不衡量检索方法";
    else
        verdict = "与随机抽取无显著差异（最小校正 " + pValueText(*minAdjustedP) + "）";
    if (hits < kFewHits)
        verdict += "；命中期数少，结论不可靠";
    return verdict;
}

}  // namespace drawfollow
