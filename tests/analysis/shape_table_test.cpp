// The shapes of a stored range: the previous draw of 重号, the counts beside chance, the
// omission figures and the refusals.
#include "analysis/shape_table.h"
#include "analysis/shape_chance.h"

#include "search_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace drawfollow {
namespace {

using test::draw;

class StoredShapes : public ::testing::Test {
protected:
    test::SearchHistory h{{draw(2020001, {1, 2, 3, 10, 15, 22, 30, 16}), draw(2020002, {5, 6, 7, 8, 9, 20, 21, 11}),
                           draw(2020003, {1, 2, 5, 6, 11, 16, 29, 30}), draw(2020005, {1, 2, 5, 6, 3, 4, 7, 30})},
                          test::settingsFor(2020)};

    // One measure of every row, "-" where it has none.
    std::string column(const ShapeTable& table, ShapeMeasure m) {
        std::string text;
        for (int row = 0; row < table.rowCount(); ++row) {
            const std::optional<int> v = table.value(row, m);
            text += (row > 0 ? " " : "") + (v ? shapeValueText(m, *v) : "-");
        }
        return text;
    }
};

TEST_F(StoredShapes, RepeatComparesWithThePreviousStoredDrawEvenBeforeTheRange) {
    const ShapeTable regular = readShapes(h.db(), TallyScope::Regular);
    EXPECT_EQ(regular.issues(), (std::vector<int>{2020001, 2020002, 2020003, 2020005}));
    // 003 holds 5 6 of 002; 005, after a gap in the issues, 1 2 5 6 of 003.
    EXPECT_EQ(column(regular, ShapeMeasure::Repeat), "- 0 2 4");
    EXPECT_EQ(column(readShapes(h.db(), TallyScope::All), ShapeMeasure::Repeat), "- 0 3 5");
    EXPECT_EQ(column(regular, ShapeMeasure::Sum), "83 76 70 28");
    EXPECT_EQ(column(regular, ShapeMeasure::Zone), "4:1:2 5:1:1 4:2:1 7:0:0");

    // The range's first draw still has the draw before it.
    const ShapeTable tail = readShapes(h.db(), TallyScope::Regular, {2020002, 2020004});
    EXPECT_EQ(tail.issues(), (std::vector<int>{2020002, 2020003}));
    EXPECT_EQ(column(tail, ShapeMeasure::Repeat), "0 2");
    EXPECT_EQ(distributionOf(tail, ShapeMeasure::Repeat).draws, 2);
    // Without the history's first draw to compare, 重号 counts one draw less.
    const ShapeDistribution repeats = distributionOf(regular, ShapeMeasure::Repeat);
    EXPECT_EQ(repeats.draws, 3);
    EXPECT_EQ(distributionOf(regular, ShapeMeasure::Sum).draws, 4);
}

TEST_F(StoredShapes, CountsStandBesideChanceWithTheirOmission) {
    const ShapeTable table = readShapes(h.db(), TallyScope::Regular);
    const ShapeDistribution d = distributionOf(table, ShapeMeasure::Consecutive);
    // Consecutive pairs: 2, 5, 2 (1-2, 5-6), 6.
    const std::vector<ShapeChance>& chance = shapeDistribution(ShapeMeasure::Consecutive, TallyScope::Regular);
    ASSERT_EQ(d.values.size(), chance.size());
    ASSERT_EQ(d.omission.size(), chance.size());
    long long total = 0;
    for (size_t i = 0; i < d.values.size(); ++i) {
        const ShapeValue& v = d.values[i];
        EXPECT_EQ(v.value, chance[i].value);
        EXPECT_EQ(v.chance, chance[i].chance);
        EXPECT_DOUBLE_EQ(v.expected, 4 * chance[i].chance);
        EXPECT_EQ(v.count, d.omission[i].count);
        total += v.count;
    }
    EXPECT_EQ(total, 4);
    const ValueFigures& two = d.omission[2];
    EXPECT_EQ(two.name, GridCell::whole(2));
    EXPECT_EQ(two.count, 2);
    EXPECT_EQ(two.current, 1);
    EXPECT_EQ(two.max, 1);
    EXPECT_EQ(two.lastIssue, 2020003);
    const ValueFigures& none = d.omission[0];
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(none.current, 4);
    EXPECT_FALSE(none.lastIssue);
    EXPECT_DOUBLE_EQ(none.average, 4.0);
    // Four draws expect fewer than five of anything: one bin, no test.
    EXPECT_FALSE(d.fit.p);
}

TEST_F(StoredShapes, RangesAndScopesThatHaveNoShapeAreRefused) {
    EXPECT_THROW(readShapes(h.db(), TallyScope::Special), StoreError);
    try {
        readShapes(h.db(), TallyScope::Regular, {2020003, 2020001});
        FAIL() << "a reversed range was read";
    } catch (const StoreError& e) {
        EXPECT_STREQ(e.what(), "起始期号 2020003 大于截止期号 2020001。");
    }
    const ShapeTable empty = readShapes(h.db(), TallyScope::Regular, {2021001, std::nullopt});
    EXPECT_EQ(empty.rowCount(), 0);
    const ShapeDistribution d = distributionOf(empty, ShapeMeasure::Ac);
    EXPECT_EQ(d.draws, 0);
    EXPECT_FALSE(d.fit.chi2);
}

// A damaged file could hand back a number twice or one out of range: it has no shape, and
// counting it would put a draw under a value chance never gives.
TEST(ShapesOf, DrawsThatCannotBeDrawsAreRefused) {
    std::vector<KindValues> numbers(2);
    numbers[0] = {2020001, {1, 2, 3, 4, 5, 6, 7, 8}};
    numbers[1] = {2020002, {1, 2, 3, 4, 5, 6, 6, 8}};
    try {
        shapesOf(numbers, 0, TallyScope::Regular);
        FAIL() << "a repeated number was measured";
    } catch (const StoreError& e) {
        EXPECT_STREQ(e.what(), "第 2020002 期的号码不是 7 个不同的 1～30 号码，无法分析形态。");
    }
    numbers[1] = {2020002, {1, 2, 3, 4, 5, 6, 31, 8}};
    EXPECT_THROW(shapesOf(numbers, 0, TallyScope::Regular), StoreError);
    // A special number equal to a regular one only matters under 平特.
    numbers[1] = {2020002, {1, 2, 3, 4, 5, 6, 7, 7}};
    EXPECT_EQ(shapesOf(numbers, 1, TallyScope::Regular).value(0, ShapeMeasure::Repeat), 7);
    EXPECT_THROW(shapesOf(numbers, 0, TallyScope::All), StoreError);
}

}  // namespace
}  // namespace drawfollow
