// The common second half of both searches: the rows a search marked in its range become
// the detail grid, and their values of the result kind the tally, in one pass over them.
#pragma once

#include "analysis/history_snapshot.h"
#include "analysis/search.h"

#include <span>

namespace drawfollow {

// Fills result.hits, result.detail and result.tally from the marked rows (snapshot
// indices in issue order) and returns what Carcu is to hold: a count for every listed value
// of the result kind, in ascending value order.
std::vector<TallyRow> tallyHits(const HistorySnapshot& history, const SearchInputs& inputs,
                                std::span<const size_t> rows, SearchResult& result);

// The tally of the rows in the grid's order: every listed value, the largest count first,
// ties in ascending value order.
std::vector<TallyRow> tallyOf(const HistorySnapshot& history, const SearchInputs& inputs, std::span<const size_t> rows);

// Both grids with their header row only: what a refused search hands back.
void clearResultGrids(const SearchInputs& inputs, SearchResult& result);

}  // namespace drawfollow
