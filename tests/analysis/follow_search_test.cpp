#include "search_fixture.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::draw;
using test::SearchHistory;
using test::tick;

// Issue 101 of 2020 lies after the Spring Festival, in zodiac year 2020; with the code
// table built for 2020 in age mode number n has zodiac code (n − 1) % 12 + 1: 5, 17 and 29
// share code 5.
DerivationSettings settings2020() {
    return test::settingsFor(2020);
}

std::vector<int> issues(std::initializer_list<int> sequences) {
    std::vector<int> v;
    for (int s : sequences)
        v.push_back(2020100 + s);
    return v;
}

TEST(FollowSearch, WorkedExampleFixedPreviousIssueNumberTalliedByTail) {
    SearchHistory h({draw(2020101, {7, 1, 2, 3, 4, 5, 6, 8}), draw(2020102, {11, 12, 13, 14, 15, 16, 17, 18}),
                     draw(2020103, {7, 20, 21, 22, 23, 24, 25, 26}), draw(2020104, {1, 2, 3, 30, 29, 28, 27, 9}),
                     draw(2020105, {17, 7, 9, 10, 19, 20, 21, 22}), draw(2020106, {3, 4, 5, 6, 8, 9, 10, 11})},
                    settings2020());
    SearchInputs in = h.inputs();
    in.freePositions = false;
    in.values = PositionValues{7, 0, 0, 0, 0, 0, 0, 0};
    tick(in, {1});
    in.resultKind = Kind::Tail;
    in.scope = TallyScope::Regular;
    in.firstIssue = "2020102";

    const SearchResult r = runFollowSearch(h.db(), in);
    ASSERT_TRUE(r.ran) << r.message;
    EXPECT_EQ(r.conditions, 1);
    EXPECT_EQ(r.hits, issues({2, 4}));
    const TextGrid detail = {detailHeader(true),
                             {"2020102", "1", "2", "3", "4", "5", "6", "7", "8", "07 01 02 03 04 05 06 08 "},
                             {"2020104", "1", "2", "3", "0", "9", "8", "7", "9", "07 20 21 22 23 24 25 26 "}};
    EXPECT_EQ(test::shownTexts(r.detail), detail);
    // Fourteen tails; the four values seen twice first, then the rest, each in ascending order.
    const TextGrid tally = {tallyHeader(),
                            {"1", "1", "2", "14.286%"},
                            {"2", "2", "2", "14.286%"},
                            {"3", "3", "2", "14.286%"},
                            {"4", "7", "2", "14.286%"},
                            {"5", "0", "1", "7.143%"},
                            {"6", "4", "1", "7.143%"},
                            {"7", "5", "1", "7.143%"},
                            {"8", "6", "1", "7.143%"},
                            {"9", "8", "1", "7.143%"},
                            {"10", "9", "1", "7.143%"}};
    EXPECT_EQ(test::shownTexts(r.tally), tally);

    in.freePositions = true;  // 7 anywhere in the draw before
    EXPECT_EQ(runFollowSearch(h.db(), in).hits, issues({2, 4, 6}));
}

// Zodiac 5 twice among the regular numbers, once plus the special number, once only.
class RepeatedZodiac : public ::testing::Test {
protected:
    SearchHistory h{{draw(2020101, {5, 17, 1, 2, 3, 4, 6, 7}), draw(2020102, {5, 1, 2, 3, 4, 6, 7, 29}),
                     draw(2020103, {5, 8, 9, 10, 11, 12, 13, 14}), draw(2020104, {1, 2, 3, 4, 6, 7, 8, 9}),
                     draw(2020105, {10, 11, 12, 13, 14, 15, 16, 18})},
                    settings2020()};
};

TEST_F(RepeatedZodiac, TwoTickedPositionsWithOneZodiacNeedItTwice) {
    SearchInputs in = h.inputs();
    in.searchKind = Kind::Zodiac;
    in.values = PositionValues{5, 5, 1, 2, 3, 4, 6, 7};
    tick(in, {1, 2});
    EXPECT_EQ(runFollowSearch(h.db(), in).hits, issues({2, 3}));
    in.countSpecial = false;
    EXPECT_EQ(runFollowSearch(h.db(), in).hits, issues({2}));
}

