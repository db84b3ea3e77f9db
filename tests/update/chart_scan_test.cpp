// Reading a year's draws from the chart text: the fixture pages in both encodings, and
// the rows of hand-made texts, sound and spoiled.
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
};

class ChartPageTest : public testing::TestWithParam<PageCase> {};

TEST_P(ChartPageTest, YieldsTheDrawsItLists) {
    const PageCase& c = GetParam();
    const std::string text = chartPageText(test::readFile(kPages / c.file), c.contentType);
    // The fixtures' 2014 is the year still running, its last row the draw to come.
    const YearPageScan scan = scanYearPage(codePoints(text), {c.year, std::nullopt, c.year == 2014});
    EXPECT_EQ(scan.draws, expectedDraws(c.year));
    EXPECT_TRUE(scan.problem.empty()) << scan.problem;
    EXPECT_EQ(scan.listing, YearListing::Draws);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ChartPageTest,
    testing::Values(PageCase{"Utf8Undeclared", "chart_2011_utf8_undeclared.html", "text/html", 2011},
                    PageCase{"GbkFromHttpHeader", "chart_2012_gbk_http_charset.html", "text/html; charset=GBK", 2012},
                    PageCase{"GbkUndeclared", "chart_2012_gbk_http_charset.html", "", 2012},
                    PageCase{"GbkFromMeta", "chart_2013_gbk_meta.html", "text/html", 2013},
                    PageCase{"Utf8FromMeta", "chart_2014_utf8_meta.html", "text/html", 2014}),
    [](const auto& info) { return info.param.name; });

TEST(ChartPage, ReadingStartsAfterTheNewestStored) {
    const std::u32string text =
        codePoints(chartPageText(test::readFile(kPages / "chart_2013_gbk_meta.html"), "text/html"));
    const std::vector<DrawInput> all = expectedDraws(2013);
    EXPECT_EQ(scanYearPage(text, {2013, 2013150, false}).draws, std::vector<DrawInput>(all.begin() + 150, all.end()));
    EXPECT_TRUE(scanYearPage(text, {2013, 2013153, false}).draws.empty());
    EXPECT_TRUE(scanYearPage(text, {2013, 2013153, false}).problem.empty());
    // A history of the year before reads the page from its first row.
    EXPECT_EQ(scanYearPage(text, {2013, 2012151, false}).draws, all);
}

TEST(ChartPage, PastYearPageEndingBeforeTheNewestStoredLacksRows) {
    const std::u32string text =
        codePoints(chartPageText(test::readFile(kPages / "chart_2013_gbk_meta.html"), "text/html"));
    const YearPageScan scan = scanYearPage(text, {2013, 2013160, false});
    EXPECT_TRUE(scan.draws.empty());
    EXPECT_NE(scan.problem.find("2013153"), std::string::npos) << scan.problem;
    EXPECT_NE(scan.problem.find("2013160"), std::string::npos) << scan.problem;
    // The current year's page may simply not show the newest draw yet.
    EXPECT_TRUE(scanYearPage(text, {2013, 2013160, true}).problem.empty());
}

