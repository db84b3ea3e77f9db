#include "analysis/chance_baseline.h"

#include "search_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <span>

namespace drawfollow {
namespace {

using test::draw;
using test::SearchHistory;

// Six draws of 2020; the follow search on number 1 in the previous draw hits 102, 104 and 106.
// Specials: 8 9 8 9 9 30.  Regular tails of 1 per draw: 1 1 2 0 1 1.
class HandComputed : public ::testing::Test {
protected:
    SearchHistory h{{draw(2020101, {1, 2, 3, 4, 5, 6, 7, 8}), draw(2020102, {11, 12, 13, 14, 15, 16, 17, 9}),
                     draw(2020103, {1, 21, 22, 23, 24, 25, 26, 8}), draw(2020104, {2, 3, 4, 5, 6, 7, 10, 9}),
                     draw(2020105, {1, 12, 13, 14, 15, 16, 17, 9}), draw(2020106, {18, 19, 20, 21, 22, 23, 24, 30})},
                    test::settingsFor(2020)};

    ChanceBaseline baseline(Kind result, TallyScope scope) {
        SearchInputs in = h.inputs();
        test::tick(in, {1});
        in.values->at(0) = 1;
        in.resultKind = result;
        in.scope = scope;
        const SearchResult r = runFollowSearch(h.db(), in);
        EXPECT_EQ(r.hits, (std::vector<int>{2020102, 2020104, 2020106}));
        return chanceOf(h.db(), in, r);
    }

    static const ValueChance& valueOf(const ChanceBaseline& b, int value) {
        return *std::find_if(b.values.begin(), b.values.end(), [value](const auto& v) { return v.value == value; });
    }

