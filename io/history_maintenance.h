// The history menu's deleting commands. Each reads the history, writes the safety copy and
// changes the table under one write lock (WriteTransaction), so that a draw another program
// adds meanwhile is either in all of them or waits until the command is done. Trimming
// writes the draws it keeps to "lsbf.txt" in the data folder and rebuilds the table from
// that file, so that every derived field of every kept row is computed afresh; the
// database file is compacted after the commit.
#pragma once

#include "store/history_db.h"

#include <filesystem>
#include <optional>
#include <string>

namespace drawfollow {

inline constexpr const char* kRebuildBackupName = "lsbf.txt";

// Whether a trim may delete every draw; a script must say so, as for clearing.
enum class Emptying { Refused, Allowed };

// A trim refused because it would have deleted every draw; nothing was changed.
class EmptyingRefused : public StoreError {
public:
    using StoreError::StoreError;
};

struct MaintenanceResult {
    size_t removed = 0;                // draws deleted
    size_t kept = 0;                   // draws left
    std::optional<int> newestDeleted;  // the issue deleting the newest draw deleted
    // Where the history was saved before anything was deleted; none when nothing was.
    std::optional<std::filesystem::path> safetyCopy;
    // Why the file could not be compacted; empty when it was, or when no compaction was due.
    // The history itself is complete and correct either way.
    std::string compactionProblem;
};

// Keeps every draw up to and including `lastKept` and deletes the rest. An issue below the
// first stored one keeps nothing (EmptyingRefused unless allowed); one that is not positive
// changes nothing at all.
MaintenanceResult trimToIssue(HistoryDb& db, int lastKept, const DerivationSettings& settings, Emptying emptying);

// Deletes the newest `count` draws by the same rebuild; a count that is not positive
// changes nothing, one at least as large as the history empties it (if allowed).
MaintenanceResult deleteNewestDraws(HistoryDb& db, int count, const DerivationSettings& settings, Emptying emptying);

// Deletes the newest draw directly, without a rebuild, after a safety copy, then compacts.
// An empty history deletes nothing and is still compacted.
MaintenanceResult deleteNewestDraw(HistoryDb& db);

// Deletes every draw after writing the safety copy. No compaction.
MaintenanceResult clearHistory(HistoryDb& db);

// Replaces the history with the draws of a backup file in one transaction, filling the
// txtHisPreLst family too. The first row has no predecessor: its "S" and "P" fields are 0
// and its lists empty, just as the first row of an import. An empty file empties the
// history; a file with a bad line changes nothing (StoreError).
void rebuildFromBackup(HistoryDb& db, const std::filesystem::path& backupFile, const DerivationSettings& settings);

// Compacts the database file; returns why it failed, empty when it did not. A failed
// compaction leaves the file as it was and the connection usable.
std::string compactHistory(HistoryDb& db);

}  // namespace drawfollow
