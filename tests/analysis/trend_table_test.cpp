#include "analysis/trend_table.h"
#include "analysis/trend_summary.h"

#include "search_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// One column of a chart as "omissions | counts | figures", the figures in the omission
// table's order: count, draws, current, max, average (two decimals), max streak, last issue.
std::string columnText(const TrendTable& t, int column) {
    std::string omissions, counts, figures;
    for (int r = 0; r < t.rowCount(); ++r) {
        omissions += std::to_string(t.omission(r, column)) + ' ';
        counts += std::to_string(t.count(r, column)) + ' ';
    }
    for (Figure f : kOmissionTableFigures) {
        const std::string text = figureText(t.column(column), f);
        figures += ' ' + (text.empty() ? "never" : text);
    }
    return omissions + "|" + ' ' + counts + "|" + figures;
}

TEST_F(HandWorked, EveryCellAndFigureAsWorkedOut) {
    struct Case {
        const char* what;
        Kind kind;
        TallyScope scope;
        IssueRange range;
        int value;
        const char* column;
    };
    using enum Kind;
    using enum TallyScope;
    const std::vector<Case> cases = {
        {"1 anywhere", Number, All, {}, 1, "0 0 0 1 0 | 1 1 1 0 1 | 4 4 0 1 0.20 3 2020005"},
        {"1 regular", Number, Regular, {}, 1, "0 0 1 2 0 | 1 1 0 0 1 | 3 3 0 2 0.50 2 2020005"},
        {"1 special", Number, Special, {}, 1, "1 2 0 1 2 | 0 0 1 0 0 | 1 1 2 2 2.00 1 2020003"},
        {"29 never drawn", Number, All, {}, 29, "1 2 3 4 5 | 0 0 0 0 0 | 0 0 5 5 5.00 0 never"},
        {"tail 1, twice in a draw", Tail, All, {}, 1, "0 0 0 1 0 | 1 2 2 0 2 | 7 4 0 1 0.20 3 2020005"},
        {"tail 0, thrice at the end", Tail, All, {}, 0, "1 2 3 4 0 | 0 0 0 0 3 | 3 1 0 4 2.00 1 2020005"},
        // The run starts at the range's first draw; the range's last draw gives the current omission.
        {"1 in 002..004", Number, All, {2020002, 2020004}, 1, "0 0 1 | 1 1 0 | 2 2 1 1 0.33 2 2020003"},
        {"2 in 002..004", Number, All, {2020002, 2020004}, 2, "1 2 0 | 0 0 1 | 1 1 0 2 1.00 1 2020004"},
        {"2 from 003 on", Number, All, {2020003, {}}, 2, "1 0 0 | 0 1 1 | 2 2 0 1 0.33 2 2020005"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TrendTable t = trend(c.kind, c.scope, c.range);
        const int column = c.value - t.column(0).value;
        ASSERT_EQ(t.column(column).value, c.value);
        EXPECT_EQ(columnText(t, column), c.column);
    }
}

TEST_F(HandWorked, ColumnsAreTheTallysValuesAndEveryPositionIsCountedOnce) {
    EXPECT_EQ(trend(Kind::Number, TallyScope::All).columnCount(), 30);
    // Every zodiac code of the derived rows is one of the twelve named columns.
    const TrendTable zodiacs = trend(Kind::Zodiac, TallyScope::Regular);
    ASSERT_EQ(zodiacs.columnCount(), 12);
    for (int r = 0; r < zodiacs.rowCount(); ++r) {
        int positions = 0;
        for (int c = 0; c < zodiacs.columnCount(); ++c)
            positions += zodiacs.count(r, c);
        EXPECT_EQ(positions, 7);
    }
    EXPECT_EQ(zodiacs.column(0).name.text(), std::string(zodiacName(h.settings().codes, zodiacs.column(0).value)));
    EXPECT_FALSE(zodiacs.column(0).name.text().empty());
}

TEST_F(HandWorked, ARangeWithoutDrawsHasEmptyFiguresAndAReversedOneIsRefused) {
    const TrendTable empty = trend(Kind::Head, TallyScope::All, {2021001, 2021100});
    EXPECT_EQ(empty.rowCount(), 0);
    ASSERT_EQ(empty.columnCount(), 4);
    EXPECT_EQ(empty.column(0).average, 0.0);
    EXPECT_FALSE(empty.column(0).lastIssue);
    EXPECT_THROW(trend(Kind::Number, TallyScope::All, {2020004, 2020002}), StoreError);
}

// A walk's rows and figures, one line per draw then one per value.
std::string walkText(TrendWalk& walk) {
    std::string text;
    walk.run([&text](const TrendRow& row) {
        text += std::to_string(row.issue) + ':';
        for (size_t c = 0; c < row.counts.size(); ++c)
            text += ' ' + std::to_string(row.counts[c]) + '/' + std::to_string(row.omissions[c]);
        text += '\n';
    });
    for (const ValueFigures& v : walk.columns()) {
        text += v.name.text();
        for (Figure f : kOmissionTableFigures)
            text += ' ' + figureText(v, f);
        text += '\n';
    }
    return text;
}

TEST_F(HandWorked, AWalkRunAgainGivesTheSameRowsAndFiguresAsTheTable) {
    const HistorySnapshot history = HistorySnapshot::read(h.db());
    TrendWalk walk(history, {Kind::Tail, TallyScope::All, h.settings()}, {2020002, {}});
    const std::string first = walkText(walk);
    EXPECT_EQ(walkText(walk), first);
    EXPECT_EQ(walk.firstIssue(), 2020002);
    EXPECT_EQ(walk.lastIssue(), 2020005);
    const TrendTable table = trend(Kind::Tail, TallyScope::All, {2020002, {}});
    ASSERT_EQ(table.rowCount(), walk.rowCount());
    for (int c = 0; c < table.columnCount(); ++c)
        EXPECT_EQ(figureText(table.column(c), Figure::Average), figureText(walk.columns()[c], Figure::Average));
}

// A snapshot holding every kind charts each kind as a snapshot of that kind alone does.
TEST_F(HandWorked, EveryKindOfOneSnapshotIsChartedFromItsOwnValues) {
    const HistorySnapshot every = HistorySnapshot::read(h.db());
    for (Kind kind : kAllKinds)
        for (TallyScope scope : {TallyScope::All, TallyScope::Regular, TallyScope::Special}) {
            SCOPED_TRACE(index(kind) * 10 + static_cast<int>(scope));
            const TrendChoice choice{kind, scope, h.settings()};
            const TrendTable alone = trend(kind, scope);
            const TrendTable shared = trendOf(every, choice);
            ASSERT_EQ(shared.columnCount(), alone.columnCount());
            for (int r = 0; r < alone.rowCount(); ++r)
                for (int c = 0; c < alone.columnCount(); ++c)
                    ASSERT_EQ(shared.count(r, c), alone.count(r, c)) << r << ' ' << c;
        }
}

TEST(RowsInRange, OpenEndsReachTheHistorysEndsAndIssuesBetweenDrawsCutBetweenThem) {
    const std::vector<int> issues = {2020001, 2020003, 2020005, 2020007};
    const auto rows = [&issues](IssueRange range) {
        const RowSpan span = rowsInRange(issues, range);
        return std::to_string(span.begin) + ".." + std::to_string(span.end);
    };
    EXPECT_EQ(rows({}), "0..4");
    EXPECT_EQ(rows({2020002, 2020006}), "1..3");
    EXPECT_EQ(rows({2020003, 2020005}), "1..3");
    EXPECT_EQ(rows({{}, 2020001}), "0..1");
    EXPECT_EQ(rows({2020008, {}}), "4..4");
    EXPECT_EQ(rows({2020004, 2020004}), "2..2");
    EXPECT_EQ(rowsInRange({}, {}).size(), 0u);
    EXPECT_THROW(rowsInRange(issues, {2020005, 2020003}), StoreError);
}

}  // namespace
}  // namespace drawfollow
