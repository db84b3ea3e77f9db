// Which chart pages an online update asks for, and where each year's reading begins.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

class HistoryDb;

// The chart service has no pages before this year.
inline constexpr int kEarliestChartYear = 2006;
inline constexpr int kFewestYearsKept = 2;
inline constexpr int kMostYearsKept = 16;

struct UpdatePlan {
    // Set when the stored draws of the years before this one are to be dropped: at the end
    // of an update that read every page, together with the draws it appends.
    std::optional<int> dropBeforeYear;
    size_t dropCount = 0;  // how many stored draws that drops
    // False when the pages start after the newest stored draw's year because that draw is
    // dropped too: what they hold then joins the history only once the old years are gone.
    bool pagesContinueHistory = true;
    int firstYear = 0;
    int lastYear = 0;  // the current year

    // The years whose pages are requested, in ascending order (none when the newest
    // stored draw lies after the current year).
    std::vector<int> years() const;
};

// The first year kept: the current one minus keepYears.
// Throws StoreError when keepYears is outside 2..16.
int firstKeptYear(int currentYear, int keepYears);

// The years kept are the current one and the `keepYears` before it; `oldDraws` stored
// draws lie before them and are to be dropped. The pages asked for start at the year of
// the newest draw that stays (not before 2006), or, with none staying, at the first kept
// year. Throws StoreError when keepYears is outside 2..16.
UpdatePlan planUpdate(std::optional<int> newestIssue, size_t oldDraws, int currentYear, int keepYears);
// The same for the history stored in `db`.
UpdatePlan planUpdate(HistoryDb& db, int currentYear, int keepYears);

// What a successful update will drop, for the user to see before it starts:
// "将删除 2020 年以前的 1992 期历史号码，删除前自动备份"; empty when it drops nothing.
std::string dropNotice(const UpdatePlan& plan);

// "/kaijiang/xw?lotId=220028&chartType=zhfb&spanType=3&span=2013001_2013365"
std::string chartPagePath(int year);

struct ChartUrl {
    std::string url;      // empty when the host is unusable
    std::string problem;  // why, in words for the user
};

// The page's address under the host the user set: "www.example.com", "http://host" and
// "https://host/prefix/" all work; any other scheme, whitespace, '?' or '#' is refused.
ChartUrl chartPageUrl(std::string_view host, int year);

}  // namespace drawfollow
