#include "brute_force.h"

#include <algorithm>
#include <map>

namespace drawfollow::test {

namespace {

int rowsBack(const SearchInputs& in) {
    return in.previousIssue ? 1 : in.gap;
}

bool inRange(const SearchInputs& in, int issue) {
    return issue >= std::stoi(in.firstIssue) && issue <= std::stoi(in.lastIssue);
}

// How often the reference draw holds value v of the kind, at the positions the free mode
// sees (the special number only when it counts).
int occurrences(const DrawRow& reference, Kind kind, int v, bool countSpecial) {
    int n = 0;
    for (int p = 0; p < (countSpecial ? kPositions : kRegularPositions); ++p)
        n += reference.own[index(kind)][p] == v;
    return n;
}

// The reference draw holds v at least `times` times. Segments are listed without leading
// zeros, so asking for segment 1 is also satisfied by as many segments 10.
bool holdsAtLeast(const DrawRow& reference, Kind kind, int v, int times, bool countSpecial) {
    if (occurrences(reference, kind, v, countSpecial) >= times)
        return true;
    return kind == Kind::Segment && v == 1 && occurrences(reference, kind, 10, countSpecial) >= times;
}

bool hasCounter(Kind kind, int v) {
    return kCounterRanges[index(kind)].contains(v);
}

// Free mode: every position of `positions` holds for the reference draw. `ordinals` says
// whether repeated values must repeat in the reference draw (all but the follow search's
// number kind).
bool freeMatch(const DrawRow& reference, const SearchInputs& in, const std::vector<int>& positions, bool ordinals) {
    std::map<int, int> wanted;
    for (int p : positions)
        ++wanted[(*in.values)[p - 1]];
    for (const auto& [v, times] : wanted) {
        if (!ordinals) {
            if (!holdsAtLeast(reference, in.searchKind, v, 1, in.countSpecial))
                return false;
        } else if (!hasCounter(in.searchKind, v) ||
                   !holdsAtLeast(reference, in.searchKind, v, times, in.countSpecial)) {
            return false;
        }
    }
    return true;
}

bool fixedMatch(const std::vector<DrawRow>& history, size_t r, const SearchInputs& in,
                const std::vector<int>& positions) {
    const size_t back = rowsBack(in);
    for (int p : positions) {
        const int reference = r >= back ? history[r - back].own[index(in.searchKind)][p - 1] : 0;
        if (reference != (*in.values)[p - 1])
            return false;
    }
    return true;
}

bool matches(const std::vector<DrawRow>& history, size_t r, const SearchInputs& in, const std::vector<int>& positions,
             bool ordinals) {
    if (!in.freePositions)
        return fixedMatch(history, r, in, positions);
    if (positions.empty())
        return true;
    const size_t back = rowsBack(in);
    return r >= back && freeMatch(history[r - back], in, positions, ordinals);
}

}  // namespace

std::vector<int> expectedFollowHits(const std::vector<DrawRow>& history, const SearchInputs& in) {
    std::vector<int> ticked;
    for (int p = 1; p <= kPositions; ++p)
        if (in.ticked[p - 1])
            ticked.push_back(p);
    const bool ordinals = in.searchKind != Kind::Number;
    std::vector<int> hits;
    for (size_t r = 0; r < history.size(); ++r)
        if (inRange(in, history[r].issue) && matches(history, r, in, ticked, ordinals))
            hits.push_back(history[r].issue);
    return hits;
}

std::vector<int> expectedCombinationHits(const std::vector<DrawRow>& history, const SearchInputs& in) {
    const int pool = in.combinationRegularOnly ? kRegularPositions : kPositions;
    const int k = in.combinationSize;
    std::vector<std::vector<int>> sets;
    if (k >= 1 && k <= 6)
        for (unsigned mask = 0; mask < (1u << pool); ++mask) {
            if (__builtin_popcount(mask) != k)
                continue;
            std::vector<int> set;
            for (int p = 1; p <= pool; ++p)
                if (mask & (1u << (p - 1)))
                    set.push_back(p);
            sets.push_back(set);
        }
    std::vector<int> hits;
    for (size_t r = 0; r < history.size(); ++r) {
        if (!inRange(in, history[r].issue))
            continue;
        if (std::any_of(sets.begin(), sets.end(),
                        [&](const std::vector<int>& set) { return matches(history, r, in, set, true); }))
            hits.push_back(history[r].issue);
    }
    return hits;
}

std::vector<std::string> expectedDetailLine(const std::vector<DrawRow>& history, int issue, const SearchInputs& in) {
    const auto it =
        std::find_if(history.begin(), history.end(), [&](const DrawRow& row) { return row.issue == issue; });
    const size_t r = static_cast<size_t>(it - history.begin());
    std::vector<std::string> line = {std::to_string(issue)};
    for (int p = 0; p < kPositions; ++p) {
        const int v = it->own[index(in.resultKind)][p];
        line.push_back(in.resultKind == Kind::Zodiac ? std::string(animalName(*in.codes.animalOfCode(v)))
                                                     : std::to_string(v));
    }
    const size_t back = rowsBack(in);
    line.push_back(r >= back ? listsOf(history[r - back].own).plain : std::string());
    return line;
}

std::map<int, int> expectedTally(const std::vector<DrawRow>& history, const std::vector<int>& hits,
                                 const SearchInputs& in) {
    const int first = in.scope == TallyScope::Special ? kPositions : 1;
    const int last = in.scope == TallyScope::Regular ? kRegularPositions : kPositions;
    std::map<int, int> counts;
    for (const DrawRow& row : history)
        if (std::binary_search(hits.begin(), hits.end(), row.issue))
            for (int p = first; p <= last; ++p)
                ++counts[row.own[index(in.resultKind)][p - 1]];
    return counts;
}

}  // namespace drawfollow::test
