// Which chart pages an online update asks for, and where each year's reading begins.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

// The chart service has no pages before this year.
inline constexpr int kEarliestChartYear = 2006;
inline constexpr int kFewestYearsKept = 2;
inline constexpr int kMostYearsKept = 16;

struct UpdatePlan {
    // Set when stored draws of years before this one must be dropped first.
    std::optional<int> dropBeforeYear;
    int firstYear = 0;
    int lastYear = 0;  // the current year

    // The years whose pages are requested, in ascending order (none when the newest
    // stored draw lies after the current year).
    std::vector<int> years() const;
};

// The years kept are the current one and the `keepYears` before it. Stored draws of
// earlier years are dropped; the pages asked for start at the year of the newest draw
// left (not before 2006), or, with none left, at the first kept year.
// Throws StoreError when keepYears is outside 2..16.
UpdatePlan planUpdate(std::optional<int> oldestIssue, std::optional<int> newestIssue, int currentYear, int keepYears);

// The first sequence to look for on the page of `year`: the one after the newest stored
// issue when that lies in the same year, else 1; past 365 when the newest stored issue
// lies in a later year.
int firstSequence(std::optional<int> newestIssue, int year);

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
