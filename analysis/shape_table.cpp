#include "analysis/shape_table.h"

#include "analysis/shape_chance.h"
#include "store/lottery_shape.h"

#include <algorithm>
#include <array>

namespace drawfollow {

namespace {

NumberSet checkedScopeNumbers(const KindValues& draw, TallyScope scope) {
    const int wanted = numbersInScope(scope);
    const auto scopeNumbers = std::span(draw.values).first(static_cast<size_t>(wanted));
    if (drawFault(scopeNumbers))
        throw StoreError("第 " + std::to_string(draw.issue) + " 期的号码不是 " + std::to_string(wanted) +
                         " 个不同的 1～30 号码，无法分析形态。");
    NumberSet set = 0;
    for (const int n : scopeNumbers)
        set |= NumberSet{1} << n;
    return set;
}

}  // namespace

std::optional<int> ShapeTable::value(int row, ShapeMeasure measure) const {
    const int16_t v = values_[static_cast<size_t>(row)][static_cast<size_t>(index(measure))];
    if (v == kNone)
        return std::nullopt;
    return v;
}

ShapeTable shapesOf(std::span<const KindValues> numbers, size_t firstInRange, TallyScope scope) {
    if (scope == TallyScope::Special)
        throw StoreError("形态分析只看平码或平特，单个特码没有形态。");
    ShapeTable table;
    table.scope_ = scope;
    const size_t first = std::min(firstInRange, numbers.size());
    table.issues_.reserve(numbers.size() - first);
    table.values_.reserve(numbers.size() - first);
    std::optional<NumberSet> previous;
    if (first > 0)
        previous = checkedScopeNumbers(numbers[first - 1], scope);
    for (size_t i = first; i < numbers.size(); ++i) {
        const NumberSet set = checkedScopeNumbers(numbers[i], scope);
        auto& row = table.values_.emplace_back();
        for (ShapeMeasure m : kShapeMeasures)
            if (m != ShapeMeasure::Repeat)
                row[static_cast<size_t>(index(m))] = static_cast<int16_t>(shapeOf(m, set));
        row[static_cast<size_t>(index(ShapeMeasure::Repeat))] =
            previous ? static_cast<int16_t>(repeatCount(set, *previous)) : ShapeTable::kNone;
        table.issues_.push_back(numbers[i].issue);
        previous = set;
    }
    return table;
}

ShapeTable shapesOf(const HistorySnapshot& history, TallyScope scope, const IssueRange& range) {
    const RowSpan rows = rowsInRange(history.issues(), range);
    const size_t from = rows.begin > 0 ? rows.begin - 1 : 0;
    std::vector<KindValues> numbers;
    numbers.reserve(rows.end - from);
    for (size_t r = from; r < rows.end; ++r) {
        const StoredDraw& draw = history.draws()[r];
        KindValues& row = numbers.emplace_back();
        row.issue = draw.issue;
        std::copy(draw.own[index(Kind::Number)].begin(), draw.own[index(Kind::Number)].end(), row.values.begin());
    }
    return shapesOf(numbers, rows.begin - from, scope);
}

ShapeTable readShapes(HistoryDb& db, TallyScope scope, const IssueRange& range) {
    const std::array kinds = {Kind::Number};
    return shapesOf(HistorySnapshot::read(db, kinds), scope, range);
}

ShapeDistribution distributionOf(const ShapeTable& table, ShapeMeasure measure) {
    const std::vector<ShapeChance>& chances = shapeDistribution(measure, table.scope());
    ShapeDistribution result;
    result.measure = measure;
    result.values.reserve(chances.size());
    result.omission.resize(chances.size());
    for (size_t i = 0; i < chances.size(); ++i) {
        ShapeValue& value = result.values.emplace_back();
        value.value = chances[i].value;
        result.omission[i].name = shapeValueCell(measure, value.value);
        value.text = result.omission[i].name.text();
        value.chance = chances[i].chance;
        result.omission[i].value = value.value;
    }
    std::vector<FigureRun> runs(result.omission.begin(), result.omission.end());
    for (int row = 0; row < table.rowCount(); ++row) {
        const std::optional<int> v = table.value(row, measure);
        if (!v)
            continue;
        ++result.draws;
        for (size_t i = 0; i < chances.size(); ++i)
            runs[i].add(table.issue(row), chances[i].value == *v ? 1 : 0);
    }
    std::vector<long long> observed;
    std::vector<double> expected;
    for (size_t i = 0; i < chances.size(); ++i) {
        runs[i].finish(result.draws);
        ShapeValue& value = result.values[i];
        value.count = result.omission[i].count;
        value.expected = result.draws * value.chance;
        observed.push_back(value.count);
        expected.push_back(value.expected);
    }
    result.fit = chiSquareFit(observed, expected);
    result.verdict = fitVerdict(result.fit);
    return result;
}

}  // namespace drawfollow
