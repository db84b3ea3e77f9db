#include "io/update_page.h"

#include "io/chart_rows.h"
#include "io/page_charset.h"
#include "io/page_text.h"
#include "store/draw.h"

#include <algorithm>

namespace drawfollow {

namespace {

std::string issueName(int issue) {
    return "第 " + issueText(issue) + " 期";
}

YearListing listingOf(std::u32string_view text, const std::vector<ChartRow>& rows, int year) {
    const bool showsDraw = std::any_of(rows.begin(), rows.end(), [year](const ChartRow& row) {
        return issueYear(row.issue) == year && row.content == RowNumbers::Read;
    });
    if (showsDraw)
        return YearListing::Draws;
    return showsChartHeading(text) ? YearListing::NoDrawsYet : YearListing::NotAChart;
}

// A chart may list its newest draw first; the reading goes from the oldest on.
void oldestFirst(std::vector<ChartRow>& rows, int year) {
    const auto ofYear = [year](const ChartRow& row) { return issueYear(row.issue) == year; };
    const auto first = std::find_if(rows.begin(), rows.end(), ofYear);
    const auto last = std::find_if(rows.rbegin(), rows.rend(), ofYear);
    if (first != rows.end() && first->issue > last->issue)
        std::reverse(rows.begin(), rows.end());
}

// Why the row that should hold `expected` (and holds its issue) cannot be taken; empty
// when its draw is read. A draw still to come is no problem: `pending` says so.
std::string contentProblem(const ChartRow& row, bool lastRow, const YearPageContext& context, bool& pending) {
    switch (row.content) {
        case RowNumbers::Read:
            if (const std::string problem = drawProblem(row.numbers); !problem.empty())
                return issueName(row.issue) + "网页上的号码有误：" + problem;
            return {};
        case RowNumbers::None:
            if (context.currentYear && lastRow) {
                pending = true;
                return {};
            }
            return issueName(row.issue) + "在网页上没有号码";
        case RowNumbers::Unreadable:
            break;
    }
    return issueName(row.issue) + "在网页上的号码无法逐格读出（应是 8 个两位数的号码）";
}

}  // namespace

std::string chartPageText(std::string_view bytes, std::string_view contentType) {
    return bodyInnerText(decodePage(bytes, pageEncoding(bytes, contentType)));
}

YearPageScan scanYearPage(std::u32string_view text, const YearPageContext& context) {
    const int year = context.year;
    std::vector<ChartRow> rows = chartRows(text);
    YearPageScan scan;
    scan.listing = listingOf(text, rows, year);
    oldestFirst(rows, year);

    const std::optional<int> newest = context.newestStored;
    int expected = newest && issueYear(*newest) == year ? *newest + 1 : year * 1000 + 1;
    int previous = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const ChartRow& row = rows[i];
        if (issueYear(row.issue) != year) {
            scan.problem = std::to_string(year) + " 年的网页上出现了" + issueName(row.issue) + "，期号不属于这一年";
            return scan;
        }
        if (row.issue <= previous) {
            scan.problem = "网页上" + issueName(previous) + "之后是" + issueName(row.issue) + "，期号次序不对";
            return scan;
        }
        previous = row.issue;
        if (newest && row.issue <= *newest)
            continue;
        if (row.issue != expected) {
            scan.problem = "网页上缺少" + issueName(expected) + "（其后是" + issueName(row.issue) + "）";
            return scan;
        }
        bool pending = false;
        scan.problem = contentProblem(row, i + 1 == rows.size(), context, pending);
        if (!scan.problem.empty() || pending)
            return scan;
        scan.draws.push_back({row.issue, row.numbers});
        ++expected;
    }
    if (!context.currentYear && newest && issueYear(*newest) == year && previous != 0 && previous < *newest)
        scan.problem = "网页上 " + std::to_string(year) + " 年的开奖号码只到" + issueName(previous) + "，比已保存的" +
                       issueName(*newest) + "还少，网页不完整";
    return scan;
}

}  // namespace drawfollow
