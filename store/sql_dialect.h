// The statements of the search and tally code are written in the dialect the history
// format was designed for (LIKE with "*", double-quoted patterns, LEFT and LEN);
// this maps them to SQLite's.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace drawfollow {

// - a double-quoted text becomes a single-quoted string literal, with "*" as "%"
//   (in SQLite a double-quoted text is an identifier first: "L1A" would name a column);
// - LEFT( becomes [LEFT]( since LEFT is a keyword in SQLite.
std::string toSqlite(std::string_view sql);

// Registers LEFT(text, n) and LEN(text), both counting characters, not bytes.
void registerTextFunctions(sqlite3* db);

// What LEN and LEFT give for a text: its number of UTF-8 characters, and its first
// `characters` characters. A length of 0 or less gives an empty text, which no pattern
// matches, instead of failing the whole statement as the original's LEFT would.
long long characterCount(std::string_view text);
std::string_view leftCharacters(std::string_view text, long long characters);

}  // namespace drawfollow
