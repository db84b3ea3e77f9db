// Grids as aligned plain text for the terminal.
#pragma once

#include "store/text_grid.h"

#include <string>
#include <string_view>

namespace drawfollow::cli {

// Columns a text takes in a terminal: two for CJK characters, one for the rest.
int displayWidth(std::string_view utf8);

// One line per grid row, cells left-aligned in columns two blanks apart.
std::string alignedText(const TextGrid& grid);

}  // namespace drawfollow::cli
