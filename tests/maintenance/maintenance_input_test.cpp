#include "store/maintenance_input.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace drawfollow {
namespace {

struct YearsCase {
    std::string answer;
    std::optional<int> years;
};

void PrintTo(const YearsCase& c, std::ostream* os) {
    *os << '"' << c.answer << '"';
}

class YearsToKeep : public ::testing::TestWithParam<YearsCase> {};

TEST_P(YearsToKeep, AcceptsOnlyAnswersThatRoundInto2To16) {
    EXPECT_EQ(yearsToKeepOf(GetParam().answer), GetParam().years) << "answer: '" << GetParam().answer << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, YearsToKeep,
    ::testing::Values(YearsCase{"16", 16}, YearsCase{"2", 2}, YearsCase{" 6 ", 6}, YearsCase{"+6", 6},
                      YearsCase{"1", {}}, YearsCase{"17", {}}, YearsCase{"0", {}}, YearsCase{"-3", {}},
                      YearsCase{"abc", {}}, YearsCase{"6abc", {}}, YearsCase{"", {}}, YearsCase{"   ", {}},
                      // halves go to the even neighbour
                      YearsCase{"2.5", 2}, YearsCase{"3.5", 4}, YearsCase{"16.5", 16}, YearsCase{"1.5", 2},
                      YearsCase{"0.5", {}}, YearsCase{"15.5", 16}, YearsCase{"1.4", {}}, YearsCase{"16.6", {}},
                      YearsCase{"6.49", 6}, YearsCase{"1e1", 10}, YearsCase{"inf", {}}, YearsCase{"nan", {}},
                      YearsCase{"0x10", {}}, YearsCase{"+-6", {}}, YearsCase{"99999999999999999999999", {}}));

TEST(TrimAnswer, AnythingButAWholeNumberInTheIssueRangeDeletesNothing) {
    EXPECT_EQ(trimAnswerOf("2014016"), 2014016);
    EXPECT_EQ(trimAnswerOf(" 3 "), 3);
    EXPECT_EQ(trimAnswerOf("2.5"), 2);
    EXPECT_EQ(trimAnswerOf("-4"), -4);
    EXPECT_EQ(trimAnswerOf(""), 0);
    EXPECT_EQ(trimAnswerOf("三"), 0);
    EXPECT_EQ(trimAnswerOf("2014016期"), 0);
    EXPECT_EQ(trimAnswerOf("3000000000"), 0);
}

}  // namespace
}  // namespace drawfollow
