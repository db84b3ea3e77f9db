// The tables Lishi and Carcu: their columns, creation and the check of an opened file.
#pragma once

#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace drawfollow {

// 2: the table Derivation records the settings the rows were derived with.
// 3: the table Picks keeps the picks made before each draw.
// 4: the table DrawNumbers keeps every draw's issue and numbers beside Lishi.
inline constexpr int kSchemaVersion = 4;

// A search rewrites every wide Lishi row when its reference draws change; with large pages
// the rewrite journals and writes far fewer pages (a third less time on long histories).
// A new file gets it at creation, an older one at its next compaction.
inline constexpr int kPageSize = 65536;

// Every Lishi column in table order.
const std::vector<std::string>& lishiColumns();
// The columns a row's derivation fills from the draw, its predecessors and the settings:
// the own, "S" and "P" values and both list families, in table order.
const std::vector<std::string>& derivedColumns();

// Sets the page size, creates the tables in an empty database and sets user_version.
void createSchema(SQLite::Database& db);

// Empty string when the database holds every table with every column its version has;
// otherwise what is missing. A file of an older version lacks the parts added since.
std::string missingSchemaParts(SQLite::Database& db);

// Brings a complete file of an older version to the current one, all in one transaction;
// Lishi and Carcu are left exactly as they are. Derivation stays empty: how the older
// rows were derived is not known; Picks starts empty; DrawNumbers is filled from Lishi.
void upgradeSchema(SQLite::Database& db);

}  // namespace drawfollow
