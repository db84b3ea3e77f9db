#include "io/update_plan.h"

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

int firstKeptYear(int currentYear, int keepYears) {
    if (keepYears < kFewestYearsKept || keepYears > kMostYearsKept)
        throw StoreError("保留历史号码的年数必须是 2 到 16 之间的自然数，现为 " + std::to_string(keepYears) + "。");
    return currentYear - keepYears;
}

UpdatePlan planUpdate(std::optional<int> newestIssue, size_t oldDraws, int currentYear, int keepYears) {
    const int firstKept = firstKeptYear(currentYear, keepYears);
    UpdatePlan plan;
    plan.lastYear = currentYear;
    if (oldDraws > 0) {
        plan.dropBeforeYear = firstKept;
        plan.dropCount = oldDraws;
    }
    const bool newestStays = newestIssue && issueYear(*newestIssue) >= firstKept;
    plan.pagesContinueHistory = !newestIssue || newestStays;
    plan.firstYear = newestStays ? std::max(kEarliestChartYear, issueYear(*newestIssue)) : firstKept;
    return plan;
}

UpdatePlan planUpdate(HistoryDb& db, int currentYear, int keepYears) {
    const int firstKept = firstKeptYear(currentYear, keepYears);
    const std::optional<DrawRow> newest = db.newest();
    return planUpdate(newest ? std::optional<int>(newest->issue) : std::nullopt,
                      static_cast<size_t>(db.drawCountBefore(firstKept * 1000)), currentYear, keepYears);
}

std::string dropNotice(const UpdatePlan& plan) {
    if (!plan.dropBeforeYear)
        return {};
    return "将删除 " + std::to_string(*plan.dropBeforeYear) + " 年以前的 " + std::to_string(plan.dropCount) +
           " 期历史号码，删除前自动备份";
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
