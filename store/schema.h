// The tables Lishi and Carcu: their columns, creation and the check of an opened file.
#pragma once

#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace drawfollow {

inline constexpr int kSchemaVersion = 1;

// Every Lishi column in table order.
const std::vector<std::string>& lishiColumns();

// Creates both tables in an empty database and sets user_version.
void createSchema(SQLite::Database& db);

// Empty string when the database holds both tables with every column; otherwise what is missing.
std::string missingSchemaParts(SQLite::Database& db);

}  // namespace drawfollow
