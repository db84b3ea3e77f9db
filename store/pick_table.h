// The track record: each pick made before a draw, kept in the table Picks beside Lishi so
// that it can be scored against the draw once it is stored. The table holds what was chosen
// and how; scoring belongs to the analysis (analysis/pick_book.h).
#pragma once

#include "store/history_db.h"

#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace drawfollow {

inline constexpr const char* kPickTable = "Picks";

// The table's columns in order, after its key.
const std::vector<std::string>& pickColumns();

// Creates the empty table (a new file, or the upgrade of an older one) unless it is there.
void createPickTable(SQLite::Database& db);

struct PickRecord {
    int id = 0;
    std::string made;         // when it was made, UTC: "2026-12-08 12:49:00"
    int issue = 0;            // the issue it is for: the next one when it was made
    int newestIssue = 0;      // the newest stored issue then
    std::string search;       // "follow" or "combination"
    std::string panel;        // every other panel setting the search ran with, in analysis/pick_panel's words
    bool exclude = false;     // 杀号: the tally's last values rather than its first
    int top = 0;              // K
    std::vector<int> values;  // the chosen values, in the tally's order

    bool operator==(const PickRecord&) const = default;
};

// Every record, by id. Refuses (StoreError) a record this program could not have written.
std::vector<PickRecord> readPicks(HistoryDb& db);

// Stores the record (its id is given by the table) and returns its id. Refuses (StoreError)
// a record whose issue is stored, or one made on a history whose newest issue has changed
// since: its pick would no longer be made before the draw.
int addPick(HistoryDb& db, const PickRecord& record);

// False when no record has that id.
bool deletePick(HistoryDb& db, int id);

}  // namespace drawfollow
