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
    bool refused = false;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << '"' << c.line << '"';
}

class ReadingRules : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReadingRules, TakeTheIssueAndNumbersOfALineOrRefuseIt) {
    const LineCase& c = GetParam();
    const ParsedLine parsed = parseHistoryLine(c.line);
    EXPECT_EQ(parsed.issue, c.issue);
    EXPECT_EQ(!parsed.problem.empty(), c.refused) << parsed.problem;
    if (!c.refused) {
        EXPECT_EQ(parsed.numbers, c.numbers);
    }
}

const std::vector<int> kEight = {3, 7, 12, 18, 22, 25, 29, 11};

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadingRules,
    ::testing::Values(
        LineCase{"canonical", "2013001 03 07 12 18 22 25 29 11 ", 2013001, kEight},
        LineCase{"commas", "2013001,03,07,12,18,22,25,29,11", 2013001, kEight},
        LineCase{"sixteen_digits", "2013001 0307121822252911", 2013001, kEight},
        LineCase{"twenty_digits_keep_eight", "2013001 03071218222529110102", 2013001, kEight},
        LineCase{"a_date_among_the_numbers", "2013001 2013-01-03 03 07 12 18 22 25 29 11", 2013001, {}, true},
        LineCase{"two_numbers_run_together", "2013001 0307 12 18 22 25 29 11", 2013001, {}, true},
        LineCase{"surrounding_blanks_and_tabs", " \t 2013001\t03 07 12 18 22 25 29 11   ", 2013001, kEight},
        LineCase{"ten_numbers_keep_eight", "2013001 01 02 03 04 05 06 07 08 09 10", 2013001, {1, 2, 3, 4, 5, 6, 7, 8}},
        LineCase{"full_width_digits", "２０１３００１ ０３ ０７ １２ １８ ２２ ２５ ２９ １１", 2013001, kEight},
        LineCase{"full_width_digits_and_blanks", "２０１３００１　０３　０７　１２　１８　２２　２５　２９　１１",
                 2013001, kEight},
        LineCase{
            "full_width_digits_in_gbk",
            "\xA3\xB2\xA3\xB0\xA3\xB1\xA3\xB3\xA3\xB0\xA3\xB0\xA3\xB1 \xA3\xB0\xA3\xB3 \xA3\xB0\xA3\xB7 "
            "\xA3\xB1\xA3\xB2 \xA3\xB1\xA3\xB8 \xA3\xB2\xA3\xB2 \xA3\xB2\xA3\xB5 \xA3\xB2\xA3\xB9 \xA3\xB1\xA3\xB1",
            2013001, kEight},
        LineCase{"full_width_digits_in_gbk_and_blanks",
                 "\xA3\xB2\xA3\xB0\xA3\xB1\xA3\xB3\xA3\xB0\xA3\xB0\xA3\xB1\xA1\xA1\xA3\xB0\xA3\xB3\xA1\xA1\xA3\xB0\xA3"
                 "\xB7\xA1\xA1\xA3\xB1\xA3\xB2\xA1\xA1\xA3\xB1\xA3\xB8\xA1\xA1\xA3\xB2\xA3\xB2\xA1\xA1\xA3\xB2\xA3\xB5"
                 "\xA1\xA1\xA3\xB2\xA3\xB9\xA1\xA1\xA3\xB1\xA3\xB1",
                 2013001, kEight},
        LineCase{"full_width_digits_after_a_full_width_blank",
                 "　２０１３００１ ０３ ０７ １２ １８ ２２ ２５ ２９ １１",
                 std::nullopt,
                 {},
                 true},
        LineCase{
            "full_width_one_digit_number", "２０１３００１ ３ ０７ １２ １８ ２２ ２５ ２９ １１", 2013001, {}, true},
        LineCase{"full_width_heading", "２０１３年 历史号码", std::nullopt, {}},
        LineCase{"blank", "", std::nullopt, {}}, LineCase{"heading", "期号 平码 特码", std::nullopt, {}},
        LineCase{"heading_with_a_year", "2013年 历史号码", std::nullopt, {}},
        LineCase{"heading_with_a_date", "更新于 2013-01-05 20:30", std::nullopt, {}},
        LineCase{"one_digit_numbers", "2013001 3 7 12 18 22 25 29 11", 2013001, {}, true},
        LineCase{"negative_number", "2013001 03 07 12 18 22 25 29 -1", 2013001, {}, true},
        LineCase{"three_digit_number", "2013001 03 07 100 18 22 25 29 11", 2013001, {}, true},
        LineCase{"odd_run_after_the_eighth", "2013001 03 07 12 18 22 25 29 11 5", 2013001, {}, true},
        LineCase{"seven_numbers", "2013001 03 07 12 18 22 25 29", 2013001, {}, true},
        LineCase{"issue_alone", "2013001", 2013001, {}, true},
        LineCase{"sequence_000", "2013000 03 07 12 18 22 25 29 11", 2013000, {}, true},
        LineCase{"eight_digit_issue", "20130010 03 07 12 18 22 25 29 11", std::nullopt, {}, true},
        LineCase{"issue_run_into_the_numbers", "20130010307121822252911", std::nullopt, {}, true},
        LineCase{"six_digit_issue", "201301 03 07 12 18 22 25 29 11", std::nullopt, {}, true},
        LineCase{"text_before_the_issue", "第2013001期 03 07 12 18 22 25 29 11", std::nullopt, {}, true},
        LineCase{"eight_numbers_without_issue", "03 07 12 18 22 25 29 11", std::nullopt, {}, true},
        LineCase{"eight_one_digit_numbers_without_issue", "1 2 3 4 5 6 7 8", std::nullopt, {}, true}),
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

