// The lines under a trend chart and the columns of an omission table: each figure of a
// value with its Chinese name and its text, so that every view words them alike.
#pragma once

#include "analysis/trend_table.h"
#include "store/grid_cell.h"

#include <array>
#include <string>
#include <string_view>

namespace drawfollow {

enum class Figure { Count, Draws, Average, Max, MaxStreak, Current, LastIssue };

// The lines under the chart, in the order players know them.
inline constexpr std::array kTrendSummaryLines = {Figure::Count, Figure::Average, Figure::Max, Figure::MaxStreak,
                                                  Figure::Current};
// The columns of the omission table after the value.
inline constexpr std::array kOmissionTableFigures = {Figure::Count,   Figure::Draws,     Figure::Current,  Figure::Max,
                                                     Figure::Average, Figure::MaxStreak, Figure::LastIssue};

// 出现次数, 出现期数, 平均遗漏, 最大遗漏, 最大连出, 当前遗漏, 最后出现.
std::string_view figureName(Figure figure);

// The figure as a cell: a whole number, the average with two decimals, the last issue
// empty when the value was never drawn.
GridCell figureCell(const ValueFigures& figures, Figure figure);
// What that cell shows.
std::string figureText(const ValueFigures& figures, Figure figure);

}  // namespace drawfollow
