// The draw's own odds of a set of values, counted by hand: numbers, tails and zodiac signs
// in a year where some animals own three numbers and the others two.
#include "analysis/draw_odds.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

SearchSettings settings(Kind result, TallyScope scope) {
    SearchSettings s;
    s.resultKind = result;
    s.scope = scope;
    s.codes = ZodiacCodeTable::build(false, 1, 2020);
    return s;
}

TEST(DrawOdds, AreHypergeometricForEveryScope) {
    // Two numbers of thirty, eight drawn.
    DrawOdds odds = drawOdds(8, 2);
    EXPECT_DOUBLE_EQ(odds.mean, 16.0 / 30);
    EXPECT_DOUBLE_EQ(odds.variance, 8 * (2.0 / 30) * (28.0 / 30) * 22 / 29);
    // The special number alone: one draw of thirty.
    odds = drawOdds(1, 5);
    EXPECT_DOUBLE_EQ(odds.mean, 5.0 / 30);
    EXPECT_DOUBLE_EQ(odds.variance, (5.0 / 30) * (25.0 / 30));
    // Every number chosen: always seven hits, no spread.
    odds = drawOdds(7, 30);
    EXPECT_DOUBLE_EQ(odds.mean, 7);
    EXPECT_DOUBLE_EQ(odds.variance, 0);
}

TEST(NumbersHolding, CountsNumbersAndTails) {
    const SearchSettings numbers = settings(Kind::Number, TallyScope::All);
    EXPECT_EQ(numbersHolding(numbers, TallyRules(numbers), std::vector<int>{3, 17, 30}, 2020100), 3);
    // Tails 0, 1, 2: 10 20 30, 1 11 21, 2 12 22.
    const SearchSettings tails = settings(Kind::Tail, TallyScope::Regular);
    const std::vector<int> chosen = {0, 1, 2};
    EXPECT_EQ(numbersHolding(tails, TallyRules(tails), chosen, 2020100), 9);
    const ChosenScore score = scoreChosen(tails, TallyRules(tails), chosen,
                                          {2020100, attributesOf({10, 20, 5, 6, 7, 8, 9, 11}, 2020, tails.codes, 1)});
    // 10 and 20 among the regular numbers; the special 11 is outside the scope.
    EXPECT_EQ(score.hit, 2);
    EXPECT_DOUBLE_EQ(score.odds.mean, 7 * 9.0 / 30);
    EXPECT_DOUBLE_EQ(score.odds.variance, 7 * 0.3 * 0.7 * 23 / 29);
}

// 2020 is a year of the rat (code 1 in the age table of 2020): it owns 1, 13 and 25; the
// horse (code 7) owns 7 and 19. Before the year's Spring Festival the draws belong to 2019,
// when the rat owns only 12 and 24.
TEST(NumbersHolding, DerivesZodiacSignsInTheTargetsOwnYear) {
    const SearchSettings zodiac = settings(Kind::Zodiac, TallyScope::All);
    const TallyRules rules(zodiac);
    EXPECT_EQ(numbersHolding(zodiac, rules, std::vector<int>{1}, 2020100), 3);
    EXPECT_EQ(numbersHolding(zodiac, rules, std::vector<int>{7}, 2020100), 2);
    EXPECT_EQ(numbersHolding(zodiac, rules, std::vector<int>{1, 7}, 2020100), 5);
    EXPECT_EQ(numbersHolding(zodiac, rules, std::vector<int>{1}, 2020001), 2);
    const ChosenScore score =
        scoreChosen(zodiac, rules, std::vector<int>{1, 7},
                    {2020100, attributesOf({1, 13, 2, 3, 4, 5, 6, 19}, zodiacYearOfIssue(2020100), zodiac.codes, 1)});
    EXPECT_EQ(score.hit, 3);
    EXPECT_DOUBLE_EQ(score.odds.mean, 8 * 5.0 / 30);
    EXPECT_DOUBLE_EQ(score.odds.variance, 8 * (5.0 / 30) * (25.0 / 30) * 22 / 29);
}

}  // namespace
}  // namespace drawfollow
