// The window's history grid as cell texts: a header row, then one row per draw.
#pragma once

#include "store/draw_row.h"
#include "store/history_db.h"
#include "store/text_grid.h"

#include <span>

namespace drawfollow {

// "期号", "平1码" .. "平7码", "特码".
std::vector<std::string> historyGridHeader();

// Issue, then the eight numbers as plain integers without a leading zero.
TextGrid historyGrid(std::span<const DrawInput> draws);
// The same rows made one at a time, for a file written as they come; `draws` must outlive them.
GridRows historyGridRows(std::span<const DrawInput> draws);
TextGrid historyGrid(HistoryDb& db);

}  // namespace drawfollow
