#include "analysis/panel_values.h"

#include <algorithm>
#include <cctype>

namespace drawfollow {

PositionValues valuesOf(const StoredDraw& draw, Kind kind) {
    PositionValues v{};
    for (int p = 0; p < kPositions; ++p)
        v[p] = draw.own[index(kind)][p];
    return v;
}

std::vector<int> issuesOf(std::span<const StoredDraw> history) {
    std::vector<int> issues(history.size());
    std::transform(history.begin(), history.end(), issues.begin(), [](const StoredDraw& d) { return d.issue; });
    return issues;
}

std::string valueLabel(Kind kind, int value, const ZodiacCodeTable& codes) {
    if (kind == Kind::Zodiac) {
        const std::string_view name = zodiacName(codes, value);
        if (!name.empty())
            return std::string(name);
    }
    return std::to_string(value);
}

std::string positionLabel(int position) {
    return position == kPositions ? "特码" : "平" + std::to_string(position) + "码";
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