TEST_F(RepeatedZodiac, NumbersCarryNoOrdinalSoOneOccurrenceMeetsTwoTicks) {
    SearchInputs in = h.inputs();
    in.values = PositionValues{29, 29, 0, 0, 0, 0, 0, 0};
    tick(in, {1, 2});
    EXPECT_EQ(runFollowSearch(h.db(), in).hits, issues({3}));
    in.countSpecial = false;  // 29 was only the special number
    EXPECT_EQ(runFollowSearch(h.db(), in).hits, issues({}));
}

TEST_F(RepeatedZodiac, NoTickedPositionMakesEveryDrawOfTheRangeAHit) {
    for (bool free : {true, false})
        for (bool previous : {true, false}) {
            SearchInputs in = h.inputs();
            in.freePositions = free;
            in.previousIssue = previous;
            in.firstIssue = "2020102";
            const SearchResult r = runFollowSearch(h.db(), in);
            EXPECT_EQ(r.conditions, 0);
            EXPECT_EQ(r.hits, issues({2, 3, 4, 5})) << free << previous;
        }
}

TEST_F(RepeatedZodiac, ABaseValueWithoutCounterIsNeverMetAndSaysSo) {
    SearchInputs in = h.inputs();
    in.searchKind = Kind::Zodiac;
    in.values = PositionValues{5, 13, 0, 0, 0, 0, 0, 0};
    in.resultKind = Kind::Zodiac;
    tick(in, {1, 2});
    for (bool free : {true, false}) {
        in.freePositions = free;
        const SearchResult r = runFollowSearch(h.db(), in);
        ASSERT_TRUE(r.ran);
        EXPECT_TRUE(r.hits.empty());
        EXPECT_NE(r.message.find("第2位的 13"), std::string::npos) << r.message;
        EXPECT_EQ(r.tally.size(), 13u);  // every zodiac listed with count 0
        EXPECT_EQ(r.tally[1][3].text(), "");
    }
}

TEST(FollowSearch, SegmentOneAlsoMatchesTheTokenOfSegmentTen) {
    // Segments 1..10 are written without leading zeros: "1X1" is found inside "1X10".
    SearchHistory h({draw(2020101, {28, 4, 7, 10, 13, 16, 19, 22}), draw(2020102, {5, 6, 8, 9, 11, 12, 14, 15})},
                    settings2020());
    SearchInputs in = h.inputs();
    in.searchKind = Kind::Segment;
    in.values = PositionValues{1, 0, 0, 0, 0, 0, 0, 0};
    tick(in, {1});
    EXPECT_EQ(runFollowSearch(h.db(), in).hits, issues({2}));
}

class SeededHistory : public ::testing::Test {
protected:
    SearchHistory h{test::seededDraws(60, 5, 2020101), settings2020()};
};

TEST_F(SeededHistory, GapOneEqualsPreviousIssue) {
    for (Kind kind : kAllKinds)
        for (bool free : {true, false}) {
            SearchInputs in = h.inputs();
            in.searchKind = kind;
            in.freePositions = free;
            in.values = PositionValues{};
            for (int p = 0; p < kPositions; ++p)
                in.values->at(p) = h.rows()[30].own[index(kind)][p];
            tick(in, {2, 5, 8});
            const SearchResult previous = runFollowSearch(h.db(), in);
            in.previousIssue = false;
            in.gap = 1;
            const SearchResult gapOne = runFollowSearch(h.db(), in);
            EXPECT_EQ(gapOne.hits, previous.hits) << index(kind) << free;
            EXPECT_FALSE(previous.hits.empty());
            for (size_t i = 1; i < previous.detail.size(); ++i)  // same draws, only the header differs
                EXPECT_EQ(gapOne.detail[i], previous.detail[i]);
        }
}

