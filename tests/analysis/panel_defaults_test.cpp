// The first tab's base draw and the default issue range.
#include "analysis/panel_defaults.h"

#include <gtest/gtest.h>

#include <vector>

namespace drawfollow {
namespace {

// 2012 ends at 153 here, as many real years do; 2011 ends at 154.
const std::vector<int> kIssues = {2011153, 2011154, 2012001, 2012002, 2012152, 2012153,
                                  2013001, 2013002, 2013058, 2013059, 2013060};

struct ReferenceCase {
    const char* name;
    size_t draws;
    bool previousIssue;
    int gap;
    std::optional<size_t> index;  // none: no base draw, and plain words why
};

class ReferenceDraw : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(ReferenceDraw, IsTheNewestOrTheGapthNewestOrNoneWithAReason) {
    const ReferenceCase& c = GetParam();
    const BaseLookup b = referenceDraw(c.draws, c.previousIssue, c.gap);
    EXPECT_EQ(b.index, c.index);
    EXPECT_EQ(b.found(), c.index.has_value());
    EXPECT_EQ(b.problem.empty(), c.index.has_value());
}

INSTANTIATE_TEST_SUITE_P(Cases, ReferenceDraw,
                         ::testing::Values(ReferenceCase{"PreviousIssueIsTheNewest", 11, true, 5, 10},
                                           ReferenceCase{"GapOneIsTheNewest", 11, false, 1, 10},
                                           ReferenceCase{"GapThreeIsTheThirdNewest", 11, false, 3, 8},
                                           ReferenceCase{"GapNine", 11, false, 9, 2},
                                           ReferenceCase{"GapZeroRefused", 11, false, 0, std::nullopt},
                                           ReferenceCase{"GapTenRefused", 11, false, 10, std::nullopt},
                                           ReferenceCase{"GapZeroIgnoredForThePreviousIssue", 10, true, 0, 9},
                                           ReferenceCase{"TenDrawsGapOne", 10, false, 1, 9},
                                           ReferenceCase{"TenDrawsGapThree", 10, false, 3, 7},
                                           ReferenceCase{"GapAsLongAsTheHistory", 3, false, 3, 0},
                                           ReferenceCase{"GapLongerThanTheHistory", 2, false, 3, std::nullopt},
                                           ReferenceCase{"GapTwoOfTwoDraws", 2, false, 2, 0},
                                           ReferenceCase{"TenDrawsGapZero", 10, false, 0, std::nullopt},
                                           ReferenceCase{"EmptyHistory", 0, true, 2, std::nullopt},
                                           ReferenceCase{"EmptyHistoryGapOne", 0, true, 1, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReferenceDraw, SaysWhyThereIsNone) {
    EXPECT_NE(referenceDraw(2, false, 3).problem.find("只有 2 期，不足前 3 期"), std::string::npos);
    EXPECT_NE(referenceDraw(0, false, 0).problem.find("历史号码为空"), std::string::npos);
    EXPECT_NE(referenceDraw(5, false, 10).problem.find("1～9"), std::string::npos);
}

TEST(IssueRange, StartsOneOrTheGapAfterTheFirstStoredIssueAndEndsAtTheNewest) {
    EXPECT_EQ(rangeStart(kIssues, true, 3), 2011154);
    EXPECT_EQ(rangeStart(kIssues, false, 3), 2011156);  // integer addition on the issue, stored or not
    EXPECT_EQ(rangeEnd(kIssues), 2013060);
    EXPECT_EQ(rangeStart({}, true, 1), std::nullopt);
    EXPECT_EQ(rangeEnd({}), std::nullopt);

    const std::vector<int> acrossAYear = {2012151, 2012152, 2012153, 2013001, 2013061};
    EXPECT_EQ(rangeStart(acrossAYear, true, 5), 2012152);
    EXPECT_EQ(rangeStart(acrossAYear, false, 3), 2012154);
    EXPECT_EQ(rangeEnd(acrossAYear), 2013061);
}

}  // namespace
}  // namespace drawfollow
