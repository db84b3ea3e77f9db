#include "analysis/verification_base.h"
#include "analysis/panel_defaults.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

struct BaseCase {
    const char* name;
    int issue;
    bool previousIssue;
    int gap;
    std::optional<int> baseIssue;  // none: no base draw
    int rangeEnd;
};

// 2012 ended at issue 153 (not 154), and 2013060 is missing.
const std::vector<int> kIssues = {2012151, 2012152, 2012153, 2013001, 2013002, 2013057, 2013058, 2013059, 2013061};

class VerificationBaseDraw : public ::testing::TestWithParam<BaseCase> {};

TEST_P(VerificationBaseDraw, IsTheStoredDrawBeforeTheIssueOrTheGapBeforeIt) {
    const BaseCase& c = GetParam();
    const auto base = findVerificationBase(kIssues, c.issue, c.previousIssue, c.gap);
    ASSERT_EQ(base.has_value(), c.baseIssue.has_value());
    if (!base)
        return;
    EXPECT_EQ(base->baseIssue, *c.baseIssue);
    EXPECT_EQ(kIssues[base->baseIndex], *c.baseIssue);
    EXPECT_EQ(base->rangeEnd, c.rangeEnd);
}

INSTANTIATE_TEST_SUITE_P(Cases, VerificationBaseDraw,
                         ::testing::Values(BaseCase{"MiddleOfAYear", 2013058, true, 2, 2013057, 2013057},
                                           BaseCase{"FirstIssueOfAYearEndingAt153", 2013001, true, 2, 2012153, 2012153},
                                           BaseCase{"IssueNotStored", 2013060, true, 2, 2013059, 2013059},
                                           BaseCase{"AfterTheNewest", 2013062, true, 2, 2013061, 2013061},
                                           BaseCase{"BackTwo", 2013060, false, 2, 2013058, 2013059},
                                           BaseCase{"BackOneIsThePreviousIssue", 2013058, false, 1, 2013057, 2013057},
                                           BaseCase{"BackAcrossTheYear", 2013002, false, 3, 2012152, 2013001},
                                           BaseCase{"TheFirstStoredIssue", 2012151, true, 2, std::nullopt, 0},
                                           BaseCase{"BeforeTheFirstStoredIssue", 2011100, true, 2, std::nullopt, 0},
                                           BaseCase{"TooFewDrawsBefore", 2012153, false, 3, std::nullopt, 0},
                                           BaseCase{"GapZero", 2013058, false, 0, std::nullopt, 0},
                                           BaseCase{"GapZeroIgnoredForThePreviousIssue", 2013058, true, 0, 2013057,
                                                    2013057}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VerificationBaseDraw, GivesTheValuesOfTheSearchKindFromTheStoredRow) {
    DrawRow row;
    row.issue = 2013001;
    for (int p = 0; p < kPositions; ++p) {
        row.own[index(Kind::Number)][p] = static_cast<int16_t>(p + 1);
        row.own[index(Kind::Zodiac)][p] = static_cast<int16_t>(12 - p);
    }
    EXPECT_EQ(positionValues(row, Kind::Zodiac), (PositionValues{12, 11, 10, 9, 8, 7, 6, 5}));
    const std::vector<DrawRow> history = {row};
    const auto base = findVerificationBase(std::span<const DrawRow>(history), 2013005, true, 2);
    ASSERT_TRUE(base);
    EXPECT_EQ(base->baseIssue, 2013001);
}

TEST(PanelDefaults, TheFirstTabTakesTheNewestOrTheGapthNewestDraw) {
    EXPECT_EQ(latestBaseIndex(10, true, 0), 9u);
    EXPECT_EQ(latestBaseIndex(10, false, 1), 9u);
    EXPECT_EQ(latestBaseIndex(10, false, 3), 7u);
    EXPECT_EQ(latestBaseIndex(3, false, 3), 0u);
    EXPECT_EQ(latestBaseIndex(2, false, 3), std::nullopt);
    EXPECT_EQ(latestBaseIndex(10, false, 0), std::nullopt);
    EXPECT_EQ(latestBaseIndex(0, true, 2), std::nullopt);
}

TEST(PanelDefaults, TheRangeStartsOneOrTheGapAfterTheFirstStoredIssue) {
    const auto previous = defaultIssueRange(kIssues, true, 5);
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->first, 2012152);
    EXPECT_EQ(previous->last, 2013061);
    EXPECT_EQ(defaultIssueRange(kIssues, false, 3)->first, 2012154);  // issue arithmetic, stored or not
    EXPECT_EQ(defaultIssueRange({}, true, 2), std::nullopt);
}

}  // namespace
}  // namespace drawfollow
