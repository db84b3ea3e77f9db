#include "analysis/verification_base.h"

#include "analysis/panel_defaults.h"
#include "analysis/panel_values.h"
#include "store/draw.h"

#include <algorithm>

namespace drawfollow {

namespace {

// How many stored draws come before issue x.
size_t drawsBefore(std::span<const int> issues, int x) {
    return static_cast<size_t>(std::lower_bound(issues.begin(), issues.end(), x) - issues.begin());
}

}  // namespace

VerificationLookup verificationLookup(std::span<const int> issues, int x, bool previousIssue, int gap) {
    const int back = previousIssue ? 1 : gap;
    const size_t before = drawsBefore(issues, x);
    const auto number = [](auto n) { return std::to_string(n); };
    if (back < kMinGap || back > kMaxGap)
        return {std::nullopt, "前期间隔须为 1～9 期。"};
    if (before == 0)
        return {std::nullopt, "历史中没有早于第 " + number(x) + " 期的开奖号码，无法取得验证的基准期。"};
    if (before < static_cast<size_t>(back))
        return {std::nullopt, "第 " + number(x) + " 期之前只存有 " + number(before) + " 期开奖号码，不足前 " +
                                  number(gap) + " 期之需。"};
    const size_t baseIndex = before - back;
    return {VerificationBase{x, baseIndex, issues[baseIndex]}, {}};
}

VerificationLookup verificationLookup(std::span<const int> issues, std::string_view issueText, bool previousIssue,
                                      int gap) {
    if (const auto x = parseIssue(issueText))
        return verificationLookup(issues, *x, previousIssue, gap);
    return {std::nullopt, "验证期号“" + std::string(issueText) + "”无效：应为七位数字，例如 2026001。"};
}

int issueBeforeByRule(int x) {
    if (issueSequence(x) == 1)
        return (issueYear(x) - 1) * 1000 + 154;
    return x - 1;
}

int rangeEndBefore(std::span<const int> issues, int x) {
    const size_t before = drawsBefore(issues, x);
    return before == 0 ? issueBeforeByRule(x) : issues[before - 1];
}

}  // namespace drawfollow
