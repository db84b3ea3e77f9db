// Reading a year's draws from the chart text: the fixture pages in both encodings, and
// the rules of the scan on hand-made texts.
#include "io/history_text.h"
#include "io/update_page.h"
#include "io/utf8_text.h"
#include "support/temp_dir.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace drawfollow {
namespace {

const std::filesystem::path kPages = std::filesystem::path(DRAWFOLLOW_TEST_DATA_DIR) / "update";

std::vector<DrawInput> expectedDraws(int year) {
    std::vector<DrawInput> draws = readHistoryFile(kPages / "chart_draws.txt").draws;
    std::erase_if(draws, [year](const DrawInput& d) { return issueYear(d.issue) != year; });
    return draws;
}

struct PageCase {
    const char* name;
    const char* file;
    const char* contentType;
    int year;
    std::vector<int> skipped;
};

class ChartPageTest : public testing::TestWithParam<PageCase> {};

TEST_P(ChartPageTest, YieldsTheDrawsItLists) {
    const PageCase& c = GetParam();
    const std::string text = chartPageText(test::readFile(kPages / c.file), c.contentType);
    const YearPageScan scan = scanYearPage(codePoints(text), c.year, 1, "");
    EXPECT_EQ(scan.draws, expectedDraws(c.year));
    EXPECT_EQ(scan.skippedIssues, c.skipped);
    EXPECT_TRUE(scan.problem.empty()) << scan.problem;
    EXPECT_EQ(scan.listing, YearListing::Draws);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ChartPageTest,
    testing::Values(PageCase{"Utf8Undeclared", "chart_2011_utf8_undeclared.html", "text/html", 2011, {}},
                    PageCase{
                        "GbkFromHttpHeader", "chart_2012_gbk_http_charset.html", "text/html; charset=GBK", 2012, {}},
                    PageCase{"GbkUndeclared", "chart_2012_gbk_http_charset.html", "", 2012, {}},
                    PageCase{"GbkFromMeta", "chart_2013_gbk_meta.html", "text/html", 2013, {}},
                    // 2014003 has no numbers; 2014006 is missing, so 2014007 is never read.
                    PageCase{"Utf8FromMeta", "chart_2014_utf8_meta.html", "text/html", 2014, {2014003}}),
    [](const auto& info) { return info.param.name; });

TEST(ChartPage, ScanStartsAtTheFirstSequenceAndStopsAtTheGreatestStored) {
    const std::u32string text =
        codePoints(chartPageText(test::readFile(kPages / "chart_2013_gbk_meta.html"), "text/html"));
    const std::vector<DrawInput> all = expectedDraws(2013);
    EXPECT_EQ(scanYearPage(text, 2013, 151, "2013150").draws, std::vector<DrawInput>(all.begin() + 150, all.end()));
    EXPECT_TRUE(scanYearPage(text, 2013, 151, "2013152").draws.empty());
    EXPECT_TRUE(scanYearPage(text, 2013, 154, "").draws.empty());
}

TEST(ChartPage, PageWithoutDrawsYetListsNothing) {
    const std::string text = chartPageText(test::readFile(kPages / "chart_2014_no_draws_yet.html"), "");
    const YearPageScan scan = scanYearPage(codePoints(text), 2014, 1, "");
    EXPECT_TRUE(scan.draws.empty());
    EXPECT_EQ(scan.listing, YearListing::NoDrawsYet);
}

struct NotAChartCase {
    const char* name;
    std::string html;
};

void PrintTo(const NotAChartCase& page, std::ostream* os) {
    *os << page.name;
}

class NotAChartTest : public testing::TestWithParam<NotAChartCase> {};

TEST_P(NotAChartTest, IsToldFromAYearWithoutDraws) {
    const YearPageScan scan = scanYearPage(codePoints(chartPageText(GetParam().html, "text/html")), 2014, 1, "");
    EXPECT_TRUE(scan.draws.empty());
    EXPECT_EQ(scan.listing, YearListing::NotAChart);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, NotAChartTest,
    testing::Values(NotAChartCase{"EmptyBody", ""},
                    NotAChartCase{"Maintenance", "<html><body><h1>服务器维护中</h1><p>请稍后再试。</p></body></html>"},
                    // The asked-for span names the year's first issue, with no numbers after it.
                    NotAChartCase{"ErrorNamingTheSpan",
                                  "<body><p>查询 2014001_2014365 出错：lotId 参数无效，请检查后重新查询。</p></body>"},
                    // The heading word inside a sentence is no heading row.
                    NotAChartCase{"HeadingWordInText",
                                  "<body><table><tr><td>请输入期号</td><td>查询</td></tr></table>"
                                  "</body>"},
                    NotAChartCase{"RandomBytes", std::string("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\xff\xfe", 18)}),
    [](const auto& info) { return info.param.name; });

// A line of the chart as rendered: the issue, 13 characters of filler, eight numbers.
std::u32string line(const std::u32string& issue, const std::u32string& filler, const std::u32string& numbers) {
    return issue + filler + numbers + U"\n";
}

const std::u32string kFiller = U"\t2013-01-01二\t";  // 13 characters, one of them Chinese
const std::u32string kNumbers = U"01\t02\t03\t04\t05\t06\t07\t08";

TEST(ChartScan, OffsetsCountCodePoints) {
    // A filler of 13 characters, one of them outside the Basic Multilingual Plane.
    const std::u32string text = line(U"2013001", U"\t2013-01-01𝟘\t", kNumbers);
    const YearPageScan scan = scanYearPage(text, 2013, 1, "");
    ASSERT_EQ(scan.draws.size(), 1u);
    EXPECT_EQ(scan.draws[0].numbers, (Numbers{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ChartScan, IssueWithoutDigitAtOffset20IsSkipped) {
    const std::u32string text = line(U"2013001", kFiller, kNumbers) + line(U"2013002", kFiller, U"-- -- --") +
                                line(U"2013003", kFiller, kNumbers);
    const YearPageScan scan = scanYearPage(text, 2013, 1, "");
    EXPECT_EQ(scan.skippedIssues, std::vector<int>{2013002});
    ASSERT_EQ(scan.draws.size(), 2u);
    EXPECT_EQ(scan.draws[1].issue, 2013003);
}

TEST(ChartScan, FirstMissingIssueEndsTheScan) {
    const std::u32string text = line(U"2013001", kFiller, kNumbers) + line(U"2013003", kFiller, kNumbers);
    const YearPageScan scan = scanYearPage(text, 2013, 1, "");
    ASSERT_EQ(scan.draws.size(), 1u);
    EXPECT_EQ(scan.draws[0].issue, 2013001);
}

TEST(ChartScan, IssueTextInsideALongerNumberCounts) {
    const YearPageScan scan = scanYearPage(U"9" + line(U"2013001", kFiller, kNumbers), 2013, 1, "");
    ASSERT_EQ(scan.draws.size(), 1u);
    EXPECT_EQ(scan.draws[0].numbers, (Numbers{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ChartScan, FirstOccurrenceOfTheIssueTextIsTheOneRead) {
    // The heading mentions 2013002 first; 20 characters after it there is no number.
    const std::u32string text = U"最新一期：2013002期开奖结果，请留意下期开奖时间。\n" +
                                line(U"2013001", kFiller, kNumbers) + line(U"2013002", kFiller, kNumbers);
    const YearPageScan scan = scanYearPage(text, 2013, 1, "");
    EXPECT_EQ(scan.skippedIssues, std::vector<int>{2013002});
}

struct BadDrawCase {
    const char* name;
    std::u32string numbers;
};

class UnreadableDrawTest : public testing::TestWithParam<BadDrawCase> {};

TEST_P(UnreadableDrawTest, StopsTheScanKeepingTheDrawsBefore) {
    const std::u32string text = line(U"2013001", kFiller, kNumbers) + line(U"2013002", kFiller, GetParam().numbers) +
                                line(U"2013003", kFiller, kNumbers);
    const YearPageScan scan = scanYearPage(text, 2013, 1, "");
    ASSERT_EQ(scan.draws.size(), 1u);
    EXPECT_NE(scan.problem.find("2013002"), std::string::npos) << scan.problem;
}

INSTANTIATE_TEST_SUITE_P(Draws, UnreadableDrawTest,
                         testing::Values(BadDrawCase{"OneDigitNumber", U"01\t02\t3 \t04\t05\t06\t07\t08"},
                                         BadDrawCase{"NumberOver30", U"01\t02\t31\t04\t05\t06\t07\t08"},
                                         BadDrawCase{"RepeatedNumber", U"01\t02\t02\t04\t05\t06\t07\t08"},
                                         BadDrawCase{"SeparatorMissing", U"01\t0203\t04\t05\t06\t07\t08\t09"}),
                         [](const auto& info) { return info.param.name; });

TEST(ChartScan, TextEndingBeforeTheLastNumberIsAProblem) {
    const YearPageScan scan = scanYearPage(U"2013001" + kFiller + U"01\t02\t03", 2013, 1, "");
    EXPECT_TRUE(scan.draws.empty());
    EXPECT_FALSE(scan.problem.empty());
}

}  // namespace
}  // namespace drawfollow