TEST_F(SeededHistory, FixedGapThreeComparesRowThreeWithRowZeroAndTheFirstThreeWithZero) {
    SearchInputs in = h.inputs();
    in.freePositions = false;
    in.previousIssue = false;
    in.gap = 3;
    in.searchKind = Kind::Head;
    in.values = PositionValues{h.rows()[0].own[index(Kind::Head)][0], 0, 0, 0, 0, 0, 0, 0};
    tick(in, {1});
    const SearchResult r = runFollowSearch(h.db(), in);
    const auto& rows = h.rows();
    for (size_t i = 0; i < 4; ++i) {
        const bool expected = i < 3 ? in.values->at(0) == 0 : true;
        const bool hit = std::count(r.hits.begin(), r.hits.end(), rows[i].issue) == 1;
        EXPECT_EQ(hit, expected) << "row " << i;
    }
    const auto stored = test::everyRow(h.db());
    EXPECT_EQ(stored[2].back[index(Kind::Head)][0], 0);
    EXPECT_EQ(stored[3].back[index(Kind::Head)][0], rows[0].own[index(Kind::Head)][0]);
}

TEST_F(SeededHistory, FixedBackSearchWithoutTicksStillListsTheDrawNIssuesBack) {
    SearchInputs in = h.inputs();
    in.previousIssue = false;
    in.gap = 2;
    runFollowSearch(h.db(), in);  // leaves the lists of the draw two back

    in.freePositions = false;
    in.gap = 3;
    const SearchResult r = runFollowSearch(h.db(), in);
    ASSERT_EQ(r.detail.size(), h.rows().size() + 1);
    EXPECT_EQ(r.detail[0][9].text(), "前期开奖");
    for (size_t i = 0; i < h.rows().size(); ++i)
        EXPECT_EQ(r.detail[i + 1][9].text(), i >= 3 ? listsOf(h.rows()[i - 3].own).plain : "") << "row " << i;
}

TEST_F(SeededHistory, FirstIssueAfterLastSelectsNothingAndTalliesZeros) {
    SearchInputs in = h.inputs();
    std::swap(in.firstIssue, in.lastIssue);
    const SearchResult r = runFollowSearch(h.db(), in);
    ASSERT_TRUE(r.ran);
    EXPECT_TRUE(r.hits.empty());
    EXPECT_EQ(test::shownTexts(r.detail), TextGrid{detailHeader(true)});
    ASSERT_EQ(r.tally.size(), 31u);
    for (size_t i = 1; i < r.tally.size(); ++i) {
        EXPECT_EQ(r.tally[i][1].text(), std::to_string(i));  // all 0: ascending numbers
        EXPECT_EQ(r.tally[i][2].text(), "0");
        EXPECT_EQ(r.tally[i][3].text(), "");
    }
}

struct Refusal {
    const char* name;
    void (*spoil)(SearchInputs&);
    const char* says;
};

class RefusedPanel : public SeededHistory, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedPanel, EndsWithEmptyGridsAMessageAndAnUntouchedTable) {
    SearchInputs in = h.inputs();
    in.previousIssue = false;
    tick(in, {1, 2});
    GetParam().spoil(in);
    const auto before = test::tableDump(h.db());
    for (const SearchResult& r : {runFollowSearch(h.db(), in), runCombinationSearch(h.db(), in)}) {
        EXPECT_FALSE(r.ran);
        EXPECT_NE(r.message.find(GetParam().says), std::string::npos) << r.message;
        EXPECT_EQ(test::shownTexts(r.detail), TextGrid{detailHeader(false)});
        EXPECT_EQ(test::shownTexts(r.tally), TextGrid{tallyHeader()});
        EXPECT_TRUE(r.hits.empty());
    }
    EXPECT_EQ(test::firstDifference(test::tableDump(h.db()), before), "");
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RefusedPanel,
    ::testing::Values(Refusal{"FirstIssueNotANumber", [](SearchInputs& in) { in.firstIssue = "2020O01"; }, "起始期号"},
                      Refusal{"LastIssueEmpty", [](SearchInputs& in) { in.lastIssue = " "; }, "截止期号"},
                      Refusal{"GapZero", [](SearchInputs& in) { in.gap = 0; }, "前期间隔 0"},
                      Refusal{"GapTen", [](SearchInputs& in) { in.gap = 10; }, "前期间隔 10"},
                      Refusal{"NoBaseDraw", [](SearchInputs& in) { in.values.reset(); }, "没有基准号码"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeededHistory, GapZeroDoesNotMatterInPreviousIssueMode) {
    SearchInputs in = h.inputs();
    in.gap = 0;
    EXPECT_TRUE(runFollowSearch(h.db(), in).ran);
}

}  // namespace
}  // namespace drawfollow
