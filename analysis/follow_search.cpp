// The follow search: a row is a hit when its reference draw meets the condition of every
// ticked position, that is when its counter intTh equals the number of ticked positions.
//
// All conditions are counted at once instead of by a reset followed by one UPDATE per
// ticked position: the counter ends the same (the number of conditions that held), and
// the same UPDATE writes the reference copies, so a row is written at most once, and only
// when one of its scratch fields changes.
#include "analysis/search_steps.h"

namespace drawfollow {

namespace search_steps {

MarkingUpdate followMarking(const SearchInputs& inputs) {
    const Kind kind = inputs.searchKind;
    const PositionValues& values = *inputs.values;
    const std::vector<int> positions = tickedPositions(inputs);

    ScratchUpdate update;
    std::vector<RowExpression> conditions;
    if (inputs.freePositions) {
        if (!inputs.previousIssue)
            copyBackLists(update, kind, inputs.gap);
        const RowExpression tested =
            testedList(update, matchListField(kind, inputs.previousIssue), inputs.countSpecial);
        if (!inputs.countSpecial)
            update.assign("txtHisP6", tested);
        OccurrenceCounters counters(kind);
        for (int p : positions) {
            const int v = values[p - 1];
            // Numbers are distinct within a draw, so their pattern carries no ordinal; a
            // number ticked twice is met by one occurrence.
            int ordinal = 0;
            if (kind != Kind::Number) {
                const auto counted = counters.raise(v);
                if (!counted)
                    continue;  // no counter for the value: the condition can never be met
                ordinal = *counted;
            }
            conditions.push_back(like(tested, listPattern(kind, v, ordinal)));
        }
    } else {
        copyReferenceFields(update, kind, positions, inputs.previousIssue, inputs.gap);
        for (int p : positions)
            conditions.push_back(fieldEquals(update, referenceField(p, kind, inputs.previousIssue), values[p - 1]));
    }
    update.assign("intTh", conditionCount(std::move(conditions)));
    const int n = static_cast<int>(positions.size());
    // With no condition every reference draw matches: say so, or the tally reads as a finding.
    std::string note =
        n == 0 ? "没有勾选任何位置，范围内的每一期都算作命中。" : unreachableValuesNote(kind, values, positions);
    return {std::move(update), "intTh", n, n, std::move(note)};
}

}  // namespace search_steps

SearchResult runFollowSearch(HistoryDb& db, const SearchInputs& inputs) {
    using namespace search_steps;
    return runMarkedSearch(db, inputs, [](HistoryDb& on, const SearchInputs& in) { return followMarking(in).run(on); });
}

}  // namespace drawfollow
