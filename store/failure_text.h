// What the user is told when SQLite or the system refuses: what happened and what to do, in
// the user's words, with the original text kept after it for a bug report.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace drawfollow {

// For an SQLite result code (primary or extended) and SQLite's own text.
std::string sqliteFailureText(int resultCode, std::string_view original);

// For a failure of the system (an errno value) and the text that came with it.
std::string systemFailureText(const std::error_code& code, std::string_view original);

}  // namespace drawfollow
