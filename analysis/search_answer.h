// A search answered from a snapshot of the history, before anything is written: the caller
// shows it first and then keeps the search's fields (analysis/search_fields.h).
#pragma once

#include "analysis/history_snapshot.h"
#include "analysis/search.h"
#include "analysis/search_marking.h"

#include <optional>
#include <vector>

namespace drawfollow {

struct SearchAnswer {
    SearchResult result;
    // None when the search was refused: nothing is to be kept.
    std::optional<SearchMarking> marking;
    std::vector<TallyRow> storedTally;  // what Carcu is to hold, in ascending value order
};

// Refuses (result.ran false, a message, header-only grids) as searchRefusal says; else the
// marked rows of the range, the grids and the note.
SearchAnswer answerSearch(const HistorySnapshot& history, const SearchInputs& inputs, bool combination);

// The answer, then its fields kept; a note on fields not kept joins the message.
SearchResult runSearch(HistoryDb& db, const SearchInputs& inputs, bool combination);

}  // namespace drawfollow