TEST(HistoryFile, AcceptsAByteOrderMarkAndAnyLineEnds) {
    const std::vector<DrawInput> expected = {{2013001, {3, 7, 12, 18, 22, 25, 29, 11}},
                                             {2013002, {1, 2, 3, 4, 5, 6, 7, 8}},
                                             {2013003, {9, 10, 11, 12, 13, 14, 15, 16}}};
    // The second kind of line end differs from the first in the mixed files.
    const std::vector<std::pair<std::string, std::string>> lineEnds = {
        {"\r\n", "\r\n"}, {"\n", "\n"}, {"\r", "\r"}, {"\r\n", "\r"}, {"\n", "\r"}};
    for (const auto& [end1, end2] : lineEnds) {
        const auto t = read(
            "\xEF\xBB\xBF"
            "2013001 03 07 12 18 22 25 29 11 " +
            end1 + "标题" + end2 + "2013002 01 02 03 04 05 06 07 08" + end1 + end2 + "2013003 0910111213141516" + end1);
        ASSERT_TRUE(t.ok()) << t.problemSummary();
        EXPECT_EQ(t.draws, expected);
        EXPECT_EQ(t.drawLines, (std::vector<int>{1, 3, 5}));
        EXPECT_EQ(t.skippedLines, 2);
    }
}

// The bytes of a text saved as UTF-16, with or without the byte-order mark.
std::string utf16(std::u16string_view text, bool bigEndian, bool mark) {
    std::string bytes;
    if (mark)
        bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xff);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(HistoryFile, AUtf16FileIsRefusedAsAWholeNotLineByLine) {
    const std::u16string_view heading = u"历史号码（某某网站整理，每行一期：期号和八个号码）\r\n";
    const std::u16string_view lines = u"2013001 03 07 12 18 22 25 29 11\r\n2013002 01 02 03 04 05 06 07 08\r\n";
    for (const bool bigEndian : {false, true})
        for (const bool mark : {false, true}) {
            const auto t = read(utf16(std::u16string(heading) + std::u16string(lines), bigEndian, mark));
            EXPECT_FALSE(t.ok());
            ASSERT_EQ(t.problemCount, 1u) << t.problemSummary();
            EXPECT_EQ(t.problems[0].line, 0);
            EXPECT_EQ(t.problemSummary(),
                      "文件是 UTF-16 编码的，不能读入：请把它另存为 UTF-8 或 GBK 编码的文本文件后再读入。\n");
        }
}

TEST(HistoryFile, ListsEveryLineThatCannotBeADrawAndWhy) {
    const auto t = read(
        "2013001 03 07 12 18 22 25 29 11\n"
        "2013002 01 02 04 05 06 08\n"  // refused, not completed from the line before
        "2013003 01 02 3 04 05 06 08 09\n"
        "20130040 01 02 03 04 05 06 07 08\n"
        "2013005 03 07 12 18 22 25 29 31\n"  // 31 is out of range
        "2013006 03 07 12 18 22 25 29 03\n"  // 3 twice
        "2013006 01 02 03 04 05 06 07 08\n"  // repeated issue
        "2013001 01 02 03 04 05 06 07 08\n"  // falling issue
        "2013009 01 02 03 04 05 06 07 08\n");
    EXPECT_FALSE(t.ok());
    std::vector<std::pair<int, std::string>> problems;
    for (const auto& p : t.problems)
        problems.emplace_back(p.line, p.line <= 4 ? p.reason : "");
    EXPECT_EQ(problems, (std::vector<std::pair<int, std::string>>{{2, "只有 6 个号码，一期要有 8 个"},
                                                                  {3, "号码 “3” 只有一位，号码要写两位（如 03）"},
                                                                  {4, "期号 “20130040” 不是七位数字"},
                                                                  {5, ""},
                                                                  {6, ""},
                                                                  {7, ""},
                                                                  {8, ""}}));
    const std::string summary = t.problemSummary(2);
    EXPECT_NE(summary.find("第 2 行"), std::string::npos);
    EXPECT_NE(summary.find("第 3 行"), std::string::npos);
    EXPECT_EQ(summary.find("第 4 行"), std::string::npos);
    EXPECT_NE(summary.find("共 7 行"), std::string::npos);
}

TEST(HistoryFile, AFileOfBadLinesKeepsTheFirstOnesAndCountsTheRest) {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "12345678 03 07 12 18 22 25 29 11\n";
    const auto t = read(text);
    EXPECT_EQ(t.problems.size(), HistoryText::kProblemsListed);
    EXPECT_EQ(t.problems.back().line, static_cast<int>(HistoryText::kProblemsListed));
    EXPECT_NE(t.problemSummary().find("共 5000 行"), std::string::npos);
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
