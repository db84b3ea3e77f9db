// The follow or combination search run over rows held in memory: the same marking as the
// stored search, the same tally, no write. For running one panel's search many times over
// (the walk-forward backtest), each run costing one pass over the rows it searches.
#pragma once

#include "analysis/rows_in_memory.h"
#include "analysis/search.h"

#include <span>
#include <vector>

namespace drawfollow {

class MemorySearch {
public:
    // Reads the rows once. `settings` fixes what every later search shares: everything but
    // the base values and the range.
    MemorySearch(HistoryDb& db, const SearchSettings& settings, bool combination);

    const RowsInMemory& rows() const { return rows_; }

    // The rows (indices in issue order) of [from, to) the search on `inputs` selects; the
    // inputs hold base values and share the settings given at construction.
    std::vector<size_t> hits(const SearchInputs& inputs, size_t from, size_t to) const;
    // The same, over the inputs' own range (起 and 止 as numbers).
    std::vector<size_t> hits(const SearchInputs& inputs) const;

    // The tally of the hits in the grid's order: every listed value of the result kind, the
    // largest count first, ties in ascending value order.
    std::vector<TallyRow> tally(const SearchInputs& inputs, std::span<const size_t> hits) const;

private:
    search_steps::MarkingUpdate marking(const SearchInputs& inputs) const;

    bool combination_;
    RowsInMemory rows_;
};

}  // namespace drawfollow
