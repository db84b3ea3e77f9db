#include "analysis/draw_odds.h"

#include "analysis/panel_values.h"
#include "store/attributes.h"
#include "store/lottery_shape.h"

#include <algorithm>
#include <vector>

namespace drawfollow {

DrawOdds drawOdds(int positions, int numbersHolding) {
    const double s = positions;
    const double share = static_cast<double>(numbersHolding) / kNumberCount;
    return {s * share, s * share * (1 - share) * (kNumberCount - s) / (kNumberCount - 1)};
}

int numbersHolding(const SearchSettings& settings, const TallyRules& rules, std::span<const int> chosen, int issue) {
    const int zodiacYear = zodiacYearOfIssue(issue);
    int holding = 0;
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        const int v = valueOfNumber(settings.resultKind, n, zodiacYear, settings.codes, settings.segmentOffset);
        if (rules.isCounted(v) && std::ranges::find(chosen, v) != chosen.end())
            ++holding;
    }
    return holding;
}

ChosenScore scoreChosen(const SearchSettings& settings, const TallyRules& rules, std::span<const int> chosen,
                        const StoredDraw& drawn) {
    std::vector<long long> x(rules.listedCount(), 0);
    rules.addRow(valuesOf(drawn, settings.resultKind), x);
    ChosenScore score;
    for (const int v : chosen)
        if (rules.listed().contains(v))
            score.hit += static_cast<int>(x[v - rules.listed().low]);
    score.odds = drawOdds(rules.positionsCounted(), numbersHolding(settings, rules, chosen, drawn.issue));
    return score;
}

}  // namespace drawfollow
