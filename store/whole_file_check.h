// The check an opened history file passes before anything reads it as a history.
#pragma once

#include <filesystem>

namespace SQLite {
class Database;
}

namespace drawfollow {

// Throws DamagedHistoryFile (history_db.h) when the file ends inside a page (SQLite would
// read the missing part as zeros and show rows that were never stored) or SQLite's
// integrity check lists a fault; what SQLite refuses on reading (a file shorter than its
// header says, a page it cannot make sense of) passes through as its SQLITE_CORRUPT. An empty file passes:
// it holds no pages yet. Runs in a read transaction, so that another program's change is
// never seen half-written.
void requireWholeFile(SQLite::Database& db, const std::filesystem::path& file);

}  // namespace drawfollow
