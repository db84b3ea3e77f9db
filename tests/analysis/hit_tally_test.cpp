#include "search_fixture.h"

#include <SQLiteCpp/Statement.h>

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::draw;
using test::SearchHistory;

struct PercentCase {
    long long count, total;
    const char* text;
};

class PercentText : public ::testing::TestWithParam<PercentCase> {};

TEST_P(PercentText, ThreeDecimalsWithHalvesAwayFromZero) {
    EXPECT_EQ(percentText(GetParam().count, GetParam().total), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, PercentText,
                         ::testing::Values(PercentCase{1, 64, "1.563%"}, PercentCase{3, 64, "4.688%"},
                                           PercentCase{12, 35, "34.286%"}, PercentCase{1, 16, "6.250%"},
                                           PercentCase{1, 3, "33.333%"}, PercentCase{2, 3, "66.667%"},
                                           PercentCase{0, 7, "0.000%"}, PercentCase{7, 7, "100.000%"},
                                           PercentCase{1, 200000, "0.001%"}, PercentCase{1, 400000, "0.000%"},
                                           PercentCase{5, 0, ""}, PercentCase{0, 0, ""}));

TEST(ReadIssueBox, TakesWholeNumbersWithBlanksAroundOnly) {
    EXPECT_EQ(readIssueBox("2013001"), 2013001);
    EXPECT_EQ(readIssueBox(" 2013001\t"), 2013001);
    EXPECT_EQ(readIssueBox("+7"), 7);
    EXPECT_EQ(readIssueBox("-7"), -7);
    for (const char* bad : {"", "  ", "2013 001", "2013001x", "x", "20130012345678901", "1e6", "2013001.0"})
        EXPECT_EQ(readIssueBox(bad), std::nullopt) << bad;
}

// Two draws of zodiac year 2020 (zodiac code of n is (n − 1) % 12 + 1, segment (n − 1) / 3 + 1).
class HitTally : public ::testing::Test {
protected:
    SearchHistory h{{draw(2020101, {1, 2, 3, 4, 5, 6, 7, 8}), draw(2020102, {13, 14, 28, 29, 30, 9, 10, 25})},
                    test::settingsFor(2020)};

    SearchResult everyDraw(Kind result, TallyScope scope) {
        SearchInputs in = h.inputs();
        in.resultKind = result;
        in.scope = scope;
        return runFollowSearch(h.db(), in);  // nothing ticked: both draws
    }

    std::vector<std::pair<int, int>> carcu() {
        SQLite::Statement q(h.db().connection(), "SELECT Nmb, Count FROM Carcu ORDER BY rowid");
        std::vector<std::pair<int, int>> rows;
        while (q.executeStep())
            rows.emplace_back(q.getColumn(0).getInt(), q.getColumn(1).getInt());
        return rows;
    }
};

TEST_F(HitTally, SpecialScopeWithOneDrawGivesAHundredPercentToItsValue) {
    SearchInputs in = h.inputs();
    in.scope = TallyScope::Special;
    in.firstIssue = "2020102";
    const SearchResult r = runFollowSearch(h.db(), in);
    ASSERT_EQ(r.tally.size(), 31u);
    EXPECT_EQ(cellTexts(r.tally[1]), (std::vector<std::string>{"1", "25", "1", "100.000%"}));
    EXPECT_EQ(cellTexts(r.tally[2]), (std::vector<std::string>{"2", "1", "0", "0.000%"}));
    EXPECT_EQ(cellTexts(r.tally[30]), (std::vector<std::string>{"30", "30", "0", "0.000%"}));
}

TEST_F(HitTally, AllEightPositionsOfTwoDrawsCountSixteenthsEach) {
    const SearchResult r = everyDraw(Kind::Number, TallyScope::All);
    EXPECT_EQ(test::tallyCount(r.tally, "13"), 1);
    for (size_t i = 1; i <= 16; ++i)
        EXPECT_EQ(r.tally[i][3].text(), "6.250%");
    EXPECT_EQ(r.tally[17][3].text(), "0.000%");
}

TEST_F(HitTally, ZodiacResultsAreNamedByTheCodeTableAndCarcuHoldsTheTwelveCodes) {
    const SearchResult r = everyDraw(Kind::Zodiac, TallyScope::All);
    // 2020 is a year of the rat: code 1 is the rat, code 2 the pig, code 3 the dog.
    EXPECT_EQ(r.detail[1][1].text(), "鼠");
    EXPECT_EQ(r.detail[1][2].text(), "猪");
    EXPECT_EQ(r.detail[1][3].text(), "狗");
    EXPECT_EQ(r.detail[2][1].text(), "鼠");  // 13
    ASSERT_EQ(r.tally.size(), 13u);
    EXPECT_EQ(cellTexts(r.tally[1]), (std::vector<std::string>{"1", "鼠", "3", "18.750%"}));  // 1, 13, 25
    const auto rows = carcu();
    ASSERT_EQ(rows.size(), 12u);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(rows[k].first, k + 1);
}

TEST_F(HitTally, SegmentsAreListedFromTheirOffsetAndTiesStayInValueOrder) {
    const SearchResult r = everyDraw(Kind::Segment, TallyScope::Regular);
    const auto rows = carcu();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.front().first, 1);
    EXPECT_EQ(rows.back().first, 10);
    // Regular segments: 1 1 1 2 2 2 3 | 5 5 10 10 10 3 4.
    const TextGrid expected = {tallyHeader(),
                               {"1", "1", "3", "21.429%"},
                               {"2", "2", "3", "21.429%"},
                               {"3", "10", "3", "21.429%"},
                               {"4", "3", "2", "14.286%"},
                               {"5", "5", "2", "14.286%"},
                               {"6", "4", "1", "7.143%"},
                               {"7", "6", "0", "0.000%"},
                               {"8", "7", "0", "0.000%"},
                               {"9", "8", "0", "0.000%"},
                               {"10", "9", "0", "0.000%"}};
    EXPECT_EQ(test::shownTexts(r.tally), expected);
}

TEST_F(HitTally, DetailLinesHoldTheIssueTheEightValuesAndTheReferenceList) {
    const SearchResult r = everyDraw(Kind::DigitSum, TallyScope::All);
    const TextGrid expected = {detailHeader(true),
                               {"2020101", "1", "2", "3", "4", "5", "6", "7", "8", ""},
                               {"2020102", "4", "5", "10", "11", "3", "9", "1", "7", "01 02 03 04 05 06 07 08 "}};
    EXPECT_EQ(test::shownTexts(r.detail), expected);
    EXPECT_EQ(r.hits, (std::vector<int>{2020101, 2020102}));
    EXPECT_EQ(detailHeader(false).back(), "前期开奖");
    EXPECT_EQ(detailHeader(true).size(), static_cast<size_t>(kDetailColumns));
}

// The lines are made when read, from the history the search answered on: a history
// emptied since, and the snapshot the search read gone with it, change none of them.
TEST_F(HitTally, DetailLinesAreMadeFromTheHistoryTheSearchRead) {
    const SearchResult r = everyDraw(Kind::Zodiac, TallyScope::All);
    const TextGrid shown = test::shownTexts(r.detail);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2][1], "鼠");  // 13
    h.db().deleteAll();
    EXPECT_EQ(test::shownTexts(r.detail), shown);
    const SearchResult copy = r;
    EXPECT_EQ(cellTexts(copy.detail.row(2)), shown[2]);
    EXPECT_EQ(test::shownTexts(everyDraw(Kind::Zodiac, TallyScope::All).detail), TextGrid{detailHeader(true)});
}

}  // namespace
}  // namespace drawfollow
