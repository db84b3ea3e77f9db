// The chi-square test: its tail, its bins, and whether it is honest on chance.
#include "analysis/chi_square.h"
#include "analysis/shape_table.h"

#include "support/history_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace drawfollow {
namespace {

TEST(ChiSquareTail, KnownQuantilesAndClosedForms) {
    // The 5 % and 1 % points of the tables.
    EXPECT_NEAR(chiSquareUpperTail(3.841458820694124, 1), 0.05, 1e-12);
    EXPECT_NEAR(chiSquareUpperTail(6.634896601021214, 1), 0.01, 1e-12);
    EXPECT_NEAR(chiSquareUpperTail(18.307038053275146, 10), 0.05, 1e-12);
    EXPECT_NEAR(chiSquareUpperTail(124.34211340400407, 100), 0.05, 1e-10);
    // Two degrees of freedom: e^(−x/2), on both sides of the switch between the methods and
    // far out in the tail, where only the relative error means anything.
    for (double x : {0.5, 3.9, 4.1, 20.0, 200.0})
        EXPECT_NEAR(chiSquareUpperTail(x, 2) / std::exp(-x / 2), 1.0, 1e-12) << x;
    // One degree of freedom: erfc(√(x/2)).
    for (double x : {0.01, 1.0, 2.5, 30.0})
        EXPECT_NEAR(chiSquareUpperTail(x, 1) / std::erfc(std::sqrt(x / 2)), 1.0, 1e-10) << x;
    EXPECT_EQ(chiSquareUpperTail(0, 5), 1.0);
    EXPECT_THROW(chiSquareUpperTail(1, 0), std::invalid_argument);
}

TEST(ChiSquareFit, BinsCloseAtFiveAndAShortLastBinJoinsTheOneBefore) {
    // Bins {1 2 3} = 6 and {4 5} = 9; the last 1 falls short and joins {4 5}: 10.
    const std::vector<long long> observed = {0, 1, 2, 6, 3, 4};
    const std::vector<double> expected = {1, 2, 3, 4, 5, 1};
    const ChiSquareFit fit = chiSquareFit(observed, expected);
    EXPECT_EQ(fit.bins, 2);
    EXPECT_EQ(fit.df, 1);
    // (3 − 6)²/6 + (13 − 10)²/10
    ASSERT_TRUE(fit.chi2);
    EXPECT_NEAR(*fit.chi2, 1.5 + 0.9, 1e-12);
    EXPECT_NEAR(*fit.p, chiSquareUpperTail(2.4, 1), 1e-15);

    // A last bin that closes on its own stays a bin.
    const ChiSquareFit exact = chiSquareFit(std::vector<long long>{5, 5, 5}, std::vector<double>{5, 5, 5});
    EXPECT_EQ(exact.bins, 3);
    EXPECT_EQ(exact.df, 2);
    EXPECT_EQ(*exact.chi2, 0);
    EXPECT_EQ(*exact.p, 1);
}

TEST(ChiSquareFit, TooFewDrawsForTwoBinsGiveNoTest) {
    const ChiSquareFit fit = chiSquareFit(std::vector<long long>{1, 2, 0}, std::vector<double>{2, 4, 3});
    EXPECT_EQ(fit.bins, 1);
    EXPECT_EQ(fit.df, 0);
    EXPECT_FALSE(fit.chi2);
    EXPECT_FALSE(fit.p);
    EXPECT_EQ(fitVerdict(fit), "无法与随机抽取比较（期数太少，期望次数凑不满两组）");
    EXPECT_EQ(chiSquareFit({}, {}).bins, 0);
    EXPECT_THROW(chiSquareFit(std::vector<long long>{1}, std::vector<double>{}), std::invalid_argument);
}

TEST(ChiSquareFit, VerdictInTheTallysWords) {
    ChiSquareFit fit;
    fit.bins = 3;
    fit.df = 2;
    fit.chi2 = 10;
    fit.p = 0.0067;
    EXPECT_EQ(fitVerdict(fit), "显著偏离随机（卡方检验 p = 0.0067）");
    fit.p = 0.43;
    EXPECT_EQ(fitVerdict(fit), "与随机抽取无显著差异（卡方检验 p = 0.43）");
}

std::vector<KindValues> numbersOf(const std::vector<DrawInput>& draws) {
    std::vector<KindValues> numbers;
    for (const DrawInput& d : draws) {
        KindValues& row = numbers.emplace_back();
        row.issue = d.issue;
        std::copy(d.numbers.begin(), d.numbers.end(), row.values.begin());
    }
    return numbers;
}

// Draws made to favour low numbers: every shape that sees size moves far from chance.
TEST(ShapeFit, APlantedSkewIsFound) {
    std::mt19937 rng(11);
    std::vector<DrawInput> draws = test::seededDraws(300, 5);
    for (DrawInput& d : draws) {
        std::array<int, 30> pool;
        std::iota(pool.begin(), pool.end(), 1);
        // The first twenty numbers are four times as likely as the last ten.
        std::vector<int> weighted;
        for (int n : pool)
            weighted.insert(weighted.end(), n <= 20 ? 4 : 1, n);
        std::vector<int> chosen;
        while (chosen.size() < kPositions) {
            const int n = weighted[std::uniform_int_distribution<size_t>(0, weighted.size() - 1)(rng)];
            if (std::find(chosen.begin(), chosen.end(), n) == chosen.end())
                chosen.push_back(n);
        }
        std::copy(chosen.begin(), chosen.end(), d.numbers.begin());
    }
    const ShapeTable table = shapesOf(numbersOf(draws), 0, TallyScope::Regular);
    for (ShapeMeasure m : {ShapeMeasure::Sum, ShapeMeasure::Big, ShapeMeasure::Zone}) {
        const ShapeDistribution d = distributionOf(table, m);
        ASSERT_TRUE(d.fit.p) << measureName(m);
        EXPECT_LT(*d.fit.p, 1e-6) << measureName(m);
        EXPECT_EQ(d.verdict.rfind("显著偏离随机", 0), 0u) << d.verdict;
    }
    // Odd and even stay balanced among the favoured numbers: no false alarm.
    EXPECT_GT(*distributionOf(table, ShapeMeasure::Odd).fit.p, 0.001);
}

// On uniform random histories every measure's p is close to uniform: about 5 % below 0.05
// and a mean near one half.
TEST(ShapeFit, HonestOnChance) {
    constexpr int kHistories = 200;
    for (TallyScope scope : {TallyScope::Regular, TallyScope::All}) {
        for (ShapeMeasure m : kShapeMeasures) {
            int below = 0;
            double sum = 0;
            for (int h = 0; h < kHistories; ++h) {
                const auto numbers = numbersOf(test::seededDraws(250, 1000 + static_cast<uint32_t>(h)));
                const ShapeDistribution d = distributionOf(shapesOf(numbers, 0, scope), m);
                ASSERT_TRUE(d.fit.p);
                below += *d.fit.p < 0.05;
                sum += *d.fit.p;
            }
            // Binomial(200, 0.05) has a standard deviation of about 3.1.
            EXPECT_LE(below, 20) << measureName(m);
            EXPECT_GE(below, 2) << measureName(m);
            EXPECT_NEAR(sum / kHistories, 0.5, 0.07) << measureName(m);
        }
    }
}

}  // namespace
}  // namespace drawfollow
