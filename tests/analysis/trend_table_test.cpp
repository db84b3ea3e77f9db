#include "analysis/trend_table.h"
#include "analysis/trend_summary.h"

#include "search_fixture.h"

#include <gtest/gtest.h>

#include <numeric>

namespace drawfollow {
namespace {

using test::draw;

// Five draws worked through by hand. Number 1: regular in 001, 002, 005, special in 003.
// Tail 1 (01, 11, 21): 1, 2, 2 (21 regular, 01 special), 0, 2 times; tail 0 only in 005,
// three times (10, 20, 30). Number 29 never comes.
class HandWorked : public ::testing::Test {
protected:
    test::SearchHistory h{{draw(2020001, {1, 2, 3, 4, 5, 6, 7, 8}), draw(2020002, {1, 11, 12, 13, 14, 15, 16, 17}),
                           draw(2020003, {21, 22, 23, 24, 25, 26, 27, 1}), draw(2020004, {2, 3, 4, 5, 6, 7, 8, 9}),
                           draw(2020005, {1, 2, 10, 20, 30, 11, 12, 13})},
                          test::settingsFor(2020)};

    TrendTable trend(Kind kind, TallyScope scope, IssueRange range = {}) {
        return readTrend(h.db(), {kind, scope, h.settings()}, range);
    }
};

struct Expected {
    const char* what;
    Kind kind;
    TallyScope scope;
    IssueRange range;
    int value;
    std::vector<int> omissions;  // per draw of the range
    std::vector<int> counts;
    int count, draws, current, max;
    double average;
    int maxStreak;
    std::optional<int> lastIssue;
};

TEST_F(HandWorked, EveryFigureOfEveryCaseAsWorkedOut) {
    const std::vector<Expected> cases = {
        {"1 anywhere",
         Kind::Number,
         TallyScope::All,
         {},
         1,
         {0, 0, 0, 1, 0},
         {1, 1, 1, 0, 1},
         4,
         4,
         0,
         1,
         0.2,
         3,
         2020005},
        {"1 as a regular number",
         Kind::Number,
         TallyScope::Regular,
         {},
         1,
         {0, 0, 1, 2, 0},
         {1, 1, 0, 0, 1},
         3,
         3,
         0,
         2,
         0.5,
         2,
         2020005},
        {"1 as the special number",
         Kind::Number,
         TallyScope::Special,
         {},
         1,
         {1, 2, 0, 1, 2},
         {0, 0, 1, 0, 0},
         1,
         1,
         2,
         2,
         2.0,
         1,
         2020003},
        {"29, never drawn",
         Kind::Number,
         TallyScope::All,
         {},
         29,
         {1, 2, 3, 4, 5},
         {0, 0, 0, 0, 0},
         0,
         0,
         5,
         5,
         5.0,
         0,
         std::nullopt},
        {"tail 1, twice in a draw",
         Kind::Tail,
         TallyScope::All,
         {},
         1,
         {0, 0, 0, 1, 0},
         {1, 2, 2, 0, 2},
         7,
         4,
         0,
         1,
         0.2,
         3,
         2020005},
        {"tail 0, three times in the last draw",
         Kind::Tail,
         TallyScope::All,
         {},
         0,
         {1, 2, 3, 4, 0},
         {0, 0, 0, 0, 3},
         3,
         1,
         0,
         4,
         2.0,
         1,
         2020005},
        // The run starts at the range's first draw, and the range's last draw is the current one.
        {"1 within 002..004",
         Kind::Number,
         TallyScope::All,
         {2020002, 2020004},
         1,
         {0, 0, 1},
         {1, 1, 0},
         2,
         2,
         1,
         1,
         1.0 / 3,
         2,
         2020003},
        {"2 within 002..004",
         Kind::Number,
         TallyScope::All,
         {2020002, 2020004},
         2,
         {1, 2, 0},
         {0, 0, 1},
         1,
         1,
         0,
         2,
         1.0,
         1,
         2020004},
        {"2 from 003 on, open end",
         Kind::Number,
         TallyScope::All,
         {2020003, std::nullopt},
         2,
         {1, 0, 0},
         {0, 1, 1},
         2,
         2,
         0,
         1,
         1.0 / 3,
         2,
         2020005},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.what);
        const TrendTable t = trend(e.kind, e.scope, e.range);
        ASSERT_EQ(t.rowCount(), static_cast<int>(e.omissions.size()));
        const int column = e.value - t.column(0).value;
        const ValueFigures& f = t.column(column);
        ASSERT_EQ(f.value, e.value);
        for (int r = 0; r < t.rowCount(); ++r) {
            EXPECT_EQ(t.omission(r, column), e.omissions[r]) << "draw " << t.issue(r);
            EXPECT_EQ(t.count(r, column), e.counts[r]) << "draw " << t.issue(r);
        }
        EXPECT_EQ(f.count, e.count);
        EXPECT_EQ(f.draws, e.draws);
        EXPECT_EQ(f.current, e.current);
        EXPECT_EQ(f.max, e.max);
        EXPECT_DOUBLE_EQ(f.average, e.average);
        EXPECT_EQ(f.maxStreak, e.maxStreak);
        EXPECT_EQ(f.lastIssue, e.lastIssue);
    }
}

TEST_F(HandWorked, ColumnsAreTheTallysValuesAndEveryPositionIsCountedOnce) {
    const TrendTable numbers = trend(Kind::Number, TallyScope::All);
    EXPECT_EQ(numbers.columnCount(), 30);
    EXPECT_EQ(numbers.column(6).text, "7");
    // Every zodiac code of the derived rows is one of the twelve named columns.
    const TrendTable zodiacs = trend(Kind::Zodiac, TallyScope::Regular);
    ASSERT_EQ(zodiacs.columnCount(), 12);
    for (int r = 0; r < zodiacs.rowCount(); ++r) {
        int positions = 0;
        for (int c = 0; c < zodiacs.columnCount(); ++c)
            positions += zodiacs.count(r, c);
        EXPECT_EQ(positions, 7);
    }
    EXPECT_EQ(zodiacs.column(0).text, std::string(zodiacName(h.settings().codes, zodiacs.column(0).value)));
    EXPECT_FALSE(zodiacs.column(0).text.empty());
}

TEST_F(HandWorked, ARangeWithoutDrawsHasEmptyFiguresAndAReversedOneIsRefused) {
    const TrendTable empty = trend(Kind::Head, TallyScope::All, {2021001, 2021100});
    EXPECT_EQ(empty.rowCount(), 0);
    ASSERT_EQ(empty.columnCount(), 4);
    EXPECT_EQ(empty.column(0).average, 0.0);
    EXPECT_FALSE(empty.column(0).lastIssue);
    EXPECT_THROW(trend(Kind::Number, TallyScope::All, {2020004, 2020002}), StoreError);
}

TEST(TrendFigureTexts, AverageHasTwoDecimalsAndANeverDrawnValueNoLastIssue) {
    ValueFigures f;
    f.average = 1.0 / 3;
    EXPECT_EQ(figureText(f, Figure::Average), "0.33");
    EXPECT_EQ(figureText(f, Figure::LastIssue), "");
    f.lastIssue = 2020003;
    EXPECT_EQ(figureText(f, Figure::LastIssue), "2020003");
    EXPECT_EQ(figureName(Figure::MaxStreak), "最大连出");
}

}  // namespace
}  // namespace drawfollow
