// The exact distributions of the shape measures, checked a second way: closed formulas where
// they exist, and a plain walk over every set with the one-draw measures.
#include "analysis/shape_chance.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace drawfollow {
namespace {

constexpr std::array kScopes = {TallyScope::Regular, TallyScope::All};

std::map<int, uint64_t> setsByValue(ShapeMeasure measure, TallyScope scope) {
    std::map<int, uint64_t> sets;
    for (const ShapeChance& c : shapeDistribution(measure, scope))
        sets[c.value] = c.sets;
    return sets;
}

std::string scopeName(TallyScope scope) {
    return scope == TallyScope::All ? "eight" : "seven";
}

// The number of k-sets of 1..30 with j members in a class of `size` numbers.
std::map<int, uint64_t> hypergeometric(int size, int k) {
    std::map<int, uint64_t> sets;
    for (int j = 0; j <= k; ++j)
        if (const uint64_t n = binomial(size, j) * binomial(30 - size, k - j); n > 0)
            sets[j] = n;
    return sets;
}

TEST(ShapeChance, EveryDistributionCoversEverySetOnceInAscendingOrder) {
    for (TallyScope scope : kScopes) {
        const int k = numbersInScope(scope);
        for (ShapeMeasure m : kShapeMeasures) {
            const std::vector<ShapeChance>& d = shapeDistribution(m, scope);
            uint64_t sets = 0;
            double chance = 0;
            for (size_t i = 0; i < d.size(); ++i) {
                EXPECT_GT(d[i].sets, 0u);
                if (i > 0) {
                    EXPECT_LT(d[i - 1].value, d[i].value);
                }
                sets += d[i].sets;
                chance += d[i].chance;
            }
            const std::string what = std::string(measureName(m)) + " of " + scopeName(scope);
            EXPECT_EQ(sets, binomial(30, k)) << what;
            EXPECT_NEAR(chance, 1.0, 1e-12) << what;
        }
    }
    EXPECT_EQ(binomial(30, 7), 2035800u);
    EXPECT_EQ(binomial(30, 8), 5852925u);
}

TEST(ShapeChance, ClassCountsAreHypergeometric) {
    for (TallyScope scope : kScopes) {
        const int k = numbersInScope(scope);
        EXPECT_EQ(setsByValue(ShapeMeasure::Odd, scope), hypergeometric(15, k)) << scopeName(scope);
        EXPECT_EQ(setsByValue(ShapeMeasure::Big, scope), hypergeometric(15, k)) << scopeName(scope);
        EXPECT_EQ(setsByValue(ShapeMeasure::Prime, scope), hypergeometric(11, k)) << scopeName(scope);
        // Whatever the previous draw, k of its numbers are a class of k.
        EXPECT_EQ(setsByValue(ShapeMeasure::Repeat, scope), hypergeometric(k, k)) << scopeName(scope);
    }
}

TEST(ShapeChance, SumSpanRunsAndZonesFollowTheirCountingFormulas) {
    for (TallyScope scope : kScopes) {
        const int k = numbersInScope(scope);
        // Subset sums by size, one number at a time.
        std::vector<std::vector<uint64_t>> bySize(k + 1, std::vector<uint64_t>(466, 0));
        bySize[0][0] = 1;
        for (int n = 1; n <= 30; ++n)
            for (int size = k; size >= 1; --size)
                for (int s = 465; s >= n; --s)
                    bySize[size][s] += bySize[size - 1][s - n];
        std::map<int, uint64_t> sums;
        for (int s = 0; s < 466; ++s)
            if (bySize[k][s] > 0)
                sums[s] = bySize[k][s];
        EXPECT_EQ(setsByValue(ShapeMeasure::Sum, scope), sums) << scopeName(scope);

        // Span s: 30 − s places for the smallest, k − 2 members among the s − 1 between.
        std::map<int, uint64_t> spans;
        for (int s = k - 1; s <= 29; ++s)
            spans[s] = (30 - s) * binomial(s - 1, k - 2);
        EXPECT_EQ(setsByValue(ShapeMeasure::Span, scope), spans) << scopeName(scope);

        // r runs leave k − r consecutive pairs: C(31 − k, r) places for the runs' gaps times
        // C(k − 1, r − 1) ways to cut k into r runs.
        std::map<int, uint64_t> pairs;
        for (int r = 1; r <= k; ++r)
            pairs[k - r] = binomial(31 - k, r) * binomial(k - 1, r - 1);
        EXPECT_EQ(setsByValue(ShapeMeasure::Consecutive, scope), pairs) << scopeName(scope);

        std::map<int, uint64_t> zones;
        for (int a = 0; a <= k; ++a)
            for (int b = 0; a + b <= k; ++b)
                if (const uint64_t n = binomial(10, a) * binomial(10, b) * binomial(10, k - a - b); n > 0)
                    zones[a * 100 + b * 10 + (k - a - b)] = n;
        EXPECT_EQ(setsByValue(ShapeMeasure::Zone, scope), zones) << scopeName(scope);
    }
}

TEST(ShapeChance, MeansAreWhatSymmetryGives) {
    for (TallyScope scope : kScopes) {
        const int k = numbersInScope(scope);
        double sum = 0, repeats = 0;
        for (const ShapeChance& c : shapeDistribution(ShapeMeasure::Sum, scope))
            sum += c.value * c.chance;
        for (const ShapeChance& c : shapeDistribution(ShapeMeasure::Repeat, scope))
            repeats += c.value * c.chance;
        EXPECT_NEAR(sum, k * 15.5, 1e-9) << scopeName(scope);
        EXPECT_NEAR(repeats, k * k / 30.0, 1e-12) << scopeName(scope);
    }
}

// The walk carries each measure from member to member; here every set is measured afresh.
TEST(ShapeChance, TheWalkAgreesWithMeasuringEverySet) {
    for (TallyScope scope : kScopes) {
        const int k = numbersInScope(scope);
        std::array<std::map<int, uint64_t>, kShapeMeasureCount> walked;
        const NumberSet previous = 0b1010101010101010u;  // 1 3 5 … 15, eight numbers
        const NumberSet kept = scope == TallyScope::All ? previous : previous & ~(NumberSet{1} << 15);
        // Every k-subset of bits 0..29 in increasing order (Gosper's hack), moved up to 1..30.
        for (NumberSet bits = (NumberSet{1} << k) - 1; bits < (NumberSet{1} << 30);) {
            const NumberSet set = bits << 1;
            for (ShapeMeasure m : kShapeMeasures)
                ++walked[index(m)][m == ShapeMeasure::Repeat ? repeatCount(set, kept) : shapeOf(m, set)];
            const NumberSet lowest = bits & (~bits + 1);
            const NumberSet carried = bits + lowest;
            bits = carried | (((bits ^ carried) >> 2) / lowest);
        }
        for (ShapeMeasure m : kShapeMeasures)
            EXPECT_EQ(setsByValue(m, scope), walked[index(m)]) << measureName(m) << " of " << scopeName(scope);
    }
}

TEST(ShapeChance, TheSpecialNumberAloneHasNoShape) {
    EXPECT_THROW(shapeDistribution(ShapeMeasure::Sum, TallyScope::Special), StoreError);
}

}  // namespace
}  // namespace drawfollow
