// The window's history grid as cells: a header row, then one row per draw.
#pragma once

#include "store/draw_row.h"
#include "store/grid_cell.h"
#include "store/history_db.h"

#include <span>

namespace drawfollow {

// "期号", "平1码" .. "平7码", "特码".
std::vector<std::string> historyGridHeader();

// Issue, then the eight numbers, each a whole number (shown without a leading zero).
CellGrid historyGrid(std::span<const DrawInput> draws);
// The same rows made one at a time, for a file written as they come; `draws` must outlive them.
CellRows historyGridRows(std::span<const DrawInput> draws);
CellGrid historyGrid(HistoryDb& db);

}  // namespace drawfollow
