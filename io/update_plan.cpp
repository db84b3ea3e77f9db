#include "io/update_plan.h"

#include "io/update_page.h"
#include "store/draw.h"
#include "store/history_db.h"

#include <algorithm>

namespace drawfollow {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

}  // namespace

std::vector<int> UpdatePlan::years() const {
    std::vector<int> list;
    for (int y = firstYear; y <= lastYear; ++y)
        list.push_back(y);
    return list;
}

UpdatePlan planUpdate(std::optional<int> oldestIssue, std::optional<int> newestIssue, int currentYear, int keepYears) {
    if (keepYears < kFewestYearsKept || keepYears > kMostYearsKept)
        throw StoreError("保留历史号码的年数必须是 2 到 16 之间的自然数，现为 " + std::to_string(keepYears) + "。");
    const int firstKeptYear = currentYear - keepYears;
    UpdatePlan plan;
    plan.lastYear = currentYear;
    if (oldestIssue && issueYear(*oldestIssue) < firstKeptYear)
        plan.dropBeforeYear = firstKeptYear;
    const bool newestLeft = newestIssue && issueYear(*newestIssue) >= firstKeptYear;
    plan.firstYear = newestLeft ? std::max(kEarliestChartYear, issueYear(*newestIssue)) : firstKeptYear;
    return plan;
}

int firstSequence(std::optional<int> newestIssue, int year) {
    if (!newestIssue || issueYear(*newestIssue) < year)
        return 1;
    if (issueYear(*newestIssue) > year)
        return kLastSequence + 1;
    return issueSequence(*newestIssue) + 1;
}

std::string chartPagePath(int year) {
    const std::string y = std::to_string(year);
    return "/kaijiang/xw?lotId=220028&chartType=zhfb&spanType=3&span=" + y + "001_" + y + "365";
}

ChartUrl chartPageUrl(std::string_view host, int year) {
    std::string_view base = trimmed(host);
    if (base.empty())
        return {{}, "还没有设置在线更新网址。"};
    for (char c : base)
        if (static_cast<unsigned char>(c) <= ' ' || c == '?' || c == '#')
            return {{}, "在线更新网址 “" + std::string(base) + "” 中不能有空格、“?” 或 “#”。"};
    std::string url;
    const size_t schemeEnd = base.find("://");
    if (schemeEnd == std::string_view::npos)
        url = "http://";
    else if (!startsWithNoCase(base, "http://") && !startsWithNoCase(base, "https://"))
        return {{}, "在线更新网址 “" + std::string(base) + "” 必须以 http:// 或 https:// 开头。"};
    while (!base.empty() && base.back() == '/')
        base.remove_suffix(1);
    if (schemeEnd != std::string_view::npos && base.size() <= schemeEnd + 3)
        return {{}, "在线更新网址 “" + std::string(trimmed(host)) + "” 中没有服务器名。"};
    url += base;
    return {url + chartPagePath(year), {}};
}

}  // namespace drawfollow
