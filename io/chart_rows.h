// The rows of a results chart as its rendered text shows them.
#pragma once

#include "store/draw_row.h"

#include <string_view>
#include <vector>

namespace drawfollow {

enum class RowNumbers {
    Read,        // eight two-digit cells where the page's rows have their numbers
    None,        // no two-digit cell after the issue: a draw still to come, or numbers left blank
    Unreadable,  // something else: a cell missing or added, letters, a one-digit number
};

struct ChartRow {
    int issue = 0;
    RowNumbers content = RowNumbers::None;
    Numbers numbers{};  // when Read
};

// Every line of the text whose first cell (cells are separated by tabs, spaces around
// them do not count) is seven ASCII digits and which has more cells after it, in the
// order of the text. Where the numbers stand is learnt from the rows themselves: the
// column of the first run of eight two-digit cells and the number of cells that most
// rows share. A row that differs from them (a cell missing, as when a number is left
// out, or the run starting elsewhere, as when a number holds a letter) is unreadable,
// so that no cell of a neighbouring column or row is ever taken for one of its numbers.
std::vector<ChartRow> chartRows(std::u32string_view text);

// The chart's heading row ("期号", a tab, ...) at the start of a line.
bool showsChartHeading(std::u32string_view text);

}  // namespace drawfollow
