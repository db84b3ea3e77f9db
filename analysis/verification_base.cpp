#include "analysis/verification_base.h"

#include <algorithm>
#include <vector>

namespace drawfollow {

std::optional<VerificationBase> findVerificationBase(std::span<const int> issues, int issue, bool previousIssue,
                                                     int gap) {
    const int back = previousIssue ? 1 : gap;
    if (back < 1 || back > 9)
        return std::nullopt;
    // Draws before X: the issues below it.
    const auto before = static_cast<size_t>(std::lower_bound(issues.begin(), issues.end(), issue) - issues.begin());
    if (before < static_cast<size_t>(back))
        return std::nullopt;
    const size_t baseIndex = before - back;
    return VerificationBase{baseIndex, issues[baseIndex], issues[before - 1]};
}

std::optional<VerificationBase> findVerificationBase(std::span<const DrawRow> history, int issue, bool previousIssue,
                                                     int gap) {
    std::vector<int> issues(history.size());
    std::transform(history.begin(), history.end(), issues.begin(), [](const DrawRow& r) { return r.issue; });
    return findVerificationBase(issues, issue, previousIssue, gap);
}

PositionValues positionValues(const DrawRow& row, Kind searchKind) {
    PositionValues values{};
    for (int p = 0; p < kPositions; ++p)
        values[p] = row.own[index(searchKind)][p];
    return values;
}

}  // namespace drawfollow
