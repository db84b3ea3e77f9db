// A grid of cell texts exactly as a window grid shows it, header row first.
// The searches produce them, the window shows them and the spreadsheet export writes them.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace drawfollow {

using TextGrid = std::vector<std::vector<std::string>>;

// A grid's rows one at a time, header first, for an output written as they come: each call
// fills `row` with the next row's cells and returns false, leaving `row` as it was, once
// there is none.
using GridRows = std::function<bool(std::vector<std::string>& row)>;

}  // namespace drawfollow
