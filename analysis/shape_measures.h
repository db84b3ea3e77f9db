// The shape of one draw (形态): figures of its numbers as a set, the way players read a draw
// at a glance. The numbers are the scope's: the seven regular ones, or all eight with the
// special one under 平特.
#pragma once

#include "analysis/search.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace drawfollow {

enum class ShapeMeasure {
    Sum,          // 和值: the sum
    Span,         // 跨度: largest − smallest
    Odd,          // 奇偶: how many are odd
    Big,          // 大小: how many lie in 16..30
    Prime,        // 质合: how many are 质 (1 counts as 质, as the lottery sites count it)
    Consecutive,  // 连号: pairs of consecutive numbers
    Repeat,       // 重号: how many the previous stored draw also holds
    Ac,           // AC: distinct positive differences − (count − 1)
    Zone,         // 区间: the counts in 1–10, 11–20, 21–30
};

inline constexpr std::array kShapeMeasures = {ShapeMeasure::Sum,    ShapeMeasure::Span,  ShapeMeasure::Odd,
                                              ShapeMeasure::Big,    ShapeMeasure::Prime, ShapeMeasure::Consecutive,
                                              ShapeMeasure::Repeat, ShapeMeasure::Ac,    ShapeMeasure::Zone};
inline constexpr int kShapeMeasureCount = static_cast<int>(kShapeMeasures.size());

constexpr int index(ShapeMeasure m) {
    return static_cast<int>(m);
}

// 和值, 跨度, 奇偶, 大小, 质合, 连号, 重号, AC, 区间.
std::string_view measureName(ShapeMeasure measure);

// A set of numbers 1..30 as bits: bit n holds n.
using NumberSet = uint32_t;

// The scope's numbers of a draw: positions 1..7, and 8 too under 平特. The numbers of a
// stored draw are distinct, so the set has 7 or 8 members.
NumberSet scopeNumbers(const std::array<int, kPositions>& numbers, TallyScope scope);
int numbersInScope(TallyScope scope);

// A measure of the set; every one but 重号, which needs the draw before (repeatCount) and is
// refused here (std::invalid_argument).
// 区间 is coded as a·100 + b·10 + c, so that the codes order the zones by their three counts.
int shapeOf(ShapeMeasure measure, NumberSet numbers);
int repeatCount(NumberSet numbers, NumberSet previous);

// The value as shown: the zone as the text "3:2:2", every other measure as its number.
GridCell shapeValueCell(ShapeMeasure measure, int value);
std::string shapeValueText(ShapeMeasure measure, int value);

}  // namespace drawfollow