TEST(ChartPage, PageWithoutDrawsYetListsNothing) {
    const std::string text = chartPageText(test::readFile(kPages / "chart_2014_no_draws_yet.html"), "");
    const YearPageScan scan = scanYearPage(codePoints(text), {2014, std::nullopt, true});
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
    const YearPageScan scan =
        scanYearPage(codePoints(chartPageText(GetParam().html, "text/html")), {2014, std::nullopt, true});
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

// A row of the chart as rendered: the issue, the date and the cells after it.
std::u32string row(int issue, const std::u32string& cells) {
    const std::string text = std::to_string(issue);
    return std::u32string(text.begin(), text.end()) + U"\t2013-01-01二\t" + cells + U"\n";
}

const std::u32string kNumbers = U"01\t02\t03\t04\t05\t06\t07\t08\t36";
const Numbers kRead{1, 2, 3, 4, 5, 6, 7, 8};

// 2013001 to 2013005, row 3 as given.
std::u32string pageWithRow3(const std::u32string& third) {
    std::u32string text = U"期号\t开奖日期\t平1\t平2\t平3\t平4\t平5\t平6\t平7\t特码\t和值\n";
    text += row(2013001, kNumbers) + row(2013002, kNumbers) + third;
    return text + row(2013004, kNumbers) + row(2013005, kNumbers);
}

std::vector<int> issuesOf(const YearPageScan& scan) {
    std::vector<int> issues;
    for (const DrawInput& d : scan.draws)
        issues.push_back(d.issue);
    return issues;
}

struct SpoiledRow {
    const char* name;
    std::u32string third;  // what stands where 2013003 should
    const char* named;     // the issue the problem names
};

void PrintTo(const SpoiledRow& spoiled, std::ostream* os) {
    *os << spoiled.name;
}

class SpoiledRowTest : public testing::TestWithParam<SpoiledRow> {};

// Whatever year it is: a row at fault ends the reading, the rows before it are kept, and
// nothing after it is read, so that what is stored never has a gap or a borrowed number.
TEST_P(SpoiledRowTest, EndsTheReadingAfterTheRowsBefore) {
    for (const bool currentYear : {false, true}) {
        const YearPageScan scan = scanYearPage(pageWithRow3(GetParam().third), {2013, 2012150, currentYear});
        EXPECT_EQ(issuesOf(scan), (std::vector<int>{2013001, 2013002})) << currentYear;
        EXPECT_NE(scan.problem.find(GetParam().named), std::string::npos) << scan.problem;
        EXPECT_EQ(scan.listing, YearListing::Draws);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpoiledRowTest,
    testing::Values(
        SpoiledRow{"LeftOut", U"", "2013003"},
        // The sum 98 stands where the special number would: it must not be taken for it.
        SpoiledRow{"SevenNumbers", row(2013003, U"01\t02\t03\t04\t05\t06\t30\t98"), "2013003"},
        SpoiledRow{"SevenNumbersCellLeftBlank", row(2013003, U"01\t02\t03\t04\t05\t06\t30\t\t98"), "2013003"},
        SpoiledRow{"TheIssueBefore", row(2013002, kNumbers), "2013002"},
        SpoiledRow{"LastYearsIssue", row(2012003, kNumbers), "2012003"},
        SpoiledRow{"LettersForANumber", row(2013003, U"01\t02\tO3\t04\t05\t06\t07\t08\t36"), "2013003"},
        SpoiledRow{"LettersForTheFirstNumber", row(2013003, U"x1\t02\t03\t04\t05\t06\t07\t08\t36"), "2013003"},
        SpoiledRow{"OneDigitNumber", row(2013003, U"01\t02\t3\t04\t05\t06\t07\t08\t36"), "2013003"},
        SpoiledRow{"NumberOver30", row(2013003, U"01\t02\t31\t04\t05\t06\t07\t08\t36"), "2013003"},
        SpoiledRow{"RepeatedNumber", row(2013003, U"01\t02\t02\t04\t05\t06\t07\t08\t36"), "2013003"},
        SpoiledRow{"WithoutNumbers", row(2013003, U"--\t--\t--\t--\t--\t--\t--\t--\t"), "2013003"}),
    [](const auto& info) { return info.param.name; });

TEST(ChartScan, ARowAlreadyStoredThatIsOutOfOrderStillStopsTheReading) {
    // 2013003 shows last year's issue; the history holds up to 2013004: the page cannot be trusted.
    const YearPageScan scan = scanYearPage(pageWithRow3(row(2012003, kNumbers)), {2013, 2013004, false});
    EXPECT_TRUE(scan.draws.empty());
    EXPECT_NE(scan.problem.find("2012003"), std::string::npos) << scan.problem;
}

TEST(ChartScan, FirstRowAfterTheStoredHistoryMustBeTheNextIssue) {
    const YearPageScan scan = scanYearPage(pageWithRow3(row(2013003, kNumbers)), {2013, 2012150, false});
    EXPECT_EQ(scan.draws.size(), 5u);
    // The history ends at 2013001; the page starts at 2013002 only.
    const std::u32string fromTwo = row(2013002, kNumbers) + row(2013003, kNumbers);
    EXPECT_EQ(scanYearPage(fromTwo, {2013, 2013001, false}).draws.size(), 2u);
    const YearPageScan gap = scanYearPage(fromTwo, {2013, 2012150, false});
    EXPECT_TRUE(gap.draws.empty());
    EXPECT_NE(gap.problem.find("2013001"), std::string::npos) << gap.problem;
}

TEST(ChartScan, OnlyTheCurrentYearsLastRowMayBeTheDrawToCome) {
    const std::u32string pending = row(2013006, U"--\t--\t--\t--\t--\t--\t--\t--\t");
    const std::u32string text = pageWithRow3(row(2013003, kNumbers)) + pending;
    const YearPageScan running = scanYearPage(text, {2013, 2013002, true});
    EXPECT_EQ(issuesOf(running), (std::vector<int>{2013003, 2013004, 2013005}));
    EXPECT_TRUE(running.problem.empty()) << running.problem;

    const YearPageScan past = scanYearPage(text, {2013, 2013002, false});
    EXPECT_EQ(past.draws.size(), 3u);
    EXPECT_NE(past.problem.find("2013006"), std::string::npos) << past.problem;
}

TEST(ChartScan, NumbersAreFoundByCellWhateverTheirOffset) {
    // A longer date cell, blanks around the cells and a character outside the Basic
    // Multilingual Plane shift every offset; the cells stay the same.
    const std::u32string text =
        U"2013001\t 2013-01-01（星期二）𝟘 \t 01\t02\t03\t04\t05\t06\t07\t08\t36\n"
        U"2013002\t2013-01-03（星期四）\t01 \t02\t03\t04\t05\t06\t07\t09\t37\n";
    const YearPageScan scan = scanYearPage(text, {2013, std::nullopt, false});
    ASSERT_EQ(scan.draws.size(), 2u) << scan.problem;
    EXPECT_EQ(scan.draws[0].numbers, kRead);
    EXPECT_EQ(scan.draws[1].numbers, (Numbers{1, 2, 3, 4, 5, 6, 7, 9}));
}

TEST(ChartScan, PageListingTheNewestFirstIsReadFromTheOldest) {
    const std::u32string text = row(2013003, kNumbers) + row(2013002, kNumbers) + row(2013001, kNumbers);
    const YearPageScan scan = scanYearPage(text, {2013, std::nullopt, false});
    EXPECT_EQ(issuesOf(scan), (std::vector<int>{2013001, 2013002, 2013003}));
    EXPECT_TRUE(scan.problem.empty()) << scan.problem;
}

TEST(ChartScan, IssueTextOutsideARowIsNoRow) {
    // A sentence naming an issue, and an issue in one cell alone, are not rows of the chart.
    const std::u32string text =
        U"最新一期：2013002期开奖结果\n2013002\n" + row(2013001, kNumbers) + row(2013002, kNumbers);
    const YearPageScan scan = scanYearPage(text, {2013, std::nullopt, false});
    EXPECT_EQ(issuesOf(scan), (std::vector<int>{2013001, 2013002}));
    EXPECT_TRUE(scan.problem.empty()) << scan.problem;
}

}  // namespace
}  // namespace drawfollow
