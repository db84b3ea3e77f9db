#include "analysis/panel_defaults.h"

namespace drawfollow {

std::optional<size_t> latestBaseIndex(size_t draws, bool previousIssue, int gap) {
    const int back = previousIssue ? 1 : gap;
    if (back < 1 || back > 9 || static_cast<size_t>(back) > draws)
        return std::nullopt;
    return draws - back;
}

std::optional<IssueRange> defaultIssueRange(std::span<const int> issues, bool previousIssue, int gap) {
    if (issues.empty())
        return std::nullopt;
    return IssueRange{issues.front() + (previousIssue ? 1 : gap), issues.back()};
}

}  // namespace drawfollow
