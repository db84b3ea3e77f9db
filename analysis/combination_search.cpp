// The combination search: a row is a hit when its reference draw meets every condition of
// at least one k-element set of the pool positions.
//
// Marking each set by its own reset, k counting updates and a flag update costs up to
// 70 × 6 full-table updates. The sets share their conditions, though: a pool of p
// positions yields at most p distinct conditions (in free mode a condition is a value with
// its ordinal within the set, and the ordinals of a value never exceed its count in the
// pool). So each distinct condition is evaluated once per row into a bit mask, and one
// UPDATE sets bolOk where the mask covers some set; intTh is left as the last set leaves it.
#include "analysis/search_steps.h"

#include <map>

namespace drawfollow {

namespace search_steps {

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

// The distinct conditions, each one bit of the row's mask.
class ConditionBits {
public:
    unsigned bit(const RowExpression& condition) {
        const auto [it, added] = bits_.try_emplace(condition.key, static_cast<unsigned>(order_.size()));
        if (added)
            order_.push_back(condition);
        return 1u << it->second;
    }

    // bolOk: the row's mask is one that covers every condition of some live set.
    RowExpression anySetMet(const std::vector<unsigned>& sets) const {
        std::vector<char> covering(size_t{1} << order_.size(), 0);
        std::string key = "anySetMet(";
        for (const RowExpression& condition : order_)
            key += condition.key + ";";
        for (unsigned required : sets)
            key += "|" + std::to_string(required);
        for (unsigned m = 0; m < covering.size(); ++m)
            for (unsigned required : sets)
                if ((m & required) == required) {
                    covering[m] = 1;
                    break;
                }
        return {key + ")", [order = order_, covering = std::move(covering)](const RowView& row) {
                    unsigned m = 0;
                    for (size_t i = 0; i < order.size(); ++i) {
                        const RowValue held = order[i].evaluate(row);
                        if (!held.isNull() && held.number != 0)
                            m |= 1u << i;
                    }
                    return RowValue::integer(covering[m]);
                }};
    }

private:
    std::map<std::string, unsigned> bits_;  // by the condition's key
    std::vector<RowExpression> order_;
};

}  // namespace

MarkingUpdate combinationMarking(const SearchInputs& inputs) {
    const Kind kind = inputs.searchKind;
    const PositionValues& values = *inputs.values;
    const int poolSize = inputs.combinationRegularOnly ? kRegularPositions : kPositions;
    const auto sets = positionSets(poolSize, inputs.combinationSize);

    ConditionBits bits;
    std::vector<unsigned> liveSets;             // the conditions of every set that can be met
    std::vector<RowExpression> lastSetCounted;  // the conditions the last set counts into intTh
    ScratchUpdate update;
    if (inputs.freePositions) {
        if (!inputs.previousIssue)
            copyBackLists(update, kind, inputs.gap);
        const RowExpression tested =
            testedList(update, matchListField(kind, inputs.previousIssue), inputs.countSpecial);
        update.assign("txtHisP6", tested);
        for (const auto& set : sets) {
            OccurrenceCounters counters(kind);
            for (int p : set)
                counters.raise(values[p - 1]);
            unsigned required = 0;
            bool live = true;
            lastSetCounted.clear();
            for (int p : set) {
                // The ordinal is the number of positions of this set holding the value.
                const auto ordinal = counters.count(values[p - 1]);
                if (!ordinal) {
                    live = false;  // no counter for the value: this set can never be met
                    continue;
                }
                const RowExpression condition = like(tested, listPattern(kind, values[p - 1], *ordinal));
                required |= bits.bit(condition);
                lastSetCounted.push_back(condition);
            }
            if (live)
                liveSets.push_back(required);
        }
    } else {
        const std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8};
        copyReferenceFields(update, kind, all, inputs.previousIssue, inputs.gap);
        for (const auto& set : sets) {
            unsigned required = 0;
            lastSetCounted.clear();
            for (int p : set) {
                const RowExpression condition =
                    fieldEquals(update, referenceField(p, kind, inputs.previousIssue), values[p - 1]);
                required |= bits.bit(condition);
                lastSetCounted.push_back(condition);
            }
            liveSets.push_back(required);
        }
    }
    if (!sets.empty())
        update.assign("intTh", conditionCount(lastSetCounted));
    update.assign("bolOk", bits.anySetMet(liveSets));
    MarkingUpdate marking{std::move(update), "bolOk", 1, inputs.combinationSize, {}};
    if (sets.empty()) {
        marking.note = "组合位数 " + std::to_string(inputs.combinationSize) + " 不在 1～6 之内，没有选中任何一期。";
    } else {
        std::vector<int> pool;
        for (int p = 1; p <= poolSize; ++p)
            pool.push_back(p);
        marking.note = unreachableValuesNote(kind, values, pool);
    }
    return marking;
}

}  // namespace search_steps

SearchResult runCombinationSearch(HistoryDb& db, const SearchInputs& inputs) {
    using namespace search_steps;
    return runMarkedSearch(db, inputs,
                           [](HistoryDb& on, const SearchInputs& in) { return combinationMarking(in).run(on); });
}

}  // namespace drawfollow
