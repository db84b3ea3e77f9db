#include "store/attributes.h"

#include <gtest/gtest.h>

#include <set>

namespace drawfollow {
namespace {

TEST(ZodiacYear, FollowsTheSpringFestivalEntryOfTheIssueYear) {
    // 2013's entry is 16: its 16th draw still belongs to the old zodiac year.
    EXPECT_EQ(zodiacYearOfIssue(2013016), 2012);
    EXPECT_EQ(zodiacYearOfIssue(2013017), 2013);
    // Observed entries after the first published table.
    EXPECT_EQ(zodiacYearOfIssue(2026019), 2025);
    EXPECT_EQ(zodiacYearOfIssue(2026020), 2026);
    EXPECT_EQ(zodiacYearOfIssue(2017011), 2016);
    EXPECT_EQ(zodiacYearOfIssue(2017012), 2017);
    // Estimated entries, and years beyond the table count 0.
    EXPECT_EQ(zodiacYearOfIssue(2034021), 2033);
    EXPECT_EQ(zodiacYearOfIssue(2041001), 2041);
    EXPECT_EQ(zodiacYearOfIssue(2097001), 2097);
}

TEST(ZodiacYear, KeepsTheGivenEntriesOfTheFirstYears) {
    const int given[] = {7, 11, 9, 7, 16, 12, 21, 15, 10, 19, 16, 9, 16, 13, 21, 16};
    for (int year = 2001; year <= 2016; ++year)
        EXPECT_EQ(springFestivalEntry(year), given[year - 2001]) << year;
    EXPECT_EQ(springFestivalEntry(2000), 0);
    EXPECT_EQ(springFestivalEntry(2041), 0);
}

TEST(Attributes, WorkedExampleOfTheFifteenthIssueOf2007) {
    const int year = zodiacYearOfIssue(2007015);
    ASSERT_EQ(year, 2006);
    EXPECT_EQ(animalOfNumber(13, year), 10);  // the dog owns 01 13 25 37 49
    for (int n : {1, 25, 37, 49})
        EXPECT_EQ(animalOfNumber(n, year), 10);
    for (int n : {11, 23, 35, 47})
        EXPECT_EQ(animalOfNumber(n, year), 0);  // the rat

    const auto sequential = ZodiacCodeTable::build(true, 1, year);
    const auto byAge = ZodiacCodeTable::build(false, 1, year);
    const Numbers draw = {13, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(attributesOf(draw, year, sequential, 1)[index(Kind::Zodiac)][0], 11);
    const DrawValues v = attributesOf(draw, year, byAge, 1);
    EXPECT_EQ(v[index(Kind::Zodiac)][0], 1);
    EXPECT_EQ(v[index(Kind::Head)][0], 1);
    EXPECT_EQ(v[index(Kind::Tail)][0], 3);
    EXPECT_EQ(v[index(Kind::DigitSum)][0], 4);
    EXPECT_EQ(v[index(Kind::Segment)][0], 5);
}

TEST(Attributes, AgeModeCodesFollowTheNumberWithinTheTableYear) {
    for (int year : {2006, 2013, 2026})
        for (int offset : {0, 1}) {
            const auto table = ZodiacCodeTable::build(false, offset, year);
            for (int n = 1; n <= 30; ++n)
                EXPECT_EQ(table.code(animalOfNumber(n, year)), (n - 1) % 12 + offset) << year << ' ' << n;
        }
}

TEST(Attributes, CodeTablesArePermutationsOfTheOffsetRange) {
    for (bool sequential : {false, true})
        for (int offset : {0, 1})
            for (int year : {1900, 1972, 1982, 1983, 2013, 2096, 2200}) {
                const auto table = ZodiacCodeTable::build(sequential, offset, year);
                std::set<int> codes;
                for (int k = 0; k < kAnimals; ++k) {
                    codes.insert(table.code(k));
                    EXPECT_EQ(table.animalOfCode(table.code(k)), k);
                }
                EXPECT_EQ(codes.size(), 12u);
                EXPECT_EQ(*codes.begin(), offset);
                EXPECT_EQ(*codes.rbegin(), offset + 11);
                EXPECT_FALSE(table.animalOfCode(offset + 12).has_value());
            }
}

TEST(Attributes, YearsBeforeTheRatYearStillGiveAnAnimal) {
    for (int year : {1900, 1971, 1982})
        for (int n = 1; n <= 30; ++n) {
            const int animal = animalOfNumber(n, year);
            EXPECT_GE(animal, 0);
            EXPECT_LT(animal, kAnimals);
        }
    EXPECT_EQ(animalOfNumber(1, 1960), 0);  // 1960 is a year of the rat
}

TEST(Attributes, NumbersOutsideEveryGroupAreTheLastAnimal) {
    for (int n : {0, 50, 99})
        EXPECT_EQ(animalOfNumber(n, 2013), 11);
}

TEST(Attributes, ZodiacNamesComeFromTheCurrentCodeTable) {
    // Number 13 in zodiac year 2006 is the dog and gets age code 1.
    const auto byAge = ZodiacCodeTable::build(false, 1, 2006);
    EXPECT_EQ(zodiacName(byAge, 1), "狗");
    const auto sequential = ZodiacCodeTable::build(true, 1, 2006);
    EXPECT_EQ(zodiacName(sequential, 1), "鼠");
    EXPECT_EQ(zodiacName(sequential, 12), "猪");
    EXPECT_EQ(zodiacName(sequential, 0), "");
}

TEST(Attributes, SegmentsDependOnTheOffset) {
    EXPECT_EQ(segmentOf(30, 0), 9);
    EXPECT_EQ(segmentOf(30, 1), 10);
    EXPECT_EQ(segmentOf(1, 0), 0);
    EXPECT_EQ(segmentOf(3, 1), 1);
    EXPECT_EQ(segmentOf(4, 1), 2);
}

}  // namespace
}  // namespace drawfollow
