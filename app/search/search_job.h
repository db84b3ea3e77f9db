// A search the panel described, answered from the window's snapshot of the history on a
// worker thread, and what it leaves in the history written after the answer is shown, over
// a connection of the worker's own.
#pragma once

#include "analysis/chance_baseline.h"
#include "analysis/history_snapshot.h"
#include "analysis/search.h"
#include "analysis/search_answer.h"
#include "analysis/search_panel.h"

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>

namespace drawfollow {

class HistoryDb;
enum class SearchButton;  // search_panel_controller.h

struct SearchOutcome {
    SearchResult result;
    // The tally against chance, or why it could not be had; neither for a refused search.
    std::optional<ChanceBaseline> chance;
    std::string chanceProblem;
};

// The outcome of a panel that refuses to search: its refusal, both grids on their headers.
SearchResult refusedSearch(const PanelSearch& search);
// A refused panel gives refusedSearch() without touching the database.
SearchResult runPanelSearch(HistoryDb& db, SearchButton button, const PanelSearch& search);

// The answer and its comparison with chance, from the snapshot alone; `answer` keeps what
// is to be written afterwards (none for a refused search).
SearchOutcome answerPanelSearch(const HistorySnapshot& history, SearchButton button, const PanelSearch& search,
                                SearchAnswer& answer);

// Opens the history file afresh for this thread and stores the answer's fields and tally
// there, if the file still holds the history the answer came from; `cancelled` stops it
// with nothing written. A note for the user when they were not stored, empty when they were.
std::string keepPanelSearchFields(const std::filesystem::path& file, const HistorySnapshot& history,
                                  const SearchInputs& inputs, const SearchAnswer& answer,
                                  const std::atomic<bool>& cancelled);

}  // namespace drawfollow
