#include "app/panel_logic.h"

#include "analysis/panel_defaults.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <vector>

namespace drawfollow {

namespace {

std::string number(int n) {
    return std::to_string(n);
}

}  // namespace

BaseLookup referenceDraw(std::span<const StoredDraw> history, bool previousIssue, int gap) {
    if (const auto index = latestBaseIndex(history.size(), previousIssue, gap))
        return {index, {}};
    if (history.empty())
        return {std::nullopt, "历史号码为空，没有可作检索依据的开奖号码。"};
    if (gap < kMinGap || gap > kMaxGap)
        return {std::nullopt, "前期间隔须为 1～9 期。"};
    return {std::nullopt,
            "历史号码只有 " + number(static_cast<int>(history.size())) + " 期，不足前 " + number(gap) + " 期之需。"};
}

VerificationLookup verificationLookup(std::span<const StoredDraw> history, int x, bool previousIssue, int gap) {
    std::vector<int> issues(history.size());
    std::transform(history.begin(), history.end(), issues.begin(), [](const StoredDraw& d) { return d.issue; });
    VerificationLookup lookup{findVerificationBase(issues, x, previousIssue, gap), {}};
    if (lookup.base)
        return lookup;
    const auto before = static_cast<size_t>(std::lower_bound(issues.begin(), issues.end(), x) - issues.begin());
    if (!previousIssue && (gap < kMinGap || gap > kMaxGap))
        lookup.problem = "前期间隔须为 1～9 期。";
    else if (before == 0)
        lookup.problem = "历史中没有早于第 " + number(x) + " 期的开奖号码，无法取得验证的基准期。";
    else
        lookup.problem = "第 " + number(x) + " 期之前只存有 " + number(static_cast<int>(before)) +
                         " 期开奖号码，不足前 " + number(gap) + " 期之需。";
    return lookup;
}

int issueBeforeByRule(int x) {
    if (issueSequence(x) == 1)
        return (issueYear(x) - 1) * 1000 + 154;
    return x - 1;
}

int rangeEndBefore(std::span<const StoredDraw> history, int x) {
    const auto it = std::lower_bound(history.begin(), history.end(), x,
                                     [](const StoredDraw& d, int issue) { return d.issue < issue; });
    return it == history.begin() ? issueBeforeByRule(x) : std::prev(it)->issue;
}

std::optional<int> rangeStart(std::span<const StoredDraw> history, bool previousIssue, int gap) {
    if (history.empty())
        return std::nullopt;
    return history.front().issue + (previousIssue ? 1 : gap);
}

std::optional<int> rangeEnd(std::span<const StoredDraw> history) {
    if (history.empty())
        return std::nullopt;
    return history.back().issue;
}

PositionValues valuesOf(const StoredDraw& draw, Kind kind) {
    PositionValues v{};
    for (int p = 0; p < kPositions; ++p)
        v[p] = draw.own[index(kind)][p];
    return v;
}

std::string valueLabel(Kind kind, int value, const ZodiacCodeTable& codes) {
    if (kind == Kind::Zodiac) {
        const std::string_view name = zodiacName(codes, value);
        if (!name.empty())
            return std::string(name);
    }
    return number(value);
}

std::optional<int> parseIssue(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    if (text.size() != 7 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int issue = std::stoi(std::string(text));
    if (issueSequence(issue) == 0 || issueYear(issue) < 1000)
        return std::nullopt;
    return issue;
}

}  // namespace drawfollow
