// The shapes (形态) of the stored draws of a range, and each measure's distribution over it
// beside what chance gives.
//
// 重号 compares a draw with the stored draw before it, which for the range's first draw lies
// before the range: only the history's first draw has none, and it is left out of 重号's
// counts, figures and test (its trend value is empty).
#pragma once

#include "analysis/chi_square.h"
#include "analysis/shape_measures.h"
#include "analysis/trend_table.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drawfollow {

// One row per draw in issue order, one value per measure.
class ShapeTable {
public:
    TallyScope scope() const { return scope_; }
    int rowCount() const { return static_cast<int>(issues_.size()); }
    int issue(int row) const { return issues_[static_cast<size_t>(row)]; }
    const std::vector<int>& issues() const { return issues_; }
    // None only for 重号 of the history's first draw.
    std::optional<int> value(int row, ShapeMeasure measure) const;

private:
    friend ShapeTable shapesOf(std::span<const KindValues> numbers, size_t firstInRange, TallyScope scope);

    static constexpr int16_t kNone = -1;
    TallyScope scope_ = TallyScope::Regular;
    std::vector<int> issues_;
    std::vector<std::array<int16_t, kShapeMeasureCount>> values_;
};

// The shapes of the draws numbers[firstInRange..], numbers being stored draws in issue order
// (their numbers, positions 1..8); the draw before firstInRange, when there is one, is the
// previous draw of the first. A draw whose scope holds a number outside 1..30 or one number
// twice is refused (StoreError): its shape would be no shape a draw can have.
ShapeTable shapesOf(std::span<const KindValues> numbers, size_t firstInRange, TallyScope scope);

// The shapes of the snapshot's draws in `range`, the draw before it taken as the previous
// draw of the first. Refused as readShapes refuses.
ShapeTable shapesOf(const HistorySnapshot& history, TallyScope scope, const IssueRange& range = {});

// The shapes of the stored draws in `range`, over a snapshot of the numbers. A range whose
// first issue lies after its last is refused (StoreError), and so is the 特码 scope.
ShapeTable readShapes(HistoryDb& db, TallyScope scope, const IssueRange& range = {});

struct ShapeValue {
    int value = 0;
    std::string text;     // "3:2:2" for a zone
    long long count = 0;  // draws of the range with this value
    double expected = 0;  // draws · chance
    double chance = 0;    // the chance of this value in one draw
};

struct ShapeDistribution {
    ShapeMeasure measure = ShapeMeasure::Sum;
    int draws = 0;                       // the draws with a value of the measure
    std::vector<ShapeValue> values;      // every value with a nonzero chance, ascending
    std::vector<ValueFigures> omission;  // the same values' 遗漏 figures over those draws
    ChiSquareFit fit;
    std::string verdict;
};

ShapeDistribution distributionOf(const ShapeTable& table, ShapeMeasure measure);

}  // namespace drawfollow
