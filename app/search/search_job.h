// A search the panel described, run on a given connection: the window runs it on a worker
// thread over a connection of its own, so that it can be cancelled and the window stays live.
#pragma once

#include "analysis/search.h"
#include "analysis/search_panel.h"

#include <atomic>
#include <filesystem>

namespace drawfollow {

class HistoryDb;
enum class SearchButton;  // search_panel_controller.h

struct SearchOutcome {
    SearchResult result;
    // Stopped by the user; the search's writes were rolled back.
    bool cancelled = false;
};

// The outcome of a panel that refuses to search: its refusal, both grids on their headers.
SearchResult refusedSearch(const PanelSearch& search);
// A refused panel gives refusedSearch() without touching the database.
SearchResult runPanelSearch(HistoryDb& db, SearchButton button, const PanelSearch& search);

// Opens the history file afresh for this thread and runs the search on it; `cancelled`
// stops it between any two steps of its statements, with nothing written.
SearchOutcome runPanelSearchInFile(const std::filesystem::path& file, SearchButton button, const PanelSearch& search,
                                   const std::atomic<bool>& cancelled);

}  // namespace drawfollow