    // e and V worked out by hand; z and p follow from them.
    static void expectChance(const ValueChance& c, long long count, double expected, double variance) {
        EXPECT_EQ(c.count, count);
        EXPECT_DOUBLE_EQ(c.expected, expected);
        EXPECT_DOUBLE_EQ(c.variance, variance);
        const double z = (static_cast<double>(count) - expected) / std::sqrt(variance);
        EXPECT_DOUBLE_EQ(c.z.value_or(NAN), z);
        EXPECT_DOUBLE_EQ(c.p.value_or(NAN), std::erfc(std::abs(z) / std::sqrt(2.0)));
    }
};

TEST_F(HandComputed, SpecialNumbersAgainstThreeOfSixRowsDrawnAtRandom) {
    const ChanceBaseline b = baseline(Kind::Number, TallyScope::Special);
    EXPECT_EQ(b.rows, 6);
    EXPECT_EQ(b.hits, 3);
    ASSERT_EQ(b.values.size(), 30u);
    // The tally's order: 9 (twice), 30 (once), then the zeros by value.
    EXPECT_EQ(b.values[0].value, 9);
    EXPECT_EQ(b.values[1].value, 30);
    EXPECT_EQ(b.values[2].value, 1);

    const ValueChance &nine = valueOf(b, 9), &eight = valueOf(b, 8), &thirty = valueOf(b, 30);
    expectChance(nine, 2, 1.5, 0.45);    // x = 0 1 0 1 1 0: m = 1/2, s² = 1/4, V = 3 · 1/4 · 3/5
    expectChance(eight, 0, 1.0, 0.4);    // m = 1/3, s² = 2/9
    expectChance(thirty, 1, 0.5, 0.25);  // m = 1/6, s² = 5/36
    // A special never drawn in the range has no spread: no z, no p.
    const ValueChance& one = valueOf(b, 1);
    EXPECT_EQ(one.expected, 0);
    EXPECT_FALSE(one.z || one.p || one.adjustedP);

    // Holm over the three defined p: 3·p(8) < 2·p(30) > p(9).
    EXPECT_DOUBLE_EQ(*eight.adjustedP, 3 * *eight.p);
    EXPECT_DOUBLE_EQ(*thirty.adjustedP, 2 * *thirty.p);
    EXPECT_DOUBLE_EQ(*nine.adjustedP, 2 * *thirty.p);
    EXPECT_DOUBLE_EQ(*b.minAdjustedP, 3 * *eight.p);
    EXPECT_EQ(b.verdict, "与随机抽取无显著差异（最小校正 p = 0.34）；命中期数少，结论不可靠");
}

TEST_F(HandComputed, ARowHoldingAValueTwiceCountsTwiceInMeanAndSpread) {
    // Tail 1 over positions 1..7: x = 1 1 2 0 1 1, m = 1, s² = 8/6 − 1 = 1/3; the hits hold 1 + 0 + 1.
    expectChance(valueOf(baseline(Kind::Tail, TallyScope::Regular), 1), 2, 3.0, 0.6);
}

TEST_F(HandComputed, AHitNoLongerStoredIsRefusedNotCountedAsChance) {
    SearchInputs in = h.inputs();
    const SearchResult r = runFollowSearch(h.db(), in);
    ASSERT_TRUE(h.db().deleteNewest());
    EXPECT_THROW(chanceOf(h.db(), in, r), StoreError);
    SearchResult refused;
    EXPECT_THROW(chanceOf(h.db(), in, refused), StoreError);
}

TEST(ChanceOfATally, FollowsTheTallyAndTheDefinitionsOnASeededHistory) {
    // Zodiac offset 0: codes 0..11.
    SearchHistory h(test::seededDraws(400, 29, 2020001), test::settingsFor(2020, 0));
    SearchInputs in = h.inputs();
    in.resultKind = Kind::Zodiac;
    test::tick(in, {1, 8});
    in.values->at(0) = h.rows()[10].own[index(Kind::Number)][0];
    in.values->at(7) = h.rows()[10].own[index(Kind::Number)][7];
    in.firstIssue = std::to_string(h.rows()[50].issue);
    in.lastIssue = std::to_string(h.rows()[349].issue);
    const SearchResult r = runFollowSearch(h.db(), in);
    const ChanceBaseline b = chanceOf(h.db(), in, r);
    ASSERT_EQ(b.values.size() + 1, r.tally.size());
    EXPECT_EQ(b.rows, 300);
    ASSERT_GT(b.hits, 0);

    for (size_t i = 0; i < b.values.size(); ++i) {
        const ValueChance& c = b.values[i];
        EXPECT_EQ(c.text, r.tally[i + 1][1].text());
        EXPECT_EQ(std::to_string(c.count), r.tally[i + 1][2].text());
        // Two passes over the stored rows, straight from the definitions.
        std::vector<double> x;
        for (const DrawRow& row : std::span(h.rows()).subspan(50, 300))
            x.push_back(static_cast<double>(std::ranges::count(row.own[index(Kind::Zodiac)], c.value)));
        const double N = 300, n = b.hits, mean = std::accumulate(x.begin(), x.end(), 0.0) / N;
        const double spread = std::transform_reduce(x.begin(), x.end(), 0.0, std::plus<>(),
                                                    [mean](double xi) { return (xi - mean) * (xi - mean); }) /
                              N;
        EXPECT_NEAR(c.expected, n * mean, 1e-9 * n * mean) << c.text;
        EXPECT_NEAR(c.variance, n * spread * (N - n) / (N - 1), 1e-9 * c.variance) << c.text;
        EXPECT_TRUE(c.z && c.p && c.adjustedP) << c.text;
    }
}

TEST(HolmAdjustment, MultipliesByTheRanksLeftKeepsTheOrderAndCapsAtOne) {
    const auto adjusted = holmAdjusted({0.01, std::nullopt, 0.04, 0.03, 0.005});
    ASSERT_EQ(adjusted.size(), 5u);
    EXPECT_DOUBLE_EQ(*adjusted[4], 4 * 0.005);
    EXPECT_DOUBLE_EQ(*adjusted[0], 3 * 0.01);
    EXPECT_DOUBLE_EQ(*adjusted[3], 2 * 0.03);
    EXPECT_DOUBLE_EQ(*adjusted[2], 2 * 0.03);  // 1 · 0.04 would fall below the rank before it
    EXPECT_FALSE(adjusted[1]);
    EXPECT_EQ(holmAdjusted({0.5, 0.6}), (std::vector<std::optional<double>>{1.0, 1.0}));
    EXPECT_TRUE(holmAdjusted({std::nullopt, std::nullopt})[0] == std::nullopt);
}

TEST(ChanceWords, PValuesWithTwoSignificantDigitsAndTheVerdicts) {
    EXPECT_EQ(pValueText(0.012), "p = 0.012");
    EXPECT_EQ(pValueText(0.43), "p = 0.43");
    EXPECT_EQ(pValueText(0.04567), "p = 0.046");
    EXPECT_EQ(pValueText(0.0996), "p = 0.10");
    EXPECT_EQ(pValueText(1.0), "p = 1.0");
    EXPECT_EQ(pValueText(0.001), "p = 0.0010");
    EXPECT_EQ(pValueText(0.00099), "p < 0.001");
    EXPECT_EQ(pValueText(0.0), "p < 0.001");

    EXPECT_EQ(chanceVerdict(0.012, 30), "显著偏离随机（校正后 p = 0.012）：只描述过去，不衡量检索方法");
    EXPECT_EQ(chanceVerdict(0.43, 120), "与随机抽取无显著差异（最小校正 p = 0.43）");
    EXPECT_EQ(chanceVerdict(0.0001, 29),
              "显著偏离随机（校正后 p < 0.001）：只描述过去，不衡量检索方法；命中期数少，结论不可靠");
    EXPECT_EQ(chanceVerdict(0.05, 40), "与随机抽取无显著差异（最小校正 p = 0.050）");
    EXPECT_EQ(chanceVerdict(std::nullopt, 0), "无法与随机抽取比较（没有可检验的结果值）；命中期数少，结论不可靠");
}

}  // namespace
}  // namespace drawfollow
