// Replacing the history with a text file, and writing the history out as one.
#pragma once

#include "io/history_text.h"
#include "store/history_db.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace drawfollow {

struct ImportSummary {
    size_t draws = 0;
    int skippedLines = 0;
    std::optional<std::filesystem::path> safetyCopy;  // the replaced history, saved first
};

// Reads and checks the whole file first; only a file without a single bad line replaces
// the history, in one transaction, after a safety copy of the history it replaces.
// Throws StoreError (listing the bad lines) otherwise.
ImportSummary importHistoryFile(HistoryDb& db, const std::filesystem::path& file, const DerivationSettings& settings,
                                const BatchProgress& progress = {});

// The settings an import derives its rows with, chosen once the file is read: given the
// issue after the file's newest draw (none for a file without draws), as start-up would
// choose them for the history the import leaves.
using ImportDerivation = std::function<DerivationSettings(std::optional<int> nextIssue)>;
ImportSummary importHistoryFile(HistoryDb& db, const std::filesystem::path& file, const ImportDerivation& settingsFor,
                                const BatchProgress& progress = {});

// Puts a safety copy's history back by the same import, so that the history it replaces is
// saved first and the restore itself can be undone.
ImportSummary restoreSafetyCopy(HistoryDb& db, const std::filesystem::path& copy, const ImportDerivation& settingsFor,
                                const BatchProgress& progress = {});

// Writes the history as canonical lines to `file`.
void exportHistoryFile(HistoryDb& db, const std::filesystem::path& file);

// The export's default path in the data folder, named after the newest issue.
std::filesystem::path defaultExportPath(HistoryDb& db, const std::filesystem::path& dataFolder);

}  // namespace drawfollow
