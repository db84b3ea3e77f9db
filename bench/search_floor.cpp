#include "search_floor.h"

#include <algorithm>
#include <numeric>

namespace drawfollow::bench {

FloorHistory FloorHistory::of(const std::vector<StoredDraw>& draws) {
    FloorHistory h;
    for (const StoredDraw& d : draws) {
        h.issues.push_back(d.issue);
        for (Kind k : kAllKinds)
            for (int p = 0; p < kPositions; ++p)
                h.values[index(k)].push_back(static_cast<int8_t>(d.own[index(k)][p]));
    }
    return h;
}

FloorAnswer floorSearch(const FloorHistory& history, const SearchInputs& in, bool combination, size_t end) {
    const auto& own = history.values[index(in.searchKind)];
    const auto& result = history.values[index(in.resultKind)];
    const int back = in.previousIssue ? 1 : in.gap;
    // What the base asks for: each value with how often it occurs (free), or per position.
    std::array<int, 32> wanted{};
    for (int v : *in.values)
        ++wanted[v];
    int ticked = 0;
    for (int p = 0; p < kPositions; ++p)
        ticked += combination || in.ticked[p];
    FloorAnswer answer;
    for (size_t row = static_cast<size_t>(back); row < std::min(end, history.issues.size()); ++row) {
        const int8_t* reference = &own[(row - back) * kPositions];
        int met = 0;
        unsigned positionsMet = 0;
        if (in.freePositions) {
            std::array<int, 32> seen{};
            for (int p = 0; p < kPositions; ++p)
                ++seen[reference[p]];
            for (int p = 0; p < kPositions; ++p) {
                if (!combination && !in.ticked[p])
                    continue;
                const int v = in.values->at(p);
                // The p-th base value is met when the reference holds it as often as the base
                // has held it up to here.
                int ordinal = 0;
                for (int q = 0; q <= p; ++q)
                    ordinal += in.values->at(q) == v && (combination || in.ticked[q]);
                if (seen[v] >= ordinal) {
                    ++met;
                    positionsMet |= 1u << p;
                }
            }
        } else {
            for (int p = 0; p < kPositions; ++p)
                if ((combination || in.ticked[p]) && reference[p] == in.values->at(p)) {
                    ++met;
                    positionsMet |= 1u << p;
                }
        }
        const bool hit = combination ? met >= in.combinationSize : met == ticked;
        if (!hit)
            continue;
        answer.hits.push_back(history.issues[row]);
        for (int p = 0; p < kPositions; ++p)
            ++answer.tally[result[row * kPositions + p]];
    }
    return answer;
}

FloorBacktest floorBacktest(const FloorHistory& history, const SearchInputs& settings, bool combination, int targets,
                            int top) {
    const auto& own = history.values[index(settings.searchKind)];
    const auto& result = history.values[index(settings.resultKind)];
    const ValueRange listed = kCounterRanges[index(settings.resultKind)];
    FloorBacktest backtest;
    const size_t rows = history.issues.size();
    for (size_t t = rows - std::min(rows, static_cast<size_t>(targets)); t < rows; ++t) {
        if (t == 0)
            continue;
        SearchInputs in = settings;
        in.values = PositionValues{};
        for (int p = 0; p < kPositions; ++p)
            in.values->at(p) = own[(t - 1) * kPositions + p];
        const FloorAnswer answer = floorSearch(history, in, combination, t);
        if (answer.hits.empty())
            continue;
        std::vector<int> order(static_cast<size_t>(listed.high - listed.low + 1));
        std::iota(order.begin(), order.end(), listed.low);
        std::stable_sort(order.begin(), order.end(),
                         [&answer](int a, int b) { return answer.tally[a] > answer.tally[b]; });
        order.resize(std::min(order.size(), static_cast<size_t>(top)));
        for (int p = 0; p < kPositions; ++p)
            backtest.observed += std::find(order.begin(), order.end(), result[t * kPositions + p]) != order.end();
        backtest.chosen.push_back(std::move(order));
    }
    return backtest;
}

}  // namespace drawfollow::bench
