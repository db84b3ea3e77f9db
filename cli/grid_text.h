// Grids as aligned plain text for the terminal.
#pragma once

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

// One line per grid row, cells left-aligned in columns two blanks apart.
std::string alignedText(const TextGrid& grid);
// The same written line by line, without the whole text in memory beside the grid.
void writeAlignedText(std::ostream& out, const TextGrid& grid);

}  // namespace drawfollow::cli
