// The building blocks both searches share: the reference fields of the fixed mode, the
// occurrence counters of the free mode, the ticked positions and the note on base values
// that can never be met.
#pragma once

#include "analysis/search.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drawfollow::search_steps {

// The reference copy of one position the fixed mode matches: "L3BS" (上期) or "L3BP" (前期).
std::string referenceField(int position, Kind kind, bool previousIssue);

// How often each value has been taken so far, to number repeated values: a value
// ticked twice must occur at least twice. Values outside the kind's counter range have
// no counter, so a condition on them cannot be formed and can never be met.
class OccurrenceCounters {
public:
    explicit OccurrenceCounters(Kind kind);
    std::optional<int> raise(int value);  // the count after raising it
    std::optional<int> count(int value) const;

private:
    ValueRange range_;
    std::vector<int> counts_;
};

// The status note for base values that can never be met; empty when every one can.
std::string unreachableValuesNote(Kind kind, const PositionValues& values, std::span<const int> positions);

// The positions 1..8 ticked in the panel.
std::vector<int> tickedPositions(const SearchInputs& inputs);

}  // namespace drawfollow::search_steps
