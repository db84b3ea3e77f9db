// The common second half of both searches: the marked rows of the issue range become the
// detail grid, and their values of the result kind are tallied into Carcu and the tally grid.
#pragma once

#include "analysis/search.h"

#include <string_view>

namespace drawfollow {

// Selects the rows of [first, last] that meet `rowCondition` (" AND [intTh] = 3",
// " AND [bolOk]= TRUE"), rewrites Carcu with a count for every possible value of the
// result kind, and fills result.hits, result.detail and result.tally.
void showResults(HistoryDb& db, const SearchInputs& inputs, int first, int last, std::string_view rowCondition,
                 SearchResult& result);

// Both grids with their header row only: what a refused search shows.
void showEmptyGrids(const SearchInputs& inputs, SearchResult& result);

}  // namespace drawfollow
