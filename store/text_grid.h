// A grid of cell texts exactly as a window grid shows them, header row first: what the
// command line's plain tables are made of (grids of figures are store/grid_cell.h).
#pragma once

#include <string>
#include <vector>

namespace drawfollow {

using TextGrid = std::vector<std::vector<std::string>>;

}  // namespace drawfollow
