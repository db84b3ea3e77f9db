// The verification tab's base draw and the range end before the verified issue.
#include "analysis/verification_base.h"

#include <gtest/gtest.h>

#include <vector>

namespace drawfollow {
namespace {

// 2012 ended at issue 153 (not 154), and 2013060 is missing.
const std::vector<int> kGapped = {2012151, 2012152, 2012153, 2013001, 2013002, 2013057, 2013058, 2013059, 2013061};
// 2012 ends at 153 here, as many real years do; 2011 ends at 154.
const std::vector<int> kTwoYearEnds = {2011153, 2011154, 2012001, 2012002, 2012152, 2012153,
                                       2013001, 2013002, 2013058, 2013059, 2013060};

struct BaseCase {
    const char* name;
    const std::vector<int>* issues;
    int issue;
    bool previousIssue;
    int gap;
    std::optional<int> baseIssue;  // none: no base draw
    int rangeEnd;                  // the draw before the issue, where there is a base
};

class VerificationBaseDraw : public ::testing::TestWithParam<BaseCase> {};

TEST_P(VerificationBaseDraw, IsTheStoredDrawBeforeTheIssueOrTheGapBeforeIt) {
    const BaseCase& c = GetParam();
    const std::vector<int>& issues = *c.issues;
    const VerificationLookup lookup = verificationLookup(issues, c.issue, c.previousIssue, c.gap);
    ASSERT_EQ(lookup.base.has_value(), c.baseIssue.has_value());
    EXPECT_EQ(lookup.problem.empty(), c.baseIssue.has_value());  // plain words exactly when there is no base
    if (!lookup.base)
        return;
    EXPECT_EQ(lookup.base->issue, c.issue);
    EXPECT_EQ(lookup.base->baseIssue, *c.baseIssue);
    EXPECT_EQ(issues[lookup.base->baseIndex], *c.baseIssue);
    EXPECT_EQ(rangeEndBefore(issues, c.issue), c.rangeEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VerificationBaseDraw,
    ::testing::Values(BaseCase{"MiddleOfAYear", &kGapped, 2013058, true, 2, 2013057, 2013057},
                      BaseCase{"FirstIssueOfAYearEndingAt153", &kGapped, 2013001, true, 2, 2012153, 2012153},
                      BaseCase{"IssueNotStored", &kGapped, 2013060, true, 2, 2013059, 2013059},
                      BaseCase{"AfterTheNewest", &kGapped, 2013062, true, 2, 2013061, 2013061},
                      BaseCase{"BackTwo", &kGapped, 2013060, false, 2, 2013058, 2013059},
                      BaseCase{"BackOneIsThePreviousIssue", &kGapped, 2013058, false, 1, 2013057, 2013057},
                      BaseCase{"BackAcrossTheYear", &kGapped, 2013002, false, 3, 2012152, 2013001},
                      BaseCase{"TheFirstStoredIssue", &kGapped, 2012151, true, 2, std::nullopt, 0},
                      BaseCase{"BeforeTheFirstStoredIssue", &kGapped, 2011100, true, 2, std::nullopt, 0},
                      BaseCase{"TooFewDrawsBefore", &kGapped, 2012153, false, 3, std::nullopt, 0},
                      BaseCase{"GapZero", &kGapped, 2013058, false, 0, std::nullopt, 0},
                      BaseCase{"GapZeroIgnoredForThePreviousIssue", &kGapped, 2013058, true, 0, 2013057, 2013057},
                      BaseCase{"PreviousIssue", &kTwoYearEnds, 2013060, true, 2, 2013059, 2013059},
                      BaseCase{"PreviousTwo", &kTwoYearEnds, 2013060, false, 2, 2013058, 2013059},
                      BaseCase{"NotStored", &kTwoYearEnds, 2013061, true, 2, 2013060, 2013060},
                      BaseCase{"AfterAGapInTheIssues", &kTwoYearEnds, 2013040, true, 2, 2013002, 2013002},
                      // 2012 ended at 153, so "2012154" is not stored; the base is 2012153.
                      BaseCase{"FirstIssueYearEndedAt153", &kTwoYearEnds, 2013001, true, 2, 2012153, 2012153},
                      BaseCase{"FirstIssueYearEndedAt154", &kTwoYearEnds, 2012001, true, 2, 2011154, 2011154},
                      BaseCase{"FirstIssuePreviousTwo", &kTwoYearEnds, 2013001, false, 2, 2012152, 2012153},
                      BaseCase{"IsTheFirstStoredDraw", &kTwoYearEnds, 2011153, true, 2, std::nullopt, 0},
                      BaseCase{"BeforeTheFirstStoredDraw", &kTwoYearEnds, 2010001, true, 2, std::nullopt, 0},
                      BaseCase{"TooFewDrawsBeforeIt", &kTwoYearEnds, 2012001, false, 3, std::nullopt, 0},
                      BaseCase{"GapZeroRefused", &kTwoYearEnds, 2013060, false, 0, std::nullopt, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VerificationBaseDraw, OfATypedIssueNeedsSevenDigits) {
    const std::vector<int> one = {2013001};
    const auto found = verificationLookup(one, std::string_view(" 2013005 "), true, 2);
    ASSERT_TRUE(found.base);
    EXPECT_EQ(found.base->issue, 2013005);
    EXPECT_EQ(found.base->baseIssue, 2013001);
    const auto typo = verificationLookup(one, std::string_view("201305"), true, 2);
    EXPECT_FALSE(typo.base);
    EXPECT_NE(typo.problem.find("验证期号“201305”无效"), std::string::npos) << typo.problem;
}

TEST(VerificationBaseDraw, SaysHowManyDrawsThereAreWhenTooFew) {
    const auto lookup = verificationLookup(kGapped, 2012153, false, 3);
    EXPECT_EQ(lookup.problem, "第 2012153 期之前只存有 2 期开奖号码，不足前 3 期之需。");
}

struct EndCase {
    const char* name;
    int issue;
    int expected;
};

class RangeEndBefore : public ::testing::TestWithParam<EndCase> {};

TEST_P(RangeEndBefore, IsTheStoredDrawBeforeOrTheIssueBeforeByTheRule) {
    EXPECT_EQ(rangeEndBefore(kTwoYearEnds, GetParam().issue), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RangeEndBefore,
                         ::testing::Values(EndCase{"OrdinaryIssue", 2013060, 2013059},
                                           EndCase{"FirstIssueAfterAYearEndingAt154", 2012001, 2011154},
                                           EndCase{"FirstIssueAfterAYearEndingAt153", 2013001, 2012153},
                                           EndCase{"NothingStoredBeforeByTheRule", 2011001, 2010154},
                                           EndCase{"NothingStoredBeforeOrdinary", 2011100, 2011099}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RangeEndBefore, TheRuleTakesIssue154OfTheYearBeforeForAFirstIssue) {
    EXPECT_EQ(issueBeforeByRule(2013057), 2013056);
    EXPECT_EQ(issueBeforeByRule(2013001), 2012154);
}

}  // namespace
}  // namespace drawfollow
