// What the panel's boxes hold: a draw's values of a kind, their texts, typed issues.
#include "analysis/panel_values.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

TEST(PanelValues, AreTheStoredValuesOfTheSearchKind) {
    StoredDraw draw;
    draw.issue = 2013060;
    for (int p = 0; p < kPositions; ++p) {
        draw.own[index(Kind::Number)][p] = static_cast<int16_t>(60 + p);
        draw.own[index(Kind::Zodiac)][p] = static_cast<int16_t>(12 - p);
    }
    EXPECT_EQ(valuesOf(draw, Kind::Number), (PositionValues{60, 61, 62, 63, 64, 65, 66, 67}));
    EXPECT_EQ(valuesOf(draw, Kind::Zodiac), (PositionValues{12, 11, 10, 9, 8, 7, 6, 5}));
    EXPECT_EQ(issuesOf(std::vector<StoredDraw>{draw, StoredDraw{2013061, {}}}), (std::vector<int>{2013060, 2013061}));
}

TEST(PanelValues, ZodiacValuesAreNamedByTheCurrentCodeTable) {
    // Number 13 in zodiac year 2006 is the dog. By age with offset 1 its code is 1,
    // which naming by "code − offset" would call 鼠.
    const auto age = ZodiacCodeTable::build(false, 1, 2006);
    const int code = age.code(animalOfNumber(13, 2006));
    EXPECT_EQ(code, 1);
    EXPECT_EQ(valueLabel(Kind::Zodiac, code, age), "狗");
    // In sequential mode the table and "code − offset" agree.
    const auto sequential = ZodiacCodeTable::build(true, 1, 2006);
    EXPECT_EQ(sequential.code(10), 11);
    EXPECT_EQ(valueLabel(Kind::Zodiac, 11, sequential), "狗");
    // A code no animal has (written under the other offset) is shown as the number.
    EXPECT_EQ(valueLabel(Kind::Zodiac, 0, sequential), "0");
    EXPECT_EQ(valueLabel(Kind::Tail, 7, sequential), "7");
}

TEST(PanelValues, PositionsAreNamedAsInTheGrids) {
    EXPECT_EQ(positionLabel(1), "平1码");
    EXPECT_EQ(positionLabel(7), "平7码");
    EXPECT_EQ(positionLabel(8), "特码");
}

TEST(PanelValues, ATypedIssueIsSevenDigitsWithASequence) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"2026097", 2026097},      {" 2026097 ", 2026097},    {"202697", std::nullopt}, {"20260097", std::nullopt},
        {"2026000", std::nullopt}, {"2026O97", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseIssue(text), expected) << '"' << text << '"';
}

}  // namespace
}  // namespace drawfollow
