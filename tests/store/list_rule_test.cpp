#include "store/draw_row.h"

#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

DrawValues valuesOf(const Numbers& numbers, int segmentOffset = 1) {
    return attributesOf(numbers, 2013, ZodiacCodeTable::build(true, 1, 2013), segmentOffset);
}

TEST(ListRule, PlainAndCountedListsOfTheReferenceDraw) {
    const DrawLists lists = listsOf(valuesOf({3, 7, 12, 18, 22, 25, 29, 11}));
    EXPECT_EQ(lists.plain, "03 07 12 18 22 25 29 11 ");
    EXPECT_EQ(lists.plain.size(), 24u);
    EXPECT_EQ(lists.counted[index(Kind::Number)], "1X03 1X07 1X12 1X18 1X22 1X25 1X29 1X11 ");
    EXPECT_EQ(lists.counted[index(Kind::Head)], "1X0 2X0 1X1 2X1 1X2 2X2 3X2 3X1 ");
    EXPECT_EQ(lists.counted[index(Kind::Tail)], "1X3 1X7 1X2 1X8 2X2 1X5 1X9 1X1 ");
    EXPECT_EQ(lists.counted[index(Kind::DigitSum)], "1X03 1X07 2X03 1X09 1X04 2X07 1X11 1X02 ");
    EXPECT_EQ(lists.counted[index(Kind::Segment)], "1X1 1X3 1X4 1X6 1X8 1X9 1X10 2X4 ");
}

TEST(ListRule, TokenFormatsPerKind) {
    // In zodiac year 2013 the numbers 6 and 18 are the rat's: code 0 under offset 0, two digits.
    const auto zeroBased = attributesOf({6, 18, 1, 2, 3, 4, 5, 30}, 2013, ZodiacCodeTable::build(true, 0, 2013), 0);
    const DrawLists lists = listsOf(zeroBased);
    EXPECT_EQ(lists.counted[index(Kind::Zodiac)].substr(0, 10), "1X00 2X00 ");
    EXPECT_EQ(lists.counted[index(Kind::Segment)], "1X1 1X5 1X0 2X0 3X0 2X1 3X1 1X9 ");
    const DrawLists oneBased = listsOf(valuesOf({1, 2, 3, 4, 5, 6, 7, 30}));
    EXPECT_EQ(oneBased.counted[index(Kind::Segment)], "1X1 2X1 3X1 1X2 2X2 3X2 1X3 1X10 ");
}

TEST(ListRule, SpecialNumberRepeatingARegularHeadGetsTheSecondOrdinal) {
    // Only regular number 2 has head 0 besides the special number 5.
    const DrawLists lists = listsOf(valuesOf({2, 11, 12, 13, 14, 15, 16, 5}));
    const std::string& heads = lists.counted[index(Kind::Head)];
    EXPECT_EQ(heads.substr(heads.size() - 4), "2X0 ");
}

TEST(ListRule, ValuesWithoutACounterGiveNoTokenButStayInThePlainList) {
    const DrawLists lists = listsOf(valuesOf({0, 31, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(lists.plain, "00 31 03 04 05 06 07 08 ");
    EXPECT_EQ(lists.counted[index(Kind::Number)], "1X03 1X04 1X05 1X06 1X07 1X08 ");
}

TEST(ListRule, CuttingFourCharactersRemovesTheSpecialNumbersToken) {
    const DrawLists lists = listsOf(valuesOf({3, 7, 12, 18, 22, 25, 29, 11}));
    const std::string& tails = lists.counted[index(Kind::Tail)];
    EXPECT_EQ(tails.substr(0, tails.size() - 4), "1X3 1X7 1X2 1X8 2X2 1X5 1X9 ");
    const std::string& numbers = lists.counted[index(Kind::Number)];
    EXPECT_EQ(numbers.substr(numbers.size() - 5, 1), "1");  // only the ordinal digit is left
}

TEST(DeriveRow, FirstRowHasNoPredecessors) {
    const DrawRow row = deriveRow(test::draw(2013001, {3, 7, 12, 18, 22, 25, 29, 11}), {}, test::settingsFor(2013));
    EXPECT_EQ(row.issue, 2013001);
    EXPECT_EQ(row.nextIssue, 2013002);
    EXPECT_EQ(row.issueText, "2013001");
    EXPECT_EQ(row.previous, DrawValues{});
    EXPECT_EQ(row.back, DrawValues{});
    EXPECT_EQ(row.previousLists, DrawLists{});
    EXPECT_EQ(row.backLists, DrawLists{});
}

TEST(DeriveRow, IssueTextAlwaysHasSevenDigits) {
    EXPECT_EQ(issueText(2013001), "2013001");
    EXPECT_EQ(issueText(12), "0000012");
}

TEST(DrawProblem, AcceptsOnlyEightDistinctNumbersFromOneToThirty) {
    EXPECT_EQ(drawProblem({1, 2, 3, 4, 5, 6, 7, 30}), "");
    EXPECT_EQ(drawProblem({0, 2, 3, 4, 5, 6, 7, 8}), "第 1 个号码 0 不在 1～30 之内");
    EXPECT_EQ(drawProblem({1, 2, 3, 4, 5, 6, 7, 31}), "第 8 个号码 31 不在 1～30 之内");
    EXPECT_EQ(drawProblem({1, 2, 3, 4, 5, 6, 7, 1}), "号码 1 在同一期中重复");
}

TEST(DrawFault, NamesTheFirstPositionThatBreaksTheDraw) {
    const std::array<int, 8> repeatedTwice = {4, 9, 4, 9, 1, 2, 3, 5};
    const auto repeat = drawFault(std::span(repeatedTwice));
    ASSERT_TRUE(repeat);
    EXPECT_EQ(repeat->position, 3);
    EXPECT_EQ(repeat->number, 4);
    EXPECT_EQ(repeat->earlierPosition, 1);

    // A repeat before a number out of range is found first, and the other way round.
    const std::array<int, 8> repeatThenRange = {4, 4, 31, 1, 2, 3, 5, 6};
    EXPECT_EQ(drawFault(std::span(repeatThenRange))->position, 2);
    const std::array<int, 8> rangeThenRepeat = {4, -1, 4, 1, 2, 3, 5, 6};
    const auto range = drawFault(std::span(rangeThenRepeat));
    EXPECT_EQ(range->position, 2);
    EXPECT_EQ(range->earlierPosition, 0);

    // The positions entered so far are checked alone: a good start is no fault.
    EXPECT_FALSE(drawFault(std::span(repeatedTwice).first(2)));
    EXPECT_FALSE(drawFault(std::span<const int>{}));
    // Seven of the numbers, as a shape is read from the regular positions.
    const std::array<int16_t, 7> seven = {1, 30, 15, 16, 2, 29, 3};
    EXPECT_FALSE(drawFault(std::span(seven)));
}

}  // namespace
}  // namespace drawfollow
