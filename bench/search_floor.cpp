#include "search_floor.h"

#include <bit>

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

FloorAnswer floorSearch(const FloorHistory& history, const SearchInputs& in, bool combination) {
    const auto& own = history.values[index(in.searchKind)];
    const auto& result = history.values[index(in.resultKind)];
    const int back = in.previousIssue ? 1 : in.gap;
    // What the base asks for: each value with how often it occurs (free), or per position.
    std::array<int, 32> wanted{};
    for (int v : *in.values)
        ++wanted[v];
    FloorAnswer answer;
    for (size_t row = static_cast<size_t>(back); row < history.issues.size(); ++row) {
        const int8_t* reference = &own[(row - back) * kPositions];
        int met = 0;
        unsigned positionsMet = 0;
        if (in.freePositions) {
            std::array<int, 32> seen{};
            for (int p = 0; p < kPositions; ++p)
                ++seen[reference[p]];
            for (int p = 0; p < kPositions; ++p) {
                const int v = in.values->at(p);
                // The p-th base value is met when the reference holds it as often as the base
                // has held it up to here.
                int ordinal = 0;
                for (int q = 0; q <= p; ++q)
                    ordinal += in.values->at(q) == v;
                if (seen[v] >= ordinal) {
                    ++met;
                    positionsMet |= 1u << p;
                }
            }
        } else {
            for (int p = 0; p < kPositions; ++p)
                if (reference[p] == in.values->at(p)) {
                    ++met;
                    positionsMet |= 1u << p;
                }
        }
        const bool hit = combination ? met >= in.combinationSize : met == kPositions;
        if (!hit)
            continue;
        answer.hits.push_back(history.issues[row]);
        for (int p = 0; p < kPositions; ++p)
            ++answer.tally[result[row * kPositions + p]];
    }
    return answer;
}

}  // namespace drawfollow::bench
