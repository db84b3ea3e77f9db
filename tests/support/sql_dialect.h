// The literal-SQL check writes the search's statements in the dialect the history format
// was designed for (LIKE with "*", double-quoted patterns, LEFT and LEN); this maps them to
// SQLite's, so that the check reads as the statements it holds the searches to.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace drawfollow {

class HistoryDb;

// - a double-quoted text becomes a single-quoted string literal, with "*" as "%"
//   (in SQLite a double-quoted text is an identifier first: "L1A" would name a column);
// - LEFT( becomes [LEFT]( since LEFT is a keyword in SQLite.
std::string toSqlite(std::string_view sql);

// Registers LEFT(text, n) and LEN(text) on a connection, both counting characters as
// store/text_characters.h does: a length of 0 or less gives an empty text instead of failing
// the whole statement as the original's LEFT would.
void registerTextFunctions(sqlite3* db);

// Runs one statement of the dialect on the history's connection, whose text functions must
// be registered; returns the rows it changed.
int executeDialect(HistoryDb& db, std::string_view sql);

}  // namespace drawfollow
