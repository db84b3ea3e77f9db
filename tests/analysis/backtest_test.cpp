// The walk-forward backtest: sums checked by hand, a planted pattern it must find, random
// histories on which its z must behave as chance says, and a database it must leave as it
// found it.
#include "analysis/backtest.h"

#include "search_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace drawfollow {
namespace {

using test::draw;
using test::SearchHistory;

// The follow search on position 1 of the base, numbers tallied at the special number.
SearchPanel specialNumberPanel(const SearchHistory& h) {
    SearchPanel panel;
    panel.options.codes = h.settings().codes;
    panel.options.resultKind = Kind::Number;
    panel.options.scope = TallyScope::Special;
    panel.options.ticked[0] = true;
    return panel;
}

// Six draws of 2020. Specials: 8 9 8 9 9 30. The range starts at 2020102 (first + 1).
class HandComputedBacktest : public ::testing::Test {
protected:
    SearchHistory h{{draw(2020101, {1, 2, 3, 4, 5, 6, 7, 8}), draw(2020102, {11, 12, 13, 14, 15, 16, 17, 9}),
                     draw(2020103, {1, 21, 22, 23, 24, 25, 26, 8}), draw(2020104, {2, 3, 4, 5, 6, 7, 10, 9}),
                     draw(2020105, {1, 12, 13, 14, 15, 16, 17, 9}), draw(2020106, {18, 19, 20, 21, 22, 23, 24, 30})},
                    test::settingsFor(2020)};
};

// 105: base 104 (2 at position 1); of 102..104 only 102 follows a draw holding 2: top 1 is
// its special 9, which 105 draws. 106: base 105 (1); 102 and 104 follow draws holding 1, both
// with special 9; 106 draws 30. One number of 30 at the special position: μ = 1/30,
// σ² = (1/30)·(29/30).
TEST_F(HandComputedBacktest, TwoTargetsSummedByHand) {
    const BacktestResult r = Backtest(h.db(), specialNumberPanel(h)).run({2, 1});
    ASSERT_EQ(r.targets.size(), 2u);
    const BacktestTarget& t105 = r.targets[0];
    EXPECT_EQ(t105.issue, 2020105);
    EXPECT_EQ(t105.base, 2020104);
    EXPECT_EQ(t105.hits, 1);
    EXPECT_EQ(t105.chosen, std::vector<int>{9});
    EXPECT_EQ(t105.hit, 1);
    EXPECT_DOUBLE_EQ(t105.expected, 1.0 / 30);
    EXPECT_DOUBLE_EQ(t105.variance, 29.0 / 900);
    const BacktestTarget& t106 = r.targets[1];
    EXPECT_EQ(t106.base, 2020105);
    EXPECT_EQ(t106.hits, 2);
    EXPECT_EQ(t106.hit, 0);
    EXPECT_DOUBLE_EQ(t106.expected, 1.0 / 30);

    EXPECT_EQ(r.observed, 1);
    EXPECT_DOUBLE_EQ(r.expected, 2.0 / 30);
    EXPECT_DOUBLE_EQ(r.variance, 58.0 / 900);
    EXPECT_DOUBLE_EQ(r.z.value(), 28 / std::sqrt(58.0));
    EXPECT_NEAR(r.p.value(), 0.5 * std::erfc(28 / std::sqrt(58.0) / std::sqrt(2.0)), 1e-15);
    EXPECT_EQ(r.skipped, 0);
    EXPECT_FALSE(r.cancelled);
}

// 杀号 on the same targets: the tally of 105 lists every number, 9 first; its last value is
// 30 (ties in ascending order), which 105 does not draw but 106 does.
TEST_F(HandComputedBacktest, ExcludeChoosesTheTallysLastValues) {
    const BacktestResult r = Backtest(h.db(), specialNumberPanel(h)).run({2, 1, PickMode::Exclude});
    ASSERT_EQ(r.targets.size(), 2u);
    EXPECT_EQ(r.mode, PickMode::Exclude);
    EXPECT_EQ(r.targets[0].chosen, std::vector<int>{30});
    EXPECT_EQ(r.targets[0].hit, 0);
    EXPECT_EQ(r.targets[1].hit, 1);
    EXPECT_DOUBLE_EQ(r.z.value(), 28 / std::sqrt(58.0));
    // More hits than chance is the wrong way for an exclusion: p is the lower tail.
    EXPECT_DOUBLE_EQ(r.p.value(), 0.5 * std::erfc(-28 / std::sqrt(58.0) / std::sqrt(2.0)));
    EXPECT_NE(r.verdict.find("杀号不比随机更好"), std::string::npos) << r.verdict;
}

// 101 has no draw before it; 102's range ends before it starts; 103's base (11) was never
// followed in 102..102. 104: base 103 (1), hit 102, top 9, drawn.
TEST_F(HandComputedBacktest, EarlyTargetsAreSkippedAndCounted) {
    const BacktestResult r = Backtest(h.db(), specialNumberPanel(h)).run({100, 1});
    ASSERT_EQ(r.targets.size(), 3u);
    EXPECT_EQ(r.targets[0].issue, 2020104);
    EXPECT_EQ(r.withoutBase, 1);
    EXPECT_EQ(r.skipped, 2);
    EXPECT_EQ(r.observed, 2);
    EXPECT_DOUBLE_EQ(r.expected, 3.0 / 30);
    EXPECT_DOUBLE_EQ(r.variance, 87.0 / 900);
    EXPECT_NE(r.verdict.find("结论不可靠"), std::string::npos) << r.verdict;
}

TEST_F(HandComputedBacktest, ProgressReportsEachTargetAndCancelStops) {
    std::vector<size_t> done;
    const BacktestResult r = Backtest(h.db(), specialNumberPanel(h)).run({5, 1}, [&done](size_t d, size_t total) {
        EXPECT_EQ(total, 5u);
        done.push_back(d);
        return d < 3;
    });
    EXPECT_EQ(done, (std::vector<size_t>{1, 2, 3}));
    EXPECT_TRUE(r.cancelled);
}

TEST_F(HandComputedBacktest, RefusesWhatTheSearchWouldRefuse) {
    SearchPanel panel = specialNumberPanel(h);
    panel.firstIssue = "20x0101";
    EXPECT_THROW(Backtest(h.db(), panel), StoreError);
    panel = specialNumberPanel(h);
    panel.options.previousIssue = false;
    panel.options.gap = 0;
    EXPECT_THROW(Backtest(h.db(), panel), StoreError);
    EXPECT_THROW(Backtest(h.db(), specialNumberPanel(h)).run({0, 5}), StoreError);
}

TEST(BacktestTarget, ChosenLineJoinsTheTextsWithSingleSpaces) {
    BacktestTarget t;
    EXPECT_EQ(t.chosenLine(), "");
    t.chosenTexts = {"蛇", "10", "0"};
    EXPECT_EQ(t.chosenLine(), "蛇 10 0");
}

TEST(ChosenValues, AreTheFirstOrTheLastOfTheTallyInItsOrder) {
    const std::vector<TallyRow> tally = {{4, 9}, {1, 7}, {2, 7}, {3, 0}};
    EXPECT_EQ(chosenValues(tally, 2, PickMode::Top), (std::vector<int>{4, 1}));
    EXPECT_EQ(chosenValues(tally, 2, PickMode::Exclude), (std::vector<int>{2, 3}));
    EXPECT_EQ(chosenValues(tally, 9, PickMode::Exclude), (std::vector<int>{4, 1, 2, 3}));
}

// Random draws where a draw holding a at position 1 is always followed by one holding a + 1.
std::vector<DrawInput> plantedDraws(int count, uint32_t seed) {
    std::vector<DrawInput> draws = test::seededDraws(count, seed);
    for (size_t i = 1; i < draws.size(); ++i) {
        const int16_t follower = static_cast<int16_t>(draws[i - 1].numbers[0] % 30 + 1);
        Numbers& n = draws[i].numbers;
        if (std::find(n.begin(), n.end(), follower) == n.end())
            n[kPositions - 1] = follower;
    }
    return draws;
}

SearchPanel fixedPositionOnePanel(const SearchHistory& h) {
    SearchPanel panel;
    panel.options.codes = h.settings().codes;
    panel.options.freePositions = false;
    panel.options.ticked[0] = true;
    return panel;
}

TEST(Backtest, FindsAValueThatAlwaysFollowsAnother) {
    SearchHistory h(plantedDraws(700, 5), test::settingsFor(2013));
    const BacktestResult r = Backtest(h.db(), fixedPositionOnePanel(h)).run({100, 1});
    EXPECT_EQ(r.targets.size(), 100u);
    EXPECT_LT(r.p.value(), 1e-6) << r.verdict;
    EXPECT_NE(r.verdict.find("显著好于随机抽取"), std::string::npos) << r.verdict;
}

TEST(Backtest, IsNotFooledByARandomHistory) {
    SearchHistory h(test::seededDraws(700, 5), test::settingsFor(2013));
    for (const int top : {1, 5}) {
        const BacktestResult r = Backtest(h.db(), fixedPositionOnePanel(h)).run({100, top});
        EXPECT_GT(r.targets.size(), 90u);
        EXPECT_GT(r.p.value(), 0.001) << r.verdict;
        EXPECT_LT(r.p.value(), 0.999) << r.verdict;
    }
}

TEST(Backtest, LeavesTheDatabaseFileByteForByte) {
    SearchHistory h(test::seededDraws(300, 9), test::settingsFor(2013));
    SearchInputs in = h.inputs();
    test::tick(in, {1, 2});
    ASSERT_TRUE(runFollowSearch(h.db(), in).ran);  // scratch fields and Carcu hold something
    const std::string before = test::readFile(h.db().path());
    SearchPanel panel = fixedPositionOnePanel(h);
    panel.options.previousIssue = false;
    panel.options.gap = 3;
    Backtest(h.db(), panel).run({50, 5});
    panel.combination = true;
    panel.options.freePositions = true;
    panel.options.combinationSize = 3;
    Backtest(h.db(), panel).run({50, 5});
    EXPECT_TRUE(test::readFile(h.db().path()) == before);
}

}  // namespace
}  // namespace drawfollow
