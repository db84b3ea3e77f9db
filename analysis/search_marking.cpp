#include "analysis/search_marking.h"

#include "analysis/search_steps.h"

#include <algorithm>
#include <stdexcept>

namespace drawfollow {

namespace {

constexpr int kLargestSize = 6;

// Every k-element set of 1..p in lexicographic order; none for a size outside 1..6.
std::vector<std::vector<int>> positionSets(int p, int k) {
    std::vector<std::vector<int>> sets;
    if (k < 1 || k > kLargestSize || k > p)
        return sets;
    std::vector<int> set(k);
    for (int i = 0; i < k; ++i)
        set[i] = i + 1;
    while (true) {
        sets.push_back(set);
        int i = k - 1;
        while (i >= 0 && set[i] == p - k + 1 + i)
            --i;
        if (i < 0)
            return sets;
        ++set[i];
        for (int j = i + 1; j < k; ++j)
            set[j] = set[j - 1] + 1;
    }
}

// The values whose tokens a pattern for `value` meets: with an ordinal, those whose text
// starts with the value's text (the pattern's text ends where the token's may go on);
// without one (numbers), those written alike.
unsigned valuesMet(Kind kind, int value, bool ordinal) {
    const std::string wanted = valueText(kind, value);
    const ValueRange range = kCounterRanges[index(kind)];
    unsigned met = 0;
    for (int u = range.low; u <= range.high; ++u) {
        const std::string text = valueText(kind, u);
        if (ordinal ? text.starts_with(wanted) : text == wanted)
            met |= 1u << (u - range.low);
    }
    return met;
}

// What the free mode reads of a reference draw's counted list; nothing of a missing one
// (an empty list: no pattern occurs in it).
Occurrences occurrencesOf(const DrawValues* reference, Kind kind, bool countSpecial) {
    Occurrences atLeast{};
    if (!reference)
        return atLeast;
    const auto& values = (*reference)[index(kind)];
    const ValueRange range = kCounterRanges[index(kind)];
    int cut = kPositions;  // the position whose token the cut breaks
    if (!countSpecial)
        for (int p = kPositions - 1; p >= 0 && cut == kPositions; --p)
            if (range.contains(values[p]))
                cut = p;
    std::array<int, 32> counts{};
    for (int p = 0; p < kPositions; ++p)
        if (p != cut && range.contains(values[p])) {
            const int v = values[p] - range.low;
            atLeast[counts[v]++] |= 1u << v;
        }
    return atLeast;
}

}  // namespace

SearchMarking::SearchMarking(const SearchInputs& inputs, bool combination)
    : kind_(inputs.searchKind),
      free_(inputs.freePositions),
      countSpecial_(inputs.countSpecial),
      combination_(combination),
      back_(inputs.previousIssue ? 1 : inputs.gap) {
    using namespace search_steps;
    if (!inputs.values)
        throw std::logic_error("a search needs base values");
    const PositionValues& values = *inputs.values;
    if (!combination) {
        const std::vector<int> positions = tickedPositions(inputs);
        OccurrenceCounters counters(kind_);
        for (int p : positions) {
            const int v = values[p - 1];
            if (!free_) {
                counted_.push_back(static_cast<int>(conditionBit({p - 1, v, 0, 0})));
                continue;
            }
            // Numbers are distinct within a draw, so their pattern carries no ordinal; a
            // number ticked twice is met by one occurrence.
            int ordinal = 0;
            if (kind_ != Kind::Number) {
                const auto raised = counters.raise(v);
                if (!raised)
                    continue;  // no counter for the value: the condition can never be met
                ordinal = *raised;
            }
            counted_.push_back(static_cast<int>(conditionBit({0, 0, valuesMet(kind_, v, ordinal > 0), ordinal})));
        }
        conditions_ = static_cast<int>(positions.size());
        // With no condition every reference draw matches: say so, or the tally reads as a finding.
        note_ = positions.empty() ? "没有勾选任何位置，范围内的每一期都算作命中。"
                                  : unreachableValuesNote(kind_, values, positions);
        return;
    }

    const int poolSize = inputs.combinationRegularOnly ? kRegularPositions : kPositions;
    const auto sets = positionSets(poolSize, inputs.combinationSize);
    std::vector<unsigned> liveSets;  // the conditions of every set that can be met
    for (const auto& set : sets) {
        OccurrenceCounters counters(kind_);
        for (int p : set)
            counters.raise(values[p - 1]);
        unsigned required = 0;
        bool live = true;
        counted_.clear();  // the counter keeps the last set's conditions
        for (int p : set) {
            const int v = values[p - 1];
            unsigned bit = 0;
            if (!free_) {
                bit = conditionBit({p - 1, v, 0, 0});
            } else if (const auto ordinal = counters.count(v)) {
                // The ordinal is the number of positions of this set holding the value.
                bit = conditionBit({0, 0, valuesMet(kind_, v, true), *ordinal});
            } else {
                live = false;  // no counter for the value: this set can never be met
                continue;
            }
            required |= 1u << bit;
            counted_.push_back(static_cast<int>(bit));
        }
        if (live)
            liveSets.push_back(required);
    }
    covering_.assign(size_t{1} << distinct_.size(), 0);
    for (unsigned m = 0; m < covering_.size(); ++m)
        covering_[m] = std::any_of(liveSets.begin(), liveSets.end(),
                                   [m](unsigned required) { return (m & required) == required; });
    conditions_ = inputs.combinationSize;
    storesCounter_ = !sets.empty();
    if (sets.empty()) {
        note_ = "组合位数 " + std::to_string(inputs.combinationSize) + " 不在 1～6 之内，没有选中任何一期。";
    } else {
        std::vector<int> pool;
        for (int p = 1; p <= poolSize; ++p)
            pool.push_back(p);
        note_ = unreachableValuesNote(kind_, values, pool);
    }
}

unsigned SearchMarking::conditionBit(Condition condition) {
    const auto same = [&condition](const Condition& c) {
        return c.position == condition.position && c.value == condition.value && c.values == condition.values &&
               c.ordinal == condition.ordinal;
    };
    const auto it = std::find_if(distinct_.begin(), distinct_.end(), same);
    if (it != distinct_.end())
        return static_cast<unsigned>(it - distinct_.begin());
    distinct_.push_back(condition);
    return static_cast<unsigned>(distinct_.size() - 1);
}

unsigned SearchMarking::heldFree(const Occurrences& occurrences) const {
    unsigned held = 0;
    for (size_t i = 0; i < distinct_.size(); ++i) {
        const Condition& c = distinct_[i];
        const int needed = std::max(c.ordinal, 1);
        if (needed <= kPositions && (occurrences[needed - 1] & c.values) != 0)
            held |= 1u << i;
    }
    return held;
}

unsigned SearchMarking::heldFixed(const std::vector<StoredDraw>& draws, size_t row) const {
    const auto at = static_cast<long long>(row) - back_;
    const auto* reference = at >= 0 ? &draws[static_cast<size_t>(at)].own[index(kind_)] : nullptr;
    unsigned held = 0;
    for (size_t i = 0; i < distinct_.size(); ++i) {
        const Condition& c = distinct_[i];
        if ((reference ? (*reference)[c.position] : 0) == c.value)
            held |= 1u << i;
    }
    return held;
}

unsigned SearchMarking::heldConditions(const HistorySnapshot& history, size_t row) const {
    return free_ ? heldFree(occurrencesOf(history.listedDrawBefore(row, back_), kind_, countSpecial_))
                 : heldFixed(history.draws(), row);
}

RowMark SearchMarking::mark(const HistorySnapshot& history, size_t row) const {
    return markHeld(heldConditions(history, row));
}

RowMark SearchMarking::markHeld(unsigned held) const {
    RowMark m;
    for (const int bit : counted_)
        m.counted += (held >> bit) & 1u;
    m.marked = combination_ ? covering_[held] != 0 : m.counted == conditions_;
    return m;
}

std::vector<size_t> SearchMarking::markedRows(const HistorySnapshot& history, size_t from, size_t to,
                                              const OccurrenceTable* occurrences) const {
    if (occurrences && !(free_ && occurrences->serves(kind_, back_, countSpecial_)))
        throw std::logic_error("an occurrence table of other settings");
    // A follow search marks a row when every counted condition holds, and a condition that
    // could not be counted leaves it unmarked: that is the counter reaching the ticked count.
    unsigned required = 0;
    for (const int bit : counted_)
        required |= 1u << bit;
    const bool countable = static_cast<int>(counted_.size()) == conditions_;
    const auto marked = [&](unsigned held) {
        return combination_ ? covering_[held] != 0 : countable && (held & required) == required;
    };
    const std::vector<StoredDraw>& draws = history.draws();
    std::vector<size_t> rows;
    for (size_t row = from; row < std::min(to, history.size()); ++row) {
        const unsigned held = occurrences ? heldFree(occurrences->of(row))
                              : free_     ? heldConditions(history, row)
                                          : heldFixed(draws, row);
        if (marked(held))
            rows.push_back(row);
    }
    return rows;
}

OccurrenceTable::OccurrenceTable(const HistorySnapshot& history, Kind kind, int back, bool countSpecial)
    : kind_(kind), back_(back), countSpecial_(countSpecial) {
    rows_.reserve(history.size());
    for (size_t row = 0; row < history.size(); ++row)
        rows_.push_back(occurrencesOf(history.listedDrawBefore(row, back), kind, countSpecial));
}

bool OccurrenceTable::serves(Kind kind, int back, bool countSpecial) const {
    return kind == kind_ && back == back_ && countSpecial == countSpecial_;
}

}  // namespace drawfollow
