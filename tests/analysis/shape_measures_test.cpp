// The measures of one draw, worked out by hand.
#include "analysis/shape_measures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace drawfollow {
namespace {

using Positions = std::array<int, kPositions>;

// Every measure but 重号 as "sum span odd big prime consecutive ac zone".
std::string shapeLine(const Positions& numbers, TallyScope scope) {
    const NumberSet set = scopeNumbers(numbers, scope);
    std::string line;
    for (ShapeMeasure m : kShapeMeasures)
        if (m != ShapeMeasure::Repeat)
            line += (line.empty() ? "" : " ") + shapeValueText(m, shapeOf(m, set));
    return line;
}

TEST(ShapeMeasures, EveryMeasureAsWorkedOutByHand) {
    struct Case {
        const char* what;
        Positions numbers;
        TallyScope scope;
        const char* shape;
    };
    const std::vector<Case> cases = {
        // Odd 1 3 15; big 22 30; 质 1 2 3 (1 counts); pairs 1-2, 2-3; differences
        // {1 2 5 7 8 9 12 13 14 15 19 20 21 27 28 29}: 16 − 6 = 10.
        {"spread", {1, 2, 3, 10, 15, 22, 30, 16}, TallyScope::Regular, "83 29 3 2 3 2 10 4:1:2"},
        // The special 16 joins: big, a pair with 15; of its differences only 6 is new, and
        // one more member asks one more: AC stays 10.
        {"spread with special", {1, 2, 3, 10, 15, 22, 30, 16}, TallyScope::All, "99 29 3 3 3 3 10 4:2:2"},
        // Differences {1 2 3 4 11 12 13 14 15 16}: 10 − 6 = 4.
        {"two runs", {5, 6, 7, 8, 9, 20, 21, 11}, TallyScope::Regular, "76 16 4 2 2 5 4 5:1:1"},
        // The fewest distinct differences seven numbers can have: AC 0.
        {"one run", {1, 2, 3, 4, 5, 6, 7, 30}, TallyScope::Regular, "28 6 4 0 5 6 0 7:0:0"},
        {"top run", {24, 25, 26, 27, 28, 29, 30, 23}, TallyScope::All, "212 7 4 8 2 7 0 0:0:8"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shapeLine(c.numbers, c.scope), c.shape) << c.what;
}

TEST(ShapeMeasures, RepeatCountsTheNumbersThePreviousDrawHeld) {
    const Positions previous = {5, 6, 7, 8, 9, 20, 21, 11};
    const Positions draw = {1, 2, 5, 6, 11, 16, 29, 30};
    // Regular: 5 and 6; with both specials 11 joins; 30 is no repeat of anything.
    EXPECT_EQ(repeatCount(scopeNumbers(draw, TallyScope::Regular), scopeNumbers(previous, TallyScope::Regular)), 2);
    EXPECT_EQ(repeatCount(scopeNumbers(draw, TallyScope::All), scopeNumbers(previous, TallyScope::All)), 3);
    EXPECT_EQ(repeatCount(scopeNumbers(draw, TallyScope::All), scopeNumbers(draw, TallyScope::All)), 8);
    EXPECT_THROW(shapeOf(ShapeMeasure::Repeat, scopeNumbers(draw, TallyScope::All)), std::invalid_argument);
}

TEST(ShapeMeasures, ZonesAreShownAsTheirThreeCountsAndOrderedByThem) {
    EXPECT_EQ(shapeValueText(ShapeMeasure::Zone, 322), "3:2:2");
    EXPECT_EQ(shapeValueText(ShapeMeasure::Zone, 7), "0:0:7");
    EXPECT_EQ(shapeValueText(ShapeMeasure::Sum, 107), "107");
    const NumberSet low = scopeNumbers({1, 2, 11, 12, 21, 22, 23, 0}, TallyScope::Regular);
    const NumberSet high = scopeNumbers({1, 2, 11, 12, 13, 22, 23, 0}, TallyScope::Regular);
    EXPECT_LT(shapeOf(ShapeMeasure::Zone, low), shapeOf(ShapeMeasure::Zone, high));  // 2:2:3 before 2:3:2
}

}  // namespace
}  // namespace drawfollow
