// The common second half of both searches: the rows a search selected become the detail
// grid, and their values of the result kind are tallied into Carcu and the tally grid.
#pragma once

#include "analysis/search.h"

#include <span>

namespace drawfollow {

// Fills result.hits and result.detail with the rows of `hits` (issues in ascending order),
// rewrites Carcu with a count for every possible value of the result kind, and fills
// result.tally from those counts, the largest first.
void tallyHits(HistoryDb& db, const SearchInputs& inputs, std::span<const int> hits, SearchResult& result);

// Both grids with their header row only: what a refused search hands back.
void clearResultGrids(const SearchInputs& inputs, SearchResult& result);

}  // namespace drawfollow
