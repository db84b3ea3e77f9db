// A grid of cell texts exactly as a window grid shows it, header row first.
// The searches produce them, the window shows them and the spreadsheet export writes them.
#pragma once

#include <string>
#include <vector>

namespace drawfollow {

using TextGrid = std::vector<std::vector<std::string>>;

}  // namespace drawfollow
