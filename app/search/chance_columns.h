// The tally grid with two more columns: what chance alone would give each value
// (期望次数) and how far the count is from it in standard deviations (偏离).
#pragma once

#include "analysis/chance_baseline.h"
#include "store/grid_cell.h"

#include <QPoint>
#include <QString>

#include <vector>

namespace drawfollow {

inline constexpr int kChanceExpectedColumn = 4;
inline constexpr int kChanceZColumn = 5;
// Below this adjusted p a value's 偏离 is shaded.
inline constexpr double kSignificanceLevel = 0.05;

struct ChanceTally {
    CellGrid grid;               // the tally's four columns, then 期望次数 and 偏离
    std::vector<QPoint> shaded;  // the 偏离 cells of the values beyond chance
};

// The tally's header with the two columns, for a grid without a search yet.
std::vector<std::string> chanceTallyHeader();

// `chance` lists the values in the tally's order, one per row below the header.
ChanceTally withChance(CellGrid tally, const ChanceBaseline& chance);

// The tally without a baseline (it could not be read): the two columns stay empty.
CellGrid withoutChance(CellGrid tally);

// The line above the tally grid.
QString chanceLine(const ChanceBaseline& chance);

}  // namespace drawfollow
