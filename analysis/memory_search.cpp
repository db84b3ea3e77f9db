#include "analysis/memory_search.h"

#include "analysis/panel_values.h"
#include "analysis/tally_rules.h"

#include <algorithm>
#include <stdexcept>

namespace drawfollow {

namespace {

// The marking's fields do not depend on the base values, so any will do for reading them.
SearchInputs layoutInputs(const SearchSettings& settings) {
    SearchInputs in;
    static_cast<SearchSettings&>(in) = settings;
    in.values = PositionValues{};
    return in;
}

}  // namespace

MemorySearch::MemorySearch(HistoryDb& db, const SearchSettings& settings, bool combination)
    : combination_(combination), rows_(db, marking(layoutInputs(settings)).update) {}

search_steps::MarkingUpdate MemorySearch::marking(const SearchInputs& inputs) const {
    if (!inputs.values)
        throw std::logic_error("a search in memory needs base values");
    return combination_ ? search_steps::combinationMarking(inputs) : search_steps::followMarking(inputs);
}

std::vector<size_t> MemorySearch::hits(const SearchInputs& inputs, size_t from, size_t to) const {
    return rows_.marked(marking(inputs), from, to);
}

std::vector<size_t> MemorySearch::hits(const SearchInputs& inputs) const {
    const auto first = readIssueBox(inputs.firstIssue);
    const auto last = readIssueBox(inputs.lastIssue);
    if (!first || !last)
        throw std::logic_error("a search in memory needs a range of numbers");
    const std::vector<int>& issues = rows_.issues();
    const auto from = std::lower_bound(issues.begin(), issues.end(), *first) - issues.begin();
    const auto to = std::upper_bound(issues.begin(), issues.end(), *last) - issues.begin();
    if (from >= to)
        return {};
    return hits(inputs, static_cast<size_t>(from), static_cast<size_t>(to));
}

std::vector<TallyRow> MemorySearch::tally(const SearchInputs& inputs, std::span<const size_t> hits) const {
    const TallyRules rules(inputs);
    std::vector<long long> counts(rules.listedCount(), 0);
    for (const size_t row : hits)
        rules.addRow(valuesOf(rows_.draws()[row], inputs.resultKind), counts);
    std::vector<TallyRow> rows = rules.rows(counts);
    sortForGrid(rows);
    return rows;
}

}  // namespace drawfollow
