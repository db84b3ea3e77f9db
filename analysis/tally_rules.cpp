#include "analysis/tally_rules.h"

#include <algorithm>

namespace drawfollow {

namespace {

ValueRange listedValues(const SearchSettings& inputs) {
    switch (inputs.resultKind) {
        case Kind::Zodiac:
            return {inputs.zodiacOffset, inputs.zodiacOffset + kAnimals - 1};
        case Kind::Segment:
            return {inputs.segmentOffset, inputs.segmentOffset + 9};
        default:
            return kTalliedValues[index(inputs.resultKind)];
    }
}

std::pair<int, int> tallyPositions(TallyScope scope) {
    switch (scope) {
        case TallyScope::Regular:
            return {1, kRegularPositions};
        case TallyScope::Special:
            return {kPositions, kPositions};
        default:
            return {1, kPositions};
    }
}

}  // namespace

TallyRules::TallyRules(const SearchSettings& inputs)
    : kind_(inputs.resultKind),
      codes_(inputs.codes),
      counted_(kTalliedValues[index(inputs.resultKind)]),
      listed_(listedValues(inputs)) {
    std::tie(firstPosition_, lastPosition_) = tallyPositions(inputs.scope);
}

void TallyRules::addRow(const std::array<int, kPositions>& values, std::span<long long> counts) const {
    for (int p = firstPosition_; p <= lastPosition_; ++p) {
        // A listed value outside the counted ones keeps its count of 0, as Carcu always showed it.
        if (const int v = values[p - 1]; isCounted(v))
            ++counts[v - listed_.low];
    }
}

std::vector<TallyRow> TallyRules::rows(std::span<const long long> counts) const {
    std::vector<TallyRow> rows;
    rows.reserve(listedCount());
    for (int i = 0; i < listedCount(); ++i)
        rows.push_back({listed_.low + i, static_cast<int>(counts[i])});
    return rows;
}

std::string TallyRules::valueText(int value) const {
    if (kind_ == Kind::Zodiac)
        return std::string(zodiacName(codes_, value));
    return std::to_string(value);
}

GridCell TallyRules::valueCell(int value) const {
    if (kind_ == Kind::Zodiac)
        return std::string(zodiacName(codes_, value));
    return GridCell::whole(value);
}

void sortForGrid(std::vector<TallyRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const TallyRow& a, const TallyRow& b) { return a.count > b.count; });
}

}  // namespace drawfollow
