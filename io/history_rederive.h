// Deriving every stored row again under new settings, with a safety copy first.
#pragma once

#include "store/history_db.h"

#include <filesystem>
#include <optional>

namespace drawfollow {

struct RederiveSummary {
    size_t draws = 0;
    std::optional<std::filesystem::path> safetyCopy;  // the history as it was, saved first
};

// Writes a safety copy of the history (none for an empty one), then derives every row
// again under `settings` and records them, in one transaction. A copy that cannot be
// written leaves the history untouched (StoreError).
RederiveSummary rederiveHistory(HistoryDb& db, const DerivationSettings& settings, const BatchProgress& progress = {});

}  // namespace drawfollow
