#include "analysis/search_steps.h"

#include <array>
#include <string_view>

namespace drawfollow::search_steps {

namespace {

constexpr std::array<std::string_view, kKinds> kKindNames = {"号码", "生肖", "头数", "尾数", "合数", "段数"};

}  // namespace

std::string referenceField(int position, Kind kind, bool previousIssue) {
    return previousIssue ? previousField(position, kind) : backField(position, kind);
}

OccurrenceCounters::OccurrenceCounters(Kind kind)
    : range_(kCounterRanges[index(kind)]), counts_(range_.high - range_.low + 1, 0) {}

std::optional<int> OccurrenceCounters::raise(int value) {
    if (!range_.contains(value))
        return std::nullopt;
    return ++counts_[value - range_.low];
}

std::optional<int> OccurrenceCounters::count(int value) const {
    if (!range_.contains(value))
        return std::nullopt;
    return counts_[value - range_.low];
}

std::string unreachableValuesNote(Kind kind, const PositionValues& values, std::span<const int> positions) {
    std::string listed;
    for (int p : positions) {
        const int v = values[p - 1];
        if (kCounterRanges[index(kind)].contains(v))
            continue;
        if (!listed.empty())
            listed += "、";
        listed += "第" + std::to_string(p) + "位的 " + std::to_string(v);
    }
    if (listed.empty())
        return {};
    const ValueRange r = kCounterRanges[index(kind)];
    return "基准值" + listed + "不在" + std::string(kKindNames[index(kind)]) + "的取值范围 " + std::to_string(r.low) +
           "～" + std::to_string(r.high) + " 之内，含该位的条件永远不会满足。";
}

std::vector<int> tickedPositions(const SearchInputs& inputs) {
    std::vector<int> positions;
    for (int p = 1; p <= kPositions; ++p)
        if (inputs.ticked[p - 1])
            positions.push_back(p);
    return positions;
}

}  // namespace drawfollow::search_steps
