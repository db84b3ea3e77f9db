#include "io/history_text.h"

#include <gtest/gtest.h>

#include <sstream>

namespace drawfollow {
namespace {

struct LineCase {
    const char* name;
    const char* line;
    std::optional<int> issue;
    std::vector<int> numbers;
};

class ReadingRules : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReadingRules, TakeTheIssueAndNumbersOfALine) {
    const LineCase& c = GetParam();
    const ParsedLine parsed = parseHistoryLine(c.line);
    EXPECT_EQ(parsed.issue, c.issue);
    EXPECT_EQ(parsed.numbers, c.numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadingRules,
    ::testing::Values(
        LineCase{"canonical", "2013001 03 07 12 18 22 25 29 11 ", 2013001, {3, 7, 12, 18, 22, 25, 29, 11}},
        LineCase{"commas", "2013001,03,07,12,18,22,25,29,11", 2013001, {3, 7, 12, 18, 22, 25, 29, 11}},
        LineCase{"sixteen_digits", "2013001 0307121822252911", 2013001, {3, 7, 12, 18, 22, 25, 29, 11}},
        LineCase{"surrounding_blanks", "   2013001 03 07 12 18 22 25 29 11   ", 2013001,
                 {3, 7, 12, 18, 22, 25, 29, 11}},
        LineCase{"one_digit_numbers_are_skipped", "2013001 3 7 12 18 22 25 29 11", 2013001,
                 {12, 18, 22, 25, 29, 11}},
        LineCase{"ten_numbers_keep_eight", "2013001 01 02 03 04 05 06 07 08 09 10", 2013001,
                 {1, 2, 3, 4, 5, 6, 7, 8}},
        LineCase{"three_digit_run_drops_its_third", "2013001 123 04", 2013001, {12, 4}},
        LineCase{"eighth_character_is_skipped_even_a_digit", "201300103 07", 2013001, {7}},
        LineCase{"blank", "", std::nullopt, {}},
        LineCase{"heading", "期号 平码 特码", std::nullopt, {}},
        LineCase{"short_issue", "201301 03 07", std::nullopt, {1, 30, 3, 7}},
        LineCase{"tab_is_not_trimmed", "\t2013001 03", std::nullopt, {20, 13, 0, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

HistoryText read(const std::string& text) {
    std::istringstream in(text);
    return readHistoryText(in);
}

TEST(HistoryFile, SkipsAndCountsLinesWithoutAnIssue) {
    const auto t = read("历史号码\r\n2013001 03 07 12 18 22 25 29 11 \r\n\r\n2013002 01 02 03 04 05 06 07 08 \r\n\r\n");
    EXPECT_TRUE(t.ok());
    ASSERT_EQ(t.draws.size(), 2u);
    EXPECT_EQ(t.skippedLines, 3);
    EXPECT_EQ(t.draws[1], (DrawInput{2013002, {1, 2, 3, 4, 5, 6, 7, 8}}));
}

TEST(HistoryFile, AShortLineKeepsThePreviousNumbersInTheMissingPositions) {
    const auto t = read("2013001 03 07 12 18 22 25 29 11\n2013002 01 02 04 05 06 08\n");
    ASSERT_TRUE(t.ok()) << t.problemSummary();
    EXPECT_EQ(t.draws[1].numbers, (Numbers{1, 2, 4, 5, 6, 8, 29, 11}));
    // The same line first in a file has nothing to keep: positions 7 and 8 are 0.
    EXPECT_FALSE(read("2013002 01 02 04 05 06 08\n").ok());
}

TEST(HistoryFile, ListsEveryLineThatCannotBeADraw) {
    const auto t = read(
        "2013001 03 07 12 18 22 25 29 11\n"
        "2013002 03 07 12 18 22 25 29 31\n"    // 31 is out of range
        "2013003 03 07 12 18 22 25 29 03\n"    // 3 twice
        "2013003 01 02 03 04 05 06 07 08\n"    // repeated issue
        "2013001 01 02 03 04 05 06 07 08\n"    // falling issue
        "2013009 01 02 03 04 05 06 07 08\n");
    EXPECT_FALSE(t.ok());
    std::vector<int> lines;
    for (const auto& p : t.problems)
        lines.push_back(p.line);
    EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 5}));
    const std::string summary = t.problemSummary(2);
    EXPECT_NE(summary.find("第 2 行"), std::string::npos);
    EXPECT_NE(summary.find("第 3 行"), std::string::npos);
    EXPECT_EQ(summary.find("第 4 行"), std::string::npos);
    EXPECT_NE(summary.find("共 4 行"), std::string::npos);
}

TEST(HistoryFile, AFileWithoutDataLinesIsNotUsable) {
    const auto t = read("\r\n标题\r\n");
    EXPECT_FALSE(t.ok());
    EXPECT_FALSE(t.problemSummary().empty());
}

TEST(HistoryFile, AMissingFileIsReportedByName) {
    const auto t = readHistoryFile("/nonexistent/历史.txt");
    ASSERT_FALSE(t.ok());
    EXPECT_NE(t.problemSummary().find("/nonexistent/历史.txt"), std::string::npos);
}

TEST(HistoryFile, CanonicalLinesAndExportName) {
    EXPECT_EQ(canonicalLine(2013001, {3, 7, 12, 18, 22, 25, 29, 11}), "2013001 03 07 12 18 22 25 29 11 ");
    EXPECT_EQ(canonicalLine(2013001, {3, 7, 12, 18, 22, 25, 29, 11}).size(), 32u);
    EXPECT_EQ(canonicalLine(374888, {3, 7, 12, 18, 22, 25, 29, 11}), "0374888 03 07 12 18 22 25 29 11 ");
    EXPECT_EQ(exportFileName(2013150), "更新至2013150期历史号码.txt");
    EXPECT_EQ(exportFileName(std::nullopt), "更新至期历史号码.txt");
}

}  // namespace
}  // namespace drawfollow
