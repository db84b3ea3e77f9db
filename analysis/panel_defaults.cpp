#include "analysis/panel_defaults.h"

namespace drawfollow {

BaseLookup referenceDraw(size_t draws, bool previousIssue, int gap) {
    const int back = previousIssue ? 1 : gap;
    if (draws == 0)
        return {std::nullopt, "历史号码为空，没有可作检索依据的开奖号码。"};
    if (back < kMinGap || back > kMaxGap)
        return {std::nullopt, "前期间隔须为 1～9 期。"};
    if (static_cast<size_t>(back) > draws)
        return {std::nullopt,
                "历史号码只有 " + std::to_string(draws) + " 期，不足前 " + std::to_string(gap) + " 期之需。"};
    return {draws - back, {}};
}

std::optional<int> rangeStart(std::span<const int> issues, bool previousIssue, int gap) {
    if (issues.empty())
        return std::nullopt;
    return issues.front() + (previousIssue ? 1 : gap);
}

std::optional<int> rangeEnd(std::span<const int> issues) {
    if (issues.empty())
        return std::nullopt;
    return issues.back();
}

}  // namespace drawfollow
