// The walk-forward backtest: sums checked by hand, a planted pattern it must find, a random
// history it must not be fooled by, and a database it must leave as it found it.
#include "analysis/backtest.h"
#include "analysis/range_moments.h"

#include "search_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

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
// its special 9, which 105 draws. Specials 9 8 9 over the range: μ = 2/3, σ² = 2/9.
// 106: base 105 (1); 102 and 104 follow draws holding 1, both with special 9; 106 draws 30.
// Specials 9 8 9 9: μ = 3/4, σ² = 3/16.
TEST_F(HandComputedBacktest, TwoTargetsSummedByHand) {
    const BacktestResult r = Backtest(h.db(), specialNumberPanel(h)).run({2, 1});
    ASSERT_EQ(r.targets.size(), 2u);
    const BacktestTarget& t105 = r.targets[0];
    EXPECT_EQ(t105.issue, 2020105);
    EXPECT_EQ(t105.base, 2020104);
    EXPECT_EQ(t105.hits, 1);
    EXPECT_EQ(t105.top, std::vector<int>{9});
    EXPECT_EQ(t105.hit, 1);
    EXPECT_DOUBLE_EQ(t105.expected, 2.0 / 3);
    EXPECT_DOUBLE_EQ(t105.variance, 2.0 / 9);
    const BacktestTarget& t106 = r.targets[1];
    EXPECT_EQ(t106.base, 2020105);
    EXPECT_EQ(t106.hits, 2);
    EXPECT_EQ(t106.hit, 0);
    EXPECT_DOUBLE_EQ(t106.expected, 3.0 / 4);
    EXPECT_DOUBLE_EQ(t106.variance, 3.0 / 16);

    EXPECT_EQ(r.observed, 1);
    EXPECT_DOUBLE_EQ(r.expected, 17.0 / 12);
    EXPECT_DOUBLE_EQ(r.variance, 59.0 / 144);
    EXPECT_DOUBLE_EQ(r.z.value(), -5 / std::sqrt(59.0));
    EXPECT_DOUBLE_EQ(r.p.value(), 0.5 * std::erfc(-5 / std::sqrt(59.0) / std::sqrt(2.0)));
    EXPECT_EQ(r.skipped, 0);
    EXPECT_FALSE(r.cancelled);
}

// 101 has no draw before it; 102's range ends before it starts; 103's base (11) was never
// followed in 102..102. 104: base 103 (1), hit 102, top 9, drawn; specials 9 8: μ = 1/2, σ² = 1/4.
TEST_F(HandComputedBacktest, EarlyTargetsAreSkippedAndCounted) {
    const BacktestResult r = Backtest(h.db(), specialNumberPanel(h)).run({100, 1});
    ASSERT_EQ(r.targets.size(), 3u);
    EXPECT_EQ(r.targets[0].issue, 2020104);
    EXPECT_EQ(r.withoutBase, 1);
    EXPECT_EQ(r.skipped, 2);
    EXPECT_EQ(r.observed, 2);
    EXPECT_DOUBLE_EQ(r.expected, 23.0 / 12);
    EXPECT_DOUBLE_EQ(r.variance, 95.0 / 144);
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

TEST(BacktestTarget, TopLineJoinsTheTextsWithSingleSpaces) {
    BacktestTarget t;
    EXPECT_EQ(t.topLine(), "");
    t.topTexts = {"蛇", "10", "0"};
    EXPECT_EQ(t.topLine(), "蛇 10 0");
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

// The incremental sums against y(r) summed directly.
TEST(RangeMoments, GiveTheMeanAndVarianceOfAnySetsSum) {
    std::mt19937 rng(3);
    RangeMoments moments(6);
    std::vector<std::array<long long, 6>> rows;
    for (int r = 0; r < 40; ++r) {
        std::array<long long, 6> x{};
        for (auto& v : x)
            v = std::uniform_int_distribution<int>(0, 2)(rng) * (rng() % 3 == 0);
        rows.push_back(x);
        moments.add(x);
    }
    for (const std::vector<int>& set : {std::vector<int>{0}, {1, 4}, {0, 2, 3, 5}}) {
        double sum = 0, squares = 0;
        for (const auto& x : rows) {
            double y = 0;
            for (int v : set)
                y += static_cast<double>(x[v]);
            sum += y;
            squares += y * y;
        }
        const double mean = sum / 40;
        EXPECT_DOUBLE_EQ(moments.mean(set), mean);
        EXPECT_NEAR(moments.variance(set), squares / 40 - mean * mean, 1e-12);
    }
}

}  // namespace
}  // namespace drawfollow
