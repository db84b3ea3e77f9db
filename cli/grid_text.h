// Grids as aligned plain text for the terminal.
#pragma once

#include "store/grid_cell.h"
#include "store/row_grid.h"
#include "store/text_grid.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow::cli {

// Columns a text takes in a terminal: two for CJK characters, one for the rest.
int displayWidth(std::string_view utf8);

// Cells left-aligned in columns two blanks apart, for rows that are written as they are
// produced: every row is measured first, then each line written alone.
class AlignedColumns {
public:
    void measure(std::span<const std::string> row);
    // The row as one line, with its newline and without trailing blanks.
    std::string line(std::span<const std::string> row) const;

private:
    std::vector<int> widths_;
};

// One line per grid row, cells left-aligned in columns two blanks apart; a figure as it shows.
std::string alignedText(const TextGrid& grid);
std::string alignedText(const CellGrid& grid);
// The same written line by line, without the whole text in memory beside the grid: the
// figures are formatted once for measuring and again for writing.
void writeAlignedText(std::ostream& out, const TextGrid& grid);
void writeAlignedText(std::ostream& out, const CellGrid& grid);
// Lines made on demand are made twice, once for measuring and once for writing, never kept.
void writeAlignedText(std::ostream& out, const RowGrid& grid);

}  // namespace drawfollow::cli
