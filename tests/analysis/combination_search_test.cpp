#include "brute_force.h"
#include "search_fixture.h"

#include <gtest/gtest.h>

#include <set>

namespace drawfollow {
namespace {

using test::draw;
using test::SearchHistory;

std::vector<int> issues(std::initializer_list<int> sequences) {
    std::vector<int> v;
    for (int s : sequences)
        v.push_back(2020100 + s);
    return v;
}

// Each reference draw shares a known part with the base 1 2 3 4 5 6 7 | 8.
class CombinationSearch : public ::testing::Test {
protected:
    SearchHistory h{{draw(2020101, {1, 12, 13, 14, 15, 16, 17, 18}),   // position 1 only
                     draw(2020102, {11, 12, 13, 14, 15, 16, 17, 18}),  // nothing
                     draw(2020103, {21, 2, 3, 24, 25, 26, 27, 28}),    // positions 2 and 3
                     draw(2020104, {1, 2, 3, 4, 5, 6, 20, 19}),        // positions 1..6
                     draw(2020105, {20, 19, 18, 17, 16, 15, 14, 8}),   // the special number only
                     draw(2020106, {30, 29, 28, 27, 26, 25, 24, 23})},
                    test::settingsFor(2020)};

    SearchInputs base(int size, bool regularOnly, bool free) const {
        SearchInputs in = h.inputs();
        in.values = PositionValues{1, 2, 3, 4, 5, 6, 7, 8};
        in.combinationSize = size;
        in.combinationRegularOnly = regularOnly;
        in.freePositions = free;
        return in;
    }
};

TEST_F(CombinationSearch, SizeOneAcceptsAnySinglePositionOfThePool) {
    EXPECT_EQ(runCombinationSearch(h.db(), base(1, false, false)).hits, issues({2, 4, 5, 6}));
    EXPECT_EQ(runCombinationSearch(h.db(), base(1, true, false)).hits, issues({2, 4, 5}));
}

TEST_F(CombinationSearch, SizeSixOverTheRegularPoolNeedsSixAgreeingPositions) {
    for (bool free : {false, true}) {
        const SearchResult r = runCombinationSearch(h.db(), base(6, true, free));
        EXPECT_EQ(r.hits, issues({5})) << free;
        EXPECT_EQ(r.conditions, 6);
    }
    SearchInputs sixOfSeven = base(6, true, false);
    sixOfSeven.values->at(6) = 30;  // position 7 no longer in the draw: one set of six is left
    EXPECT_EQ(runCombinationSearch(h.db(), sixOfSeven).hits, issues({5}));
    sixOfSeven.values->at(5) = 30;
    EXPECT_EQ(runCombinationSearch(h.db(), sixOfSeven).hits, issues({}));
}

TEST_F(CombinationSearch, RegularPoolStillSearchesTheSpecialNumberWhenItCounts) {
    // The sets never hold position 8, but a base value may be found as the special number.
    SearchInputs in = base(1, true, true);
    in.values = PositionValues{8, 30, 30, 30, 30, 30, 30, 30};
    in.firstIssue = "2020106";
    in.countSpecial = true;
    EXPECT_EQ(runCombinationSearch(h.db(), in).hits, issues({6}));
    in.countSpecial = false;
    EXPECT_EQ(runCombinationSearch(h.db(), in).hits, issues({}));
}

TEST_F(CombinationSearch, AValueWithoutCounterFailsOnlyTheSetsHoldingIt) {
    SearchInputs in = base(2, true, true);
    in.values->at(1) = 99;  // position 2
    const SearchResult r = runCombinationSearch(h.db(), in);
    // 2020103 held base positions 2 and 3: with position 2 unmeetable it no longer counts.
    EXPECT_EQ(r.hits, issues({5}));
    EXPECT_NE(r.message.find("第2位的 99"), std::string::npos) << r.message;
    EXPECT_EQ(r.hits, test::expectedCombinationHits(h.rows(), in));
}

TEST_F(CombinationSearch, ARepeatedNumberInOneSetNeedsItTwiceUnlikeTheFollowSearch) {
    SearchInputs in = base(2, true, true);
    in.values = PositionValues{2, 2, 30, 30, 30, 30, 30, 30};
    EXPECT_EQ(runCombinationSearch(h.db(), in).hits, issues({}));
    in.ticked = {true, true};
    EXPECT_EQ(runFollowSearch(h.db(), in).hits, issues({4, 5}));
}

TEST_F(CombinationSearch, ASizeOutsideOneToSixSelectsNothing) {
    for (int size : {0, 7, -1}) {
        const SearchResult r = runCombinationSearch(h.db(), base(size, false, true));
        ASSERT_TRUE(r.ran);
        EXPECT_TRUE(r.hits.empty());
        EXPECT_EQ(r.detail.size(), 1u);
        EXPECT_EQ(r.tally.size(), 31u);
        EXPECT_EQ(r.tally[1][2].text(), "0");
        EXPECT_NE(r.message.find("组合位数"), std::string::npos);
    }
}

TEST_F(CombinationSearch, AFullPoolSetEqualsTheFollowSearchWithThosePositionsTicked) {
    // k = 6 over 平码 sets {1..6}, {1..5,7}, …: each is a follow search with six ticks.
    SearchHistory seeded(test::seededDraws(80, 9, 2020101), test::settingsFor(2020));
    for (Kind kind : {Kind::Head, Kind::Tail, Kind::Zodiac})
        for (bool free : {true, false}) {
            SearchInputs in = seeded.inputs();
            in.searchKind = kind;
            in.freePositions = free;
            in.combinationSize = 6;
            in.combinationRegularOnly = true;
            in.values = PositionValues{};
            for (int p = 0; p < kPositions; ++p)
                in.values->at(p) = seeded.rows()[40].own[index(kind)][p];
            std::set<int> union_;
            for (int left = 0; left < kRegularPositions; ++left) {
                SearchInputs follow = in;
                for (int p = 0; p < kRegularPositions; ++p)
                    follow.ticked[p] = p != left;
                for (int hit : runFollowSearch(seeded.db(), follow).hits)
                    union_.insert(hit);
            }
            EXPECT_EQ(runCombinationSearch(seeded.db(), in).hits, std::vector<int>(union_.begin(), union_.end()))
                << index(kind) << free;
        }
}

}  // namespace
}  // namespace drawfollow
